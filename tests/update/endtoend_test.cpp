// A generated issue read by the XML reader and applied through the update
// dialog, then applied again through the redo question, checked against
// the issue's own model.

#include "Staging.h"
#include "fixtures/IssueGenerator.h"
#include "fixtures/XmlFixture.h"
#include "journal/XmlReader.h"
#include "keys/Metaphone.h"
#include "shell/Globals.h"
#include "support/TestDb.h"
#include "support/TestUi.h"
#include "update/frmAtualizaBD.h"

#include <QLineEdit>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fixtures;
using metaphonevar::LimpaTexto;

namespace {

struct Expected {
    int entries = 0;
    QSet<int> processes;                  // processes with a dispatch
    QSet<QPair<int, int>> links;          // (process, cited) of processes with a dispatch
    QHash<int, QString> lastDispatch;     // dispatch code stored on the process
};

Expected expectedOf(const Issue& issue)
{
    Expected e;
    for (const Process& p : issue.processes) {
        if (p.dispatches.isEmpty()) continue;
        e.entries += int(p.dispatches.size());
        e.processes << p.number;
        e.lastDispatch[p.number] = DispatchCode(p.dispatches.last().code);
        for (int s : p.suspenders) e.links << qMakePair(p.number, s);
    }
    return e;
}

// Every link as (citing entry's process, cited process), checking that the
// citing entry is the first entry of its process in this issue.
QSet<QPair<int, int>> storedLinks(int issue)
{
    QSet<QPair<int, int>> links;
    Recordset r = DbConnection::instance().query(
        QStringLiteral("SELECT f.codigo, f.refproc, r.processo FROM RevProcRef f JOIN RevProcs r ON r.codigo = f.codigo "
                       "WHERE r.rpi = %1")
            .arg(issue));
    for (r.moveFirst(); !r.eof(); r.moveNext()) {
        const int process = r.value(2).toInt();
        const int first = valueOf(QStringLiteral("SELECT min(codigo) FROM RevProcs WHERE rpi=%1 AND processo=%2")
                                      .arg(issue)
                                      .arg(process))
                              .toInt();
        EXPECT_EQ(r.value(0).toInt(), first) << process;
        links << qMakePair(process, r.value(1).toInt());
    }
    return links;
}

void expectApplied(const Issue& issue, const Expected& e)
{
    EXPECT_EQ(valueOf(QStringLiteral("SELECT count(*) FROM RevProcs WHERE rpi=%1").arg(issue.number)).toInt(), e.entries);
    EXPECT_EQ(valueOf(QStringLiteral("SELECT count(*) FROM Processos")).toInt(), e.processes.size());
    for (auto it = e.lastDispatch.cbegin(); it != e.lastDispatch.cend(); ++it)
        EXPECT_EQ(valueOf(QStringLiteral("SELECT despacho FROM Processos WHERE processo=%1").arg(it.key())).toString(),
                  it.value())
            << it.key();
    EXPECT_EQ(storedLinks(issue.number), e.links);
    // Attorneys: each stored once, none empty, "O PRÓPRIO" only as row 1.
    EXPECT_EQ(valueOf(QStringLiteral("SELECT count(*) FROM (SELECT procurador FROM Procuradores GROUP BY procurador "
                                     "HAVING count(*) > 1)"))
                  .toInt(),
              0);
    EXPECT_EQ(valueOf(QStringLiteral("SELECT count(*) FROM Procuradores WHERE trim(procurador) = '' OR procurador "
                                     "STARTING WITH 'O PR'"))
                  .toInt(),
              1);
    EXPECT_EQ(valueOf(QStringLiteral("SELECT count(*) FROM Processos p WHERE p.codprocurador > 1 AND NOT EXISTS "
                                     "(SELECT 1 FROM Procuradores a WHERE a.codprocurador = p.codprocurador)"))
                  .toInt(),
              0);
}

// Reads an issue the way the journal writes it and applies it through the
// update dialog (OK at the redo question when one comes).
TransferResult readAndApply(const Issue& issue, TestUi& tui)
{
    XmlReaderValues target;
    XmlReader reader(target);
    EXPECT_TRUE(reader.readIssue(InpiXmlLayout(issue))) << tui.messages.value(0).text.toStdString();
    tui.clear();
    tui.msgAnswers.push_back(vb::OK);
    frmAtualizaBD f;
    f.Form_Activate();
    f.SelecFile_Click();
    return f.lastResult();
}

// Links whose entry is gone, in both link tables.
int orphanLinks()
{
    int n = 0;
    for (const char* table : {"RevProcRef", "RevProcRefProc"})
        n += valueOf(QStringLiteral("SELECT count(*) FROM %1 f WHERE NOT EXISTS (SELECT 1 FROM RevProcs r WHERE "
                                    "r.codigo = f.codigo)")
                         .arg(QLatin1String(table)))
                 .toInt();
    return n;
}

}  // namespace

