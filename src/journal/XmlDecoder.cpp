#include "XmlDecoder.h"

#include "keys/Cp1252.h"

#include <array>

namespace {

constexpr char16_t kLeadUpper = 195;  // Ã
constexpr char16_t kLeadLower = 227;  // ã, taken as a lead as well
constexpr char16_t kStrayA = 194;     // Â before c from 160 to 191

bool matchesAt(const QString& s, qsizetype i, QLatin1StringView what, Qt::CaseSensitivity cs)
{
    return s.size() - i >= what.size() && QStringView(s).sliced(i, what.size()).compare(what, cs) == 0;
}

// Replaces every occurrence of what by with, scanning once from the start.
// Valid because with never forms a new occurrence of what.
void replaceAll(QString& s, QLatin1StringView what, QLatin1StringView with, Qt::CaseSensitivity cs)
{
    qsizetype i = s.indexOf(what, 0, cs);
    if (i < 0) return;
    QString out;
    out.reserve(s.size());
    qsizetype from = 0;
    while (i >= 0) {
        out += QStringView(s).sliced(from, i - from);
        out += with;
        from = i + what.size();
        i = s.indexOf(what, from, cs);
    }
    out += QStringView(s).sliced(from);
    s = out;
}

// "&amp;" becomes "&", and the "&" it leaves may start another "&amp;"
// ("&amp;amp;" gives "&"); this collapses each such chain in one pass.
void replaceAmp(QString& s)
{
    const QLatin1StringView tail("amp;");
    qsizetype i = s.indexOf(QLatin1StringView("&amp;"), 0, Qt::CaseInsensitive);
    if (i < 0) return;
    QString out;
    out.reserve(s.size());
    qsizetype from = 0;
    while (i >= 0) {
        out += QStringView(s).sliced(from, i + 1 - from);  // up to and with the '&'
        qsizetype j = i + 1;
        while (matchesAt(s, j, tail, Qt::CaseInsensitive)) j += tail.size();
        from = j;
        i = s.indexOf(QLatin1StringView("&amp;"), from, Qt::CaseInsensitive);
    }
    out += QStringView(s).sliced(from);
    s = out;
}

// Letter of a pair led by Ã, by the Windows-1252 code of its second byte;
// 0 where the pair gives a blank.
constexpr std::array<char16_t, 64> makeTable()
{
    std::array<char16_t, 64> t{};
    for (int b : {0x80, 0x81, 0x82, 0x83, 0x87, 0x89, 0x8A, 0x8D, 0x91, 0x93, 0x94, 0x95, 0x9A}) {
        t[b - 0x80] = char16_t(0xC0 + (b - 0x80));
        t[b - 0x80 + 0x20] = char16_t(0xC0 + (b - 0x80) + 0x20);
    }
    return t;
}
constexpr std::array<char16_t, 64> kSecondByte = makeTable();

QChar letterOf(QChar second)
{
    const int b = cp1252::toByte(second);
    if (b < 0x80 || b > 0xBF || kSecondByte[b - 0x80] == 0) return QLatin1Char(' ');
    return QChar(kSecondByte[b - 0x80]);
}

// A character that may start a UTF-8 sequence: bytes 0xC2 to 0xF4 read as
// Windows-1252, where they are U+00C2 to U+00F4.
inline bool mayLead(char16_t u) { return u >= 0xC2 && u <= 0xF4; }

// The length (2 to 4) of the well-formed UTF-8 sequence whose bytes, read
// one per character, start at p, and its code point; 0 when there is none.
// Well-formed as Unicode defines it: no overlong form, no surrogate,
// nothing above U+10FFFF.
int sequenceAt(const QString& s, qsizetype p, char32_t& code)
{
    const int lead = cp1252::toByte(s.at(p));
    int len = 0;
    int lo = 0x80, hi = 0xBF;  // range of the second byte
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        len = 2;
        c = char32_t(lead & 0x1F);
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3;
        c = char32_t(lead & 0x0F);
        if (lead == 0xE0) lo = 0xA0;       // overlong
        else if (lead == 0xED) hi = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4;
        c = char32_t(lead & 0x07);
        if (lead == 0xF0) lo = 0x90;       // overlong
        else if (lead == 0xF4) hi = 0x8F;  // above U+10FFFF
    } else {
        return 0;
    }
    if (p + len > s.size()) return 0;
    for (int k = 1; k < len; ++k) {
        const int b = cp1252::toByte(s.at(p + k));
        if (b < (k == 1 ? lo : 0x80) || b > (k == 1 ? hi : 0xBF)) return 0;
        c = (c << 6) | char32_t(b & 0x3F);
    }
    code = c;
    return len;
}

}  // namespace

QString DecodificaTextoXml(const QString& text)
{
    bool amp = false, stray = false, lead = false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        amp |= u == u'&';
        stray |= u == kStrayA;
        lead |= mayLead(u);
    }
    if (!amp && !stray && !lead) return text;

    QString s = text;
    if (amp) {
        replaceAll(s, QLatin1StringView("&#xd;"), QLatin1StringView(" "), Qt::CaseSensitive);
        replaceAll(s, QLatin1StringView("&#x85;"), QLatin1StringView("..."), Qt::CaseSensitive);
        replaceAll(s, QLatin1StringView("&lt;"), QLatin1StringView("<"), Qt::CaseInsensitive);
        replaceAll(s, QLatin1StringView("&gt;"), QLatin1StringView(">"), Qt::CaseInsensitive);
        replaceAmp(s);
        replaceAll(s, QLatin1StringView("&apos;"), QLatin1StringView("'"), Qt::CaseInsensitive);
        replaceAll(s, QLatin1StringView("&quot;"), QLatin1StringView("'"), Qt::CaseInsensitive);
    }
    if (stray) s.remove(QChar(kStrayA));
    if (lead) {
        // Well-formed UTF-8 sequences become their characters; a Ã or ã
        // that starts none takes its letter from the table.
        QString out;
        out.reserve(s.size());
        const qsizetype n = s.size();
        for (qsizetype p = 0; p < n; ++p) {
            const char16_t u = s.at(p).unicode();
            char32_t code = 0;
            const int len = mayLead(u) ? sequenceAt(s, p, code) : 0;
            if (len > 0) {
                if (code > 0xFFFF) {
                    out += QChar(QChar::highSurrogate(code));
                    out += QChar(QChar::lowSurrogate(code));
                } else {
                    out += QChar(char16_t(code));
                }
                p += len - 1;
            } else if ((u == kLeadUpper || u == kLeadLower) && p + 1 < n) {
                out += letterOf(s.at(p + 1));
                ++p;  // the search goes on after the pair
            } else {
                out += s.at(p);
            }
        }
        s = out;
    }
    return s;
}
