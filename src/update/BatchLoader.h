#pragma once
// The batch loader's run: issues 2156 to 2181, each read from its archive
// in the loader's folder with the reader's batch variant and then applied
// with the batch transfer (process code in bcdproc, links in
// RevProcRefProc, no hourglass and no message of its own).

#include "update/Transfer.h"

#include <QDate>
#include <QString>

inline constexpr int kBatchFirstIssue = 2156;
inline constexpr int kBatchLastIssue = 2181;
// The run's date before its first issue; each issue is dated 7 days after
// the one before it (2156 on 24/04/2012).
inline const QDate kBatchStartDate = QDate(2012, 4, 17);

// Folder of the archives, under the program's folder.
inline const QString kBatchArchiveSubfolder = QStringLiteral("Revistas INPI/Marcas");
QString BatchArchiveFolder();
// "rm" + issue + ".zip" in that folder; when no file has exactly that name,
// one whose name differs only in letter case is taken.
QString BatchArchivePath(int issue);

// The issue number of a NumRevista text: the four characters from position
// 5 ("RPI 2156" gives 2156), 0 when they hold no number.
int BatchIssueNumber(const QString& numRevista);

// The transfer as the batch applies it.
TransferOptions BatchTransferOptions();

// Why staging cannot be applied as the given issue (empty when it can):
// staging must hold rows, all of that issue.
QString StagedIssueProblem(int issue, DbConnection& db = DbConnection::instance());

enum class BatchIssueResult { Applied, Cancelled, Skipped, Failed };

// Applies the staged issue with the batch transfer once staging is checked
// to hold that issue. Every refusal and failure is reported with a message.
BatchIssueResult ApplyBatchIssue(int issue, TransferProgress* progress, DbConnection& db = DbConnection::instance());
