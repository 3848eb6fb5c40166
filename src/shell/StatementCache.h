#pragma once
// Turns a statement built as text into a cached prepared statement with
// bound values, when that gives exactly what the text would have given.
//
// The readers and transfers send thousands of statements that differ only
// in their literal values. Each literal whose column is known (a value of
// INSERT INTO t (cols) VALUES (...), or one written "column = literal" in a
// one-table UPDATE, DELETE or SELECT) is replaced by a parameter and
// converted to the column's own type, so the server prepares the statement
// once. Whenever anything is unusual (an expression, a join, a value that
// does not convert cleanly or would not fit its column) the statement is
// left as text and runs as written, so the server judges it as before.

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <array>
#include <memory>
#include <optional>

class StatementCache {
public:
    explicit StatementCache(QSqlDatabase& db) : db_(db) {}

    struct Bound {
        QString sql;               // the statement with '?' in place of the literals
        QVector<QVariant> values;  // the values, converted to their columns' types
        QSqlQuery* query = nullptr;  // prepared once, reused; owned by the cache
    };
    // The prepared, parameterised form of a statement, or nothing when it
    // must run as text.
    std::optional<Bound> bind(const QString& sql);

    void clear();

    struct Column {
        int type = 0;     // RDB$FIELD_TYPE
        int subType = 0;  // RDB$FIELD_SUB_TYPE
        int length = 0;   // characters, for CHAR and VARCHAR
    };

private:
    const QHash<QString, Column>* columnsOf(const QString& table);
    QSqlDatabase& db_;
    QHash<QString, QHash<QString, Column>> tables_;
    struct Shape {
        QString sql;
        QVector<Column> columns;  // of each parameter, in order
        std::shared_ptr<QSqlQuery> query;
    };
    QHash<QString, Shape> shapes_;
    std::array<Shape, 4> recent_;  // the last shapes used, compared directly
    int next_ = 0;
};
