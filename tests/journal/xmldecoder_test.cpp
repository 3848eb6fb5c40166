#include "journal/XmlDecoder.h"
#include "keys/Cp1252.h"

#include <gtest/gtest.h>

namespace {
// The text as the XML reader sees it: UTF-8 bytes read one per character.
QString asRead(const QString& s) { return cp1252::decode(s.toUtf8()); }
}  // namespace

TEST(XmlDecoder, PortugueseLettersFromTheirUtf8Bytes)
{
    EXPECT_EQ(DecodificaTextoXml(asRead(u"São Paulo"_qs)), u"São Paulo"_qs);
    EXPECT_EQ(DecodificaTextoXml(asRead(u"AÇÃO"_qs)), u"AÇÃO"_qs);
    // Á and Í come from the bytes Windows-1252 leaves undefined.
    EXPECT_EQ(DecodificaTextoXml(asRead(u"ÁGUA ÍNDIO"_qs)), u"ÁGUA ÍNDIO"_qs);
    // Second bytes whose Windows-1252 characters are far from their codes.
    EXPECT_EQ(DecodificaTextoXml(asRead(u"ÃÚ"_qs)), u"ÃÚ"_qs);
    const QString all = u"ÀÁÂÃÇÉÊÍÑÓÔÕÚàáâãçéêíñóôõú"_qs;
    EXPECT_EQ(DecodificaTextoXml(asRead(all)), all);
    EXPECT_EQ(DecodificaTextoXml(asRead(u"N° 5 ª"_qs)), u"N° 5 ª"_qs);
}

TEST(XmlDecoder, EveryWellFormedSequenceAndOddLeads)
{
    // Beyond the table: two, three and four bytes, names and typographic signs.
    for (const QString& t : {u"MÜLLER ü"_qs, u"Müller & Söhne GmbH – Zweigniederlassung “Nord”"_qs,
                             u"Jürgen Groß – œ ½ € Łódź"_qs, QString::fromUcs4(U"caf\u00E9 \U0001F600 \u4E2D")}) {
        EXPECT_EQ(DecodificaTextoXml(asRead(t)), t);
    }
    // A lead that starts no well-formed sequence: the table, or a blank.
    EXPECT_EQ(DecodificaTextoXml(QString(QChar(227)) + QChar(167)), u"ç"_qs);
    EXPECT_EQ(DecodificaTextoXml(cp1252::decode("\xC3x\xE3\xA7\xC3")), u" ç"_qs + QChar(195));
    EXPECT_EQ(DecodificaTextoXml(u"AB"_qs + QChar(195)), u"AB"_qs + QChar(195));
    EXPECT_EQ(DecodificaTextoXml(QString(QChar(227))), QString(QChar(227)));
    // Ill-formed: overlong (three and four bytes), surrogate, above U+10FFFF,
    // cut short; the bytes stay.
    for (const char* bytes : {"\xE0\x80\xAF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82"}) {
        const QString read = cp1252::decode(bytes);
        EXPECT_EQ(DecodificaTextoXml(read), read) << bytes;
    }
    // At each boundary: the last ill-formed second byte stays, the first
    // well-formed one decodes.
    for (const char* bytes : {"\xE0\x9F\xBF", "\xF0\x8F\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80"}) {
        const QString read = cp1252::decode(bytes);
        EXPECT_EQ(DecodificaTextoXml(read), read) << bytes;
    }
    EXPECT_EQ(DecodificaTextoXml(cp1252::decode("\xE0\xA0\x80")), QString(QChar(0x0800)));
    EXPECT_EQ(DecodificaTextoXml(cp1252::decode("\xED\x9F\xBF")), QString(QChar(0xD7FF)));
    EXPECT_EQ(DecodificaTextoXml(cp1252::decode("\xF0\x90\x80\x80")), QString::fromUcs4(U"\U00010000"));
    EXPECT_EQ(DecodificaTextoXml(cp1252::decode("\xF4\x8F\xBF\xBF")), QString::fromUcs4(U"\U0010FFFF"));
}

TEST(XmlDecoder, Entities)
{
    EXPECT_EQ(DecodificaTextoXml(u"A&#xd;B&#x85;"_qs), u"A B..."_qs);
    EXPECT_EQ(DecodificaTextoXml(u"&#XD;&#X85;"_qs), u"&#XD;&#X85;"_qs);
    EXPECT_EQ(DecodificaTextoXml(u"&QUOT;x&quot; &LT;&gt; &Apos;"_qs), u"'x' <> '"_qs);
    EXPECT_EQ(DecodificaTextoXml(u"A &amp; B"_qs), u"A & B"_qs);
    EXPECT_EQ(DecodificaTextoXml(u"&amp;amp;AMP;x"_qs), u"&x"_qs);
    EXPECT_EQ(DecodificaTextoXml(u"&amp;lt;"_qs), u"&lt;"_qs);
    EXPECT_EQ(DecodificaTextoXml(u"&amp;apos;&amp;quot;"_qs), u"''"_qs);
    EXPECT_EQ(DecodificaTextoXml(u"&lt;&lt;;&amp"_qs), u"<<;&amp"_qs);
}

TEST(XmlDecoder, PlainTextUnchanged)
{
    const QString plain = u"MARCA REGISTRADA LTDA. & CIA (ver 'x') \"y\" 100%"_qs;
    EXPECT_EQ(DecodificaTextoXml(plain), plain);
    EXPECT_EQ(DecodificaTextoXml(QString()), QString());
    const QString before = asRead(u"São"_qs);
    QString copy = before;
    DecodificaTextoXml(copy);
    EXPECT_EQ(copy, before);
}
