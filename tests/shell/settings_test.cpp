// Settings file, connection string and start-up.
#include "shell/DBSpecifics.h"
#include "shell/Db.h"
#include "shell/Globals.h"
#include "shell/WaitWindow.h"
#include "support/TestDb.h"
#include "support/TestUi.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QTemporaryDir>
#include <QSqlDriver>
#include <atomic>
#include <gtest/gtest.h>

namespace {
void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}
}  // namespace

TEST(Settings, ProfileReaderFindsSectionsAndKeysWithoutCaseAndKeepsBlanks)
{
    QTemporaryDir d;
    const QString ini = d.filePath("quorvanta.Ini");
    writeFile(ini, "; comment\r\n[DATABASE]\r\ndatabaselocation = /dados/ \r\nDatabaseName=base.fdb\r\nEmpresa=\r\n"
                   "[Outra]\r\nDatabaseName=nao\r\n[odbc]\r\nDRIVER=   \r\nCHARSET= UTF8 \r\n");
    EXPECT_EQ(Globals::GetIniValueFrom(ini, "Database", "DatabaseLocation"), QString(" /dados/ "));
    EXPECT_EQ(Globals::GetIniValueFrom(ini, "database", "DATABASENAME"), QString("base.fdb"));
    EXPECT_EQ(Globals::GetIniValueFrom(ini, "Database", "Empresa"), QString(""));
    EXPECT_EQ(Globals::GetIniValueFrom(ini, "Database", "Falta"), QString());
    EXPECT_EQ(Globals::GetIniValueFrom(ini, "Nenhuma", "DatabaseName"), QString());
    EXPECT_EQ(Globals::GetIniValueFrom(d.filePath("nao-existe.ini"), "Database", "Empresa"), QString());

    writeFile(ini, "[Database]\nEmpresa=" + QByteArray(300, 'x') + "\n");
    EXPECT_EQ(Globals::GetIniValueFrom(ini, "Database", "Empresa").size(), 254);
}

TEST(Settings, AWindows1252FileIsReadAsSuchAndAUtf8FileAsUtf8)
{
    QTemporaryDir d;
    const QString ini = d.filePath("quorvanta.Ini");
    const QString office = QStringLiteral("Escritório “Modelo” – Marcas €");
    // Saved by a Windows editor: 0x80-0x9F are Windows-1252 characters.
    writeFile(ini, "[Database]\r\nEmpresa=Escrit\xf3rio \x93Modelo\x94 \x96 Marcas \x80\r\n");
    EXPECT_EQ(Globals::GetIniValueFrom(ini, "Database", "Empresa"), office);
    // The same text in UTF-8, with and without a byte-order mark.
    writeFile(ini, "[Database]\nEmpresa=" + office.toUtf8() + "\n");
    EXPECT_EQ(Globals::GetIniValueFrom(ini, "Database", "Empresa"), office);
    writeFile(ini, "\xef\xbb\xbf[Database]\nEmpresa=" + office.toUtf8());
    EXPECT_EQ(Globals::GetIniValueFrom(ini, "Database", "Empresa"), office);
    // A last byte that only begins a UTF-8 sequence makes the file Windows-1252.
    writeFile(ini, "[Database]\nEmpresa=CI\xc3");
    EXPECT_EQ(Globals::GetIniValueFrom(ini, "Database", "Empresa"), QStringLiteral("CIÃ"));
}

TEST(Settings, ConnectionStringGrammar)
{
    QTemporaryDir d;
    Globals::IniFilePath = d.filePath("quorvanta.Ini");
    writeFile(Globals::IniFilePath, "[Database]\nDatabaseLocation=/dados\nDatabaseName=base.fdb\nEmpresa= Marcas & Cia \n"
                                    "[ODBC]\nDRIVER=   \n");
    DBSpecifics::ReadSettings();
    EXPECT_EQ(DBSpecifics::CursorLoc, 2);
    EXPECT_EQ(DBSpecifics::DbPath, QString("/dadosbase.fdb"));  // no separator added
    EXPECT_EQ(DBSpecifics::OfficeName, QString(" Marcas & Cia "));
    EXPECT_EQ(BuildConnectionString(),
              QString("DRIVER=Firebird/InterBase(r) driver;UID=SYSDBA;PWD=plumbrask;DBNAME=/dadosbase.fdb"));

    // The ODBC section is read anew at every call, trimmed.
    writeFile(Globals::IniFilePath, "[Database]\nDatabaseName=outra.fdb\n[ODBC]\nDRIVER= Meu Driver \nCLIENT= fbclient.dll \n"
                                    "CHARSET= UTF8 \n");
    EXPECT_EQ(BuildConnectionString(),
              QString("DRIVER=Meu Driver;CLIENT=fbclient.dll;CHARSET=UTF8;UID=SYSDBA;PWD=plumbrask;DBNAME=/dadosbase.fdb"));

    const ConnectionParts p = ParseConnectionString("DRIVER=X;CHARSET=UTF8;UID=SYSDBA;PWD=a;DBNAME=/a;b/c.fdb");
    EXPECT_EQ(p.dbname, QString("/a;b/c.fdb"));
    EXPECT_EQ(p.pwd, QString("a"));
    EXPECT_FALSE(IsSupportedDriver("Meu Driver"));
    EXPECT_TRUE(IsSupportedDriver("Firebird/InterBase(r) driver"));
}

