#include "RepairLinks.h"

#include "journal/SqlLiterals.h"
#include "shell/Ui.h"

#include <QCoreApplication>
#include <QHash>
#include <QVector>
#include <optional>

namespace {

const QString kTitle = QStringLiteral("Reparo de Referências");

QVector<int> column(DbConnection& db, const QString& sql)
{
    Recordset rs = db.query(sql);
    QVector<int> values;
    values.reserve(rs.recordCount());
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        if (!rs.isNull(rs.columnName(0))) values << rs.value(0).toInt();
    return values;
}

void refuse(const QString& text) { MsgBox(text, vb::Critical, kTitle); }

}  // namespace

RepairOutcome RepairRevProcRefProc(const std::function<void()>& yieldEvents, DbConnection& db)
{
    RepairOutcome out;
    try {
        std::optional<BusyPointer> busy(std::in_place);
        // Reads and inserts share one transaction, so every read sees the
        // database as it is now.
        DbTransaction tx(db);

        Recordset issueRs = db.query(QStringLiteral("SELECT first 1 revista from RPI"));
        issueRs.moveFirst();
        if (issueRs.eof() || issueRs.isNull(QStringLiteral("Revista"))) {
            busy.reset();
            refuse(QStringLiteral("Não há RPI lida: as referências não foram reparadas."));
            return out;
        }
        const QString r = QString::number(issueRs.value(QStringLiteral("Revista")).toInt());

        const QVector<int> staged = column(db, QStringLiteral("SELECT codigo FROM RPI ORDER BY codigo"));
        const QVector<int> keys =
            column(db, QStringLiteral("SELECT codigo from RevProcs where rpi=") + r + QStringLiteral(" ORDER BY codigo"));
        QString problem;
        if (keys.isEmpty())
            problem = QStringLiteral("A RPI %1 não foi atualizada no banco de dados: as referências não foram reparadas.")
                          .arg(r);
        else if (keys.size() != staged.size())
            problem = QStringLiteral("A RPI %1 tem %2 registros lidos e %3 processos atualizados: as referências não "
                                     "foram reparadas.")
                          .arg(r)
                          .arg(staged.size())
                          .arg(keys.size());
        if (!problem.isEmpty()) {
            busy.reset();
            refuse(problem);
            return out;
        }
        // Staged codigo -> RevProcs key of the entry made from it.
        QHash<int, int> entryKey;
        for (int i = 0; i < staged.size(); ++i) entryKey.insert(staged[i], keys[i]);

        Recordset cites = db.query(QStringLiteral("select codigo, numproc, ordemproc from ProcRefRevista"));
        for (cites.moveFirst(); !cites.eof(); cites.moveNext()) {
            if (yieldEvents)
                yieldEvents();
            else
                QCoreApplication::processEvents();
            const QVariant ordem = cites.value(QStringLiteral("ordemproc"));
            const QVariant cited = cites.value(QStringLiteral("numproc"));
            if (isAbsent(ordem) || isAbsent(cited)) continue;
            const auto it = entryKey.constFind(ordem.toInt());
            if (it == entryKey.constEnd()) continue;
            const QString c = QString::number(it.value());
            const QString numProc = QString::number(cited.toLongLong());
            Recordset check = db.query(QStringLiteral("select codigo, refproc from RevProcRefProc Where codigo=") + c +
                                       QStringLiteral(" AND refproc =") + numProc);
            if (check.recordCount() > 0) continue;
            db.execute(QStringLiteral("INSERT INTO RevProcRefProc (codigo, refproc) VALUES (") + c + QLatin1Char(',') +
                       numProc + QLatin1Char(')'));
            ++out.inserted;
        }
        tx.commit();
        busy.reset();
    } catch (const DbError& e) {
        out.inserted = 0;
        MsgBox(QStringLiteral("Erro ao reparar as referências:\n%1\n\nNenhuma alteração foi gravada.").arg(e.message()),
               vb::Critical, kTitle);
        return out;
    }
    out.done = true;
    MsgBox(QStringLiteral("FIM"));
    return out;
}
