#include "BatchLoader.h"

#include "journal/TextReader.h"
#include "shell/Globals.h"
#include "shell/OperationLock.h"
#include "shell/Ui.h"
#include "update/ProcessCode.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kTitle = QStringLiteral("Atualização de Banco de Dados");
}

QString BatchArchiveFolder() { return QDir(Globals::programDir()).filePath(kBatchArchiveSubfolder); }

QString BatchArchivePath(int issue)
{
    const QDir dir(BatchArchiveFolder());
    const QString name = QStringLiteral("rm") + QString::number(issue) + QStringLiteral(".zip");
    const QString exact = dir.filePath(name);
    if (QFileInfo::exists(exact)) return exact;
    const QStringList files = dir.entryList(QDir::Files);
    for (const QString& f : files)
        if (f.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(f);
    return exact;
}

int BatchIssueNumber(const QString& numRevista) { return int(LeadingNumber(QStringView(numRevista).mid(4, 4))); }

TransferOptions BatchTransferOptions()
{
    TransferOptions o = TransferOptions::textLayout();
    o.processCode = [](const QVariant& processo) { return ProcessCode(processo); };
    o.emptyKeysAsNull = true;
    o.absentTextsAsEmpty = true;
    o.niceClassClearsClasse = false;
    o.linkTable = QStringLiteral("RevProcRefProc");
    o.hourglass = false;
    o.countStaged = false;
    o.finalMessage = false;
    return o;
}

QString StagedIssueProblem(int issue, DbConnection& db)
{
    DbTransaction tx(db);
    const QStringList found = StagedIssues(db);
    if (found.isEmpty())
        return QStringLiteral("Nenhum processo da RPI %1 foi lido: a atualização desta RPI não foi feita.").arg(issue);
    if (found == QStringList{QString::number(issue)}) return QString();
    return QStringLiteral("Os processos lidos são da RPI %1, não da RPI %2: a atualização desta RPI não foi feita.")
        .arg(found.join(QStringLiteral(", ")))
        .arg(issue);
}

BatchIssueResult ApplyBatchIssue(int issue, TransferProgress* progress, DbConnection& db)
{
    OperationLock lock(kApplyingIssue, db);
    if (!lock.held()) return BatchIssueResult::Failed;
    QString problem;
    try {
        problem = StagedIssueProblem(issue, db);
    } catch (const DbError& e) {
        lock.release();
        MsgBox(QStringLiteral("Erro ao ler a RPI %1 lida:\n%2").arg(issue).arg(e.message()), vb::Critical, kTitle);
        return BatchIssueResult::Failed;
    }
    if (!problem.isEmpty()) {
        lock.release();
        MsgBox(problem, vb::Critical, kTitle);
        return BatchIssueResult::Skipped;
    }
    IssueTransfer transfer(BatchTransferOptions(), progress, db);
    switch (transfer.run(issue, &lock)) {
    case TransferResult::Done: return BatchIssueResult::Applied;
    case TransferResult::Cancelled: return BatchIssueResult::Cancelled;
    case TransferResult::Failed: break;
    }
    return BatchIssueResult::Failed;
}
