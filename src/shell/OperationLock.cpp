#include "OperationLock.h"

#include "Ui.h"

#include <QHash>
#include <QPair>

namespace {

// Locks this program holds: (connection, resource) -> how many holders.
QHash<QPair<const DbConnection*, QString>, int>& holders()
{
    static QHash<QPair<const DbConnection*, QString>, int> h;
    return h;
}

QString literal(QString s) { return QLatin1Char('\'') + s.replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\''); }

struct Attempt {
    bool taken = false;
    QString holderActivity;
};

// Takes the row when it is free, held by this attachment, or held by an
// attachment that no longer exists; otherwise reads what its holder does.
Attempt tryTake(DbConnection& db, const QString& resource, const QString& activity)
{
    const QString name = literal(resource);
    const QString doing = literal(activity);
    Recordset rs = db.query(
        QStringLiteral("EXECUTE BLOCK RETURNS (tomado INTEGER, quem VARCHAR(100)) AS\n"
                       "BEGIN\n"
                       "  IN AUTONOMOUS TRANSACTION DO\n"
                       "  BEGIN\n"
                       "    UPDATE Bloqueio b SET conexao = CURRENT_CONNECTION, operacao = %2, inicio = CURRENT_TIMESTAMP\n"
                       "     WHERE nome = %1 AND (conexao IS NULL OR conexao = CURRENT_CONNECTION OR NOT EXISTS\n"
                       "       (SELECT 1 FROM MON$ATTACHMENTS a WHERE a.MON$ATTACHMENT_ID = b.conexao));\n"
                       "    tomado = ROW_COUNT;\n"
                       "    IF (tomado = 0) THEN\n"
                       "    BEGIN\n"
                       "      SELECT operacao FROM Bloqueio WHERE nome = %1 INTO quem;\n"
                       "      IF (ROW_COUNT = 0) THEN\n"
                       "      BEGIN\n"
                       "        INSERT INTO Bloqueio (nome, conexao, operacao, inicio)\n"
                       "          VALUES (%1, CURRENT_CONNECTION, %2, CURRENT_TIMESTAMP);\n"
                       "        tomado = 1;\n"
                       "      END\n"
                       "    END\n"
                       "  END\n"
                       "  SUSPEND;\n"
                       "END")
            .arg(name, doing));
    Attempt a;
    if (rs.recordCount() == 0) return a;
    rs.moveFirst();
    a.taken = rs.value(0).toInt() > 0;
    a.holderActivity = rs.value(1).toString();
    return a;
}

}  // namespace

QString OperationLock::busyMessage(const QString& activity)
{
    const QString doing = activity.trimmed().isEmpty() ? QStringLiteral("usando esta parte do banco de dados") : activity;
    return QStringLiteral("Outra estação está %1 neste momento.\n"
                          "Nada foi alterado no banco de dados: tente novamente quando ela terminar.")
        .arg(doing);
}

QString OperationLock::failureMessage(const QString& error)
{
    return QStringLiteral("Não foi possível verificar se outra estação está usando o banco de dados:\n%1\n\n"
                          "Nada foi alterado no banco de dados.")
        .arg(error);
}

OperationLock::OperationLock(const LockedOperation& operation, DbConnection& db)
    : db_(db), resource_(operation.resource)
{
    const auto key = qMakePair(static_cast<const DbConnection*>(&db_), resource_);
    if (holders().contains(key)) {
        ++holders()[key];
        held_ = true;
        return;
    }
    Attempt a;
    try {
        try {
            a = tryTake(db_, resource_, operation.activity);
        } catch (const DbError&) {
            // Another desk changed the row at this very moment: look again.
            a = tryTake(db_, resource_, operation.activity);
        }
    } catch (const DbError& e) {
        MsgBox(failureMessage(e.message()), vb::Critical, operation.title);
        return;
    }
    if (!a.taken) {
        MsgBox(busyMessage(a.holderActivity), vb::Exclamation, operation.title);
        return;
    }
    holders().insert(key, 1);
    held_ = true;
}

OperationLock::~OperationLock() { release(); }

void OperationLock::release()
{
    if (!held_) return;
    held_ = false;
    const auto key = qMakePair(static_cast<const DbConnection*>(&db_), resource_);
    auto it = holders().find(key);
    if (it != holders().end() && --it.value() > 0) return;
    holders().remove(key);
    try {
        db_.execute(QStringLiteral("EXECUTE BLOCK AS BEGIN IN AUTONOMOUS TRANSACTION DO "
                                   "UPDATE Bloqueio SET conexao = NULL, operacao = NULL, inicio = NULL "
                                   "WHERE nome = %1 AND conexao = CURRENT_CONNECTION; END")
                        .arg(literal(resource_)));
    } catch (const DbError&) {
        // The row stays with this attachment: it is free again once the
        // attachment ends, and this program may take it again meanwhile.
    }
}
