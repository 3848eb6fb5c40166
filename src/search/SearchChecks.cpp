#include "SearchChecks.h"

#include "keys/UpperCase.h"

#include <cmath>
#include <limits>

namespace searchchecks {

namespace {

// Splits a numeric text into a C-locale number text; empty when not numeric.
QString numberText(const QString& text)
{
    const QString t = text.trimmed();
    QString out;
    int i = 0;
    const int n = int(t.size());
    if (i < n && (t[i] == u'+' || t[i] == u'-')) out += t[i++];
    int digits = 0;
    bool point = false;
    for (; i < n; ++i) {
        const QChar c = t[i];
        if (c >= u'0' && c <= u'9') {
            out += c;
            ++digits;
        } else if ((c == u'.' || c == u',') && !point) {
            out += u'.';
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) return QString();
    if (i < n && (t[i] == u'e' || t[i] == u'E' || t[i] == u'd' || t[i] == u'D')) {
        out += u'e';
        ++i;
        if (i < n && (t[i] == u'+' || t[i] == u'-')) out += t[i++];
        int expDigits = 0;
        for (; i < n && t[i] >= u'0' && t[i] <= u'9'; ++i) {
            out += t[i];
            ++expDigits;
        }
        if (expDigits == 0) return QString();
    }
    return i == n ? out : QString();
}

}  // namespace

bool IsNumeric(const QString& text) { return !numberText(text).isEmpty(); }

std::optional<double> NumericValue(const QString& text)
{
    const QString s = numberText(text);
    if (s.isEmpty()) return std::nullopt;
    bool ok = false;
    const double v = s.toDouble(&ok);
    // Past the range of a double: infinity on overflow, 0 on underflow;
    // the text is still numeric, only not usable as a whole number.
    if (!ok) return std::isinf(v) ? v : 0.0;
    return v;
}

std::optional<qint32> RoundToInt32(double value)
{
    if (!std::isfinite(value)) return std::nullopt;
    const double r = std::nearbyint(value);  // the default mode rounds half to even
    if (r < double(std::numeric_limits<qint32>::min()) || r > double(std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return qint32(r);
}

bool OnlyDigits(const QString& text)
{
    for (QChar c : text)
        if (c < u'0' || c > u'9') return false;
    return true;
}

QString UpperCase(const QString& text)
{
    return textcase::upper(text);
}

QString TrimBlanks(const QString& text)
{
    int b = 0, e = int(text.size());
    while (b < e && text[b] == u' ') ++b;
    while (e > b && text[e - 1] == u' ') --e;
    return text.mid(b, e - b);
}

QString DoubleApostrophes(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('\''), QLatin1String("''"));
    return out;
}

namespace {

// The number of a code of digits only, without its leading zeros.
QString dispatchNumber(const QString& code)
{
    qsizetype i = 0;
    while (i < code.size() - 1 && code[i] == u'0') ++i;
    return code.mid(i);
}

bool digitCode(const QString& code) { return !code.isEmpty() && OnlyDigits(code); }

}  // namespace

QStringList DispatchCodeForms(const QString& code)
{
    QStringList forms{code};
    if (!digitCode(code)) return forms;
    const QString n = dispatchNumber(code);
    for (const QString& f : {n, n.rightJustified(3, QLatin1Char('0'))})
        if (!forms.contains(f)) forms << f;
    return forms;
}

bool SameDispatchCode(const QString& a, const QString& b)
{
    if (a == b) return true;
    return digitCode(a) && digitCode(b) && dispatchNumber(a) == dispatchNumber(b);
}

QString CheckNclBox(const QStringList& boxes, int index)
{
    const QString text = boxes.value(index);
    if (text.isEmpty()) return QString();
    const std::optional<double> v = NumericValue(text);
    if (!v || !std::isfinite(*v)) return kNclNotNumeric;
    if (*v == 0) return kNclInvalid;
    for (int i = 0; i < boxes.size(); ++i) {
        if (i == index || boxes[i].isEmpty()) continue;
        const std::optional<double> other = NumericValue(boxes[i]);
        if (other && *other == *v) return kNclRepeated;
    }
    return QString();
}

QString CheckTaxIdDigits(const QString& text) { return OnlyDigits(text) ? QString() : kTaxIdDigits; }

QString CheckTaxIdLength(const QString& text, bool exact)
{
    const qsizetype n = text.size();
    if (exact) return (n == 7 || n == 11 || n == 14) ? QString() : kTaxIdExactLength;
    return n < 5 ? kTaxIdPartialLength : QString();
}

}  // namespace searchchecks
