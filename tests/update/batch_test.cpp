// The batch loader's screen, run over generated archives.
#include "fixtures/IssueGenerator.h"
#include "keys/Cp1252.h"
#include "shell/Globals.h"
#include "support/TestDb.h"
#include "support/TestUi.h"
#include "update/Staging.h"
#include "update/frmDialogoLeitura1.h"
#include "update/ProcessCode.h"
#include "shell/DateBox.h"

#include <QLabel>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using fixtures::Dispatch;
using fixtures::Holder;
using fixtures::Issue;
using fixtures::Process;

// A process with only the fields a test names.
Process process(int number, const QString& mark, int code = 9)
{
    Process p;
    p.number = number;
    p.mark = mark;
    p.deposito = QDate(2010, 3, 5);
    p.apresentacao = QStringLiteral("Nominativa");
    p.natureza = QStringLiteral("De Produto");
    Dispatch d;
    d.code = code;
    p.dispatches << d;
    p.holders << Holder{QStringLiteral("ALFA COMÉRCIO LTDA"), QStringLiteral("BR"), QStringLiteral("SP")};
    return p;
}

class BatchTest : public ::testing::Test {
protected:
    TestDb tdb;
    TestUi tui;
    TestClock clock;
    QTemporaryDir programDir;
    frmDialogoLeitura1 form;

    BatchTest()
    {
        Globals::setProgramDir(programDir.path());
        QDir().mkpath(BatchArchiveFolder());
    }
    ~BatchTest() override { Globals::setProgramDir(QString()); }

    QString archive(int n) const { return QDir(BatchArchiveFolder()).filePath(QStringLiteral("rm%1.zip").arg(n)); }

    void writeIssue(int n, const QList<Process>& processes)
    {
        Issue issue;
        issue.number = n;
        issue.date = QDate(2012, 4, 24);
        issue.processes = processes;
        fixtures::WriteZip(archive(n), {{QStringLiteral("RM%1.TXT").arg(n), fixtures::TextLayout(issue)}});
    }
    // Generated processes numbered after their issue (80nnnn00 + i).
    void writeGeneratedIssue(int n, int count)
    {
        fixtures::IssueOptions o;
        o.number = n;
        o.processes = count;
        o.seed = quint32(n);
        Issue issue = fixtures::GenerateIssue(o);
        for (int i = 0; i < issue.processes.size(); ++i) issue.processes[i].number = 80000000 + n * 100 + i;
        writeIssue(n, issue.processes);
    }

    QString text(const char* name) const { return form.findChild<QLineEdit*>(QLatin1String(name))->text(); }
    void clickOK() { form.findChild<QPushButton*>(QStringLiteral("OK"))->click(); }
    int messagesNaming(const QString& s) const
    {
        int n = 0;
        for (const auto& m : tui.messages) n += m.text.contains(s) ? 1 : 0;
        return n;
    }
};

