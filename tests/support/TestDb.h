#pragma once
// A fresh embedded database for one test: a copy of the template built from
// schema/, in a temporary folder of its own, opened as the program's one
// connection (DbConnection::instance()). Closed and removed on destruction.

#include "shell/Db.h"

#include <QString>
#include <QTemporaryDir>

class TestDb {
public:
    TestDb();
    ~TestDb();
    TestDb(const TestDb&) = delete;
    TestDb& operator=(const TestDb&) = delete;

    QString dir() const { return tmp_.path(); }
    QString path() const { return path_; }
    // A connection string of the program's grammar naming this database.
    QString connectionString() const;
    DbConnection& db() { return DbConnection::instance(); }

    // Writes a settings file into a folder pointing at this database.
    void writeIni(const QString& folder, const QString& office = QStringLiteral("Escritório de Teste")) const;

    // Handy reads for assertions.
    QVariant scalar(const QString& sql);
    int count(const QString& table);

private:
    QTemporaryDir tmp_;
    QString path_;
};
