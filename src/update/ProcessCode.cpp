#include "ProcessCode.h"

#include "journal/SqlLiterals.h"
#include "keys/Cp1252.h"

QString ProcessCodeDigits(const QVariant& processo)
{
    QString digits;
    if (!isAbsent(processo)) {
        // Only the digits: no sign, no blank.
        for (const QChar c : literalText(processo))
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits += c;
    }
    return (QStringLiteral("0000") + digits).right(8);
}

QString ProcessCode(const QVariant& processo)
{
    const QString s = ProcessCodeDigits(processo);
    auto d = [&s](int i) { return i <= s.size() ? s.at(i - 1).unicode() - u'0' : 0; };
    QString code;
    for (int k = 1; k <= 4; ++k) {
        const int byte = 16 * d(2 * k - 1) + d(2 * k) + 53 - k;
        code += cp1252::toChar(static_cast<unsigned char>(byte));
    }
    return code;
}