TEST_F(BatchTest, ScreenHasItsControls)
{
    EXPECT_EQ(form.objectName(), QStringLiteral("frmDialogoLeitura1"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Quorvanta - Sistema de Pesquisa de Marcas"));
    for (const char* name : {"NumRevista", "NomeArq", "RegistrosLidos", "NumProcs", "NumNewProcs", "NumProcuradores",
                             "NumProcsRef"})
        EXPECT_NE(form.findChild<QLineEdit*>(QLatin1String(name)), nullptr) << name;
    EXPECT_TRUE(form.findChild<QLineEdit*>(QStringLiteral("NumRevista"))->isReadOnly());
    EXPECT_TRUE(form.findChild<QLineEdit*>(QStringLiteral("NomeArq"))->isHidden());
    EXPECT_NE(form.findChild<DateBox*>(QStringLiteral("DataRevista")), nullptr);
    EXPECT_EQ(form.findChild<QPushButton*>(QStringLiteral("OK"))->text(), QStringLiteral("OK"));
    QStringList captions;
    for (QLabel* l : form.findChildren<QLabel*>()) captions << l->text();
    for (const QString& c : {QStringLiteral("Leitura de Todas as RPIs de 1964 a 2180"),
                             QStringLiteral("Número da Revista :"), QStringLiteral("Data da Revista :"),
                             QStringLiteral("Número de Processos Lidos :"),
                             QStringLiteral("Número de Processos Atualizados :"),
                             QStringLiteral("Número de Novos Processos :"),
                             QStringLiteral("Número de Novos Procuradores :"),
                             QStringLiteral("Num Processos referenciados :")})
        EXPECT_TRUE(captions.contains(c)) << c.toStdString();
}

TEST_F(BatchTest, RunsTheTwentySixIssuesWithTheirArchivesAndDates)
{
    for (int n = 2155; n <= 2182; ++n) writeGeneratedIssue(n, 2);
    clickOK();

    // Only the final message, with no icon and no title of its own.
    ASSERT_EQ(tui.messages.size(), 1);
    EXPECT_EQ(tui.lastMessage().text, QStringLiteral("Final de Leituras e atualizações"));
    EXPECT_EQ(tui.lastMessage().style, 0);
    EXPECT_TRUE(tui.lastMessage().title.isEmpty());
    EXPECT_EQ(tui.beeps, 26);
    EXPECT_EQ(clock.waits.size(), 26);
    EXPECT_EQ(tui.pointer(), int(vb::Default));

    Recordset issues = tdb.db().query(QStringLiteral("SELECT revista, rdata, atualizado FROM Revistas ORDER BY revista"));
    ASSERT_EQ(issues.recordCount(), 26);
    QDate date(2012, 4, 24);
    int n = 2156;
    for (issues.moveFirst(); !issues.eof(); issues.moveNext(), ++n, date = date.addDays(7)) {
        EXPECT_EQ(issues.value(QStringLiteral("revista")).toInt(), n);
        EXPECT_EQ(issues.value(QStringLiteral("rdata")).toDate(), date);
        EXPECT_EQ(issues.value(QStringLiteral("atualizado")).toInt(), 1);
    }
    EXPECT_EQ(date.addDays(-7), QDate(2012, 10, 16));

    // Each issue's entries come from its own archive, coded.
    Recordset entries = tdb.db().query(QStringLiteral("SELECT rpi, processo, bcdproc FROM RevProcs ORDER BY codigo"));
    EXPECT_EQ(entries.recordCount(), 52);
    for (entries.moveFirst(); !entries.eof(); entries.moveNext()) {
        const int processo = entries.value(QStringLiteral("processo")).toInt();
        EXPECT_EQ((processo - 80000000) / 100, entries.value(QStringLiteral("rpi")).toInt());
        EXPECT_EQ(entries.value(QStringLiteral("bcdproc")).toString(), ProcessCode(processo));
    }
    EXPECT_EQ(tdb.count(QStringLiteral("Processos")), 52);
    EXPECT_EQ(tdb.scalar(QStringLiteral("SELECT COUNT(*) FROM Processos WHERE bcdproc IS NULL")).toInt(), 0);

    EXPECT_EQ(text("NumRevista"), QStringLiteral("RPI 2181"));
    EXPECT_EQ(form.findChild<DateBox*>(QStringLiteral("DataRevista"))->date(), QDate(2012, 10, 16));
    EXPECT_EQ(text("NomeArq"), archive(2181));
    EXPECT_TRUE(text("NomeArq").endsWith(QStringLiteral("/Revistas INPI/Marcas/rm2181.zip")));
    EXPECT_EQ(text("RegistrosLidos"), QStringLiteral("2"));
    EXPECT_EQ(text("NumProcs"), QStringLiteral("2"));
    EXPECT_EQ(text("NumNewProcs"), QStringLiteral("2"));
    EXPECT_TRUE(form.findChild<QPushButton*>(QStringLiteral("OK"))->isEnabled());
}

TEST_F(BatchTest, ArchiveNameIsFoundWhateverItsLetterCase)
{
    EXPECT_EQ(BatchArchivePath(2160), archive(2160));
    QFile upper(QDir(BatchArchiveFolder()).filePath(QStringLiteral("RM2160.ZIP")));
    ASSERT_TRUE(upper.open(QIODevice::WriteOnly));
    upper.close();
    EXPECT_EQ(BatchArchivePath(2160), upper.fileName());
    EXPECT_EQ(BatchIssueNumber(QStringLiteral("RPI 2160")), 2160);
}

class BatchIssueTest : public BatchTest {
protected:
    static constexpr int kCoded = 12345678;
    static constexpr int kNoMark = 83000001;
    static constexpr int kKnown = 83000002;
    static constexpr int kCiting = 83000003;
    static constexpr int kCited = 81234567;
    int staged = 0;

    BatchIssueTest()
    {
        // A known process holding an old national class.
        tdb.db().execute(QStringLiteral("INSERT INTO Processos (processo, marca, classe, apostila) VALUES "
                                        "(%1,'VELHA','25.10','antiga')")
                             .arg(kKnown));
        QList<Process> ps;
        ps << process(kCoded, QStringLiteral("ALFA"));
        Process noMark = process(kNoMark, QString());
        noMark.apresentacao = QStringLiteral("Figurativa");
        ps << noMark;
        Process known = process(kKnown, QStringLiteral("VELHA"));
        known.nclver = 9;
        known.nclclasse = 25;
        known.especificacao = QStringLiteral("Roupas");
        ps << known;
        Process citing = process(kCiting, QStringLiteral("BETA D'OURO"), 100);
        citing.dispatches[0].complement =
            QStringLiteral("Ref. ao processo %1 e ao %1").arg(fixtures::ProcessText(kCited));
        citing.apostila = QStringLiteral("Sem direito ao uso exclusivo");
        ps << citing;
        staged = int(ps.size());
        writeIssue(2156, ps);
        // Not an archive at all.
        QFile bad(archive(2157));
        bad.open(QIODevice::WriteOnly);
        bad.write("not a zip");
    }
    QVariant processValue(int processo, const char* column)
    {
        Recordset rs = tdb.db().query(QStringLiteral("SELECT * FROM Processos WHERE processo=%1").arg(processo));
        if (rs.recordCount() == 0) return QVariant(QStringLiteral("<none>"));
        rs.moveFirst();
        return rs.value(QLatin1String(column));
    }
    QList<int> entryKeys()
    {
        QList<int> keys;
        Recordset rs = tdb.db().query(QStringLiteral("SELECT codigo FROM RevProcs WHERE rpi=2156 ORDER BY codigo"));
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) keys << rs.value(0).toInt();
        return keys;
    }
};

TEST_F(BatchIssueTest, AppliesAnIssueAsTheBatchWritesIt)
{
    clickOK();

    // Worked example of the code, in Processos and RevProcs.
    const QString code = QString(cp1252::toChar(70)) + cp1252::toChar(103) + cp1252::toChar(136) + cp1252::toChar(169);
    EXPECT_EQ(processValue(kCoded, "bcdproc").toString(), code);
    EXPECT_EQ(tdb.scalar(QStringLiteral("SELECT bcdproc FROM RevProcs WHERE processo=%1").arg(kCoded)).toString(), code);

    // No mark: the mark and its three keys are Null; absent texts are empty.
    for (const char* c : {"marca", "marcaclean", "marcaphon1", "marcaphon2"})
        EXPECT_TRUE(processValue(kNoMark, c).isNull()) << c;
    for (const char* c : {"apostila", "especificacao"}) {
        const QVariant v = processValue(kNoMark, c);
        EXPECT_FALSE(v.isNull()) << c;
        EXPECT_EQ(v.toString(), QString()) << c;
    }
    EXPECT_EQ(processValue(kCiting, "apostila").toString(), QStringLiteral("Sem direito ao uso exclusivo"));
    EXPECT_EQ(processValue(kCiting, "marca").toString(), QStringLiteral("BETA D'OURO"));
    EXPECT_FALSE(processValue(kCoded, "marcaphon1").toString().isEmpty());
    const QVariant complemento =
        tdb.scalar(QStringLiteral("SELECT complemento FROM RevProcs WHERE processo=%1").arg(kNoMark));
    EXPECT_FALSE(complemento.isNull());
    EXPECT_EQ(complemento.toString(), QString());

    // A Nice class arriving keeps the old national class.
    EXPECT_EQ(processValue(kKnown, "nclclasse").toInt(), 25);
    EXPECT_EQ(processValue(kKnown, "classe").toString(), QStringLiteral("25.10"));
    // The code is written when a process is created, not refreshed.
    EXPECT_TRUE(processValue(kKnown, "bcdproc").isNull());

    // Citing the same process twice: one link, in the batch's own table.
    const int citingKey =
        tdb.scalar(QStringLiteral("SELECT codigo FROM RevProcs WHERE processo=%1").arg(kCiting)).toInt();
    Recordset links = tdb.db().query(QStringLiteral("SELECT codigo, refproc FROM RevProcRefProc"));
    ASSERT_EQ(links.recordCount(), 1);
    links.moveFirst();
    EXPECT_EQ(links.value(QStringLiteral("codigo")).toInt(), citingKey);
    EXPECT_EQ(links.value(QStringLiteral("refproc")).toInt(), kCited);
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcRef")), 0);
    EXPECT_EQ(text("NumProcsRef"), QStringLiteral("1"));
    EXPECT_EQ(text("NumNewProcs"), QString::number(staged - 1));
    EXPECT_EQ(text("NumProcs"), QString::number(staged));
}

TEST_F(BatchIssueTest, MissingAndUnreadableArchivesSkipTheirIssues)
{
    clickOK();
    // Every missing archive is named, and the run went on to its end.
    for (int n = 2158; n <= 2181; ++n) EXPECT_EQ(messagesNaming(archive(n)), 1) << n;
    EXPECT_GE(messagesNaming(archive(2157)), 1);
    EXPECT_EQ(tui.lastMessage().text, QStringLiteral("Final de Leituras e atualizações"));

    // The staged issue 2156 was applied once, and never under another number.
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcs")), staged);
    EXPECT_EQ(tdb.scalar(QStringLiteral("SELECT COUNT(*) FROM RevProcs WHERE rpi<>2156")).toInt(), 0);
    EXPECT_EQ(tdb.count(QStringLiteral("Revistas")), 1);
}

TEST_F(BatchIssueTest, DatabaseFailureEndsTheRunWithNothingOfThatIssueWritten)
{
    writeGeneratedIssue(2158, 2);
    tdb.db().execute(QStringLiteral("DROP TABLE RevProcRefProc"));
    clickOK();

    ASSERT_EQ(tui.messages.size(), 1);
    EXPECT_EQ(tui.lastMessage().icon(), int(vb::Critical));
    EXPECT_TRUE(tui.lastMessage().text.contains(QStringLiteral("2156")));
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcs")), 0);
    EXPECT_EQ(tdb.scalar(QStringLiteral("SELECT atualizado FROM Revistas WHERE revista=2156")).toInt(), 0);
    // The run stopped there: the next archives were not read.
    EXPECT_EQ(tdb.count(QStringLiteral("Revistas")), 1);
    EXPECT_TRUE(form.findChild<QPushButton*>(QStringLiteral("OK"))->isEnabled());
}

TEST_F(BatchIssueTest, TransferRefusesStagingOfAnotherIssue)
{
    for (int c = 1; c <= 2; ++c) stageRow(c, 83100000 + c, 2156, QStringLiteral("9"));
    registerIssue(2156, QDate(2012, 4, 24));
    registerIssue(2157, QDate(2012, 5, 1));
    form.findChild<QLineEdit*>(QStringLiteral("NumRevista"))->setText(QStringLiteral("RPI 2157"));

    EXPECT_EQ(form.AtualizaProcessos(), BatchIssueResult::Skipped);
    ASSERT_EQ(tui.messages.size(), 1);
    EXPECT_EQ(tui.lastMessage().icon(), int(vb::Critical));
    EXPECT_TRUE(tui.lastMessage().text.contains(QStringLiteral("2156")));
    EXPECT_TRUE(tui.lastMessage().text.contains(QStringLiteral("2157")));
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcs")), 0);
    EXPECT_EQ(tdb.scalar(QStringLiteral("SELECT atualizado FROM Revistas WHERE revista=2157")).toInt(), 0);

    // Empty staging is refused too.
    clearStaging();
    EXPECT_EQ(form.AtualizaProcessos(), BatchIssueResult::Skipped);
    EXPECT_EQ(tui.messages.size(), 2);
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcs")), 0);

    // The staged issue itself goes through.
    for (int c = 1; c <= 2; ++c) stageRow(c, 83100000 + c, 2157, QStringLiteral("9"));
    EXPECT_EQ(form.AtualizaProcessos(), BatchIssueResult::Applied);
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcs")), 2);
}

TEST_F(BatchIssueTest, SecondRunAsksToRedoEachAppliedIssue)
{
    clickOK();
    const QList<int> first = entryKeys();
    ASSERT_EQ(first.size(), staged);
    tui.clear();

    // OK at the redo question: the issue's entries are replaced under new keys.
    tui.msgAnswers = {vb::OK};
    clickOK();
    ASSERT_FALSE(tui.messages.isEmpty());
    EXPECT_EQ(tui.messages.first().text, QStringLiteral("RPI já foi atualizada anteriormente ! Refaz a atualização ?"));
    EXPECT_EQ(tui.messages.first().style, int(vb::OKCancel));
    const QList<int> second = entryKeys();
    ASSERT_EQ(second.size(), staged);
    EXPECT_GT(second.first(), first.last());
    EXPECT_EQ(text("NumNewProcs"), QStringLiteral("0"));
    // The new citing entry is linked; the old link went with its entry.
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcRefProc")), 1);
    EXPECT_EQ(tdb.scalar(QStringLiteral("SELECT codigo FROM RevProcRefProc")).toInt(), second.last());
    tui.clear();

    // Cancel skips that issue and the run still reaches its end.
    tui.msgAnswers = {vb::Cancel};
    clickOK();
    EXPECT_EQ(entryKeys(), second);
    EXPECT_EQ(tui.lastMessage().text, QStringLiteral("Final de Leituras e atualizações"));
}

}  // namespace
