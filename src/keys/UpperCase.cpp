#include "UpperCase.h"

#include <QChar>

namespace textcase {

char32_t upper(char32_t c)
{
    const char32_t u = QChar::toUpper(c);  // the simple, one-to-one mapping
    // A capital in another plane would change the text's length.
    return (u > 0xFFFF) == (c > 0xFFFF) ? u : c;
}

QString upper(QStringView text)
{
    const qsizetype n = text.size();
    QString out(n, Qt::Uninitialized);
    const char16_t* p = text.utf16();
    char16_t* o = reinterpret_cast<char16_t*>(out.data());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i];
        if (c < 0x80) {
            o[i] = (c >= u'a' && c <= u'z') ? char16_t(c - 0x20) : c;
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
            const char32_t u = upper(QChar::surrogateToUcs4(c, p[i + 1]));
            o[i] = QChar::highSurrogate(u);
            o[++i] = QChar::lowSurrogate(u);
        } else {
            o[i] = char16_t(upper(char32_t(c)));
        }
    }
    return out;
}

}  // namespace textcase
