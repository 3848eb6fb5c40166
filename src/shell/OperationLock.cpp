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
    OperationLock::Holder holder;
};

// The address part of MON$REMOTE_ADDRESS ("192.168.0.11/52344").
QString withoutPort(const QString& address)
{
    const QString a = address.trimmed();
    const qsizetype slash = a.lastIndexOf(QLatin1Char('/'));
    return slash > 0 ? a.left(slash) : a;
}

// The holder in the current row: what it does, since when, its address and
// machine, in four columns from `first` on.
OperationLock::Holder holderAt(const Recordset& rs, int first)
{
    OperationLock::Holder h;
    h.activity = rs.value(first).toString();
    h.since = rs.value(first + 1).toDateTime();
    h.address = withoutPort(rs.value(first + 2).toString());
    h.host = rs.value(first + 3).toString().trimmed();
    return h;
}

// Takes the row when it is free, held by this attachment, or held by an
// attachment that is no longer at work; otherwise reads who holds it. The
// holder is at work while its attachment exists and began no later than
// the row was written (both times are the server's).
Attempt tryTake(DbConnection& db, const QString& resource, const QString& activity)
{
    const QString name = literal(resource);
    const QString doing = literal(activity);
    Recordset rs = db.query(
        QStringLiteral("EXECUTE BLOCK RETURNS (tomado INTEGER, quem VARCHAR(100), desde TIMESTAMP,\n"
                       "  endereco VARCHAR(255), maquina VARCHAR(255)) AS\n"
                       "BEGIN\n"
                       "  IN AUTONOMOUS TRANSACTION DO\n"
                       "  BEGIN\n"
                       "    UPDATE Bloqueio b SET conexao = CURRENT_CONNECTION, operacao = %2, inicio = CURRENT_TIMESTAMP\n"
                       "     WHERE nome = %1 AND (conexao IS NULL OR conexao = CURRENT_CONNECTION OR NOT EXISTS\n"
                       "       (SELECT 1 FROM MON$ATTACHMENTS a WHERE a.MON$ATTACHMENT_ID = b.conexao\n"
                       "           AND a.MON$TIMESTAMP <= b.inicio));\n"
                       "    tomado = ROW_COUNT;\n"
                       "    IF (tomado = 0) THEN\n"
                       "    BEGIN\n"
                       "      SELECT b.operacao, b.inicio, a.MON$REMOTE_ADDRESS, a.MON$REMOTE_HOST FROM Bloqueio b\n"
                       "        LEFT JOIN MON$ATTACHMENTS a ON a.MON$ATTACHMENT_ID = b.conexao\n"
                       "       WHERE b.nome = %1 INTO quem, desde, endereco, maquina;\n"
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
    a.holder = holderAt(rs, 1);
    return a;
}

// A database made before the lock table existed.
bool missingLockTable(const QString& error)
{
    return error.contains(QLatin1String("Table unknown"), Qt::CaseInsensitive) &&
           error.contains(QLatin1String("BLOQUEIO"), Qt::CaseInsensitive);
}

}  // namespace

std::optional<OperationLock::Holder> OperationLock::otherHolder(const LockedOperation& operation, DbConnection& db)
{
    // The same test of a holder at work as when the lock is taken.
    Recordset rs = db.query(
        QStringLiteral("SELECT b.operacao, b.inicio, a.MON$REMOTE_ADDRESS, a.MON$REMOTE_HOST FROM Bloqueio b\n"
                       "  JOIN MON$ATTACHMENTS a ON a.MON$ATTACHMENT_ID = b.conexao AND a.MON$TIMESTAMP <= b.inicio\n"
                       " WHERE b.nome = %1 AND b.conexao <> CURRENT_CONNECTION")
            .arg(literal(operation.resource)));
    if (rs.recordCount() == 0) return std::nullopt;
    rs.moveFirst();
    return holderAt(rs, 0);
}

QString OperationLock::busyText(const Holder& holder)
{
    const QString doing =
        holder.activity.trimmed().isEmpty() ? QStringLiteral("usando esta parte do banco de dados") : holder.activity;
    QString desk;
    if (!holder.host.isEmpty() && !holder.address.isEmpty())
        desk = QStringLiteral("%1, endereço %2").arg(holder.host, holder.address);
    else if (!holder.address.isEmpty())
        desk = QStringLiteral("endereço ") + holder.address;
    else if (!holder.host.isEmpty())
        desk = holder.host;
    else
        desk = QStringLiteral("nesta máquina");
    const QString when = holder.since.isValid()
                             ? QStringLiteral("desde ") + holder.since.toString(QStringLiteral("dd/MM/yyyy hh:mm"))
                             : QStringLiteral("neste momento");
    return QStringLiteral("Outra estação (%1) está %2 %3.").arg(desk, doing, when);
}

QString OperationLock::busyMessage(const Holder& holder)
{
    return busyText(holder) +
           QStringLiteral("\nNada foi alterado no banco de dados: tente novamente quando ela terminar.");
}

QString OperationLock::failureMessage(const QString& error)
{
    const QString why =
        missingLockTable(error)
            ? QStringLiteral("o banco de dados não tem a tabela Bloqueio, com a qual as estações leem e atualizam "
                             "RPIs uma de cada vez. Acrescente-a ao banco de dados como mostra o README do programa, "
                             "na seção \"A database made before the lock table\" (scripts/setup a acrescenta a um "
                             "banco de dados local).\nMensagem do banco de dados: %1")
                  .arg(error)
            : error;
    return QStringLiteral("Não foi possível verificar se outra estação está usando o banco de dados:\n%1\n\n"
                          "Nada foi alterado no banco de dados.")
        .arg(why);
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
        MsgBox(busyMessage(a.holder), vb::Exclamation, operation.title);
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
