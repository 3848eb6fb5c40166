// The journal-issue search's checks, condition and titles, without a window.
#include "search/IssueSearch.h"
#include "search/ResultGrid.h"
#include "search/SearchChecks.h"

#include <gtest/gtest.h>

using namespace issuesearch;

namespace {

Criteria issue(const QString& n)
{
    Criteria c;
    c.numRevista = n;
    return c;
}

Search built(const Criteria& c)
{
    const Outcome o = BuildSearch(c);
    EXPECT_FALSE(o.refusal) << o.refusal.message.toStdString();
    return o.search;
}

QString where(const Criteria& c) { return built(c).whereClause; }

Refusal refusal(const Criteria& c) { return BuildSearch(c).refusal; }

}  // namespace

TEST(IssueSearch, ConditionPieces)
{
    EXPECT_EQ(where(issue("2400")), " rp.rpi = 2400");
    // The issue is rounded half to even.
    EXPECT_EQ(where(issue("2400.5")), " rp.rpi = 2400");
    EXPECT_EQ(where(issue("2401.5")), " rp.rpi = 2402");
    EXPECT_EQ(where(issue("2.5e3")), " rp.rpi = 2500");

    Criteria c = issue("2400");
    c.desp = {"", "IPAS009", "IPAS158"};
    Search s = built(c);
    EXPECT_EQ(s.whereClause, " rp.rpi = 2400 AND rp.despacho in ('IPAS009','IPAS158')");
    EXPECT_EQ(s.despText, "IPAS009/IPAS158");
    c.desp = {"", "", "IPAS009"};
    s = built(c);
    EXPECT_EQ(s.whereClause, " rp.rpi = 2400 AND rp.despacho ='IPAS009'");
    EXPECT_EQ(s.despText, "IPAS009");
    c.desp = {"A", "B", "C"};
    EXPECT_EQ(built(c).whereClause, " rp.rpi = 2400 AND rp.despacho in ('A','B','C')");
    EXPECT_EQ(built(c).despText, "A/B/C");
    // A quote typed in a code cannot end the literal.
    c.desp = {"A'B", "", ""};
    s = built(c);
    EXPECT_EQ(s.whereClause, " rp.rpi = 2400 AND rp.despacho ='A''B'");
    EXPECT_EQ(s.despText, "A'B");
    // A code of digits only also looks for its number, as older issues store it.
    c.desp = {"003", "", "IPAS009"};
    s = built(c);
    EXPECT_EQ(s.whereClause, " rp.rpi = 2400 AND rp.despacho in ('003','3','IPAS009')");
    EXPECT_EQ(s.despText, "003/IPAS009");
    c.desp = {"", "7", ""};
    EXPECT_EQ(where(c), " rp.rpi = 2400 AND rp.despacho in ('7','007')");

    c = issue("2400");
    c.ncl = {"", "25", "35"};
    s = built(c);
    EXPECT_EQ(s.whereClause, " rp.rpi = 2400 AND (r.nclclasse in(25,35))");
    EXPECT_EQ(s.nclText, "25/35");
    c.afinidade = true;
    EXPECT_EQ(where(c), " rp.rpi = 2400 AND (r.nclclasse in(25,35) OR (Classe is not null))");
    c.ncl = {"05", "", "1.6"};
    s = built(c);
    EXPECT_EQ(s.whereClause, " rp.rpi = 2400 AND (r.nclclasse in(5,2) OR (Classe is not null))");
    EXPECT_EQ(s.nclText, "05/1.6");
    // Afinidade without a class adds nothing.
    c.ncl = {"", "", ""};
    s = built(c);
    EXPECT_EQ(s.whereClause, " rp.rpi = 2400");
    EXPECT_TRUE(s.nclText.isEmpty());

    c = issue("2400");
    c.numCnpj = "12345";
    c.cnpjExact = false;
    EXPECT_EQ(where(c), " rp.rpi = 2400 AND r.cgccpf LIKE '%12345%'");
    c.numCnpj = "12345678000199";
    c.cnpjExact = true;
    EXPECT_EQ(where(c), " rp.rpi = 2400 AND r.cgccpf = '12345678000199'");

    c = issue("2400");
    c.nomeProcurador = "d'alfa";
    EXPECT_EQ(where(c), " rp.rpi = 2400 AND procurador = 'D''ALFA'");
    c.nomeProcurador = "só";
    EXPECT_EQ(where(c), " rp.rpi = 2400 AND procurador = 'SÓ'");
    c.nomeProcurador = " alfa";
    c.attorneyExact = false;
    EXPECT_EQ(where(c), " rp.rpi = 2400 AND procurador LIKE '% ALFA%'");
}

