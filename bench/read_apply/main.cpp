// bench_read_apply [PROCESSES] [SEED] [ARCHIVE]
// Reads an XML-layout issue into a fresh copy of the template database and
// applies it, as an office does with a new issue, all in this one process.
// Without ARCHIVE the issue is the generator's (what make_issue writes for
// "make_issue xml 2500 PROCESSES SEED DIR"; 40,000 processes and seed 1 by
// default), written by a child process so that the generator's memory does
// not count here. Prints the time of each step and the peak resident memory
// after each one.
#include "BenchSetup.h"
#include "fixtures/IssueGenerator.h"
#include "journal/TextReader.h"
#include "journal/XmlReader.h"
#include "shell/Db.h"
#include "update/Transfer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    const int processes = argc > 1 ? std::atoi(argv[1]) : 40000;
    const quint32 seed = argc > 2 ? quint32(std::strtoul(argv[2], nullptr, 10)) : 1u;
    QTemporaryDir tmp;
    QString zip = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    if (zip.isEmpty()) {
        const pid_t child = fork();
        if (child == 0) {
            fixtures::IssueOptions o;
            o.number = 2500;
            o.processes = processes;
            o.seed = seed;
            fixtures::WriteXmlArchive(tmp.path(), fixtures::GenerateIssue(o));
            _exit(0);
        }
        int status = 0;
        if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "cannot write the archive\n");
            return 1;
        }
        zip = QDir(tmp.path()).filePath(QStringLiteral("RM2500.zip"));
    }

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString dbPath = tmp.filePath(QStringLiteral("bench.fdb"));
    if (!bench::CopyDatabase(QStringLiteral(QUORVANTA_TEMPLATE_DB), dbPath)) {
        std::fprintf(stderr, "cannot copy %s\n", QUORVANTA_TEMPLATE_DB);
        return 1;
    }
    bench::QuietRun quiet(tmp.path());
    const double start = bench::PeakMemoryMb();

    int rc = 0;
    DbConnection& db = DbConnection::instance();
    try {
        db.open(bench::EmbeddedConnection(dbPath));
        XmlReaderValues target;
        XmlReader reader(target);
        QElapsedTimer t;
        t.start();
        const bool read = reader.LerRevistaXml(zip);
        const double readSecs = t.nsecsElapsed() / 1e9;
        const double afterRead = bench::PeakMemoryMb();
        const int issue = int(LeadingNumber(QStringView(target.num).mid(4)));
        const int rows = db.query(QStringLiteral("SELECT COUNT(*) FROM RPI")).at(0, 0).toInt();

        t.restart();
        IssueTransfer transfer(OptionsForIssue(issue));
        const bool applied = read && transfer.run(issue) == TransferResult::Done;
        const double applySecs = t.nsecsElapsed() / 1e9;
        const double afterApply = bench::PeakMemoryMb();

        std::printf("archive: %s (%.1f MB)\n", qPrintable(QFileInfo(zip).fileName()), QFileInfo(zip).size() / 1e6);
        std::printf("read RPI %d: %s, %d processes, %d staged rows in %.2f s\n", issue, read ? "ok" : "FAILED",
                    reader.processesWritten(), rows, readSecs);
        std::printf("apply: %s, %d entries, %d new processes in %.2f s\n", applied ? "ok" : "FAILED",
                    transfer.counter(TransferCounter::NumProcs), transfer.counter(TransferCounter::NumNewProcs),
                    applySecs);
        std::printf("peak memory: %.1f MB at the start, %.1f MB after the read, %.1f MB after the apply\n", start,
                    afterRead, afterApply);
        rc = applied ? 0 : 1;
    } catch (const DbError& e) {
        std::fprintf(stderr, "database: %s\n", qPrintable(e.message()));
        rc = 1;
    }
    db.close();
    return rc;
}
