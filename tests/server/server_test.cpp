// Several desks on one database through a Firebird server. The tests start
// a server of their own: its own folder with firebird.conf, security
// database, lock and temporary folders, on a free port, stopped at the end
// (and killed with the test program should that die). A database is created
// on it by scripts/create-db; this program is the first desk, and
// server_desk, started as another process that connects by the machine's
// network address, is the second.

#include "fixtures/IssueGenerator.h"
#include "fixtures/XmlFixture.h"
#include "journal/TextReader.h"
#include "search/frmPesquisaMarca.h"
#include "shell/DBSpecifics.h"
#include "shell/Globals.h"
#include "shell/OperationLock.h"
#include "support/TestUi.h"
#include "update/frmAtualizaBD.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkInterface>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QPushButton>
#include <QSysInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <utility>
#include <vector>
#include <sys/prctl.h>

using namespace fixtures;

namespace {

// The office's own server password, given to the desks by their settings
// files. The ';' must reach the server with the rest.
const QString kOfficePassword = QStringLiteral("Escritorio;Modelo-2024");

struct Finished {
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
};

Finished runProgram(const QString& program, const QStringList& args, const QProcessEnvironment& env,
                    const QByteArray& input = QByteArray(), int timeoutMs = 60000)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    Finished f;
    if (!p.waitForStarted()) {
        f.err = QStringLiteral("%1 did not start: %2").arg(program, p.errorString());
        return f;
    }
    if (!input.isEmpty()) p.write(input);
    p.closeWriteChannel();
    f.finished = p.waitForFinished(timeoutMs);
    if (!f.finished) {
        p.kill();
        p.waitForFinished();
    }
    f.exitCode = p.exitCode();
    f.out = QString::fromUtf8(p.readAllStandardOutput());
    f.err = QString::fromUtf8(p.readAllStandardError());
    return f;
}

// A client environment: nothing of a private server's or a login's.
QProcessEnvironment clientEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* v : {"FIREBIRD", "FIREBIRD_LOCK", "FIREBIRD_TMP", "ISC_USER", "ISC_PASSWORD"})
        env.remove(QLatin1String(v));
    return env;
}

// The machine's own address on its network; loopback when it has none.
QString networkAddress()
{
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces()) {
        const auto flags = i.flags();
        if (!(flags & QNetworkInterface::IsUp) || !(flags & QNetworkInterface::IsRunning) ||
            (flags & QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& e : i.addressEntries())
            if (e.ip().protocol() == QAbstractSocket::IPv4Protocol && !e.ip().isLoopback()) return e.ip().toString();
    }
    return QStringLiteral("127.0.0.1");
}

class PrivateServer {
public:
    ~PrivateServer() { stop(); }

    // Empty when it runs; otherwise why it does not.
    QString start(const QString& binary)
    {
        if (!root_.isValid()) return QStringLiteral("no temporary folder");
        const QDir root(root_.path());
        for (const char* d : {"lock", "tmp", "data"}) root.mkpath(QLatin1String(d));
        // The installed engine, plugins and messages; configuration of its own.
        const QDir installed(QStringLiteral(QUORVANTA_FIREBIRD_ROOT));
        if (!installed.exists(QStringLiteral("plugins"))) return QStringLiteral("no Firebird at ") + installed.path();
        for (const QString& e : installed.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System))
            if (!e.endsWith(QLatin1String(".conf")) || e == QLatin1String("plugins.conf"))
                QFile::link(installed.filePath(e), root.filePath(e));
        QFile(root.filePath(QStringLiteral("databases.conf"))).open(QIODevice::WriteOnly);

        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert(QStringLiteral("FIREBIRD"), root.path());
        env_.insert(QStringLiteral("FIREBIRD_LOCK"), root.filePath(QStringLiteral("lock")));
        env_.insert(QStringLiteral("FIREBIRD_TMP"), root.filePath(QStringLiteral("tmp")));
        env_.remove(QStringLiteral("ISC_USER"));
        env_.remove(QStringLiteral("ISC_PASSWORD"));

        // The security database, made embedded: SYSDBA with the office's password.
        writeConf(0);
        const QString isql = QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
        if (isql.isEmpty()) return QStringLiteral("isql-fb not found");
        const QString security = root.filePath(QStringLiteral("security3.fdb"));
        Finished f = runProgram(isql, {QStringLiteral("-q")}, env_,
                                QStringLiteral("create database '%1';\n").arg(security).toUtf8());
        if (f.exitCode != 0) return QStringLiteral("security database: ") + f.out + f.err;
        f = runProgram(isql, {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"), security}, env_,
                       QStringLiteral("create user SYSDBA password '%1';\n")
                           .arg(QString(kOfficePassword).replace(QLatin1Char('\''), QLatin1String("''")))
                           .toUtf8());
        if (f.exitCode != 0) return QStringLiteral("SYSDBA: ") + f.out + f.err;

        binary_ = binary;
        QString why;
        for (int attempt = 0; attempt < 3; ++attempt) {
            port_ = freePort();
            writeConf(port_);
            why = run();
            if (why.isEmpty()) return why;
        }
        return why;
    }

    // Stops the server and starts it again on the same port, as an
    // administrator restarts it: its connections are gone.
    QString restart()
    {
        stop();
        return run();
    }

    // Starts a stopped server again, on the same port.
    QString resume() { return run(); }

