// The mark search's checks, condition and titles, without a window.
#include "search/MarkSearch.h"
#include "search/SearchChecks.h"
#include "keys/Metaphone.h"

#include <gtest/gtest.h>

using namespace marksearch;

namespace {

Criteria mark(const QString& text, int key = Normal, int location = Exata)
{
    Criteria c;
    c.nomeMarca = text;
    c.key = key;
    c.location = location;
    return c;
}

QString where(const Criteria& c)
{
    const Outcome o = BuildSearch(c);
    EXPECT_FALSE(o.refusal) << o.refusal.message.toStdString();
    return o.search.whereClause;
}

QString refusal(const Criteria& c) { return BuildSearch(c).refusal.message; }

}  // namespace

TEST(MarkSearch, EveryKeyAtEveryPosition)
{
    const QString text = QStringLiteral("  Água Viva 2 ");
    const QString m = QStringLiteral("ÁGUA VIVA 2");
    const QString keys[] = {m, metaphonevar::LimpaTexto(m), metaphonevar::CalcMetaphone(m, 0, 0),
                            metaphonevar::CalcMetaphone(m, -1, 0)};
    EXPECT_EQ(keys[1], QStringLiteral("ÁGUAVIVA9"));
    const QString cols[] = {"Marca", "MarcaClean", "MarcaPhon1", "MarcaPhon2"};
    for (int k = 0; k < 4; ++k) {
        ASSERT_FALSE(keys[k].isEmpty());
        EXPECT_EQ(where(mark(text, k, Exata)), cols[k] + " = '" + keys[k] + "'");
        EXPECT_EQ(where(mark(text, k, SoNoInicio)), cols[k] + " LIKE '" + keys[k] + "%'");
        EXPECT_EQ(where(mark(text, k, EmQualquerParte)), cols[k] + " LIKE '%" + keys[k] + "%'");
        EXPECT_EQ(where(mark(text, k, SoNoFinal)), cols[k] + " LIKE '%" + keys[k] + "'");
    }
    // Marks that sound alike share their phonetic keys.
    EXPECT_EQ(ComputeKeys("CHOCOLATE").fonetica1, ComputeKeys("XOKOLATE").fonetica1);
}

TEST(MarkSearch, CompleteConditionInItsOrder)
{
    Criteria c = mark("rosa", Fonetica1, EmQualquerParte);
    c.ncl = {"25", "", "35", "", ""};
    c.afinidade = true;
    c.numCnpj = "12345678901";
    c.rpi = "2100";
    const Outcome o = BuildSearch(c);
    ASSERT_FALSE(o.refusal);
    const QString k = metaphonevar::CalcMetaphone("ROSA", 0, 0);
    EXPECT_EQ(o.search.whereClause, "MarcaPhon1 LIKE '%" + k
                                         + "%' AND (r.nclclasse in(25,35) OR (Classe is not null)) AND "
                                           "r.cgccpf = '12345678901' AND rp.rpi=2100");
    EXPECT_TRUE(o.search.issueJoin);
    EXPECT_EQ(o.search.nclText, "25/35");

    c.afinidade = false;
    c.cnpjExact = false;
    c.numCnpj = "12345";
    c.rpi.clear();
    c.ncl = {"", "05", "", "", "-3"};
    const Outcome p = BuildSearch(c);
    EXPECT_EQ(p.search.whereClause, "MarcaPhon1 LIKE '%" + k + "%' AND (r.nclclasse in(5)) AND r.cgccpf LIKE '%12345%'");
    EXPECT_FALSE(p.search.issueJoin);
    EXPECT_EQ(p.search.nclText, "05");  // the class that went into the list, as typed

    // Classes that round to 0 or below add nothing; the old-class option
    // alone adds no condition.
    Criteria q = mark("rosa");
    q.ncl = {"-5", ".4", "", "", ""};
    q.afinidade = true;
    EXPECT_EQ(where(q), "Marca = 'ROSA'");
    EXPECT_TRUE(BuildSearch(q).search.nclText.isEmpty());
}

TEST(MarkSearch, TypedTextCannotBreakTheStatement)
{
    EXPECT_EQ(where(mark("d'avila")), "Marca = 'D''AVILA'");
    EXPECT_EQ(where(mark("o'neil's", Normal, SoNoInicio)), "Marca LIKE 'O''NEIL''S%'");
    // The wildcards stay wildcards.
    EXPECT_EQ(where(mark("a%b_c", Normal, EmQualquerParte)), "Marca LIKE '%A%B_C%'");
    // The issue goes in as a number, never as typed text.
    Criteria c = mark("x");
    c.rpi = " 21 ";
    EXPECT_EQ(where(c), "Marca = 'X' AND rp.rpi=21");
    c.rpi = "1e3";
    EXPECT_EQ(where(c), "Marca = 'X' AND rp.rpi=1000");
    for (const char* bad : {"9e99", "1e10", "-3e9", "abc", "1-", "e5", "."}) {
        c.rpi = bad;
        EXPECT_EQ(refusal(c), kRpiNotNumeric) << bad;
        EXPECT_EQ(CheckRpi(c).box, Box::RPI);
    }
}

