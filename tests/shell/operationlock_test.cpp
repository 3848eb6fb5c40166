// One operation at a time across desks: two connections to one database
// stand for two desks.
#include "shell/OperationLock.h"
#include "support/TestDb.h"
#include "support/TestUi.h"

#include <gtest/gtest.h>

namespace {
const QString kBusyReading = QStringLiteral(
    "Outra estação está lendo uma RPI neste momento.\n"
    "Nada foi alterado no banco de dados: tente novamente quando ela terminar.");
}

TEST(OperationLock, LaterDeskIsRefusedAtOnceWhileTheFirstWorks)
{
    TestDb t;
    TestUi ui;
    DbConnection other;
    other.open(t.connectionString());
    {
        OperationLock reading(kReadingIssue, t.db());
        ASSERT_TRUE(reading.held());
        // The holder is inside its transaction, with staging emptied.
        DbTransaction tx(t.db());
        t.db().execute("DELETE FROM RPI");
        {
            OperationLock applying(kApplyingIssue, other);
            EXPECT_FALSE(applying.held());
        }
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.lastMessage().text, kBusyReading);
        EXPECT_EQ(ui.lastMessage().title, QString("Atualização de Banco de Dados"));
        EXPECT_EQ(ui.lastMessage().icon(), vb::Exclamation);

        // The holder may take it again (a step of its own operation); the
        // outer holder still holds it when the inner one ends.
        { OperationLock inner(kApplyingIssue, t.db()); EXPECT_TRUE(inner.held()); }
        OperationLock again(kReadingIssue, other);
        EXPECT_FALSE(again.held());
        tx.commit();
    }
    OperationLock after(kApplyingIssue, other);
    EXPECT_TRUE(after.held());
    EXPECT_EQ(ui.messages.size(), 2);
}

TEST(OperationLock, LockOfADeskThatEndedIsFree)
{
    TestDb t;
    TestUi ui;
    t.db().execute("INSERT INTO Bloqueio (nome, conexao, operacao) VALUES ('RPI', 2000000000, 'lendo uma RPI')");
    OperationLock lock(kReadingIssue, t.db());
    EXPECT_TRUE(lock.held());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(OperationLock, DatabaseWithoutTheLockTableRefusesWithTheReason)
{
    TestDb t;
    TestUi ui;
    t.db().execute("DROP TABLE Bloqueio");
    OperationLock lock(kReadingIssue, t.db());
    EXPECT_FALSE(lock.held());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.lastMessage().icon(), vb::Critical);
    EXPECT_EQ(ui.lastMessage().title, QString("Leitura de Revista"));
    EXPECT_TRUE(ui.lastMessage().text.startsWith("Não foi possível verificar se outra estação está usando o banco de dados:\n"));
    EXPECT_TRUE(ui.lastMessage().text.contains("BLOQUEIO", Qt::CaseInsensitive));
}
