// Ending on SIGTERM and SIGINT: the signal reaches the event loop through
// the program's own handler (installed after the engine put its own in
// place), the database is closed with what an operation had not committed
// rolled back, and the program ends.

#include "shell/EndSignals.h"
#include "support/TestDb.h"

#include <QTest>
#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class EndSignalsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EndSignals::install();
        EndSignals::endProgram = [this](bool idle) { ends << idle; };
    }
    void TearDown() override
    {
        EndSignals::setConnecting(false);
        EndSignals::endProgram = saved;
    }
    bool signalHandled() { return QTest::qWaitFor([this] { return !ends.isEmpty(); }, 5000); }
    int users() { return tdb.count(QStringLiteral("Usuarios")); }

    TestDb tdb;  // attached first: the engine's handlers are already in place
    std::function<void(bool)> saved = EndSignals::endProgram;
    QList<bool> ends;
};

}  // namespace

TEST_F(EndSignalsTest, ASignalDuringAnOperationRollsItBackClosesAndEndsAtOnce)
{
    tdb.db().beginTransaction();
    tdb.db().execute(QStringLiteral("INSERT INTO Usuarios (usuario, senha, livreacesso) VALUES ('meio', 'feito1', 'S')"));
    ASSERT_EQ(::kill(::getpid(), SIGTERM), 0);
    ASSERT_TRUE(signalHandled());
    EXPECT_EQ(ends, QList<bool>{false});  // not resumed: ends at once
    EXPECT_FALSE(tdb.db().isOpen());
    tdb.db().open(tdb.connectionString());
    EXPECT_EQ(users(), 0);
}

TEST_F(EndSignalsTest, ASignalWhileIdleLeavesTheEventLoop)
{
    ASSERT_EQ(::kill(::getpid(), SIGINT), 0);
    ASSERT_TRUE(signalHandled());
    EXPECT_EQ(ends, QList<bool>{true});
    EXPECT_FALSE(tdb.db().isOpen());
}

TEST_F(EndSignalsTest, ClosingAfterAnInterruptedCallDoesNotHang)
{
    // What a signal leaves behind when it interrupts the event loop's poll.
    errno = EINTR;
    EndSignals::onSignal(SIGTERM);
    EXPECT_FALSE(tdb.db().isOpen());
    EXPECT_EQ(ends, QList<bool>{true});
}

TEST_F(EndSignalsTest, WhileConnectingTheDatabaseIsLeftToTheOpeningThread)
{
    EndSignals::setConnecting(true);
    EndSignals::onSignal(SIGTERM);
    EXPECT_EQ(ends, QList<bool>{false});
    EXPECT_TRUE(tdb.db().isOpen());
}
