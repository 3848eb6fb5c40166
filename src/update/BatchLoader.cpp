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
    // Staging must hold this issue, before the lock is taken and once it is held.
    bool skipped = false;
    auto check = [&] {
        StagedIssueCheck c;
        c.issue = issue;
        c.style = vb::Critical;
        try {
            c.refusal = StagedIssueProblem(issue, db);
            skipped = !c.refusal.isEmpty();
        } catch (const DbError& e) {
            c.refusal = QStringLiteral("Erro ao ler a RPI %1 lida:\n%2").arg(issue).arg(e.message());
            skipped = false;
        }
        return c;
    };
    IssueTransfer transfer(BatchTransferOptions(), progress, db);
    switch (transfer.run(kApplyingIssue, check)) {
    case TransferResult::Done: return BatchIssueResult::Applied;
    case TransferResult::Cancelled: return BatchIssueResult::Cancelled;
    case TransferResult::Refused: return skipped ? BatchIssueResult::Skipped : BatchIssueResult::Failed;
    case TransferResult::Failed: break;
    }
    return BatchIssueResult::Failed;
}