TEST(IssueSearch, CompleteConditionInItsOrder)
{
    Criteria c = issue("2400");
    c.ncl = {"25", "35", ""};
    c.nomeProcurador = "alfa";
    c.attorneyExact = false;
    EXPECT_EQ(where(c), " rp.rpi = 2400 AND (r.nclclasse in(25,35)) AND procurador LIKE '%ALFA%'");

    c.desp = {"IPAS009", "", ""};
    c.numCnpj = "1234567";
    EXPECT_EQ(where(c), " rp.rpi = 2400 AND rp.despacho ='IPAS009' AND (r.nclclasse in(25,35)) AND r.cgccpf = "
                        "'1234567' AND procurador LIKE '%ALFA%'");

    EXPECT_EQ(resultgrid::PageQuery(0, kSelectList, where(issue("2400")), kOrderBy),
              "SELECT first 1000 skip 0 rp.codigo,rp.processo,rp.rpi, rp.despacho as desp, r.codserv, "
              "cast(calc_cd(rp.processo)as char(9))procdv, (select rdata from Revistas rev where rev.revista = "
              "rp.rpi)datarpi, r.deposito, r.vigencia, r.marca, r.classe,r.titular,r.titularpais, "
              "r.cgccpf,cast(fmtinteger(r.nclclasse,2)as char(3))nclclasse,p.procurador from (Processos r right "
              "join revProcs rp on rp.processo = r.processo) left join Procuradores p on "
              "r.codprocurador=p.codprocurador where  rp.rpi = 2400 ORDER BY rp.codigo");
}

TEST(IssueSearch, BoxChecks)
{
    using namespace searchchecks;
    EXPECT_FALSE(CheckNumRevista(issue("")));
    EXPECT_FALSE(CheckNumRevista(issue("+24")));
    EXPECT_FALSE(CheckNumRevista(issue("2,5")));
    for (const char* bad : {"abc", "24x", "9e99", "1e10", "."}) {
        const Refusal r = CheckNumRevista(issue(bad));
        EXPECT_EQ(r.message, kIssueNotNumeric) << bad;
        EXPECT_EQ(r.box, Box::NumRevista);
        EXPECT_EQ(r.icon, 16);
    }

    Criteria c = issue("2400");
    c.desp = {"IPAS009", "", "IPAS009"};
    EXPECT_FALSE(CheckDesp(c, 2));
    EXPECT_EQ(CheckDesp(c, 3).message, kDespRepeated);
    EXPECT_EQ(CheckDesp(c, 3).index, 3);
    EXPECT_EQ(CheckDesp(c, 1).message, kDespRepeated);
    c.desp = {"ipas009", "IPAS009", ""};  // exact comparison: the box upper-cases first
    EXPECT_FALSE(CheckDesp(c, 2));
    c.desp = {"003", "3", "IPAS003"};  // digits only: compared as numbers
    EXPECT_EQ(CheckDesp(c, 2).message, kDespRepeated);
    EXPECT_FALSE(CheckDesp(c, 3));

    c = issue("2400");
    c.ncl = {"5", "05", ""};
    EXPECT_EQ(CheckNcl(c, 2).message, kNclRepeated);
    EXPECT_EQ(CheckNcl(c, 2).index, 2);
    EXPECT_EQ(CheckNcl(c, 1).message, kNclRepeated);
    EXPECT_FALSE(CheckNcl(c, 3));
    // A class that rounds to 0 or below is no class.
    for (const char* bad : {"0", "00", "-5", ".4", "-0"}) {
        c.ncl = {"", bad, "0"};
        EXPECT_EQ(CheckNcl(c, 2).message, kNclInvalid) << bad;
    }
    c.ncl = {"x", "", ""};
    EXPECT_EQ(CheckNcl(c, 1).message, kNclNotNumeric);
    c.ncl = {"", "", "9e"};
    EXPECT_EQ(CheckNcl(c, 3).message, kNclNotNumeric);

    c = issue("2400");
    c.numCnpj = "12.345";
    EXPECT_EQ(CheckNumCnpj(c).message, kTaxIdDigits);
    EXPECT_EQ(CheckNumCnpj(c).box, Box::NumCNPJ);
}

