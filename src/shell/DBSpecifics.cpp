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
    // Read whole: a password cut short would log in as someone else's.
    DbPassword = Globals::GetIniValueFrom(Globals::IniFilePath, QStringLiteral("Database"), QStringLiteral("Password"), -1)
                     .trimmed();
    if (DbPassword.isEmpty()) DbPassword = QString::fromLatin1(kDbPassword);
    OfficeName = Globals::GetIniValue(QStringLiteral("Database"), QStringLiteral("Empresa"));
}

QString PasswordProblem()
{
    const QString line = QStringLiteral("A senha da linha Password da seção [Database] do arquivo quorvanta.Ini ");
    // The connection string ends in ";PWD=" password ";DBNAME=" path, and
    // nothing in it is escaped.
    if (DbPassword.contains(QLatin1String(";DBNAME="), Qt::CaseInsensitive))
        return line + QStringLiteral("contém \";DBNAME=\" e não pode ser passada ao servidor: escolha para o "
                                     "servidor uma senha sem esse trecho e escreva-a nessa linha.");
    // The client library passes at most 255 bytes of password.
    if (DbPassword.toUtf8().size() > kMaxPasswordBytes)
        return line + QStringLiteral("tem mais de %1 bytes e não pode ser passada inteira ao servidor: escolha para "
                                     "o servidor uma senha mais curta e escreva-a nessa linha.")
                          .arg(kMaxPasswordBytes);
    return QString();
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
