#include "DBSpecifics.h"

#include "Globals.h"

namespace DBSpecifics {

QString DbPath;
QString DbPassword;
QString OfficeName;
short CursorLoc = 0;
short AdminFlag = 0;

void ReadSettings()
{
    CursorLoc = 2;
    DbPath = Globals::GetIniValue(QStringLiteral("Database"), QStringLiteral("DatabaseLocation")) +
             Globals::GetIniValue(QStringLiteral("Database"), QStringLiteral("DatabaseName"));
    DbPassword = Globals::GetIniValue(QStringLiteral("Database"), QStringLiteral("Password")).trimmed();
    if (DbPassword.isEmpty()) DbPassword = QString::fromLatin1(kDbPassword);
    OfficeName = Globals::GetIniValue(QStringLiteral("Database"), QStringLiteral("Empresa"));
}

QString BuildConnectionString()
{
    const QString driver = Globals::GetIniValue(QStringLiteral("ODBC"), QStringLiteral("DRIVER")).trimmed();
    const QString client = Globals::GetIniValue(QStringLiteral("ODBC"), QStringLiteral("CLIENT")).trimmed();
    const QString charset = Globals::GetIniValue(QStringLiteral("ODBC"), QStringLiteral("CHARSET")).trimmed();
    QString s = QStringLiteral("DRIVER=") + (driver.isEmpty() ? QString::fromLatin1(kDefaultDriver) : driver);
    if (!client.isEmpty()) s += QStringLiteral(";CLIENT=") + client;
    if (!charset.isEmpty()) s += QStringLiteral(";CHARSET=") + charset;
    s += QStringLiteral(";UID=SYSDBA;PWD=") + DbPassword;
    s += QStringLiteral(";DBNAME=") + DbPath;
    return s;
}

}  // namespace DBSpecifics
