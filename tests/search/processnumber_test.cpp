// The process number: check digit, key and the lookup's input checks.
#include "search/ProcessNumber.h"
#include "search/frmPesqProc.h"
#include "support/TestDb.h"

#include <gtest/gtest.h>

using namespace ProcessNumber;

TEST(ProcessNumber, CheckDigitRule)
{
    EXPECT_EQ(CheckDigit("00000000"), 0);  // S = 0
    EXPECT_EQ(CheckDigit("50000000"), 0);  // S = 45, remainder 1: 0, not 10
    EXPECT_EQ(CheckDigit("00000006"), 0);  // S = 12, remainder 1
    EXPECT_EQ(CheckDigit("10000001"), 0);  // S = 11, remainder 0
    EXPECT_EQ(CheckDigit("00000001"), 9);  // S = 2
    EXPECT_EQ(CheckDigit("00012345"), 5);  // S = 50, remainder 6
    EXPECT_EQ(CheckDigit("12345678"), 9);
    EXPECT_EQ(CheckDigit("1234567"), -1);
    EXPECT_EQ(CheckDigit("1234567a"), -1);
}

TEST(ProcessNumber, CheckDigitAgreesWithTheDatabase)
{
    TestDb t;
    for (int n : {0, 1, 5, 6, 12345, 777, 10000000, 10000001, 50000000, 81234567, 99999999}) {
        const QString shown = t.scalar(QStringLiteral("SELECT cast(calc_cd(%1)as char(9)) FROM RDB$DATABASE").arg(n))
                                  .toString();
        ASSERT_EQ(shown.size(), 9) << n;
        EXPECT_EQ(shown.left(8), QString::number(n).rightJustified(8, QLatin1Char('0')));
        EXPECT_EQ(CheckDigit(shown.left(8)), shown[8].digitValue()) << shown.toStdString();
    }
}

TEST(ProcessNumber, KeyIsTheFirstEightDigitsAsAPlainNumber)
{
    EXPECT_EQ(ProcessKey("000123455"), "12345");  // leading zeros go, the check digit never counts
    EXPECT_EQ(ProcessKey("000000000"), "0");
    EXPECT_EQ(ProcessKey("123456789"), "12345678");
    EXPECT_EQ(ProcessKey("81234567"), "81234567");
    EXPECT_EQ(ProcessKey(" 0012"), "12");
    // Whatever the caption holds, the key is a number and nothing else.
    EXPECT_EQ(ProcessKey(""), "0");
    EXPECT_EQ(ProcessKey("numproc"), "0");
    EXPECT_EQ(ProcessKey("1 or 1=1"), "1");
    EXPECT_EQ(ProcessKey("-12"), "0");
}

TEST(ProcessNumber, LookupChecksComeInTheirOrder)
{
    using PesqProc::CheckNumber;
    const QString length = "Número do Processo tem que ter 9 dígitos !";
    const QString chars = "Número do Processo só pode ter caracteres entre 0 e 9 !";
    const QString digit = "Número do Processo com dígito de verificação errado !";
    EXPECT_EQ(CheckNumber(""), "");
    EXPECT_EQ(CheckNumber("12345"), length);
    EXPECT_EQ(CheckNumber("1234a678"), length);  // length before characters
    EXPECT_EQ(CheckNumber("12345678a"), chars);
    EXPECT_EQ(CheckNumber("00012 455"), chars);
    EXPECT_EQ(CheckNumber("٠٠٠١٢٣٤٥٥"), chars);  // other scripts' digits are not "0" to "9"
    EXPECT_EQ(CheckNumber("000123456"), digit);
    EXPECT_EQ(CheckNumber("000123455"), "");
    EXPECT_EQ(CheckNumber("000000000"), "");
    EXPECT_EQ(CheckNumber("500000000"), "");
    EXPECT_EQ(CheckNumber("500000001"), digit);  // remainder 1 is never 10 or 1
}