TEST(MarkSearch, RefusalsComeInTheScreensOrder)
{
    // A blank mark.
    Criteria c = mark("   ");
    EXPECT_EQ(refusal(c), kMarkRequired);
    EXPECT_EQ(BuildSearch(c).refusal.icon, 16);
    EXPECT_EQ(BuildSearch(c).refusal.box, Box::NomeMarca);
    // A box that fails its own check is named before the missing mark.
    c.ncl[3] = "x";
    EXPECT_EQ(refusal(c), "NCL tem que ser numérico !");
    EXPECT_EQ(BuildSearch(c).refusal.index, 4);
    c.ncl[3].clear();
    c.numCnpj = "12.345";
    EXPECT_EQ(refusal(c), searchchecks::kTaxIdDigits);

    // Keys left empty by the characters they drop.
    Criteria k = mark("!!! ---");
    EXPECT_EQ(where(k), "Marca = '!!! ---'");
    k.key = Limpa;
    EXPECT_EQ(refusal(k), "Marca Limpa não tem caracter algum !");
    EXPECT_EQ(BuildSearch(k).refusal.icon, 48);
    k.key = Fonetica1;
    EXPECT_EQ(refusal(k), "Marca fonética 1 não tem caracter algum !");
    k.key = Fonetica2;
    EXPECT_EQ(refusal(k), "Marca fonética 2 não tem caracter algum !");
    // The empty key is told before a wrong tax-id length.
    k.numCnpj = "123";
    EXPECT_EQ(refusal(k), "Marca fonética 2 não tem caracter algum !");
    k.key = Normal;
    EXPECT_EQ(refusal(k), searchchecks::kTaxIdExactLength);
}

TEST(MarkSearch, TaxIdLengths)
{
    Criteria c = mark("x");
    for (const char* ok : {"1234567", "12345678901", "12345678901234"}) {
        c.numCnpj = ok;
        EXPECT_FALSE(BuildSearch(c).refusal) << ok;
    }
    c.numCnpj = "12345678";
    EXPECT_EQ(refusal(c), searchchecks::kTaxIdExactLength);
    EXPECT_EQ(BuildSearch(c).refusal.box, Box::NumCNPJ);
    c.cnpjExact = false;
    c.numCnpj = "1234";
    EXPECT_EQ(refusal(c), searchchecks::kTaxIdPartialLength);
    c.numCnpj = "12345";
    EXPECT_EQ(where(c), "Marca = 'X' AND r.cgccpf LIKE '%12345%'");
}

TEST(MarkSearch, ClassBoxChecks)
{
    Criteria c = mark("x");
    c.ncl = {"5", "", "05", "", ""};
    EXPECT_EQ(CheckNcl(c, 3).message, "NCL já selecionado !");
    EXPECT_EQ(CheckNcl(c, 1).message, "NCL já selecionado !");  // whichever of the two is left
    EXPECT_FALSE(CheckNcl(c, 2));                                // an empty box passes
    c.ncl = {"0", "0", "", "", ""};
    EXPECT_EQ(CheckNcl(c, 2).message, "Número de NCL inválido !");  // not "already selected"
    c.ncl = {"4a", "", "", "", ""};
    EXPECT_EQ(CheckNcl(c, 1).message, "NCL tem que ser numérico !");
    EXPECT_EQ(CheckNcl(c, 1).icon, 16);
    c.ncl = {"1e", "", "", "", "9e99"};
    EXPECT_EQ(CheckNcl(c, 1).message, "NCL tem que ser numérico !");
    c.ncl = {"1", "2", "3", "4", "45"};
    EXPECT_FALSE(CheckBoxes(c));
}

TEST(MarkSearch, NumericTest)
{
    using searchchecks::IsNumeric;
    for (const char* yes : {"1", " 12 ", "-5", "+5", "1.5", "1,5", ".5", "5.", "1e3", "1E-2", "2d1"})
        EXPECT_TRUE(IsNumeric(yes)) << yes;
    for (const char* no : {"", " ", "-", "1.2.3", "1e", "e1", "1 2", "0x10", "12a"}) EXPECT_FALSE(IsNumeric(no)) << no;
    EXPECT_EQ(*searchchecks::RoundToInt32(2.5), 2);  // half to even
    EXPECT_EQ(*searchchecks::RoundToInt32(3.5), 4);
    EXPECT_FALSE(searchchecks::RoundToInt32(3e9));
}

TEST(MarkSearch, ExportAndPrintTitle)
{
    Criteria c = mark(" rosa ", Fonetica1, SoNoInicio);
    EXPECT_EQ(ExportTitle(c, ""), "Pesquisa por Marca - Fonética1/Só no início - ' ROSA '");
    c.key = Fonetica2;
    c.location = SoNoFinal;
    c.rpi = "2100";
    c.afinidade = true;
    c.numCnpj = "12345";
    c.cnpjExact = false;
    EXPECT_EQ(ExportTitle(c, "25/35"), "Pesquisa por Marca - Fonética2/Só no final - ' ROSA '       RPI = 2100"
                                       "       NCL = 25/35   Incluir Classes Antigas   CNPJ/CPF/INPI = 12345 Parcial");
    c = mark("x", Limpa, EmQualquerParte);
    c.numCnpj = "1234567";
    EXPECT_EQ(ExportTitle(c, ""), "Pesquisa por Marca - Limpa/Em qualquer parte - 'X'   CNPJ/CPF/INPI = 1234567 Exato");
    EXPECT_EQ(ExportTitle(mark("y"), ""), "Pesquisa por Marca - Normal/Exata - 'Y'");
}