TEST(IssueSearch, RefusalsAndTheirOrder)
{
    // The issue is required before anything else.
    Criteria c;
    c.desp = {"A", "A", ""};
    c.numCnpj = "1";
    EXPECT_EQ(refusal(c).message, kIssueRequired);
    EXPECT_EQ(refusal(c).box, Box::NumRevista);

    // Then the boxes in screen order: issue, codes, classes, tax id.
    c.numRevista = "9e99";
    c.ncl = {"0", "", ""};
    c.numCnpj = "1x";
    EXPECT_EQ(refusal(c).message, kIssueNotNumeric);
    c.numRevista = "2400";
    EXPECT_EQ(refusal(c).message, kDespRepeated);
    c.desp = {"A", "B", ""};
    EXPECT_EQ(refusal(c).message, searchchecks::kNclInvalid);
    c.ncl = {"", "", ""};
    EXPECT_EQ(refusal(c).message, searchchecks::kTaxIdDigits);

    // Tax-id length before the attorney.
    c.numCnpj = "12345678";
    c.cnpjExact = true;
    c.nomeProcurador = "abc";
    c.attorneyExact = false;
    EXPECT_EQ(refusal(c).message, searchchecks::kTaxIdExactLength);
    EXPECT_EQ(refusal(c).box, Box::NumCNPJ);
    c.numCnpj = "1234";
    c.cnpjExact = false;
    EXPECT_EQ(refusal(c).message, searchchecks::kTaxIdPartialLength);
    for (const char* ok : {"1234567", "12345678901", "12345678901234"}) {
        c.numCnpj = ok;
        c.cnpjExact = true;
        EXPECT_EQ(refusal(c).message, kAttorneyPartialLength) << ok;
    }
    EXPECT_EQ(refusal(c).box, Box::NomeProcurador);
    c.attorneyExact = true;
    EXPECT_EQ(where(c), " rp.rpi = 2400 AND rp.despacho in ('A','B') AND r.cgccpf = '12345678901234' AND "
                        "procurador = 'ABC'");
    c.nomeProcurador = "abcd";
    c.attorneyExact = false;
    EXPECT_FALSE(refusal(c));
}

TEST(IssueSearch, Titles)
{
    Criteria c = issue("2400");
    EXPECT_EQ(ExportTitle(c, "", ""), "Pesquisa por Revista - 2400");
    EXPECT_EQ(PrintTitle(c, "", ""), "Pesquisa por Revista - RPI = 2400");
    // Afinidade alone still shows in the titles.
    c.afinidade = true;
    EXPECT_EQ(ExportTitle(c, "", ""), "Pesquisa por Revista - 2400   Incluir Classes Antigas");
    EXPECT_EQ(PrintTitle(c, "", ""), "Pesquisa por Revista - RPI = 2400   Incluir Classificação Antiga");

    c.numCnpj = "12345";
    c.cnpjExact = false;
    c.nomeProcurador = "d'Alfa";
    EXPECT_EQ(ExportTitle(c, "A/B", "25/35"),
              "Pesquisa por Revista - 2400       Despacho = A/B       NCL = 25/35   Incluir Classes Antigas"
              "   Procurador = 'd'Alfa' Exato   CNPJ/CPF/INPI = 12345 Parcial");
    EXPECT_EQ(PrintTitle(c, "A/B", "25/35"),
              "Pesquisa por Revista - RPI = 2400       Despacho = A/B       NCL = 25/35   Incluir Classificação "
              "Antiga       CNPJ/CPF/INPI = 12345 Parcial\r\n.                                  Procurador = d'Alfa - "
              "Exato");
    c.afinidade = false;
    c.numCnpj.clear();
    c.attorneyExact = false;
    c.cnpjExact = true;
    EXPECT_EQ(ExportTitle(c, "", ""), "Pesquisa por Revista - 2400   Procurador = 'd'Alfa' Parcial");
    const QString p = PrintTitle(c, "", "");
    EXPECT_EQ(p.split("\r\n"),
              QStringList({"Pesquisa por Revista - RPI = 2400", "." + QString(34, ' ') + "Procurador = d'Alfa - Parcial"}));
    c.numCnpj = "1234567";
    EXPECT_TRUE(ExportTitle(c, "", "").endsWith("   CNPJ/CPF/INPI = 1234567 Exato"));
}
