// bench_read_xml [PROCESSES] [DISPATCHES] [TEMPLATE_DB]
// Generates an XML-layout issue of PROCESSES processes (40,000 by default)
// holding DISPATCHES dispatches (50,000), writes its archive, copies the
// template database into a temporary folder and reads the archive into it.
// Prints processes per second (the reader's fixed wait skipped), the parse
// alone (no database), and the peak resident memory against the file size.
#include "BenchSetup.h"
#include "fixtures/IssueGenerator.h"
#include "fixtures/XmlFixture.h"
#include "journal/XmlReader.h"
#include "shell/Db.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

long peakKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// The model with exactly the number of dispatches asked for.
fixtures::Issue makeIssue(int processes, int dispatches)
{
    fixtures::Issue issue = fixtures::GenerateIssue({2500, processes, 42, QDate(2018, 12, 11)});
    qsizetype total = 0;
    for (const fixtures::Process& p : issue.processes) total += p.dispatches.size();
    for (qsizetype i = issue.processes.size() - 1; i >= 0 && total > dispatches; --i) {
        auto& d = issue.processes[i].dispatches;
        while (d.size() > 1 && total > dispatches) {
            d.removeLast();
            --total;
        }
    }
    for (qsizetype i = 0; i < issue.processes.size() && total < dispatches; ++i) {
        auto& d = issue.processes[i].dispatches;
        if (d.size() == 1) {
            fixtures::Dispatch extra = d.first();
            extra.code = 9;
            d << extra;
            ++total;
        }
    }
    return issue;
}

}  // namespace

int main(int argc, char** argv)
{
    const int processes = argc > 1 ? std::atoi(argv[1]) : 40000;
    const int dispatches = argc > 2 ? std::atoi(argv[2]) : 50000;

    // The archive is written by a child process, so that the generator's
    // memory does not count in the reader's peak.
    QTemporaryDir tmp;
    const QString zip = QDir(tmp.path()).filePath("RM2500.zip");
    const pid_t child = fork();
    if (child == 0) {
        const fixtures::Issue issue = makeIssue(processes, dispatches);
        const QByteArray bytes = fixtures::InpiXmlLayout(issue);
        fixtures::WriteZip(zip, {{"RM2500.xml", bytes}});
        QFile size(QDir(tmp.path()).filePath("size"));
        if (!size.open(QIODevice::WriteOnly)) _exit(1);
        size.write(QByteArray::number(bytes.size()));
        size.close();
        _exit(0);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "cannot write the archive\n");
        return 1;
    }
    QFile sizeFile(QDir(tmp.path()).filePath("size"));
    sizeFile.open(QIODevice::ReadOnly);
    const qint64 fileSize = sizeFile.readAll().toLongLong();

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString templ = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral(QUORVANTA_TEMPLATE_DB);
    const QString dbPath = tmp.filePath("bench.fdb");
    if (!bench::CopyDatabase(templ, dbPath)) {
        std::fprintf(stderr, "cannot copy %s\n", qPrintable(templ));
        return 1;
    }
    bench::QuietRun quiet(tmp.path());

    const long before = peakKb();

    int rc = 0;
    try {
        DbConnection::instance().open(bench::EmbeddedConnection(dbPath));
        XmlReaderValues target;
        target.num = QStringLiteral("RPI 2500");
        XmlReader reader(target);
        QElapsedTimer t;
        t.start();
        const bool ok = reader.LerRevistaXml(zip);
        const double s = t.nsecsElapsed() / 1e9;
        const long after = peakKb();
        DbConnection& db = DbConnection::instance();
        const int rows = db.query("SELECT COUNT(*) FROM RPI").at(0, 0).toInt();
        const int citations = db.query("SELECT COUNT(*) FROM PROCREFREVISTA").at(0, 0).toInt();
        std::printf("file: %.1f MB, %d processes, %d dispatches\n", fileSize / 1e6, processes, dispatches);
        std::printf("read: %s, %d processes, %d RPI rows, %d citations in %.3f s = %.0f processes/s\n",
                    ok ? "ok" : "FAILED", reader.processesWritten(), rows, citations, s, reader.processesWritten() / s);
        std::printf("peak memory: %.1f MB before the read, %.1f MB after = %.2f x the file\n",
                    before / 1024.0, after / 1024.0, after * 1024.0 / double(fileSize));
        rc = ok ? 0 : 1;
    } catch (const DbError& e) {
        std::fprintf(stderr, "database: %s\n", qPrintable(e.message()));
        rc = 1;
    }
    DbConnection::instance().close();
    return rc;
}
