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
#include "update/BatchLoader.h"
#include "update/frmAtualizaBD.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>
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

    // Applied again: the redo question waits with no lock held.
    shown.clear();
    otherGotIn.clear();
    ASSERT_EQ(apply(), TransferResult::Done);
    EXPECT_EQ(shown,
              (QStringList{"RPI já foi atualizada anteriormente ! Refaz a atualização ?", "Final de Atualização"}));
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

namespace {

// Refuses the commit of a transaction that wrote journal entries while its
// connection did not hold the apply lock.
void refuseEntriesCommittedWithoutTheLock(DbConnection& db)
{
    db.execute(QStringLiteral("CREATE EXCEPTION sem_bloqueio 'entradas gravadas sem o bloqueio'"));
    db.execute(QStringLiteral("CREATE TRIGGER entrada_gravada FOR RevProcs AFTER INSERT AS\n"
                              "BEGIN\n"
                              "  RDB$SET_CONTEXT('USER_TRANSACTION', 'entradas', '1');\n"
                              "END"));
    db.execute(QStringLiteral("CREATE TRIGGER confirma ON TRANSACTION COMMIT AS\n"
                              "DECLARE preso INTEGER = 0;\n"
                              "BEGIN\n"
                              "  IF (RDB$GET_CONTEXT('USER_TRANSACTION', 'entradas') = '1') THEN\n"
                              "  BEGIN\n"
                              "    IN AUTONOMOUS TRANSACTION DO\n"
                              "      SELECT COUNT(*) FROM Bloqueio\n"
                              "       WHERE nome = 'RPI' AND conexao = CURRENT_CONNECTION INTO preso;\n"
                              "    IF (preso = 0) THEN EXCEPTION sem_bloqueio;\n"
                              "  END\n"
                              "END"));
}

class Attempts : public TransferProgress {
public:
    explicit Attempts(DbConnection& other) : other_(other) {}
    // Whether the other desk got in, tried once the first entry is written.
    std::optional<bool> otherGotIn;
    void setCounter(TransferCounter counter, int value) override
    {
        if (counter == TransferCounter::NumProcs && value == 1 && !otherGotIn)
            otherGotIn = OperationLock(kReadingIssue, other_).held();
    }

private:
    DbConnection& other_;
};

}  // namespace

TEST(DeskLock, ApplyingHoldsTheLockUntilItsWorkIsCommitted)
{
    TestDb tdb;
    TestUi tui;
    QTemporaryDir program, files;
    Globals::setProgramDir(program.path());
    refuseEntriesCommittedWithoutTheLock(tdb.db());
    DbConnection other;
    other.open(tdb.connectionString());

    // The update dialog.
    registerIssue(2150, QDate(2012, 4, 24));
    for (int c = 1; c <= 3; ++c) stageRow(c, 81000000 + c, 2150, QStringLiteral("400"));
    {
        frmAtualizaBD f;
        f.Form_Activate();
        f.SelecFile_Click();
        EXPECT_EQ(f.lastResult(), TransferResult::Done) << tui.messages.value(0).text.toStdString();
    }
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcs")), 3);

    // The batch loader: it holds the lock while it writes, until it commits.
    tui.clear();
    tdb.db().execute(QStringLiteral("DELETE FROM RPI"));
    registerIssue(2156, QDate(2012, 4, 24));
    for (int c = 1; c <= 3; ++c) stageRow(c, 82000000 + c, 2156, QStringLiteral("400"));
    Attempts attempts(other);
    EXPECT_EQ(ApplyBatchIssue(2156, &attempts), BatchIssueResult::Applied) << tui.messages.value(0).text.toStdString();
    EXPECT_EQ(attempts.otherGotIn, std::optional<bool>(false));
    EXPECT_EQ(tdb.scalar(QStringLiteral("SELECT count(*) FROM RevProcs WHERE rpi = 2156")).toInt(), 3);
    Globals::setProgramDir(QString());
}

TEST(DeskLock, AnotherDeskAtWorkIsNamedBeforeAnyQuestionOrNotice)
{
    TestDb tdb;
    TestUi tui;
    DbConnection other;
    other.open(tdb.connectionString());
    OperationLock reading(kReadingIssue, other);
    ASSERT_TRUE(reading.held());
    const QString busy = QStringLiteral("Outra estação (nesta máquina) está lendo uma RPI desde ");
    // The first issue of an empty database is being read: not "nothing to
    // apply"; then an issue applied before is staged: no redo question.
    for (bool staged : {false, true}) {
        if (staged) {
            registerIssue(2156, QDate(2012, 4, 24), 1);
            stageRow(1, 82000001, 2156, QStringLiteral("400"));
            EXPECT_EQ(ApplyBatchIssue(2156, nullptr), BatchIssueResult::Failed);
        }
        frmAtualizaBD f;
        f.Form_Activate();
        EXPECT_TRUE(f.findChild<QLabel*>(QStringLiteral("D"))->text().startsWith(busy));
        f.SelecFile_Click();
        ASSERT_EQ(tui.messages.size(), staged ? 2 : 1);
        for (const RecordedMessage& m : tui.messages) EXPECT_TRUE(m.text.startsWith(busy)) << m.text.toStdString();
        tui.clear();
    }
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcs")), 0);
}
