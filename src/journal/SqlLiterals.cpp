#include "SqlLiterals.h"

#include "VbError.h"

#include "shell/Db.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace {

const QString kNull = QStringLiteral("Null");
const QString kEmptyLiteral = QStringLiteral("''");

bool isText(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::QChar: return true;
    default: return false;
    }
}

bool isEmptyText(const QVariant& v) { return !isAbsent(v) && isText(v) && v.toString().isEmpty(); }

QString doubled(QString s) { return s.replace(QLatin1Char('\''), QLatin1String("''")); }

QString quoted(const QString& s) { return QLatin1Char('\'') + s + QLatin1Char('\''); }

// Double quotes removed, apostrophes doubled.
QString cleaned(const QString& s)
{
    QString out;
    out.reserve(s.size() + 8);
    for (QChar c : s) {
        if (c == QLatin1Char('"')) continue;
        out += c;
        if (c == QLatin1Char('\'')) out += c;
    }
    return out;
}

QDate dateOf(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::QDate: return v.toDate();
    case QMetaType::QDateTime: return v.toDateTime().date();
    default: break;
    }
    if (IsNumberValue(v)) {
        // A day number counted from 30 Dec 1899, as dates are stored as numbers.
        const double days = v.toDouble();
        if (days > -700000.0 && days < 3000000.0) return QDate(1899, 12, 30).addDays(qint64(days));
        return QDate();
    }
    if (isText(v)) {
        QString s = v.toString().trimmed();
        const qsizetype blank = s.indexOf(QLatin1Char(' '));
        if (blank > 0) s.truncate(blank);  // a time after the date
        for (const char* fmt : {"dd/MM/yyyy", "d/M/yyyy", "dd.MM.yyyy", "d.M.yyyy", "dd-MM-yyyy", "yyyy-MM-dd"}) {
            const QDate d = QDate::fromString(s, QLatin1String(fmt));
            if (d.isValid()) return d;
        }
    }
    return QDate();
}

}  // namespace

bool isAbsent(const QVariant& value) { return !value.isValid() || value.isNull(); }

QString literalText(const QVariant& v)
{
    if (isAbsent(v)) return QString();
    switch (v.typeId()) {
    case QMetaType::QDate: return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        if (dt.time() == QTime(0, 0)) return dt.date().toString(QStringLiteral("dd.MM.yyyy"));
        return dt.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    }
    case QMetaType::QTime: return v.toTime().toString(QStringLiteral("hh:mm:ss"));
    case QMetaType::Double:
    case QMetaType::Float: return QString::number(v.toDouble(), 'g', 15);
    default: return v.toString();
    }
}

QString TestaNulo(const QVariant& campo)
{
    if (isAbsent(campo)) return kEmptyLiteral;
    if (isEmptyText(campo)) return kNull;
    return quoted(doubled(literalText(campo)));
}

QString TestaZero(const QVariant& campo)
{
    if (isAbsent(campo)) return kEmptyLiteral;
    bool zero = false;
    if (IsNumberValue(campo)) {
        zero = campo.toDouble() == 0.0;
    } else if (isText(campo)) {
        bool ok = false;
        const double d = campo.toString().trimmed().toDouble(&ok);
        zero = ok && d == 0.0;
    }
    if (zero) return kNull;
    return quoted(doubled(literalText(campo)));
}

QString TestaCampoTxt(QVariant& campo, AbsentGives absent)
{
    if (isAbsent(campo)) return absent == AbsentGives::Null ? kNull : kEmptyLiteral;
    if (isEmptyText(campo)) return kNull;
    return quoted(TestaCampoTxt1(campo).toString());
}

QString TestaCampo(QVariant& campo)
{
    if (isAbsent(campo)) return kEmptyLiteral;
    if (isEmptyText(campo)) return kNull;
    QString s = literalText(campo);
    if (isText(campo)) {
        s.remove(QLatin1Char('\''));
        campo = s;
    }
    return quoted(s);
}

QString TestNull(const QVariant& campo)
{
    if (isAbsent(campo)) return kNull;
    return quoted(doubled(literalText(campo)));
}

QString TestDate(const QVariant& campo)
{
    if (isAbsent(campo)) return kNull;
    const QDate d = dateOf(campo);
    if (!d.isValid()) throw VbError(vberr::TypeMismatch, QStringLiteral("Type mismatch"));
    return quoted(d.toString(QStringLiteral("dd.MM.yyyy")));
}

QVariant TestaCampoTxt1(QVariant& campo)
{
    if (isAbsent(campo)) return campo;
    const QString s = cleaned(literalText(campo));
    if (isText(campo)) campo = s;
    return s;
}
