// The result-page report, rendered to PDF and read back as text.
#include "PageFixture.h"
#include "output/rptGeral.h"
#include "support/TestUi.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fixture;

namespace {

// Text of every page, in order.
QStringList pdfPages(const QString& pdf, bool layout = true)
{
    QProcess p;
    QStringList args;
    if (layout) args << "-layout";
    p.start("pdftotext", args << pdf << "-");
    p.waitForFinished(60000);
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

}  // namespace

TEST(RptGeral, PrintsEveryRowOfAFullPageWithPageNumbers)
{
    TestDb t;
    TestUi ui;
    addIssue(t, 2150, "2012-04-24");
    DbTransaction tr;
    for (int i = 0; i < 1000; ++i) {
        Process p;
        p.processo = 81000000 + i;
        p.marca = QString("MARCA %1").arg(i, 4, 10, QChar('0'));
        p.titular = QString("TITULAR %1 LTDA").arg(i);
        p.nclclasse = i % 45 + 1;
        addProcess(t, p);
    }
    tr.commit();
    DataControl dc;
    dc.RecordSource = kPageSelect + "1=1 order by r.processo";
    dc.Refresh();

    Report& r = rptGeral();
    r.setDataSource(dc);
    r.title = "Pesquisa por Marca: MARCA";
    r.orientation = Report::Landscape;
    QTemporaryDir dir;
    const QString pdf = dir.filePath("geral.pdf");
    ASSERT_TRUE(r.printToPdf(pdf));

    const QStringList pages = pdfPages(pdf);
    ASSERT_GT(pages.size(), 10);
    const int n = int(pages.size());
    QString all;
    for (int k = 0; k < n; ++k) {
        const QString& page = pages[k];
        EXPECT_TRUE(page.contains(QString("Página %1 de %2").arg(k + 1).arg(n))) << k;
        EXPECT_TRUE(page.contains("Pesquisa por Marca: MARCA")) << k;
        EXPECT_TRUE(page.contains("CGC/CPF/INPI")) << k;
        all += page;
    }
    int last = -1;
    for (int i = 0; i < 1000; ++i) {
        const int at = all.indexOf(QString("MARCA %1").arg(i, 4, 10, QChar('0')));
        ASSERT_GT(at, last) << "row " << i;
        last = at;
    }
    EXPECT_EQ(all.count("Procurador :"), 1000);
    EXPECT_EQ(all.count("Classe Antiga :"), 1000);
}