TEST(EndToEnd, OlderIssueAppliedLateOnlyFillsWhatTheProcessLacks)
{
    TestDb tdb;
    TestUi tui;
    const int p = 82900001, q = 82900002;

    Issue newer{2901, QDate(2019, 1, 8), {}};
    Process pn;
    pn.number = p;
    pn.deposito = QDate(2015, 3, 2);
    pn.dispatches = {Dispatch{}};
    pn.dispatches[0].code = 421;
    pn.mark = QStringLiteral("ALFA NOVA");
    pn.apresentacao = QStringLiteral("Nominativa");
    pn.natureza = QStringLiteral("De Produto");
    pn.nclver = 11;
    pn.nclclasse = 25;
    pn.especificacao = QStringLiteral("roupas");
    pn.holders = {{QStringLiteral("ALFA COMÉRCIO LTDA"), QStringLiteral("BR"), QStringLiteral("SP")}};
    pn.attorney = QStringLiteral("ESCRITÓRIO NOVO");
    newer.processes = {pn};
    ASSERT_EQ(readAndApply(newer, tui), TransferResult::Done);
    const int newAttorney = valueOf(QStringLiteral("SELECT codprocurador FROM Processos WHERE processo=%1").arg(p)).toInt();
    ASSERT_GT(newAttorney, 1);

    // The older issue publishes p twice, with other data and what p lacks
    // (an apostille, Vienna codes, a national class), cites a process from
    // p, creates q and has a process without a dispatch (a gap in staging).
    Issue older{2899, QDate(2018, 12, 25), {}};
    Process po = pn;
    po.dispatches = {Dispatch{}, Dispatch{}};
    po.dispatches[0].code = 24;
    po.dispatches[1].code = 136;
    po.mark = QStringLiteral("BETA VELHA");
    po.nclclasse = 9;
    po.nationalClass = QStringLiteral("25");
    po.subclasses = {QStringLiteral("10")};
    po.especificacao = QStringLiteral("calçados");
    po.holders = {{QStringLiteral("BETA INDÚSTRIA SA"), QStringLiteral("BR"), QStringLiteral("RJ")}};
    po.attorney = QStringLiteral("ESCRITÓRIO VELHO");
    po.apostila = QStringLiteral("sem direito ao uso exclusivo");
    po.cferev = 5;
    po.vienna = {QStringLiteral("26.1.1")};
    po.suspenders = {83000001};
    Process none;
    none.number = 82900003;
    Process pq = po;
    pq.number = q;
    pq.dispatches = {po.dispatches[0]};
    pq.suspenders.clear();
    older.processes = {po, none, pq};

    auto expectNewerDataKept = [&] {
        auto stored = [&](const char* column) {
            return valueOf(QStringLiteral("SELECT %1 FROM Processos WHERE processo=%2").arg(QLatin1String(column)).arg(p));
        };
        EXPECT_EQ(stored("revista").toInt(), 2901);
        EXPECT_EQ(stored("despacho").toString(), QStringLiteral("IPAS421"));
        EXPECT_EQ(stored("marca").toString(), QStringLiteral("ALFA NOVA"));
        EXPECT_EQ(stored("marcaclean").toString(), LimpaTexto(QStringLiteral("ALFA NOVA")));
        EXPECT_EQ(stored("titular").toString(), QStringLiteral("ALFA COMÉRCIO LTDA"));
        EXPECT_EQ(stored("titularpais").toString(), QStringLiteral("BR/SP"));
        EXPECT_EQ(stored("codprocurador").toInt(), newAttorney);
        EXPECT_EQ(stored("nclclasse").toInt(), 25);
        EXPECT_EQ(stored("especificacao").toString(), QStringLiteral("roupas"));
        // Filled from the older issue: what p lacked, but no national class
        // beside its Nice class.
        EXPECT_EQ(stored("apostila").toString(), QStringLiteral("sem direito ao uso exclusivo"));
        EXPECT_EQ(stored("cferev").toInt(), 5);
        EXPECT_EQ(stored("cfe").toString(), QStringLiteral("26.1.1"));
        EXPECT_TRUE(stored("classe").isNull());
        // Both issues' entries; the older issue's citation links its first entry of p.
        EXPECT_EQ(valueOf(QStringLiteral("SELECT count(*) FROM RevProcs WHERE processo=%1 AND rpi=2901").arg(p)).toInt(), 1);
        EXPECT_EQ(valueOf(QStringLiteral("SELECT count(*) FROM RevProcs WHERE processo=%1 AND rpi=2899").arg(p)).toInt(), 2);
        EXPECT_EQ(valueOf(QStringLiteral("SELECT r.processo FROM RevProcRef f JOIN RevProcs r ON r.codigo = f.codigo "
                                         "WHERE f.refproc = 83000001"))
                      .toInt(),
                  p);
        EXPECT_EQ(tdb.count(QStringLiteral("RevProcRef")), 1);
        EXPECT_EQ(orphanLinks(), 0);
        // The older issue still creates what does not exist, and adds its attorney.
        EXPECT_EQ(valueOf(QStringLiteral("SELECT revista FROM Processos WHERE processo=%1").arg(q)).toInt(), 2899);
        EXPECT_EQ(valueOf(QStringLiteral("SELECT despacho FROM Processos WHERE processo=%1").arg(q)).toString(),
                  QStringLiteral("IPAS024"));
        EXPECT_EQ(valueOf(QStringLiteral("SELECT count(*) FROM Procuradores WHERE procurador='ESCRITÓRIO VELHO'")).toInt(), 1);
    };

    ASSERT_EQ(readAndApply(older, tui), TransferResult::Done);
    expectNewerDataKept();

    // Redone: the same, the old entries' links gone with them. A link the
    // batch loader's table held for an entry of the issue goes too.
    const int firstOld = valueOf(QStringLiteral("SELECT min(codigo) FROM RevProcs WHERE rpi=2899")).toInt();
    tdb.db().execute(QStringLiteral("INSERT INTO RevProcRefProc (codigo, refproc) VALUES (%1, 83000001)").arg(firstOld));
    ASSERT_EQ(readAndApply(older, tui), TransferResult::Done);
    ASSERT_EQ(tui.messages.value(0).text, QStringLiteral("RPI já foi atualizada anteriormente ! Refaz a atualização ?"));
    EXPECT_GT(valueOf(QStringLiteral("SELECT min(codigo) FROM RevProcs WHERE rpi=2899")).toInt(), firstOld);
    expectNewerDataKept();
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcRefProc")), 0);
}

