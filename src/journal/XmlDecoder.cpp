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

}  // namespace

QString DecodificaTextoXml(const QString& text)
{
    bool amp = false, stray = false, lead = false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        amp |= u == u'&';
        stray |= u == kStrayA;
        lead |= u == kLeadUpper || u == kLeadLower;
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
        QString out;
        out.reserve(s.size());
        const qsizetype n = s.size();
        for (qsizetype p = 0; p < n; ++p) {
            const char16_t u = s.at(p).unicode();
            if ((u == kLeadUpper || u == kLeadLower) && p + 1 < n) {
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