    void stop()
    {
        if (!process_) return;
        if (process_->state() != QProcess::NotRunning) {
            // The server acts on the signal when its listener wakes, so a
            // connection follows it. Now and then it still does not end;
            // its files are thrown away with the folder, so it is killed
            // after a short while.
            process_->terminate();
            QElapsedTimer t;
            t.start();
            while (!process_->waitForFinished(100) && t.elapsed() < 2000) {
                QTcpSocket s;
                s.connectToHost(QHostAddress::LocalHost, quint16(port_));
                s.waitForConnected(100);
            }
            if (process_->state() != QProcess::NotRunning) {
                process_->kill();
                process_->waitForFinished();
            }
        }
        process_.reset();
    }

    int port() const { return port_; }
    const QProcessEnvironment& environment() const { return env_; }
    QString dataDir() const { return QDir(root_.path()).filePath(QStringLiteral("data")); }
    // The folder part of a database path on this server, as a desk names it.
    QString location(const QString& host) const
    {
        return QStringLiteral("%1/%2:%3/").arg(host).arg(port_).arg(dataDir());
    }

private:
    QString run()
    {
        process_ = std::make_unique<QProcess>();
        process_->setProcessEnvironment(env_);
        process_->setProcessChannelMode(QProcess::MergedChannels);
        process_->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        process_->start(binary_, {});
        if (!process_->waitForStarted()) return binary_ + QStringLiteral(" did not start: ") + process_->errorString();
        if (listening()) return QString();
        const QString why = QString::fromUtf8(process_->readAll());
        stop();
        return QStringLiteral("the server did not listen: ") + why;
    }

    static int freePort()
    {
        QTcpServer s;
        s.listen(QHostAddress::Any, 0);
        return s.serverPort();
    }

    void writeConf(int port) const
    {
        QFile f(QDir(root_.path()).filePath(QStringLiteral("firebird.conf")));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        // No RemoteBindAddress: every address of the machine.
        f.write(QStringLiteral("RemoteServicePort = %1\nSecurityDatabase = %2/security3.fdb\nServerMode = Super\n"
                               "UdfAccess = None\n")
                    .arg(port ? port : 3050)
                    .arg(root_.path())
                    .toUtf8());
    }

    bool listening()
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 30000 && process_->state() == QProcess::Running) {
            QTcpSocket s;
            s.connectToHost(QHostAddress::LocalHost, quint16(port_));
            if (s.waitForConnected(200)) return true;
            process_->waitForFinished(100);
        }
        return false;
    }

    QTemporaryDir root_;
    QString binary_;
    QProcessEnvironment env_;
    std::unique_ptr<QProcess> process_;
    int port_ = 0;
};

