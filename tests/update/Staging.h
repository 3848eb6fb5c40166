#pragma once
// Writes a staged issue the way the journal readers leave it, for the
// update tests: RPI rows, ProcRefRevista citations and the Revistas row.

#include "journal/SqlLiterals.h"
#include "shell/Db.h"

#include <QDate>
#include <QStringList>
#include <QVariant>
#include <initializer_list>
#include <utility>

using Fields = std::initializer_list<std::pair<const char*, QVariant>>;

inline void stageRow(int codigo, int processo, int revista, const QString& despacho, Fields fields = {})
{
    QStringList cols{QStringLiteral("codigo"), QStringLiteral("processo"), QStringLiteral("revista"),
                     QStringLiteral("despacho")};
    QStringList vals{TestNull(codigo), TestNull(processo), TestNull(revista), TestNull(despacho)};
    for (const auto& [name, value] : fields) {
        cols << QString::fromLatin1(name);
        vals << TestNull(value);
    }
    DbConnection::instance().execute(QStringLiteral("INSERT INTO RPI (%1) VALUES (%2)")
                                         .arg(cols.join(QLatin1Char(',')), vals.join(QLatin1Char(','))));
}

inline void stageCitation(int codigo, int numproc, int ordemproc, int revista)
{
    DbConnection::instance().execute(
        QStringLiteral("INSERT INTO ProcRefRevista (codigo, numproc, ordemproc, despacho, revista) VALUES (%1,%2,%3,'0',%4)")
            .arg(codigo)
            .arg(numproc)
            .arg(ordemproc)
            .arg(revista));
}

inline void registerIssue(int revista, const QDate& date, int atualizado = 0)
{
    DbConnection::instance().execute(QStringLiteral("INSERT INTO Revistas (revista, rdata, atualizado) VALUES (%1,%2,%3)")
                                         .arg(revista)
                                         .arg(TestNull(date))
                                         .arg(atualizado));
}

inline void clearStaging()
{
    DbConnection::instance().execute(QStringLiteral("DELETE FROM RPI"));
    DbConnection::instance().execute(QStringLiteral("DELETE FROM ProcRefRevista"));
}

// One value of the first row a query returns (absent when none).
inline QVariant valueOf(const QString& sql)
{
    Recordset rs = DbConnection::instance().query(sql);
    if (rs.recordCount() == 0) return QVariant();
    rs.moveFirst();
    return rs.value(0);
}
