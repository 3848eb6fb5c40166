#include "Metaphone.h"

#include <QChar>
#include <QStringView>
#include <QVarLengthArray>

#include <array>

#include "UpperCase.h"

namespace metaphonevar {
namespace {

// ---------------------------------------------------------------------------
// Text order over the first 256 code points, fixed here once. The letters of
// Windows-1252 above U+00FF (Š š Œ œ Ž ž Ÿ ƒ) and the Latin letters outside
// the code page are handled by isLetterWide(). The upper case is the
// program's one rule (UpperCase.h), written out for these code points.

struct Latin1Tables {
    std::array<bool, 256> letter{};
    std::array<char16_t, 256> upper{};
    // Output of the cleaned key for one character (0: nothing).
    std::array<char16_t, 256> clean{};
    // Output of the phonetic normalisation (0: nothing, 1: "SS").
    std::array<char16_t, 256> norm{};
};

constexpr Latin1Tables makeTables()
{
    Latin1Tables t{};
    for (int c = 0; c < 256; ++c) {
        t.letter[c] = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')  //
                      || (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6)
                      || (c >= 0xF8 && c <= 0xFF)  //
                      || c == 0xAA || c == 0xBA;  // ª º
        char16_t u = char16_t(c);
        if (c >= 'a' && c <= 'z') u = char16_t(c - 0x20);
        // à..þ (not ÷); ß has no single capital.
        else if (c >= 0xE0 && c <= 0xFE && c != 0xF7) u = char16_t(c - 0x20);
        else if (c == 0xFF) u = 0x0178;  // ÿ -> Ÿ
        else if (c == 0xB5) u = 0x039C;  // µ -> Greek Μ, outside the keys
        t.upper[c] = u;
    }
    for (int c = 0; c < 256; ++c) {
        const char16_t u = t.upper[c];
        const bool digit = c >= '0' && c <= '9';
        const bool letter = t.letter[c];
        // Cleaned key.
        if (digit) t.clean[c] = u'9';
        else if (letter) t.clean[c] = u;
        else if (c == '@') t.clean[c] = u'A';
        else if (c == '&') t.clean[c] = u'E';
        // Phonetic normalisation, on the upper-cased character.
        char16_t n = 0;
        switch (u) {
        case 0xC1: case 0xC2: case 0xC3: case 0xC0: case u'@': n = u'A'; break;  // Á Â Ã À
        case 0xC9: case 0xCA: case 0xC8: case u'&': n = u'E'; break;             // É Ê È
        case 0xCD: case 0xCE: case 0xCC: n = u'I'; break;                        // Í Î Ì
        case 0xD3: case 0xD4: case 0xD5: case 0xD2: n = u'O'; break;             // Ó Ô Õ Ò
        case 0xDA: case 0xDB: case 0xD9: n = u'U'; break;                        // Ú Û Ù
        case 0xD1: n = u'N'; break;                                              // Ñ
        case 0xC7: n = 1; break;                                                 // Ç -> SS
        default: n = (digit || letter) ? u : 0;
        }
        t.norm[c] = n;
    }
    return t;
}

constexpr Latin1Tables kT = makeTables();

bool isLetterWide(char16_t c)
{
    switch (c) {
    case 0x0160: case 0x0161: case 0x0152: case 0x0153:  // Š š Œ œ
    case 0x017D: case 0x017E: case 0x0178: case 0x0192:  // Ž ž Ÿ ƒ
        return true;
    default:
        return QChar::isLetter(char32_t(c)) && QChar::script(char32_t(c)) == QChar::Script_Latin;
    }
}

inline bool isLetterFast(char16_t c) { return c < 0x100 ? kT.letter[c] : isLetterWide(c); }

// A code point of the 16-bit range has its capital there too.
inline char16_t upperWide(char16_t c) { return char16_t(textcase::upper(char32_t(c))); }

inline char16_t upperFast(char16_t c) { return c < 0x100 ? kT.upper[c] : upperWide(c); }

inline bool equalFast(char16_t a, char16_t b)
{
    if (a == b) return true;
    if (a < 0x100 && b < 0x100) return false;  // these are compared upper-cased
    return QChar::toCaseFolded(char32_t(a)) == QChar::toCaseFolded(char32_t(b));
}

inline bool isVowel(char16_t c)
{
    return c == u'A' || c == u'E' || c == u'I' || c == u'O' || c == u'U';
}

inline bool isIEY(char16_t c) { return c == u'I' || c == u'E' || c == u'Y'; }

// Small working buffers; marks are short, long texts spill to the heap.
using Buf = QVarLengthArray<char16_t, 256>;

// Phonetic normalisation of s appended to out.
void normalizeInto(QStringView s, Buf& out)
{
    const char16_t* p = s.utf16();
    const qsizetype n = s.size();
    out.reserve(2 * n + 2);
    for (qsizetype i = 0; i < n; ++i) {
        char16_t c = p[i];
        if (c >= 0x100) {
            c = upperWide(c);
            if (c >= 0x100) {
                if (isLetterWide(c)) out.append(c);
                continue;
            }
        }
        const char16_t r = kT.norm[c];
        if (r == 1) {
            out.append(u'S');
            out.append(u'S');
        } else if (r != 0) {
            out.append(r);
        }
    }
}

inline QString toQString(const Buf& b)
{
    return QString(reinterpret_cast<const QChar*>(b.constData()), b.size());
}

}  // namespace

// ---------------------------------------------------------------------------

namespace textorder {

bool isLetter(char16_t c) { return isLetterFast(c); }
char16_t toUpper(char16_t c) { return upperFast(c); }
bool equal(char16_t a, char16_t b) { return equalFast(upperFast(a), upperFast(b)); }

}  // namespace textorder

static bool inVowels(const QString& ch)
{
    QVarLengthArray<char16_t, 16> up;
    for (const QChar c : ch) up.append(upperFast(c.unicode()));
    return QStringView(u"AEIOU").contains(QStringView(up.constData(), up.size()));
}

bool EhVogal(const QString& ch) { return !ch.isEmpty() && inVowels(ch); }

bool NaoVogal(const QString& ch) { return !ch.isEmpty() && !inVowels(ch); }

QString NormalizaMetaphone(const QString& s)
{
    Buf out;
    normalizeInto(s, out);
    return toQString(out);
}

QString CalcMetaphone(const QString& word, qint16 semVogais, qint16 tamanho)
{
    Buf buf;
    normalizeInto(word, buf);
    char16_t* p = buf.data();
    qsizetype n = buf.size();
    const bool kept = semVogais == 0;

    // 1-based position; outside the text reads as empty (0).
    auto at = [&](qsizetype i) -> char16_t { return (i >= 1 && i <= n) ? p[i - 1] : char16_t(0); };

    // Initial-letter rule.
    if (n >= 1) {
        const char16_t second = at(2);
        switch (p[0]) {
        case u'H':
            if (isVowel(second)) ++p, --n;
            break;
        case u'K': case u'G': case u'M':
            if (second == u'N') ++p, --n;
            break;
        case u'P':
            if (second == u'N' || second == u'T') ++p, --n;
            break;
        case u'W':
            if (second == u'R') {
                ++p, --n;
            } else if (second == u'H') {  // drop the H, keep the W
                p[1] = p[0];
                ++p, --n;
            }
            break;
        case u'E':
            if (second == u'X' && isVowel(at(3))) p[1] = u'Z';
            break;
        default:
            break;
        }
    }

    // Final-letter rule: a final S or the B of a final MB goes, once.
    if (n >= 1 && (p[n - 1] == u'S' || (p[n - 1] == u'B' && n >= 2 && p[n - 2] == u'M'))) --n;

    Buf key;
    key.reserve(2 * n + (tamanho > 0 ? tamanho : 0) + 1);

    qsizetype i = 1;
    char16_t prev = 0;
    char16_t prev2 = 0;
    if (n >= 1 && isVowel(p[0])) {
        key.append(p[0]);
        prev = p[0];
        i = 2;
    }

    while (i <= n) {
        const char16_t cur = p[i - 1];
        const char16_t next = at(i + 1);
        const char16_t next2 = at(i + 2);
        char16_t code = 0;
        int skip = 0;

        if (cur >= u'0' && cur <= u'9') {
            code = u'9';
        } else {
            switch (cur) {
            case u'B': case u'F': case u'J': case u'L':
            case u'M': case u'N': case u'R': case u'V':
                code = cur;
                break;
            case u'C':
                if (prev == u'S' && next == u'H') code = u'K', skip = 1;
                else if (next == u'H' && next2 == 0) code = u'K', skip = 1;
                else if (next == u'H' && next2 == u'R') code = u'K', skip = 1;
                else if (next == u'H') code = u'X', skip = 1;
                else if (isIEY(next)) code = u'S';
                else code = u'K';
                break;
            case u'D':
                if (next == u'G' && isIEY(next2)) code = u'J', skip = 1;
                else code = u'D';
                break;
            case u'G':
                if (next == u'H' && (next2 == 0 || isVowel(next2))) code = u'G', skip = 1;
                else if (next == u'H') skip = 1;
                else if (next == u'N') code = u'N', skip = 1;
                else if (isIEY(next) && prev != u'G') code = u'J';
                else code = u'G';
                break;
            case u'H':
                if (prev == u'G' || prev == u'K' || prev == u'W') code = 0;
                else if (prev == u'L' || prev == u'N') code = kept ? u'I' : 0;
                else code = u'H';
                break;
            case u'K':
                code = prev == u'C' ? 0 : u'K';
                break;
            case u'P':
                if (next == u'H') code = u'F', skip = 1;
                else code = u'P';
                break;
            case u'Q':
                code = u'K';
                if (next == u'U') skip = 1;
                break;
            case u'S':
                if (next == u'H') code = u'X', skip = 1;
                else if (isVowel(prev) && isVowel(next)) code = u'Z';
                else code = u'S';
                break;
            case u'T':
                if (next == u'H') code = u'D', skip = 1;
                else if (next == u'C' && next2 == u'H') code = 0;
                else code = u'T';
                break;
            case u'W':
                code = kept ? u'U' : 0;
                break;
            case u'Y':
                code = kept ? u'I' : 0;
                break;
            case u'X':
                if (prev == u'E' && next == u'C') {
                    code = u'S';
                } else if (next == 0 || (isVowel(prev) && (isVowel(prev2) || prev2 == 0))) {
                    key.append(u'K');  // straight into the key
                    code = u'S';
                } else if (isVowel(prev)) {
                    code = u'S';
                } else {
                    code = u'X';
                }
                break;
            case u'Z':
                code = u'Z';
                break;
            default:  // vowels and any other letter
                code = kept ? cur : 0;
                break;
            }
        }

        // A doubled letter counts once, except CC.
        if (!(cur != u'C' && equalFast(cur, prev))) {
            if (code != 0 && (key.isEmpty() || !equalFast(code, key.last()))) key.append(code);
        }

        i += 1 + skip;
        prev = at(i - 1);
        prev2 = i < 3 ? char16_t(0) : at(i - 2);
    }

    if (tamanho >= 1) {
        if (key.size() > tamanho) key.resize(tamanho);
        while (key.size() < tamanho) key.append(u'0');
    }
    return toQString(key);
}

QString LimpaTexto(const QString& s)
{
    const char16_t* p = reinterpret_cast<const char16_t*>(s.utf16());
    const qsizetype n = s.size();
    QString out(n, Qt::Uninitialized);
    char16_t* o = reinterpret_cast<char16_t*>(out.data());
    qsizetype k = 0;
    for (qsizetype i = 0; i < n; ++i) {
        char16_t c = p[i];
        if (c >= 0x100) {
            c = upperWide(c);
            if (c >= 0x100) {
                if (isLetterWide(c)) o[k++] = c;
                continue;
            }
        }
        const char16_t r = kT.clean[c];
        if (r != 0) o[k++] = r;
    }
    out.truncate(k);
    return out;
}

}  // namespace metaphonevar