class ServerDesks : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        QString binary = qEnvironmentVariable("QUORVANTA_FIREBIRD_SERVER");
        required_ = !binary.isEmpty();
        if (binary.isEmpty()) {
            for (const QString& c : {QStringLiteral(QUORVANTA_BUILD_DIR "/firebird-server/usr/sbin/firebird"),
                                     QStringLiteral("/usr/sbin/firebird")})
                if (QFileInfo(c).isExecutable()) {
                    binary = c;
                    break;
                }
        }
        if (binary.isEmpty() || !QFileInfo(binary).isExecutable()) {
            why_ = QStringLiteral("no Firebird server program (scripts/test unpacks one into build/firebird-server)");
            return;
        }
        server_ = new PrivateServer;
        why_ = server_->start(binary);
        if (!why_.isEmpty()) {
            delete server_;
            server_ = nullptr;
        }
    }
    static void TearDownTestSuite()
    {
        delete server_;
        server_ = nullptr;
    }

    void SetUp() override
    {
        if (!server_) {
            if (required_) FAIL() << why_.toStdString();
            GTEST_SKIP() << why_.toStdString();
        }
        ASSERT_TRUE(deskA_.isValid() && deskB_.isValid() && files_.isValid());
    }
    void TearDown() override { DbConnection::instance().close(); }

    static QString ini(const QString& location, const QString& name)
    {
        return QStringLiteral("[Database]\r\nDatabaseLocation=%1\r\nDatabaseName=%2\r\nEmpresa=Escritório Modelo\r\n"
                              "Password=%3\r\n[ODBC]\r\nCHARSET=UTF8\r\n")
            .arg(location, name, kOfficePassword);
    }

    // Creates the database through the server and opens it as this desk
    // does, by localhost; the other desk's settings name the network address.
    void createAndOpen(const QString& name)
    {
        QProcessEnvironment env = clientEnvironment();
        env.insert(QStringLiteral("ISC_PASSWORD"), kOfficePassword);
        const Finished f = runProgram(QStringLiteral(QUORVANTA_SOURCE_DIR "/scripts/create-db"),
                                      {server_->location(QStringLiteral("localhost")) + name}, env);
        ASSERT_TRUE(f.finished && f.exitCode == 0) << f.out.toStdString() << f.err.toStdString();
        ASSERT_TRUE(QFile::exists(QDir(server_->dataDir()).filePath(name)));
        for (const auto& [dir, host] : {std::pair{deskA_.path(), QStringLiteral("localhost")},
                                        std::pair{deskB_.path(), networkAddress()}}) {
            QFile file(QDir(dir).filePath(QStringLiteral("quorvanta.Ini")));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(ini(server_->location(host), name).toUtf8());
        }
        Globals::setProgramDir(deskA_.path());
        ASSERT_TRUE(Globals::Main()) << ui_.messages.value(0).text.toStdString();
    }

    // A Firebird program (gbak, isql-fb) run as the README has the
    // administrator run it: the password read from a file only its owner reads.
    Finished firebirdTool(const QString& tool, const QStringList& args, const QByteArray& input = QByteArray())
    {
        const QString password = QDir(files_.path()).filePath(QStringLiteral("sysdba"));
        if (!QFile::exists(password)) {
            QFile f(password);
            f.open(QIODevice::WriteOnly);
            f.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
            f.write(kOfficePassword.toUtf8() + '\n');
        }
        const QStringList login{QStringLiteral("-user"), QStringLiteral("SYSDBA"), QStringLiteral("-fetch_password"),
                                password};
        return runProgram(QStandardPaths::findExecutable(tool), login + args, clientEnvironment(), input);
    }

    Finished deskB(const QStringList& args)
    {
        return runProgram(QStringLiteral(QUORVANTA_DESK), QStringList{deskB_.path()} + args, clientEnvironment());
    }

    static QVariant scalar(const QString& sql)
    {
        Recordset rs = DbConnection::instance().query(sql);
        if (rs.recordCount() == 0) return QVariant();
        rs.moveFirst();
        return rs.value(0);
    }

    // This desk as the others are told of it while it holds the lock: its
    // address and machine as the server knows them, since when it holds it.
    static OperationLock::Holder thisDesk(const QString& activity)
    {
        OperationLock::Holder h;
        h.activity = activity;
        h.address = scalar(QStringLiteral("SELECT MON$REMOTE_ADDRESS FROM MON$ATTACHMENTS "
                                          "WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"))
                        .toString()
                        .section(QLatin1Char('/'), 0, 0);
        h.host = QSysInfo::machineHostName();
        h.since = scalar(QStringLiteral("SELECT inicio FROM Bloqueio WHERE nome = 'RPI'")).toDateTime();
        return h;
    }

    static QString plainMark(const Issue& issue)
    {
        for (const Process& p : issue.processes)
            if (!p.mark.isEmpty() && p.mark.contains(QRegularExpression(QStringLiteral("^[A-Za-z0-9 ]+$"))))
                return p.mark;
        return QString();
    }

    // Reads the issue and applies it, as this desk's user does.
    void readAndApply(const Issue& issue)
    {
        TextReader reader;
        ASSERT_TRUE(reader.LerRevistaTxt(request(issue))) << ui_.messages.value(0).text.toStdString();
        frmAtualizaBD f;
        f.Form_Activate();
        f.SelecFile_Click();
        ASSERT_EQ(f.lastResult(), TransferResult::Done) << ui_.messages.value(0).text.toStdString();
    }

    QStringList readTxt(const Issue& issue)
    {
        const TxtReadRequest r = request(issue);
        return {QStringLiteral("read-txt"), r.archivePath, r.numRevista,
                issue.date.toString(QStringLiteral("dd/MM/yyyy"))};
    }

    TxtReadRequest request(const Issue& issue)
    {
        TxtReadRequest r;
        r.archivePath = WriteTextArchive(files_.path(), issue);
        r.numRevista = QStringLiteral("RPI ") + QString::number(issue.number);
        r.issueDate = issue.date;
        return r;
    }

    static inline PrivateServer* server_ = nullptr;
    static inline QString why_;
    static inline bool required_ = false;
    TestUi ui_;
    TestClock clock_;
    QTemporaryDir deskA_, deskB_, files_;
};

// The other desk was refused at once with the one message, and did nothing.
// An apply of an issue applied before names the desk at work before its
// question.
void expectRefused(const Finished& r, const OperationLock::Holder& holder, const QString& title)
{
    ASSERT_TRUE(r.finished) << "the later desk waited for the other one";
    EXPECT_EQ(r.exitCode, 3) << r.out.toStdString() << r.err.toStdString();
    QString text = OperationLock::busyMessage(holder);
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    const QStringList expected{QStringLiteral("message\t48\t%1\t%2").arg(title, text)};
    EXPECT_EQ(r.out.trimmed().split(QLatin1Char('\n')), expected) << r.err.toStdString();
}

}  // namespace

TEST_F(ServerDesks, DatabaseCreatedOnTheServerIssueReadAndAppliedThenSearchedFromAnotherDesk)
{
    createAndOpen(QStringLiteral("escritorio.fdb"));
    // The page cache was set through the server.
    EXPECT_EQ(scalar(QStringLiteral("SELECT MON$PAGE_BUFFERS FROM MON$DATABASE")).toInt(), 16384);

    const Issue issue = GenerateIssue({2150, 40, 7, QDate(2012, 4, 24)});
    TextReader reader;
    ASSERT_TRUE(reader.LerRevistaTxt(request(issue))) << ui_.messages.value(0).text.toStdString();
    frmAtualizaBD f;
    f.Form_Activate();
    f.SelecFile_Click();
    ASSERT_EQ(f.lastResult(), TransferResult::Done) << ui_.messages.value(0).text.toStdString();
    const int staged = scalar(QStringLiteral("SELECT count(*) FROM RPI")).toInt();
    EXPECT_GT(staged, 30);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM RevProcs WHERE rpi = 2150")).toInt(), staged);

    // The second desk comes in by the network address.
    Finished who = deskB({QStringLiteral("whoami")});
    ASSERT_EQ(who.exitCode, 0) << who.out.toStdString() << who.err.toStdString();
    EXPECT_TRUE(who.out.startsWith(QStringLiteral("row\t") + networkAddress() + QLatin1Char('/'))) << who.out.toStdString();

    const Process* named = nullptr;
    for (const Process& p : issue.processes)
        if (!p.mark.isEmpty() && p.mark.contains(QRegularExpression(QStringLiteral("^[A-Za-z0-9 ]+$")))) {
            named = &p;
            break;
        }
    ASSERT_NE(named, nullptr);
    Finished found = deskB({QStringLiteral("search"), named->mark});
    ASSERT_EQ(found.exitCode, 0) << found.out.toStdString() << found.err.toStdString();
    EXPECT_TRUE(found.out.split(QLatin1Char('\n')).contains(QStringLiteral("row\t") + ProcessText(named->number)))
        << found.out.toStdString();
}

