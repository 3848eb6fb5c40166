// Reading and applying keep other desks out while they work, not while
// their closing message waits for the user: a second connection to the
// database stands for another desk, and tries to start a read each time a
// message is shown.

#include "Staging.h"
#include "fixtures/IssueGenerator.h"
#include "journal/TextReader.h"
#include "shell/Globals.h"
#include "shell/OperationLock.h"
#include "support/TestDb.h"
#include "support/TestUi.h"
#include "update/frmAtualizaBD.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <utility>

using namespace fixtures;

TEST(DeskLock, OtherDesksMayStartWhileTheClosingMessageWaits)
{
    TestDb tdb;
    TestUi tui;
    TestClock clock;
    QTemporaryDir program, files;
    Globals::setProgramDir(program.path());
    DbConnection other;
    other.open(tdb.connectionString());

    // The text of every message, and whether the other desk got in meanwhile.
    QStringList shown;
    QList<bool> otherGotIn;
    bool trying = false;
    tui.onMessage = [&](const RecordedMessage& m) {
        if (std::exchange(trying, true)) return;  // the other desk's own refusal
        shown << m.text;
        otherGotIn << OperationLock(kReadingIssue, other).held();
        trying = false;
    };
    auto readArchive = [&](const QString& archive, int issue, const QDate& date) {
        TextReader reader;
        return reader.LerRevistaTxt({archive, QStringLiteral("RPI %1").arg(issue), date, TxtVariant::Dialog});
    };
    auto apply = [&] {
        frmAtualizaBD f;
        f.Form_Activate();
        f.SelecFile_Click();
        return f.lastResult();
    };

    const Issue issue = GenerateIssue({2150, 12, 3, QDate(2012, 4, 24)});
    ASSERT_TRUE(readArchive(WriteTextArchive(files.path(), issue), 2150, issue.date));
    ASSERT_EQ(apply(), TransferResult::Done);
    EXPECT_EQ(shown, (QStringList{"Final de Leitura", "Final de Atualização"}));
    EXPECT_EQ(otherGotIn, (QList<bool>{true, true}));

    // A read that fails: a zip that is no zip.
    shown.clear();
    otherGotIn.clear();
    const QString broken = QDir(files.path()).filePath("RM2151.zip");
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("isto não é um zip");
    f.close();
    EXPECT_FALSE(readArchive(broken, 2151, QDate(2012, 5, 1)));
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(otherGotIn, QList<bool>(shown.size(), true)) << shown.join(" | ").toStdString();

    // An apply that fails and is rolled back, and one with nothing to apply.
    shown.clear();
    otherGotIn.clear();
    tdb.db().execute(QStringLiteral("DELETE FROM RPI"));
    tdb.db().execute(QStringLiteral("DELETE FROM ProcRefRevista"));
    registerIssue(2152, QDate(2012, 5, 8));
    stageRow(1, 81000001, 2152, QStringLiteral("400"));
    stageCitation(1, 81000009, 1, 2152);
    tdb.db().execute(QStringLiteral("DROP TABLE RevProcRef"));
    EXPECT_EQ(apply(), TransferResult::Failed);
    tdb.db().execute(QStringLiteral("DELETE FROM RPI"));
    EXPECT_EQ(apply(), TransferResult::Cancelled);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[0].startsWith("Erro ao atualizar o banco de dados com a RPI 2152")) << shown[0].toStdString();
    EXPECT_EQ(otherGotIn, (QList<bool>{true, true})) << shown.join(" | ").toStdString();
    Globals::setProgramDir(QString());
}
