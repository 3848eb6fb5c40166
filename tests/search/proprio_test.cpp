// The own-filings search's checks, condition, select lists and title,
// without a window.
#include "search/OwnFilingsSearch.h"
#include "search/ResultGrid.h"

#include <gtest/gtest.h>

using namespace ownfilings;

namespace {

Criteria make(const QString& issue, const QStringList& desp = {"", "", ""}, const QStringList& uf = {"", "", ""})
{
    Criteria c;
    c.numRevista = issue;
    c.desp = desp;
    c.uf = uf;
    return c;
}

Search built(const Criteria& c)
{
    const Outcome o = BuildSearch(c);
    EXPECT_FALSE(o.refusal) << o.refusal.message.toStdString();
    return o.search;
}

}  // namespace

TEST(OwnFilingsSearch, ConditionsAndTheListTheyRunOn)
{
    Search s = built(make("2400"));
    EXPECT_EQ(s.whereClause, "rp.rpi = 2400 AND r.codprocurador=1");
    EXPECT_EQ(s.selectList, kEntrySelectList);
    EXPECT_TRUE(s.despText.isEmpty());
    EXPECT_TRUE(s.ufText.isEmpty());

    s = built(make("2400", {"A", "", "B"}, {"", "SP", ""}));
    EXPECT_EQ(s.whereClause, "rp.rpi = 2400 AND r.codprocurador=1 AND  rp.despacho in ('A','B') AND  r.TitularPais='BR/SP'");
    EXPECT_EQ(s.selectList, kEntrySelectList);
    EXPECT_EQ(s.despText, "A/B");
    EXPECT_EQ(s.ufText, "UF = BR/SP");

    s = built(make("", {"", "", ""}, {"", "SP", "RJ"}));
    EXPECT_EQ(s.whereClause, "r.codprocurador = 1 AND   r.TitularPais in ('BR/SP','BR/RJ')");
    EXPECT_EQ(s.selectList, kProcessSelectList);
    EXPECT_EQ(s.ufText, "UF = BR/SP ou BR/RJ");
    s = built(make("", {"", "", ""}, {"AC", "SP", "RJ"}));
    EXPECT_EQ(s.whereClause, "r.codprocurador = 1 AND   r.TitularPais in ('BR/AC','BR/SP','BR/RJ')");
    EXPECT_EQ(s.ufText, "UF = BR/AC ou BR/SP ou BR/RJ");

    s = built(make("2400", {"C", "A", "B"}));
    EXPECT_EQ(s.whereClause, "rp.rpi = 2400 AND r.codprocurador=1 AND  rp.despacho in ('C','A','B')");
    EXPECT_EQ(s.despText, "C/A/B");

    // Codes without an issue name the journal entries, in any issue.
    s = built(make("", {"", "ipas'9", ""}));
    EXPECT_EQ(s.whereClause, "r.codprocurador = 1 AND   rp.despacho ='ipas''9'");
    EXPECT_EQ(s.selectList, kEntrySelectList);
    EXPECT_EQ(s.despText, "ipas'9");
    EXPECT_EQ(built(make("", {"003", "", ""})).whereClause, "r.codprocurador = 1 AND   rp.despacho in ('003','3')");
    s = built(make("", {"A", "", ""}, {"", "", "TO"}));
    EXPECT_EQ(s.whereClause, "r.codprocurador = 1 AND   rp.despacho ='A' AND  r.TitularPais='BR/TO'");
    EXPECT_EQ(s.selectList, kEntrySelectList);

    // The issue as a plain whole number.
    EXPECT_EQ(built(make(" +24")).whereClause, "rp.rpi = 24 AND r.codprocurador=1");

    EXPECT_EQ(resultgrid::PageQuery(1000, kProcessSelectList, "r.codprocurador = 1 AND   r.TitularPais='BR/SP'"),
              "SELECT first 1000 skip 1000 r.processo, cast(calc_cd(r.processo)as char(9))procdv, r.revista rpi, "
              "r.despacho as desp, r.codserv, (select rdata from Revistas rev where rev.revista = r.revista)datarpi, "
              "r.deposito, r.vigencia, r.marca, r.classe,r.titular,r.codprocurador,r.titularpais, "
              "r.cgccpf,cast(fmtinteger(r.nclclasse,2)as char(3))nclclasse,('O PRÓPRIO')procurador from Processos r "
              "where r.codprocurador = 1 AND   r.TitularPais='BR/SP'");
    EXPECT_EQ(kEntrySelectList,
              " r.processo, cast(calc_cd(r.processo)as char(9))procdv, rp.rpi, rp.despacho as desp, r.codserv, (select "
              "rdata from Revistas rev where rev.revista = rp.rpi)datarpi, r.deposito, r.vigencia, r.marca, "
              "r.classe,r.titular,r.codprocurador,r.titularpais,r.cgccpf,cast(fmtinteger(r.nclclasse,2)as "
              "char(3))nclclasse,('O PRÓPRIO')procurador from (Processos r right join RevProcs rp on rp.processo = "
              "r.processo) where ");
}