TEST_F(ServerDesks, LaterDeskIsRefusedAtOnceAndWritesNothing)
{
    createAndOpen(QStringLiteral("mesas.fdb"));
    const Issue first = GenerateIssue({2150, 30, 3, QDate(2012, 4, 24)});
    const Issue second = GenerateIssue({2151, 30, 4, QDate(2012, 5, 1)});
    const Issue xml = GenerateIssue({2240, 20, 5, QDate(2013, 12, 3)});
    const TxtReadRequest secondRead = request(second);
    const QString xmlArchive = WriteInpiXmlArchive(files_.path(), xml);
    const QString reading = kReadingIssue.activity, applying = kApplyingIssue.activity;
    const QString readTitle = kReadingIssue.title, applyTitle = kApplyingIssue.title;
    const QStringList readSecond{QStringLiteral("read-txt"), secondRead.archivePath, secondRead.numRevista,
                                 second.date.toString(QStringLiteral("dd/MM/yyyy"))};
    const QStringList apply{QStringLiteral("apply")};

    // Two desks reading: the other desk tries while this one's read is open.
    {
        Finished during;
        OperationLock::Holder holder;
        bool asked = false;
        TextReader reader;
        reader.showCount = [&](int) {
            if (std::exchange(asked, true)) return;
            holder = thisDesk(reading);
            during = deskB(readSecond);
        };
        ASSERT_TRUE(reader.LerRevistaTxt(request(first))) << ui_.messages.value(0).text.toStdString();
        ASSERT_TRUE(holder.since.isValid());
        EXPECT_FALSE(holder.address.isEmpty());
        expectRefused(during, holder, readTitle);
        EXPECT_EQ(scalar(QStringLiteral("SELECT count(DISTINCT revista) FROM RPI")).toInt(), 1);
        EXPECT_EQ(scalar(QStringLiteral("SELECT min(revista) FROM RPI")).toInt(), 2150);
        EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM Revistas WHERE revista = 2151")).toInt(), 0);
    }
    const int staged = scalar(QStringLiteral("SELECT count(*) FROM RPI")).toInt();

    // Applying: the other desk tries to read, then to apply.
    {
        Finished readDuring, applyDuring;
        OperationLock::Holder holder;
        bool asked = false;
        frmAtualizaBD f;
        QObject::connect(f.findChild<QLineEdit*>(QStringLiteral("NumProcs")), &QLineEdit::textChanged, [&] {
            if (std::exchange(asked, true)) return;
            holder = thisDesk(applying);
            readDuring = deskB({QStringLiteral("read-xml"), xmlArchive});
            applyDuring = deskB(apply);
        });
        f.Form_Activate();
        f.SelecFile_Click();
        ASSERT_EQ(f.lastResult(), TransferResult::Done) << ui_.messages.value(0).text.toStdString();
        expectRefused(readDuring, holder, readTitle);
        expectRefused(applyDuring, holder, applyTitle);
        EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM RevProcs WHERE rpi = 2150")).toInt(), staged);
        EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM RPI WHERE revista = 2150")).toInt(), staged);
        EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM Revistas WHERE revista = 2240")).toInt(), 0);
    }

    // Reading: the other desk tries to apply what is staged.
    {
        Finished during;
        OperationLock::Holder holder;
        bool asked = false;
        TextReader reader;
        reader.showCount = [&](int) {
            if (std::exchange(asked, true)) return;
            holder = thisDesk(reading);
            during = deskB(apply);
        };
        ASSERT_TRUE(reader.LerRevistaTxt(secondRead)) << ui_.messages.value(0).text.toStdString();
        // What the other desk saw staged, issue 2150, was applied already.
        expectRefused(during, holder, applyTitle);
        EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM RevProcs")).toInt(), staged);
        EXPECT_EQ(scalar(QStringLiteral("SELECT atualizado FROM Revistas WHERE revista = 2151")).toInt(), 0);
    }

    // Once this desk is done, the other one applies the issue it staged.
    const Finished after = deskB(apply);
    EXPECT_EQ(after.exitCode, 0) << after.out.toStdString() << after.err.toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM RevProcs WHERE rpi = 2151")).toInt(),
              scalar(QStringLiteral("SELECT count(*) FROM RPI")).toInt());
}

