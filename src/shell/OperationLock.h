#pragma once
// One operation at a time over a shared part of the database, across every
// desk (program) connected to it.
//
// The lock is a row of the table Bloqueio, named after what it guards,
// holding the attachment of the desk that took it (CURRENT_CONNECTION) and
// what that desk is doing, since when (the server's time). It is taken and
// released in autonomous transactions, so it is seen by every desk at once,
// never waits behind another desk's work, and is held by nothing else of
// the operation. A row whose attachment is gone (a desk that ended without
// releasing it) is free, and so is one whose attachment began after the row
// was written: a restored database hands attachment numbers out again from
// low values, and an idle desk may get the number a back-up's row names.
// The same connection may take a lock it holds again; the outermost holder
// releases it.
//
// Take it before the operation begins its transaction: the transaction
// then sees everything the previous holder committed. Release it when the
// transaction has ended, before the operation's last message.

#include "shell/Db.h"

#include <QDateTime>
#include <QString>
#include <optional>

struct LockedOperation {
    QString resource;  // the row of Bloqueio
    QString activity;  // what other desks are told this desk is doing
    QString title;     // title of this operation's messages
};

// Reading an issue into the staging tables, and applying the staged issue:
// both work on the staging tables, so they share one lock.
inline const LockedOperation kReadingIssue{QStringLiteral("RPI"), QStringLiteral("lendo uma RPI"),
                                           QStringLiteral("Leitura de Revista")};
inline const LockedOperation kApplyingIssue{QStringLiteral("RPI"),
                                            QStringLiteral("atualizando o banco de dados com uma RPI"),
                                            QStringLiteral("Atualização de Banco de Dados")};

class OperationLock {
public:
    // Takes the lock. When another desk holds it, or it cannot be taken,
    // says so in a message and holds nothing: the operation must then end
    // without writing.
    explicit OperationLock(const LockedOperation& operation, DbConnection& db = DbConnection::instance());
    ~OperationLock();
    OperationLock(const OperationLock&) = delete;
    OperationLock& operator=(const OperationLock&) = delete;

    bool held() const { return held_; }
    // Lets other desks in again, before the lock goes out of scope: once
    // the operation's work has committed or rolled back, and before any
    // message waits for this desk's user. Does nothing the second time.
    void release();

    // The desk that holds a lock, as the server knows it.
    struct Holder {
        QString activity;  // what it is doing
        QString address;   // its network address (without the port); empty when local
        QString host;      // its machine's name, when the server was told it
        QDateTime since;   // when it took the lock (server time)
    };
    // The desk other than this one that holds the lock, looked at without
    // taking it; none when the lock is free or held here. Throws DbError.
    static std::optional<Holder> otherHolder(const LockedOperation& operation,
                                             DbConnection& db = DbConnection::instance());
    // Who holds the lock and since when, in one sentence.
    static QString busyText(const Holder& holder);
    // The message given when another desk holds the lock.
    static QString busyMessage(const Holder& holder);
    // The message given when the lock could not be taken.
    static QString failureMessage(const QString& error);

private:
    DbConnection& db_;
    QString resource_;
    bool held_ = false;
};
