// The 4-character process code written to bcdproc.
#include "keys/Cp1252.h"
#include "support/TestDb.h"
#include "update/ProcessCode.h"

#include <gtest/gtest.h>

namespace {

QString chars(std::initializer_list<int> bytes)
{
    QString s;
    for (int b : bytes) s += cp1252::toChar(static_cast<unsigned char>(b));
    return s;
}

TEST(ProcessCode, DigitsGiveTheirCharacters)
{
    // 16 * 1 + 2 + 52, 16 * 3 + 4 + 51, 16 * 5 + 6 + 50, 16 * 7 + 8 + 49.
    EXPECT_EQ(ProcessCode(12345678), chars({70, 103, 136, 169}));
    EXPECT_EQ(ProcessCode(QStringLiteral("12345678")), chars({70, 103, 136, 169}));
    // Six digits are completed with two leading zeros: 00123456.
    EXPECT_EQ(ProcessCodeDigits(123456), QStringLiteral("00123456"));
    EXPECT_EQ(ProcessCode(123456), chars({0 + 0 + 52, 16 * 1 + 2 + 51, 16 * 3 + 4 + 50, 16 * 5 + 6 + 49}));
    // At most four zeros are added: a 3-digit number leaves the last digit 0.
    EXPECT_EQ(ProcessCodeDigits(123), QStringLiteral("0000123"));
    EXPECT_EQ(ProcessCode(123), chars({52, 51, 16 * 1 + 2 + 50, 16 * 3 + 0 + 49}));
    // Longer numbers keep their last eight digits.
    EXPECT_EQ(ProcessCodeDigits(QStringLiteral("912345678")), QStringLiteral("12345678"));
}

TEST(ProcessCode, StaysInsideItsRangeAndNeverHoldsAnApostrophe)
{
    EXPECT_EQ(ProcessCode(0), chars({52, 51, 50, 49}));
    EXPECT_EQ(ProcessCode(99999999), chars({16 * 9 + 9 + 52, 16 * 9 + 9 + 51, 16 * 9 + 9 + 50, 16 * 9 + 9 + 49}));
    for (int n : {0, 1, 10203040, 39393939, 99999999, 55555555})
        for (QChar c : ProcessCode(n)) {
            EXPECT_NE(c, QLatin1Char('\''));
            const int byte = cp1252::toByte(c);
            EXPECT_GE(byte, 49);
            EXPECT_LE(byte, 205);
        }
}

TEST(ProcessCode, ReadsBackFromTheDatabase)
{
    TestDb tdb;
    // 59000050 and 69000000 give bytes 0x8D, 0x81 and 0x9D, undefined in the code page.
    const QList<int> numbers = {12345678, 59000050, 69000000, 99999999};
    for (int n : numbers)
        tdb.db().execute(
            QStringLiteral("INSERT INTO Processos (processo, bcdproc) VALUES ('%1','%2')").arg(n).arg(ProcessCode(n)));
    Recordset rs = tdb.db().query(QStringLiteral("SELECT processo, bcdproc FROM Processos ORDER BY processo"));
    ASSERT_EQ(rs.recordCount(), numbers.size());
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        EXPECT_EQ(rs.value(QStringLiteral("bcdproc")).toString(), ProcessCode(rs.value(QStringLiteral("processo"))));
}

}  // namespace
