// The report layer on a history-style layout: a report header whose labels
// grow to fit, portrait paper, a preview caption of its own.
#include "output/Report.h"
#include "support/PdfText.h"
#include "support/TestDb.h"
#include "support/TestUi.h"

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString words(const QString& prefix, int n)
{
    QStringList w;
    for (int i = 1; i <= n; ++i) w << QString("%1%2").arg(prefix).arg(i, 4, 10, QChar('0'));
    return w.join(' ');
}

// Rows of a process history: issue date, dispatch, issue, complement.
Recordset history(TestDb& t, int rows, const QString& longComplement = QString(), int longRow = 0)
{
    return t.db().query(
        QString("WITH RECURSIVE n AS (SELECT 1 i FROM RDB$DATABASE UNION ALL SELECT i+1 FROM n WHERE i < %1) "
                "SELECT dateadd(-i day to date '2012-04-24') rdata, 'D' || i despacho, 3000 - i revista, "
                "cast(iif(i = %2, '%3', 'C' || i) as varchar(8000)) complemento FROM n ORDER BY i")
            .arg(rows)
            .arg(longRow)
            .arg(longComplement));
}

// The process-history layout, on A4 portrait paper.
void layOutHistory(Report& r)
{
    r.caption = "DataReport1";
    r.orientation = Report::Portrait;
    const QFont text("Arial", 9), bold("Arial", 9, QFont::Bold);
    ReportSection& h = r.reportHeader;
    h.name = "Section4";
    h.height = 2900;
    ReportItem& t = h.addLabel("Label9", "%i", 0, 0, 10400, 500);
    t.font = QFont("Arial", 14, QFont::Bold);
    t.alignment = Qt::AlignHCenter;
    for (int i = 1; i <= 5; ++i) h.addLabel(QString("LblLinha%1").arg(i), QString("Linha %1").arg(i), 0, 350 + 250 * i, 10400, 250).font = text;
    h.addLabel("Label1", "Especificação :", 0, 1900, 1400, 250).font = bold;
    ReportItem& spec = h.addLabel("LblLinha6", "", 1450, 1900, 8950, 250);
    spec.canGrow = true;
    spec.font = text;
    ReportItem& l7 = h.addLabel("LblLinha7", "", 0, 2200, 10400, 250);
    l7.canGrow = true;
    l7.font = text;
    h.addLabel("Label5", "Data RPI", 0, 2550, 1100, 250).font = bold;
    h.addLabel("Label6", "Desp", 1200, 2550, 900, 250).font = bold;
    h.addLabel("Label4", "RPI", 2200, 2550, 700, 250).font = bold;
    h.addLabel("Label7", "Complemento", 3000, 2550, 7400, 250).font = bold;
    h.addLine("Line1", 0, 2850, 10400);
    r.pageHeader.name = "Section2";
    r.pageFooter.name = "Section3";
    ReportSection& d = r.detail;
    d.name = "Section1";
    d.height = 250;
    d.addField("Text5", "rdata", 0, 0, 1100, 250).font = text;
    d.addField("Text6", "despacho", 1200, 0, 900, 250).font = text;
    d.addField("Text4", "revista", 2200, 0, 700, 250).font = text;
    ReportItem& c = d.addField("Text7", "complemento", 3000, 0, 7400, 250);
    c.canGrow = true;
    c.font = text;
    r.reportFooter.name = "Section5";
}

class HistoryReport : public ::testing::Test {
protected:
    TestDb t;
    TestUi ui;
    Report r{"rptProcesso"};
    QTemporaryDir dir;
    QString pdf = dir.filePath("historico.pdf");
    void SetUp() override
    {
        layOutHistory(r);
        r.title = "Histórico do Processo 810000008";
    }
    void setLines(const QString& spec, const QString& line7 = "  ")
    {
        r.section("Section4")->control("LblLinha6")->caption = spec;
        r.section("Section4")->control("LblLinha7")->caption = line7;
    }
};

}  // namespace

