#include "ProcessNumber.h"

namespace ProcessNumber {

static bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool AllDigits(const QString& text)
{
    for (QChar c : text)
        if (!isDigit(c)) return false;
    return true;
}

int CheckDigit(const QString& eightDigits)
{
    if (eightDigits.size() != 8 || !AllDigits(eightDigits)) return -1;
    int sum = 0;
    for (int i = 0; i < 8; ++i) sum += (9 - i) * (eightDigits[i].unicode() - '0');
    const int r = sum % 11;
    return r < 2 ? 0 : 11 - r;
}

QString ProcessKey(const QString& shownNumber)
{
    const QString head = shownNumber.left(8);
    int i = 0;
    while (i < head.size() && head[i] == QLatin1Char(' ')) ++i;
    qint64 n = 0;
    for (; i < head.size() && isDigit(head[i]); ++i) n = n * 10 + (head[i].unicode() - '0');
    return QString::number(n);
}

}  // namespace ProcessNumber