TEST(EndToEnd, GeneratedXmlIssueAppliedAndRedone)
{
    TestDb tdb;
    TestUi tui;
    TestClock clock;
    QTemporaryDir program;
    Globals::setProgramDir(program.path());

    Issue issue = GenerateIssue({2240, 80, 11, QDate(2013, 12, 3)});
    // Processes without a dispatch leave gaps in staging; citations on both sides.
    issue.processes[2].dispatches.clear();
    issue.processes[2].suspenders = {81111111};
    issue.processes[5].suspenders = {82222222, 82222222 + 1};
    issue.processes[9].dispatches.clear();
    const Expected e = expectedOf(issue);
    ASSERT_GT(e.links.size(), 1);

    XmlReaderValues target;
    XmlReader reader(target);
    ASSERT_TRUE(reader.readIssue(InpiXmlLayout(issue))) << tui.messages.value(0).text.toStdString();
    tui.clear();

    frmAtualizaBD f;
    f.Form_Activate();
    EXPECT_EQ(f.findChild<QLineEdit*>(QStringLiteral("NumRevista"))->text(), QStringLiteral("2240"));
    f.SelecFile_Click();
    ASSERT_EQ(f.lastResult(), TransferResult::Done) << tui.messages.value(0).text.toStdString();
    expectApplied(issue, e);
    // The staged rows, not the highest codigo (two processes without a dispatch).
    EXPECT_EQ(f.findChild<QLineEdit*>(QStringLiteral("ProcsAtualizar"))->text(), QString::number(e.entries));
    EXPECT_LT(e.entries, valueOf(QStringLiteral("SELECT max(codigo) FROM RPI")).toInt());
    const int attorneys = tdb.count(QStringLiteral("Procuradores"));
    const int firstRun = valueOf(QStringLiteral("SELECT max(codigo) FROM RevProcs")).toInt();

    // Again, through the redo question.
    tui.clear();
    tui.msgAnswers.push_back(vb::OK);
    frmAtualizaBD g;
    g.Form_Activate();
    g.SelecFile_Click();
    ASSERT_EQ(g.lastResult(), TransferResult::Done);
    ASSERT_EQ(tui.messages.size(), 2);
    EXPECT_EQ(tui.messages[0].text, QStringLiteral("RPI já foi atualizada anteriormente ! Refaz a atualização ?"));
    EXPECT_EQ(valueOf(QStringLiteral("SELECT min(codigo) FROM RevProcs")).toInt(), firstRun + 1);
    expectApplied(issue, e);
    EXPECT_EQ(tdb.count(QStringLiteral("Procuradores")), attorneys);
    Globals::setProgramDir(QString());
}
