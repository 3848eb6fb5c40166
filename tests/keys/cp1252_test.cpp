#include "keys/Cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252, EveryByteRoundTrips)
{
    for (int b = 0; b < 256; ++b) {
        const QChar c = cp1252::toChar(static_cast<unsigned char>(b));
        EXPECT_EQ(cp1252::toByte(c), b) << b;
    }
}

TEST(Cp1252, UndefinedBytesAndHighRange)
{
    EXPECT_EQ(cp1252::toChar(0x81).unicode(), 0x0081);
    EXPECT_EQ(cp1252::toChar(0x8D).unicode(), 0x008D);
    EXPECT_EQ(cp1252::toChar(0x83).unicode(), 0x0192);
    EXPECT_EQ(cp1252::toChar(0x9A).unicode(), 0x0161);
    EXPECT_EQ(cp1252::toChar(0xC7), QChar(0x00C7));
    EXPECT_EQ(cp1252::toByte(QChar(0x0430)), -1);  // Cyrillic a
    EXPECT_EQ(cp1252::encode(QStringLiteral("A\u0430")), QByteArray("A?"));
}