TEST(OwnFilingsSearch, ChecksAndRefusals)
{
    EXPECT_FALSE(CheckNumRevista(make("")));
    EXPECT_FALSE(CheckNumRevista(make("2400")));
    for (const char* bad : {"2.5e3", "24.5", "24,0", "abc", "-", "9999999999", "1e3"}) {
        const Refusal r = CheckNumRevista(make(bad));
        EXPECT_EQ(r.message, kIssueNotNumeric) << bad;
        EXPECT_EQ(r.box, Box::NumRevista);
        EXPECT_EQ(r.icon, 16);
        EXPECT_EQ(BuildSearch(make(bad)).refusal.message, kIssueNotNumeric) << bad;
    }

    Criteria c = make("", {"IPAS009", "", "IPAS009"}, {"SP", "RJ", "SP"});
    EXPECT_EQ(CheckDesp(c, 3).message, kDespRepeated);
    EXPECT_EQ(CheckDesp(c, 3).box, Box::Desp);
    EXPECT_EQ(CheckDesp(c, 3).index, 3);
    EXPECT_FALSE(CheckDesp(c, 2));
    EXPECT_EQ(CheckDesp(make("", {"3", "003", "IPAS003"}), 2).message, kDespRepeated);
    EXPECT_FALSE(CheckDesp(make("", {"3", "003", "IPAS003"}), 3));
    EXPECT_EQ(CheckUf(c, 3).message, kUfRepeated);
    EXPECT_EQ(CheckUf(c, 3).box, Box::UF);
    EXPECT_EQ(CheckUf(c, 3).index, 3);
    EXPECT_FALSE(CheckUf(c, 2));
    // The search checks again, in screen order: issue, codes, states.
    c.numRevista = "x";
    EXPECT_EQ(BuildSearch(c).refusal.message, kIssueNotNumeric);
    c.numRevista.clear();
    EXPECT_EQ(BuildSearch(c).refusal.message, kDespRepeated);
    c.desp = {"", "", ""};
    EXPECT_EQ(BuildSearch(c).refusal.message, kUfRepeated);

    const Refusal none = BuildSearch(make("")).refusal;
    EXPECT_EQ(none.message, kNoCriterion);
    EXPECT_EQ(none.icon, 16);
    EXPECT_EQ(none.box, Box::NumRevista);
}

TEST(OwnFilingsSearch, StatesAndTitle)
{
    // Every federal unit, in alphabetical order.
    const QStringList units = {"AC", "AL", "AM", "AP", "BA", "CE", "DF", "ES", "GO", "MA", "MG", "MS", "MT", "PA",
                               "PB", "PE", "PI", "PR", "RJ", "RN", "RO", "RR", "RS", "SC", "SE", "SP", "TO"};
    EXPECT_EQ(kStates, units);
    const Search ap = built(make("", {"", "", ""}, {"AP", "", ""}));
    EXPECT_EQ(ap.whereClause, "r.codprocurador = 1 AND   r.TitularPais='BR/AP'");
    EXPECT_EQ(ap.ufText, "UF = BR/AP");

    EXPECT_EQ(ExportTitle(make(""), "", ""), "Pesquisa por Procurador = 'O PRÓPRIO'");
    EXPECT_EQ(ExportTitle(make("2400"), "A/B", "UF = BR/SP"),
              "Pesquisa por Procurador = 'O PRÓPRIO'       RPI = 2400       Despacho = A/B       UF = BR/SP");
    EXPECT_EQ(ExportTitle(make(""), "", "UF = BR/SP ou BR/RJ"),
              "Pesquisa por Procurador = 'O PRÓPRIO'       UF = BR/SP ou BR/RJ");
}
