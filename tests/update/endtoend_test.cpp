// A generated issue read by the XML reader and applied through the update
// dialog, then applied again through the redo question, checked against
// the issue's own model.

#include "Staging.h"
#include "fixtures/IssueGenerator.h"
#include "fixtures/XmlFixture.h"
#include "journal/XmlReader.h"
#include "shell/Globals.h"
#include "support/TestDb.h"
#include "support/TestUi.h"
#include "update/frmAtualizaBD.h"

#include <QLineEdit>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fixtures;

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

}  // namespace

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