TEST_F(HistoryReport, LongGoodsAndServicesTextGrowsItsBandAndPushesTheHeadingsDown)
{
    setLines(words("esp", 300), "ultima linha");
    r.setDataSource(history(t, 5));
    ASSERT_TRUE(r.printToPdf(pdf));
    EXPECT_TRUE(runTool("pdfinfo", {pdf}).contains("595 x 842")) << "A4 portrait";

    const QStringList pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1);
    const QString& p = pages[0];
    // Every word of the goods and services text, in order, then the lines under it.
    int at = p.indexOf("Especificação :");
    ASSERT_GE(at, 0);
    for (int i = 1; i <= 300; ++i) {
        const int next = p.indexOf(QString("esp%1").arg(i, 4, 10, QChar('0')));
        ASSERT_GT(next, at) << i;
        at = next;
    }
    EXPECT_GT(p.indexOf("ultima linha"), at);
    EXPECT_GT(p.indexOf("Data RPI"), p.indexOf("ultima linha"));
    EXPECT_TRUE(p.contains("Histórico do Processo 810000008"));
    for (int i = 1; i <= 5; ++i) EXPECT_TRUE(p.contains(QString("Linha %1").arg(i)));
    // The rows stand under the headings, newest first as given, dates as dd/mm/yyyy.
    EXPECT_GT(p.indexOf("23/04/2012"), p.indexOf("Complemento"));
    EXPECT_GT(p.indexOf("19/04/2012"), p.indexOf("23/04/2012"));
    EXPECT_TRUE(p.contains("2999"));
}

TEST_F(HistoryReport, BandsTallerThanAPageContinueOnTheNextWithoutLosingALine)
{
    // A goods and services text of several pages, and one complement longer than the rest of its page.
    setLines(words("esp", 2500));
    r.setDataSource(history(t, 40, words("cpl", 600), 20));
    ASSERT_TRUE(r.printToPdf(pdf));
    const QStringList pages = pdfPages(pdf);
    ASSERT_GE(pages.size(), 3);
    const QString all = pages.join('\n');
    for (int i = 1; i <= 2500; ++i)
        ASSERT_EQ(all.count(QString("esp%1").arg(i, 4, 10, QChar('0'))), 1) << i;
    for (int i = 1; i <= 600; ++i)
        ASSERT_EQ(all.count(QString("cpl%1").arg(i, 4, 10, QChar('0'))), 1) << i;
    // Rows keep their order around the long complement.
    EXPECT_LT(all.indexOf("D19"), all.indexOf("cpl0001"));
    EXPECT_GT(all.indexOf("D21"), all.indexOf("cpl0600"));
    EXPECT_TRUE(all.contains("C40"));
    // The headings print once, above the first rows.
    EXPECT_EQ(all.count("Data RPI"), 1);
}

TEST_F(HistoryReport, PreviewIsModalWithItsOwnCaption)
{
    setLines("curta");
    r.setDataSource(history(t, 3));
    QString caption, object;
    int pageCount = 0;
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    ui.onModal = [&](QWidget* w) {
        caption = w->windowTitle();
        object = w->objectName();
        auto* preview = w->findChild<QPrintPreviewWidget*>();
        if (preview) {
            preview->updatePreview();
            pageCount = preview->pageCount();
            orientation = preview->orientation() == QPageLayout::Portrait ? QPageLayout::Portrait : QPageLayout::Landscape;
        }
        return 0;
    };
    r.show();
    EXPECT_EQ(ui.modalWindows, QStringList{"rptProcesso"});
    EXPECT_EQ(caption, "DataReport1");
    EXPECT_EQ(pageCount, 1);
    EXPECT_EQ(orientation, QPageLayout::Portrait);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(HistoryReport, AFieldWithoutItsColumnIsReportedNotPrinted)
{
    r.setDataSource(t.db().query("SELECT 1 revista FROM RDB$DATABASE"));
    EXPECT_EQ(r.missingFields(), QStringList({"rdata", "despacho", "complemento"}));
    EXPECT_FALSE(r.printToPdf(pdf));
    r.show();
    EXPECT_TRUE(ui.modalWindows.isEmpty());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.lastMessage().icon(), vb::Critical);
    EXPECT_TRUE(ui.lastMessage().text.contains("rdata"));
}

TEST_F(HistoryReport, EmptyDataStillPrintsItsHeader)
{
    setLines("");
    r.section("Section4")->control("LblLinha1")->caption = "Titular : %p de %P, 100% certo";
    r.setDataSource(history(t, 0));
    ASSERT_TRUE(r.printToPdf(pdf));
    const QStringList pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains("Titular : 1 de 1, 100% certo"));
    EXPECT_TRUE(pages[0].contains("Complemento"));
}
