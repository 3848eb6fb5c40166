#pragma once
// The program's one data-access layer: the connection, recordsets and
// transactions, over Qt SQL's Firebird driver.
//
// - DbConnection opens from a connection string of BuildConnectionString's
//   grammar (DRIVER, CLIENT, CHARSET, UID, PWD, DBNAME); a DBNAME that is a
//   local path opens the database embedded, "host:path" or
//   "host/port:path" reaches a server.
// - Statements are sent as the callers build them. String literals too long
//   for the server's literal limit are moved into bound parameters first,
//   so long texts still arrive whole.
// - Recordsets are read whole into memory: rows read by case-insensitive
//   column name, SQL Null kept apart from empty text (a null QVariant),
//   CHAR values without their pad blanks, client-side Sort, Find, and
//   AddNew/Update on single-table queries.
// - Every failure throws DbError with the server's message.
// - A connection the server has dropped (restarted, or the administrator
//   ended it) is noticed by the engine's error: the layer connects again at
//   once, or at the next statement when the server does not answer yet, and
//   throws DbError saying in Portuguese that the connection was lost. What
//   the dropped connection had not committed was undone by the server; a
//   transaction it had open is over, and its statements and commit fail
//   until it is rolled back.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <stdexcept>

class DbError : public std::runtime_error {
public:
    DbError(const QString& message, const QString& sql = QString(), bool connectionLost = false);
    QString message() const { return message_; }
    QString sql() const { return sql_; }
    // The server dropped the connection (see above).
    bool connectionLost() const { return connectionLost_; }

private:
    QString message_;
    QString sql_;
    bool connectionLost_ = false;
};

// True when an engine's error text says the connection to the server is
// gone: network read or write errors, a connection shut down.
bool IsConnectionLostError(const QString& engineText);

// The parts of a connection string.
struct ConnectionParts {
    QString driver, client, charset, uid, pwd, dbname;
};
ConnectionParts ParseConnectionString(const QString& connectionString);
// True when the layer can serve the driver named in a connection string.
bool IsSupportedDriver(const QString& driver);

// True when a value holds a number (any integer or floating type), as
// opposed to text, a date or nothing.
bool IsNumberValue(const QVariant& value);

class Recordset;

class DbConnection {
public:
    DbConnection();
    ~DbConnection();
    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;

    // The program's one connection.
    static DbConnection& instance();

    // Opens the database named by the connection string; throws DbError.
    void open(const QString& connectionString);
    // How the connection is opened again after the server dropped it. The
    // default opens it with the same connection string; the program opens it
    // as at start-up.
    std::function<void(DbConnection&)> reconnect;
    void close();
    bool isOpen() const;
    // Lost, and to be opened again by the next statement.
    bool awaitingReconnect() const { return reopenPending_; }
    QString connectionString() const { return connectionString_; }
    int cursorLocation = 2;

    // Runs an action statement; returns the number of rows affected.
    int execute(const QString& sql);
    // Runs a query and reads all its rows.
    Recordset query(const QString& sql);
    // The whole of one table, updatable (AddNew/Update).
    Recordset openTable(const QString& table);

    // Transactions. Without one, every statement commits on its own.
    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const { return inTransaction_; }

    QSqlDatabase& database() { return db_; }
    // Throws the error of a statement run on database() by hand: a lost
    // connection is opened again first, as for the layer's own statements.
    [[noreturn]] void fail(const QString& engineText, const QString& sql = QString());

    // Primary-key columns of a table (upper case), cached.
    QStringList keyColumns(const QString& table);

private:
    friend class Recordset;
    [[noreturn]] void lost(const QString& engineText, const QString& sql);
    // Before a statement: a transaction the server dropped fails its
    // statements; a connection lost before is opened again.
    void ready();
    void reopen();

    QString name_;
    QString connectionString_;
    QSqlDatabase db_;
    bool inTransaction_ = false;
    bool transactionLost_ = false;  // the open transaction was dropped with its connection
    bool reopenPending_ = false;    // lost, and not connected again yet
    struct Cache;
    std::unique_ptr<Cache> cache_;
};

// RAII transaction: begun on construction, rolled back on destruction
// unless commit() was called.
class DbTransaction {
public:
    explicit DbTransaction(DbConnection& db = DbConnection::instance());
    ~DbTransaction();
    void commit();
    DbTransaction(const DbTransaction&) = delete;
    DbTransaction& operator=(const DbTransaction&) = delete;

private:
    DbConnection& db_;
    bool done_ = false;
};

class Recordset {
public:
    Recordset() = default;

    // Columns.
    int columnCount() const { return int(columns_.size()); }
    QString columnName(int i) const { return columns_.at(i); }
    int columnIndex(const QString& name) const;  // -1 when unknown
    bool hasColumn(const QString& name) const { return columnIndex(name) >= 0; }

    // Rows and the current position (as a recordset cursor).
    int recordCount() const { return int(order_.size()); }
    bool eof() const { return pos_ >= recordCount(); }
    bool bof() const { return pos_ < 0; }
    void moveFirst() { pos_ = 0; }
    void moveNext() { ++pos_; }
    void movePrevious() { --pos_; }
    void moveLast() { pos_ = recordCount() - 1; }
    int position() const { return pos_; }
    void setPosition(int row) { pos_ = row; }

    // Values of the current row; unknown names throw DbError.
    QVariant value(const QString& name) const;
    QVariant value(int column) const;
    bool isNull(const QString& name) const { return value(name).isNull(); }
    // Values of any row, in the current (sorted) order.
    QVariant at(int row, int column) const;
    QVariant at(int row, const QString& name) const;

    // Client-side sort: "field ASC,other DESC"; empty restores the order
    // the rows came in. Typed comparison (numbers, dates, texts); Null
    // sorts first; ties keep their order.
    void setSort(const QString& spec);
    QString sort() const { return sort_; }

    // Finds, from the current row forward, the first row matching a
    // criterion "Column=value" (value bare or between apostrophes).
    // Leaves the position on it, or at the end when none matches.
    bool find(const QString& criterion);

    // Editing (single-table recordsets only).
    bool updatable() const { return !table_.isEmpty(); }
    void addNew();
    void setValue(const QString& name, const QVariant& value);
    // Writes the new or changed row with bound parameters; throws DbError.
    void update();
    // Deletes the current row.
    void deleteCurrent();
    QString table() const { return table_; }

private:
    friend class DbConnection;
    QStringList columns_;
    QVector<QVector<QVariant>> rows_;
    QVector<int> order_;  // display order -> index into rows_
    int pos_ = 0;
    QString sort_;
    // Editing state.
    DbConnection* conn_ = nullptr;
    QString table_;
    int editRow_ = -1;  // index into rows_ being edited
    bool adding_ = false;
    QVector<bool> dirty_;
    QVector<QVariant> original_;
};

// Data control: a connection string, a command and a cursor location,
// refreshed into a recordset (what the data-bound screens bind to).
class DataControl {
public:
    enum CommandType { Text = 1, Table = 2 };
    QString ConnectionString;
    int CommandType = Text;
    QString RecordSource;
    int CursorLocation = 2;

    // Runs the command on the program's connection; throws DbError.
    void Refresh();
    Recordset& recordset() { return rs_; }
    const Recordset& recordset() const { return rs_; }

private:
    Recordset rs_;
};
