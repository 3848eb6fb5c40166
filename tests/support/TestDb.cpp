#include "TestDb.h"

#include <QFile>
#include <QFileInfo>
#include <stdexcept>

TestDb::TestDb()
{
    if (!tmp_.isValid()) throw std::runtime_error("no temporary folder");
    path_ = tmp_.filePath(QStringLiteral("quorvanta.fdb"));
    if (!QFile::copy(QStringLiteral(QUORVANTA_TEMPLATE_DB), path_))
        throw std::runtime_error("cannot copy the template database " QUORVANTA_TEMPLATE_DB);
    QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner);
    DbConnection::instance().open(connectionString());
}

TestDb::~TestDb() { DbConnection::instance().close(); }

QString TestDb::connectionString() const
{
    return QStringLiteral("DRIVER=Firebird/InterBase(r) driver;CHARSET=UTF8;UID=SYSDBA;PWD=plumbrask;DBNAME=") + path_;
}

void TestDb::writeIni(const QString& folder, const QString& office) const
{
    QFile f(folder + QStringLiteral("/quorvanta.Ini"));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) throw std::runtime_error("cannot write ini");
    const QFileInfo fi(path_);
    f.write(QStringLiteral("[Database]\r\nDatabaseLocation=%1/\r\nDatabaseName=%2\r\nEmpresa=%3\r\n[ODBC]\r\nCHARSET=UTF8\r\n")
                .arg(fi.absolutePath(), fi.fileName(), office)
                .toUtf8());
}

QVariant TestDb::scalar(const QString& sql)
{
    Recordset rs = db().query(sql);
    if (rs.recordCount() == 0) return QVariant();
    rs.moveFirst();
    return rs.value(0);
}

int TestDb::count(const QString& table) { return scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt(); }