TEST(Settings, OfficePasswordReplacesTheProgramsOwn)
{
    QTemporaryDir d;
    Globals::IniFilePath = d.filePath("quorvanta.Ini");
    writeFile(Globals::IniFilePath, "[Database]\nDatabaseName=servidor:/dados/base.fdb\nPassword= Segredo-do-Escritorio \n");
    DBSpecifics::ReadSettings();
    EXPECT_EQ(BuildConnectionString(),
              QString("DRIVER=Firebird/InterBase(r) driver;UID=SYSDBA;PWD=Segredo-do-Escritorio;DBNAME=servidor:/dados/base.fdb"));
    // A blank key, or none, keeps the program's password.
    writeFile(Globals::IniFilePath, "[Database]\nDatabaseName=base.fdb\nPassword=  \n");
    DBSpecifics::ReadSettings();
    EXPECT_EQ(DBSpecifics::DbPassword, QString("plumbrask"));
    writeFile(Globals::IniFilePath, "[Database]\nDatabaseName=base.fdb\n[Outra]\nPassword=nao\n");
    DBSpecifics::ReadSettings();
    EXPECT_EQ(DBSpecifics::DbPassword, QString("plumbrask"));
}

TEST(Settings, PasswordReachesTheConnectionWholeOrIsRefusedByName)
{
    QTemporaryDir d;
    Globals::IniFilePath = d.filePath("quorvanta.Ini");
    const QString longPassword = QString(300, QLatin1Char('x'));
    writeFile(Globals::IniFilePath, "[Database]\nDatabaseName=servidor:/dados/a;b.fdb\nPassword=a;b;UID=x\n");
    DBSpecifics::ReadSettings();
    EXPECT_TRUE(DBSpecifics::PasswordProblem().isEmpty());
    ConnectionParts p = ParseConnectionString(BuildConnectionString());
    EXPECT_EQ(p.pwd, QString("a;b;UID=x"));
    EXPECT_EQ(p.uid, QString("SYSDBA"));
    EXPECT_EQ(p.dbname, QString("servidor:/dados/a;b.fdb"));

    // Longer than any other value may be: read whole, then refused.
    writeFile(Globals::IniFilePath, "[Database]\nDatabaseName=base.fdb\nPassword=" + longPassword.toUtf8() + "\n");
    DBSpecifics::ReadSettings();
    EXPECT_EQ(DBSpecifics::DbPassword, longPassword);
    EXPECT_TRUE(DBSpecifics::PasswordProblem().contains("linha Password"));
    // The limit is in bytes: 200 "ç" are 400 bytes, 127 and an "x" 255.
    writeFile(Globals::IniFilePath,
              "[Database]\nDatabaseName=base.fdb\nPassword=" + QString(200, QChar(0xE7)).toUtf8() + "\n");
    DBSpecifics::ReadSettings();
    EXPECT_EQ(DBSpecifics::DbPassword.size(), 200);
    EXPECT_TRUE(DBSpecifics::PasswordProblem().contains("mais de 255 bytes"));
    writeFile(Globals::IniFilePath,
              "[Database]\nDatabaseName=base.fdb\nPassword=" + QString(127, QChar(0xE7)).toUtf8() + "x\n");
    DBSpecifics::ReadSettings();
    EXPECT_TRUE(DBSpecifics::PasswordProblem().isEmpty());

    // What the string cannot carry: start-up refuses before connecting.
    TestUi ui;
    Globals::setProgramDir(d.path());
    writeFile(Globals::IniFilePath, "[Database]\nDatabaseName=servidor:/base.fdb\nPassword=a;dbname=/outra.fdb\n");
    EXPECT_FALSE(Globals::Main());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.lastMessage().icon(), vb::Critical);
    EXPECT_TRUE(ui.lastMessage().text.startsWith(
        "A senha da linha Password da seção [Database] do arquivo quorvanta.Ini contém \";DBNAME=\""));
    EXPECT_TRUE(ui.waitTexts.isEmpty());
    EXPECT_FALSE(DbConnection::instance().isOpen());
    Globals::setProgramDir(QString());
}

TEST(Startup, MissingSettingsFileEndsWithTheMessage)
{
    TestUi ui;
    QTemporaryDir d;
    Globals::setProgramDir(d.path());
    EXPECT_FALSE(Globals::Main());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.lastMessage().text, QString("Arquivo 'Quorvanta.Ini' está faltando !"));
    EXPECT_EQ(ui.lastMessage().title, QString("Arquivo não encontrado..."));
    EXPECT_EQ(ui.lastMessage().icon(), vb::Critical);
    EXPECT_FALSE(DbConnection::instance().isOpen());
}

