#include "Password.h"

#include "Db.h"
#include "keys/Cp1252.h"

std::optional<QString> ScramblePassword(const QString& text)
{
    const qsizetype n = text.size();
    QString out;
    out.reserve(n);
    for (qsizetype i = 1; i <= n; ++i) {
        const int code = cp1252::toByte(text.at(n - i));
        if (code < 0) return std::nullopt;
        const int lowered = code - int(i);
        if (lowered < 0) return std::nullopt;
        out.append(cp1252::toChar(static_cast<unsigned char>(lowered)));
    }
    return out;
}

AdminPasswordResult CheckAdminPassword(const QString& typed, DbConnection& db)
{
    AdminPasswordResult result;
    try {
        Recordset rs = db.query(QStringLiteral("select controle6 from Controle where codigo=1"));
        if (rs.recordCount() == 0) {
            result.outcome = AdminPasswordCheck::NoControlRow;
            return result;
        }
        rs.moveFirst();
        const QVariant stored = rs.value(QStringLiteral("controle6"));
        // A password that was never set (Null) opens nothing, nor does an empty one.
        if (stored.isNull() || typed.isEmpty()) return result;
        const std::optional<QString> scrambled = ScramblePassword(typed);
        if (scrambled && *scrambled == stored.toString()) result.outcome = AdminPasswordCheck::Granted;
    } catch (const DbError& e) {
        result.outcome = AdminPasswordCheck::DatabaseError;
        result.errorText = e.message();
    }
    return result;
}

AdminPasswordResult CheckAdminPassword(const QString& typed)
{
    return CheckAdminPassword(typed, DbConnection::instance());
}

QString TrimBlanks(const QString& text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && text[b] == QLatin1Char(' ')) ++b;
    while (e > b && text[e - 1] == QLatin1Char(' ')) --e;
    return text.mid(b, e - b);
}