TEST_F(ServerDesks, DeskKilledWhileApplyingLeavesNothingAndItsLockIsTakenOver)
{
    createAndOpen(QStringLiteral("queda.fdb"));
    // Seconds of work for the other desk: it is far from its end when it dies.
    const Issue big = GenerateIssue({2150, 800, 8, QDate(2012, 4, 24)});
    const Issue next = GenerateIssue({2151, 30, 9, QDate(2012, 5, 1)});
    {
        TextReader reader;
        ASSERT_TRUE(reader.LerRevistaTxt(request(big))) << ui_.messages.value(0).text.toStdString();
    }

    // The other desk applies the staged issue and is killed half-way.
    QProcess desk;
    desk.setProcessEnvironment(clientEnvironment());
    desk.start(QStringLiteral(QUORVANTA_DESK), {deskB_.path(), QStringLiteral("apply")});
    ASSERT_TRUE(desk.waitForStarted());
    QByteArray out;
    QElapsedTimer t;
    t.start();
    while (!out.contains("applying\n") && desk.state() == QProcess::Running && t.elapsed() < 30000) {
        desk.waitForReadyRead(100);
        out += desk.readAllStandardOutput();
    }
    ASSERT_TRUE(out.contains("applying\n")) << out.constData() << desk.readAllStandardError().constData();

    // Meanwhile this desk's update dialog names the other desk, by its
    // machine and address, before anything else.
    {
        const QString since = scalar(QStringLiteral("SELECT inicio FROM Bloqueio WHERE nome = 'RPI'"))
                                  .toDateTime()
                                  .toString(QStringLiteral("dd/MM/yyyy hh:mm"));
        const QString busy =
            QStringLiteral("Outra estação (%1, endereço %2) está atualizando o banco de dados com uma RPI desde %3.")
                .arg(QSysInfo::machineHostName(), networkAddress(), since);
        ui_.clear();
        frmAtualizaBD f;
        f.Form_Activate();
        EXPECT_EQ(f.findChild<QLabel*>(QStringLiteral("D"))->text(), busy);
        f.SelecFile_Click();
        ASSERT_EQ(ui_.messages.size(), 1);
        EXPECT_EQ(ui_.lastMessage().text,
                  busy + QStringLiteral("\nNada foi alterado no banco de dados: tente novamente quando ela terminar."));
        EXPECT_EQ(ui_.lastMessage().title, QStringLiteral("Atualização de Banco de Dados"));
        ui_.clear();
    }
    desk.kill();
    ASSERT_TRUE(desk.waitForFinished(10000));
    out += desk.readAllStandardOutput();
    ASSERT_EQ(desk.exitStatus(), QProcess::CrashExit) << "the apply ended before the kill: " << out.constData();
    EXPECT_EQ(out, QByteArray("applying\n"));
    // It died holding the lock.
    const QVariant holder = scalar(QStringLiteral("SELECT conexao FROM Bloqueio WHERE nome = 'RPI'"));
    ASSERT_FALSE(holder.isNull());
    EXPECT_NE(holder, scalar(QStringLiteral("SELECT CURRENT_CONNECTION FROM RDB$DATABASE")));

    // The kernel closed the dead desk's socket: the server drops its
    // connection within milliseconds (a few seconds are allowed).
    const QString attached =
        QStringLiteral("SELECT count(*) FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = ") + holder.toString();
    t.restart();
    while (scalar(attached).toInt() > 0 && t.elapsed() < 10000) QThread::msleep(10);
    ASSERT_EQ(scalar(attached).toInt(), 0) << "the server still lists the killed desk's connection";
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM Processos")).toInt(), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM RevProcs")).toInt(), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT atualizado FROM Revistas WHERE revista = 2150")).toInt(), 0);

    // This desk takes the dead desk's lock over: it reads a new issue and
    // applies it.
    const auto lastMessage = [this] {
        return ui_.messages.isEmpty() ? std::string() : ui_.messages.last().text.toStdString();
    };
    TextReader reader;
    ASSERT_TRUE(reader.LerRevistaTxt(request(next))) << lastMessage();
    frmAtualizaBD f;
    f.Form_Activate();
    f.SelecFile_Click();
    ASSERT_EQ(f.lastResult(), TransferResult::Done) << lastMessage();
    const int staged = scalar(QStringLiteral("SELECT count(*) FROM RPI")).toInt();
    EXPECT_GT(staged, 20);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM RevProcs WHERE rpi = 2151")).toInt(), staged);
    // Nothing of the killed apply: no entry of its issue, no process but
    // the new issue's, its issue not marked applied.
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM RevProcs WHERE rpi <> 2151")).toInt(), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM Processos p WHERE NOT EXISTS "
                                    "(SELECT 1 FROM RevProcs r WHERE r.processo = p.processo)"))
                  .toInt(),
              0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT atualizado FROM Revistas WHERE revista = 2150")).toInt(), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT atualizado FROM Revistas WHERE revista = 2151")).toInt(), 1);
}