TEST(Startup, BrokenDatabasePathOrDriverGivesAMessageNotACrash)
{
    TestUi ui;
    QTemporaryDir d;
    Globals::setProgramDir(d.path());
    writeFile(d.filePath("QUORVANTA.INI"), "[Database]\nDatabaseLocation=/nao/existe/\nDatabaseName=x.fdb\n");
    EXPECT_FALSE(Globals::Main());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.lastMessage().icon(), vb::Critical);
    EXPECT_TRUE(ui.lastMessage().text.contains("/nao/existe/x.fdb"));

    writeFile(d.filePath("QUORVANTA.INI"), "[Database]\nDatabaseName=\n[ODBC]\nDRIVER=SQL Server\n");
    EXPECT_FALSE(Globals::Main());
    EXPECT_TRUE(ui.lastMessage().text.contains("SQL Server"));
}

TEST(Startup, OpensTheDatabaseAndClearsTheAdministratorRight)
{
    TestUi ui;
    TestDb db;
    DbConnection::instance().close();
    QTemporaryDir d;
    db.writeIni(d.path(), "Marcas Alfa");
    Globals::setProgramDir(d.path());
    DBSpecifics::AdminFlag = 1;
    EXPECT_TRUE(Globals::Main());
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(ui.waitTexts, QStringList{QStringLiteral("Conectando ao banco de dados…")});
    EXPECT_EQ(DBSpecifics::AdminFlag, 0);
    EXPECT_EQ(OfficeName, QString("Marcas Alfa"));
    EXPECT_TRUE(DbConnection::instance().isOpen());
    EXPECT_EQ(DbConnection::instance().query("SELECT codigo FROM Controle").recordCount(), 1);
}

TEST(Startup, TheConnectionOpensAwayFromItsWindowWhichKeepsPainting)
{
    const QString text = QStringLiteral("Conectando ao banco de dados…");
    std::atomic<bool> released{false};
    QThread* taskThread = nullptr;
    QString shown;
    // Runs only if the window's thread takes events while the task runs.
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("WaitWindow") && w->isVisible())
                shown = w->findChild<QLabel*>(QStringLiteral("Aviso"))->text();
        released = true;
    });
    RunShowingWaitWindow(text, [&] {
        taskThread = QThread::currentThread();
        for (int i = 0; i < 5000 && !released; ++i) QThread::msleep(1);
    });
    EXPECT_TRUE(released);
    EXPECT_EQ(shown, text);
    EXPECT_NE(taskThread, QThread::currentThread());

    // What the task threw reaches the caller; the window is gone.
    EXPECT_THROW(RunShowingWaitWindow(text, [] { throw DbError(QStringLiteral("recusado")); }), DbError);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->objectName() == QStringLiteral("WaitWindow") && w->isVisible());
}

TEST(Startup, AConnectionOpenedOnAnotherThreadServesTheProgram)
{
    TestDb tdb;
    const QString cs = tdb.connectionString();
    tdb.db().close();
    RunShowingWaitWindow(QStringLiteral("Conectando ao banco de dados…"), [&] { tdb.db().open(cs); });
    ASSERT_TRUE(tdb.db().isOpen());
    EXPECT_EQ(tdb.db().database().driver()->thread(), QThread::currentThread());
    DbTransaction tx;
    tdb.db().execute(QStringLiteral("INSERT INTO Usuarios (usuario, senha, livreacesso) VALUES ('ana', 'senha01', 'S')"));
    tx.commit();
    EXPECT_EQ(tdb.count(QStringLiteral("Usuarios")), 1);
}

TEST(Startup, DatabaseOpenInAnotherProgramIsToldInPortuguese)
{
    TestUi ui;
    TestDb db;
    DbConnection::instance().close();
    QTemporaryDir d;
    db.writeIni(d.path());
    Globals::setProgramDir(d.path());
    // Another program holds the embedded database open.
    QProcess other;
    other.start(QStringLiteral("isql-fb"),
                {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"), db.path()});
    ASSERT_TRUE(other.waitForStarted());
    other.write("SELECT 'aberto' FROM RDB$DATABASE;\n");
    QByteArray out;
    while (!out.contains("aberto") && other.waitForReadyRead(10000)) out += other.readAllStandardOutput();
    ASSERT_TRUE(out.contains("aberto")) << out.constData() << other.readAllStandardError().constData();

    EXPECT_FALSE(Globals::Main());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.lastMessage().icon(), vb::Critical);
    EXPECT_TRUE(ui.lastMessage().text.startsWith(
        QStringLiteral("O banco de dados %1 já está aberto em outra cópia do programa").arg(db.path())))
        << ui.lastMessage().text.toStdString();
    EXPECT_TRUE(ui.lastMessage().text.contains(QStringLiteral("\nMensagem do banco de dados: I/O error")));
    other.closeWriteChannel();
    EXPECT_TRUE(other.waitForFinished(10000));
    Globals::setProgramDir(QString());
}
