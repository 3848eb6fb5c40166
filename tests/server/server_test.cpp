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
#include "shell/Globals.h"
#include "shell/OperationLock.h"
#include "support/TestUi.h"
#include "update/frmAtualizaBD.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QLineEdit>
#include <QNetworkInterface>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <utility>
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

        QString why;
        for (int attempt = 0; attempt < 3; ++attempt) {
            port_ = freePort();
            writeConf(port_);
            process_ = std::make_unique<QProcess>();
            process_->setProcessEnvironment(env_);
            process_->setProcessChannelMode(QProcess::MergedChannels);
            process_->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
            process_->start(binary, {});
            if (!process_->waitForStarted()) return binary + QStringLiteral(" did not start: ") + process_->errorString();
            if (listening()) return QString();
            why = QString::fromUtf8(process_->readAll());
            stop();
        }
        return QStringLiteral("the server did not listen: ") + why;
    }

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
    QString dataDir() const { return QDir(root_.path()).filePath(QStringLiteral("data")); }
    // The folder part of a database path on this server, as a desk names it.
    QString location(const QString& host) const
    {
        return QStringLiteral("%1/%2:%3/").arg(host).arg(port_).arg(dataDir());
    }

private:
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
// An apply of an issue applied before asks its question first, with no lock
// held, and is refused once it tries to take the lock.
void expectRefused(const Finished& r, const OperationLock::Holder& holder, const QString& title,
                   bool askedFirst = false)
{
    ASSERT_TRUE(r.finished) << "the later desk waited for the other one";
    EXPECT_EQ(r.exitCode, 3) << r.out.toStdString() << r.err.toStdString();
    QString text = OperationLock::busyMessage(holder);
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    QStringList expected;
    if (askedFirst)
        expected << QStringLiteral("message\t1\tAtualização de Banco de Dados\t"
                                   "RPI já foi atualizada anteriormente ! Refaz a atualização ?");
    expected << QStringLiteral("message\t48\t%1\t%2").arg(title, text);
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
        expectRefused(during, holder, applyTitle, true);
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