TEST_F(ServerDesks, RedoQuestionWaitsWithNoLockHeldAndOnlyTheIssueShownIsApplied)
{
    createAndOpen(QStringLiteral("pergunta.fdb"));
    readAndApply(GenerateIssue({2150, 20, 3, QDate(2012, 4, 24)}));
    frmAtualizaBD f;
    QStringList other;  // what the other desk does while the redo question waits
    QList<int> exits;
    QString shown;      // the boxes when asked again
    ui_.onMessage = [&](const RecordedMessage& m) {
        if (m.text.startsWith(QStringLiteral("RPI já foi atualizada")))
            for (const QString& op : std::exchange(other, {}))
                exits << deskB(op == QLatin1String("apply")
                                   ? QStringList{op}
                                   : readTxt(GenerateIssue({op.toInt(), 10, 4, QDate(2012, 5, 1)})))
                             .exitCode;
        if (m.text.startsWith(QStringLiteral("A RPI lida não é mais")))
            shown = f.findChild<QLineEdit*>(QStringLiteral("NumRevista"))->text() + QLatin1Char(' ') +
                    f.findChild<QLineEdit*>(QStringLiteral("DataRevista"))->text();
    };
    const QString askedAgain = QStringLiteral(
        "A RPI lida não é mais a que esta tela mostrava: outra estação leu a RPI %1, de 01/05/2012. Nada foi "
        "alterado no banco de dados.\n\nAtualiza Banco de Dados com a RPI %1 ?");

    // SIM to redo 2150: meanwhile the other desk redoes 2150 and reads 2151.
    // Answered OK, 2151 is not applied unseen: it is shown and asked about
    // (No: nothing written).
    other = {QStringLiteral("apply"), QStringLiteral("2151")};
    ui_.clear();
    ui_.msgAnswers = {vb::OK, vb::No};
    f.Form_Activate();
    f.SelecFile_Click();
    EXPECT_EQ(exits, (QList<int>{0, 0}));
    ASSERT_EQ(ui_.messages.size(), 2);
    EXPECT_EQ(ui_.messages[1].text, askedAgain.arg(2151));
    EXPECT_EQ(ui_.messages[1].style, int(vb::YesNo) + vb::Question);
    EXPECT_EQ(shown, QStringLiteral("2151 01/05/2012"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT atualizado FROM Revistas WHERE revista = 2151")).toInt(), 0);

    // The other desk applies 2151; SIM redoes it, and meanwhile the other
    // desk reads 2152: answered Yes, 2152 is applied and 2151 left as it was.
    ASSERT_EQ(deskB({QStringLiteral("apply")}).exitCode, 0);
    const QVariant lastEntry = scalar(QStringLiteral("SELECT max(codigo) FROM RevProcs WHERE rpi = 2151"));
    other = {QStringLiteral("2152")};
    ui_.clear();
    ui_.msgAnswers = {vb::OK, vb::Yes};
    f.SelecFile_Click();
    ui_.onMessage = nullptr;
    EXPECT_EQ(f.lastResult(), TransferResult::Done) << ui_.messages.value(1).text.toStdString();
    EXPECT_EQ(ui_.messages.value(1).text, askedAgain.arg(2152));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM RevProcs WHERE rpi = 2152")).toInt(), 10);
    EXPECT_EQ(scalar(QStringLiteral("SELECT max(codigo) FROM RevProcs WHERE rpi = 2151")), lastEntry);
}

TEST_F(ServerDesks, DatabaseRestoredFromABackUpTakenMidReadRefusesNoDesk)
{
    createAndOpen(QStringLiteral("restaurada.fdb"));
    const QString db = server_->location(QStringLiteral("localhost")) + QStringLiteral("restaurada.fdb");
    const QString connection = BuildConnectionString();
    // Attachments before this desk's: its number lies above those the
    // restored database hands out first.
    for (int i = 0; i < 12; ++i) DbConnection().open(connection);

    // The back-up is taken while this desk reads, holding the lock.
    const QString backup = QDir(files_.path()).filePath(QStringLiteral("restaurada.fbk"));
    Finished backedUp;
    QVariant holder;
    {
        TextReader reader;
        reader.showCount = [&](int) {
            if (!holder.isNull()) return;
            holder = scalar(QStringLiteral("SELECT conexao FROM Bloqueio WHERE nome = 'RPI'"));
            backedUp = firebirdTool(QStringLiteral("gbak"), {QStringLiteral("-b"), db, backup});
        };
        ASSERT_TRUE(reader.LerRevistaTxt(request(GenerateIssue({2150, 20, 3, QDate(2012, 4, 24)}))));
    }
    ASSERT_EQ(backedUp.exitCode, 0) << backedUp.out.toStdString() << backedUp.err.toStdString();
    ASSERT_FALSE(holder.isNull());

    // Every desk closed the program; the back-up is restored over the database.
    DbConnection::instance().close();
    const Finished restored = firebirdTool(QStringLiteral("gbak"), {QStringLiteral("-rep"), backup, db});
    ASSERT_EQ(restored.exitCode, 0) << restored.out.toStdString() << restored.err.toStdString();

    // Desks start on it until one gets the number the back-up's row names;
    // that desk stays idle on its main menu.
    std::vector<std::unique_ptr<DbConnection>> desks;
    QStringList numbers;
    bool collided = false;
    while (!collided && desks.size() < 40) {
        desks.push_back(std::make_unique<DbConnection>());
        desks.back()->open(connection);
        Recordset rs = desks.back()->query(QStringLiteral(
            "SELECT CURRENT_CONNECTION, (SELECT conexao FROM Bloqueio WHERE nome = 'RPI') FROM RDB$DATABASE"));
        numbers << rs.at(0, 0).toString();
        EXPECT_EQ(rs.at(0, 1), holder) << "the back-up's row is not in the restored database";
        collided = rs.at(0, 0) == holder;
    }
    ASSERT_TRUE(collided) << "lock row of attachment " << holder.toString().toStdString() << "; attachments "
                          << numbers.join(' ').toStdString();
    DbConnection& idle = *desks.back();

    // The README's command that ends the connection of a lock's holder
    // leaves the idle desk alone.
    const QByteArray endHolder(
        "DELETE FROM MON$ATTACHMENTS a WHERE EXISTS (SELECT 1 FROM Bloqueio b\n"
        "  WHERE b.nome = 'RPI' AND b.conexao = a.MON$ATTACHMENT_ID AND a.MON$TIMESTAMP <= b.inicio);\n"
        "COMMIT;\n");
    const Finished ended =
        firebirdTool(QStringLiteral("isql-fb"), {QStringLiteral("-q"), QStringLiteral("-bail"), db}, endHolder);
    ASSERT_EQ(ended.exitCode, 0) << ended.out.toStdString() << ended.err.toStdString();
    EXPECT_EQ(idle.query(QStringLiteral("SELECT CURRENT_CONNECTION FROM RDB$DATABASE")).at(0, 0), holder);

    // No desk is refused: this one reads and applies, the other reads and
    // applies after it.
    ASSERT_TRUE(Globals::Main()) << ui_.messages.value(0).text.toStdString();
    readAndApply(GenerateIssue({2151, 20, 4, QDate(2012, 5, 1)}));
    const Finished read = deskB(readTxt(GenerateIssue({2152, 10, 5, QDate(2012, 5, 8)})));
    EXPECT_EQ(read.exitCode, 0) << read.out.toStdString();
    const Finished applied = deskB({QStringLiteral("apply")});
    EXPECT_EQ(applied.exitCode, 0) << applied.out.toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM RevProcs WHERE rpi = 2152")).toInt(), 10);
    for (const RecordedMessage& m : ui_.messages) EXPECT_FALSE(m.text.startsWith(QStringLiteral("Outra estação")));
    EXPECT_EQ(idle.query(QStringLiteral("SELECT CURRENT_CONNECTION FROM RDB$DATABASE")).at(0, 0), holder);
}

TEST_F(ServerDesks, DeskSearchesAgainAfterItsConnectionIsEndedOrTheServerRestarts)
{
    createAndOpen(QStringLiteral("perdida.fdb"));
    const Issue issue = GenerateIssue({2150, 30, 7, QDate(2012, 4, 24)});
    readAndApply(issue);
    const QString mark = plainMark(issue);
    ASSERT_FALSE(mark.isEmpty());
    const QString connection = BuildConnectionString();

    QPointer<frmPesquisaMarca> screen = new frmPesquisaMarca;
    screen->show();
    screen->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen));
    QTest::keyClicks(screen->NomeMarca(), mark);
    auto search = [&] {
        ui_.clear();
        QTest::mouseClick(screen->Pesquisar(), Qt::LeftButton);
        return screen->MarcaRevista().recordset().recordCount();
    };
    const int found = search();
    ASSERT_GT(found, 0) << ui_.messages.value(0).text.toStdString();
    ASSERT_EQ(ui_.messages.size(), 1);
    const QString foundText = ui_.lastMessage().text;  // how many were found
    const QString lost = QStringLiteral(
        "Erro ao pesquisar o Banco de Dados:\nA conexão com o banco de dados foi perdida (o servidor pode ter sido "
        "reiniciado, ou a conexão foi encerrada). O programa já se conectou de novo: repita a operação.\n"
        "Mensagem do banco de dados: ");
    auto expectLost = [&] {
        ASSERT_EQ(ui_.messages.size(), 1);
        EXPECT_TRUE(ui_.lastMessage().text.startsWith(lost)) << ui_.lastMessage().text.toStdString();
        EXPECT_EQ(ui_.lastMessage().icon(), vb::Critical);
        EXPECT_EQ(ui_.lastMessage().title, QStringLiteral("Pesquisa por Marca"));
    };
    DbConnection admin;
    admin.open(connection);
    auto endThisDesk = [&] {
        admin.execute(QStringLiteral("DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = ") +
                      scalar(QStringLiteral("SELECT CURRENT_CONNECTION FROM RDB$DATABASE")).toString());
    };

    // The administrator ends this desk's connection: the next search says
    // so, the one after it finds again.
    endThisDesk();
    search();
    expectLost();
    EXPECT_EQ(search(), found);
    ASSERT_EQ(ui_.messages.size(), 1);
    EXPECT_EQ(ui_.lastMessage().text, foundText);

    // The server restarts.
    ASSERT_EQ(server_->restart(), QString());
    search();
    expectLost();
    EXPECT_EQ(search(), found);
    ASSERT_EQ(ui_.messages.size(), 1);
    EXPECT_EQ(ui_.lastMessage().text, foundText);
    delete screen.data();

    // An apply whose connection is ended half-way is told as not done, and
    // leaves nothing; the next one goes through.
    admin.close();
    admin.open(connection);
    {
        TextReader reader;
        ASSERT_TRUE(reader.LerRevistaTxt(request(GenerateIssue({2151, 30, 8, QDate(2012, 5, 1)}))));
    }
    ui_.clear();
    {
        frmAtualizaBD f;
        bool ended = false;
        QObject::connect(f.findChild<QLineEdit*>(QStringLiteral("NumProcs")), &QLineEdit::textChanged,
                         [&](const QString& count) {
                             if (count.toInt() > 0 && !std::exchange(ended, true)) endThisDesk();
                         });
        f.Form_Activate();
        f.SelecFile_Click();
        EXPECT_EQ(f.lastResult(), TransferResult::Failed);
        ASSERT_EQ(ui_.messages.size(), 1);
        const QString text = ui_.lastMessage().text;
        EXPECT_TRUE(text.startsWith(QStringLiteral("Erro ao atualizar o banco de dados com a RPI 2151:\n"
                                                   "A conexão com o banco de dados foi perdida")))
            << text.toStdString();
        EXPECT_TRUE(text.endsWith(QStringLiteral("\n\nNenhuma alteração foi gravada."))) << text.toStdString();
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM RevProcs WHERE rpi = 2151")).toInt(), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT atualizado FROM Revistas WHERE revista = 2151")).toInt(), 0);
    frmAtualizaBD again;
    again.Form_Activate();
    again.SelecFile_Click();
    EXPECT_EQ(again.lastResult(), TransferResult::Done) << ui_.messages.value(1).text.toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM RevProcs WHERE rpi = 2151")).toInt(),
              scalar(QStringLiteral("SELECT count(*) FROM RPI")).toInt());
}

