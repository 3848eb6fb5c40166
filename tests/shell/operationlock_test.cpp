// One operation at a time across desks: two connections to one database
// stand for two desks.
#include "shell/OperationLock.h"
#include "support/TestDb.h"
#include "support/TestUi.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {
// The refusal while a desk of this machine (an embedded attachment) reads.
QString busyReading(const QDateTime& since)
{
    return QStringLiteral("Outra estação (nesta máquina) está lendo uma RPI desde %1.\n"
                          "Nada foi alterado no banco de dados: tente novamente quando ela terminar.")
        .arg(since.toString(QStringLiteral("dd/MM/yyyy hh:mm")));
}
}  // namespace

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
        const QDateTime since = t.scalar("SELECT inicio FROM Bloqueio WHERE nome = 'RPI'").toDateTime();
        EXPECT_LE(qAbs(since.secsTo(QDateTime::currentDateTime())), 60);
        EXPECT_EQ(ui.lastMessage().text, busyReading(since));
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
    {
        OperationLock lock(kReadingIssue, t.db());
        EXPECT_TRUE(lock.held());
    }
    EXPECT_TRUE(ui.messages.isEmpty());

    // A row older than the attachment of its number (a restored database
    // numbers its attachments anew): an idle desk got that number, and the
    // lock is free all the same.
    DbConnection idle;
    idle.open(t.connectionString());
    const QVariant number = idle.query("SELECT CURRENT_CONNECTION FROM RDB$DATABASE").at(0, 0);
    t.db().execute(QStringLiteral("UPDATE Bloqueio SET conexao = %1, operacao = 'lendo uma RPI', "
                                  "inicio = DATEADD(-1 SECOND TO (SELECT MON$TIMESTAMP FROM MON$ATTACHMENTS "
                                  "WHERE MON$ATTACHMENT_ID = %1)) WHERE nome = 'RPI'")
                       .arg(number.toString()));
    {
        OperationLock lock(kApplyingIssue, t.db());
        EXPECT_TRUE(lock.held());
    }
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
    // It says how to add the table.
    EXPECT_TRUE(ui.lastMessage().text.contains(
        "o banco de dados não tem a tabela Bloqueio, com a qual as estações leem e atualizam RPIs uma de cada vez. "
        "Acrescente-a ao banco de dados como mostra o README do programa, na seção \"A database made before the lock "
        "table\""))
        << ui.lastMessage().text.toStdString();
}
