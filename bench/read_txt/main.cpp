// bench_read_txt [RECORDS] [TEMPLATE_DB]
// Generates a text-layout issue of RECORDS processes (40,000 by default),
// copies the template database into a temporary folder, reads the issue
// into it and prints records per second. The reader's fixed wait is
// skipped; the parse alone is timed too, to tell it from the database.
#include "BenchSetup.h"
#include "fixtures/IssueGenerator.h"
#include "journal/TextReader.h"
#include "keys/Cp1252.h"
#include "shell/Db.h"
#include "shell/StatementCache.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 40000;
    const QString templ = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(QUORVANTA_TEMPLATE_DB);

    QTemporaryDir tmp;
    const QString dbPath = tmp.filePath("bench.fdb");
    if (!bench::CopyDatabase(templ, dbPath)) {
        std::fprintf(stderr, "cannot copy %s\n", qPrintable(templ));
        return 1;
    }
    bench::QuietRun quiet(tmp.path());

    const fixtures::Issue issue = fixtures::GenerateIssue({2150, records, 42, QDate(2012, 4, 24)});
    const QString zip = fixtures::WriteTextArchive(tmp.path(), issue);

    // The parse and the statements alone.
    const QByteArray bytes = fixtures::TextLayout(issue);
    QElapsedTimer t;
    t.start();
    const QStringList lines = SplitTxtLines(cp1252::decode(bytes));
    TxtRecord rec;
    qint64 chars = 0;
    int n = 0;
    QStringList statements;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("No.")) && rec.procNum != TxtRecord::kNoProcess) {
            statements << BuildRpiInsert(rec, ++n, 2150);
            chars += statements.last().size();
            rec = TxtRecord();
        }
        ParseTxtLine(line, rec, QDate(2012, 4, 24));
    }
    const double parseS = t.nsecsElapsed() / 1e9;

    int rc = 0;
    try {
        DbConnection::instance().open(bench::EmbeddedConnection(dbPath));
        TextReader reader;
        t.restart();
        const bool ok = reader.LerRevistaTxt({zip, QStringLiteral("RPI 2150"), QDate(2012, 4, 24), TxtVariant::Dialog});
        const double s = t.nsecsElapsed() / 1e9;
        const int citations = DbConnection::instance().query("SELECT COUNT(*) FROM PROCREFREVISTA").at(0, 0).toInt();
        std::printf("parse only: %d records in %.3f s = %.0f records/s (%lld statement characters)\n", n, parseS,
                    n / parseS, static_cast<long long>(chars));
        std::printf("read: %s, %d records (%d citations) in %.3f s = %.0f records/s\n", ok ? "ok" : "FAILED",
                    reader.recordsWritten(), citations, s, reader.recordsWritten() / s);
        rc = ok ? 0 : 1;
        // How the data-access layer's statement cache sees these statements.
        StatementCache cache(DbConnection::instance().database());
        QSet<QString> shapes;
        int unbound = 0;
        for (const QString& sql : statements) {
            if (auto b = cache.bind(sql)) shapes.insert(b->sql);
            else ++unbound;
        }
        std::printf("RPI statements: %lld, distinct parameterised shapes: %lld, left as text: %d\n",
                    static_cast<long long>(statements.size()), static_cast<long long>(shapes.size()), unbound);
    } catch (const DbError& e) {
        std::fprintf(stderr, "database: %s\n", qPrintable(e.message()));
        rc = 1;
    }
    DbConnection::instance().close();
    return rc;
}