TEST_F(ServerDesks, WrongServerPasswordNamesThePasswordLineOfTheSettingsFile)
{
    QFile file(QDir(deskA_.path()).filePath(QStringLiteral("quorvanta.Ini")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(ini(server_->location(QStringLiteral("localhost")), QStringLiteral("escritorio.fdb"))
                   .replace(kOfficePassword, QStringLiteral("SenhaErrada"))
                   .toUtf8());
    file.close();
    Globals::setProgramDir(deskA_.path());
    EXPECT_FALSE(Globals::Main());
    ASSERT_EQ(ui_.messages.size(), 1);
    EXPECT_EQ(ui_.lastMessage().title, QStringLiteral("Erro ao abrir o banco de dados"));
    const QString text = ui_.lastMessage().text;
    EXPECT_TRUE(text.contains(QStringLiteral(
        "recusou o usuário SYSDBA com a senha dada. A senha é a da linha Password da seção [Database] do arquivo "
        "quorvanta.Ini")))
        << text.toStdString();
    EXPECT_TRUE(
        text.contains(QStringLiteral("\nMensagem do banco de dados: Your user name and password are not defined")))
        << text.toStdString();
}

TEST_F(ServerDesks, StartUpThatCannotReachTheDatabaseSaysWhatToCheck)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const int port = closed.serverPort();
    closed.close();
    const QStringList cases[] = {
        {QStringLiteral("localhost/%1:/srv/").arg(port),
         QStringLiteral("o servidor localhost não respondeu na porta %1.").arg(port),
         QStringLiteral("Unable to complete network request")},
        {QStringLiteral("sem-nome.invalid:/srv/"), QStringLiteral("não conhece o nome do servidor, \"sem-nome.invalid\". "
                                                                 "Confira esse nome na linha DatabaseLocation"),
         QStringLiteral("Failed to locate host machine")},
        {server_->location(QStringLiteral("localhost")),
         QStringLiteral("o arquivo %1/q.fdb não existe no servidor localhost. A pasta vem da linha DatabaseLocation e "
                        "o nome do arquivo da linha DatabaseName").arg(server_->dataDir()),
         QStringLiteral("I/O error")}};
    Globals::setProgramDir(deskA_.path());
    for (const QStringList& c : cases) {
        QFile file(QDir(deskA_.path()).filePath(QStringLiteral("quorvanta.Ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(ini(c[0], QStringLiteral("q.fdb")).toUtf8());
        file.close();
        ui_.clear();
        EXPECT_FALSE(Globals::Main());
        const QString text = ui_.messages.value(0).text;
        EXPECT_TRUE(text.startsWith(QStringLiteral("Não foi possível abrir o banco de dados %1q.fdb: ").arg(c[0])));
        EXPECT_TRUE(text.contains(c[1]) && text.contains(QStringLiteral("quorvanta.Ini"))) << text.toStdString();
        EXPECT_GT(text.indexOf(c[2]), text.indexOf(QStringLiteral("\nMensagem do banco de dados: ")))
            << text.toStdString();
    }
}

TEST_F(ServerDesks, LostConnectionCommitsNothingAndIsOpenedAgainOnceTheServerAnswers)
{
    createAndOpen(QStringLiteral("volta.fdb"));
    DbConnection& db = DbConnection::instance();
    DbConnection admin;
    admin.open(BuildConnectionString());
    const QString written = QStringLiteral("SELECT count(*) FROM Revistas WHERE revista >= 2990");
    auto insert = [&db](int issue) {
        db.execute(QStringLiteral("INSERT INTO Revistas (revista) VALUES (%1)").arg(issue));
    };

    // A transaction whose connection is ended: the statement that meets the
    // loss connects again; the later ones and the commit fail, and nothing
    // reaches the new connection.
    db.beginTransaction();
    insert(2990);
    admin.execute(QStringLiteral("DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = ") +
                  scalar(QStringLiteral("SELECT CURRENT_CONNECTION FROM RDB$DATABASE")).toString());
    EXPECT_THROW(insert(2991), DbError);
    EXPECT_THROW(insert(2992), DbError);
    EXPECT_THROW(db.commit(), DbError);
    EXPECT_EQ(admin.query(written).at(0, 0).toInt(), 0);
    EXPECT_EQ(scalar(written).toInt(), 0);
    admin.close();

    // The server is down: the reconnect fails and says why, and is tried
    // again at the next operation, which works once the server is back.
    server_->stop();
    auto failure = [&] {
        try {
            scalar(written);
        } catch (const DbError& e) {
            return e.message();
        }
        return QString();
    };
    const QString why = QStringLiteral("o servidor localhost não respondeu na porta %1.").arg(server_->port());
    const QString first = failure(), second = failure();
    EXPECT_TRUE(first.contains(QStringLiteral("Não foi possível conectar de novo agora")) && first.contains(why))
        << first.toStdString();
    EXPECT_TRUE(second.contains(QStringLiteral("Ainda não foi possível conectar de novo")) && second.contains(why))
        << second.toStdString();
    ASSERT_EQ(server_->resume(), QString());
    EXPECT_EQ(scalar(written).toInt(), 0);
}
