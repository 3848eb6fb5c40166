#include "IssueRecord.h"

#include "shell/Db.h"

void RecordIssue(DbConnection& db, int revista, const QDate& date)
{
    Recordset rs = db.openTable(QStringLiteral("Revistas"));
    if (!rs.find(QStringLiteral("Revista=") + QString::number(revista))) {
        rs.addNew();
        rs.setValue(QStringLiteral("atualizado"), 0);
    }
    rs.setValue(QStringLiteral("Revista"), revista);
    rs.setValue(QStringLiteral("rdata"), date.isValid() ? QVariant(date) : QVariant(QMetaType(QMetaType::QDate)));
    rs.update();
}
