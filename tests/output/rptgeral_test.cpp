// The result-page report, rendered to PDF and read back as text.
#include "PageFixture.h"
#include "output/rptGeral.h"
#include "support/PdfText.h"
#include "support/TestUi.h"

#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fixture;

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

TEST(RptGeral, OneInstanceTakesNewInputsOnEveryPrint)
{
    TestDb t;
    TestUi ui;
    addIssue(t, 2150, "2012-04-24");
    const int adv = addAttorney(t, "DR. FULANO");
    Process a;
    a.processo = 1;
    a.marca = "PRIMEIRA";
    a.codprocurador = adv;
    a.classe = "25.10";
    a.cgccpf = "01234567000189";
    addProcess(t, a);
    Process b;
    b.processo = 2;
    b.marca = "SEGUNDA";
    addProcess(t, b);

    EXPECT_EQ(&rptGeral(), &rptGeral());
    QTemporaryDir dir;
    Report& r = rptGeral();

    r.setDataSource(page(t, "r.processo = 1"));
    r.title = "Pesquisa 100% por %p";
    r.orientation = Report::Landscape;
    ASSERT_TRUE(r.printToPdf(dir.filePath("1.pdf")));
    QStringList pages = pdfPages(dir.filePath("1.pdf"));
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains("Pesquisa 100% por %p"));
    EXPECT_TRUE(pages[0].contains("PRIMEIRA"));
    EXPECT_TRUE(pages[0].contains(QRegularExpression("Procurador :\\s+DR. FULANO")));
    EXPECT_TRUE(pages[0].contains(QRegularExpression("Classe Antiga :\\s+25.10")));
    EXPECT_TRUE(pages[0].contains("01234567000189"));
    EXPECT_TRUE(pages[0].contains("Página 1 de 1"));

    // A sorted page prints in its sorted order.
    Recordset both = page(t);
    both.setSort("marca DESC");
    r.setDataSource(both);
    r.title = "Segunda busca";
    ASSERT_TRUE(r.printToPdf(dir.filePath("2.pdf")));
    pages = pdfPages(dir.filePath("2.pdf"));
    ASSERT_EQ(pages.size(), 1);
    EXPECT_FALSE(pages[0].contains("Pesquisa 100%"));
    EXPECT_LT(pages[0].indexOf("SEGUNDA"), pages[0].indexOf("PRIMEIRA"));

    // A title of two lines prints as two lines.
    r.title = "Pesquisa por Revista - RPI = 2150\r\n." + QString(34, ' ') + "Procurador = alfa - Parcial";
    ASSERT_TRUE(r.printToPdf(dir.filePath("3.pdf")));
    pages = pdfPages(dir.filePath("3.pdf"));
    ASSERT_EQ(pages.size(), 1);
    const QStringList lines = pages[0].split(u'\n');
    const int first = int(lines.indexOf(QRegularExpression(".*Pesquisa por Revista - RPI = 2150\\s*")));
    ASSERT_GE(first, 0) << pages[0].toStdString();
    EXPECT_TRUE(lines.value(first + 1).contains("Procurador = alfa - Parcial")) << pages[0].toStdString();
    r.title = "Segunda busca";

    // The preview: modal, landscape, one page.
    int pageCount = 0;
    bool landscape = false;
    QString caption;
    ui.onModal = [&](QWidget* w) {
        caption = w->windowTitle();
        if (auto* preview = w->findChild<QPrintPreviewWidget*>()) {
            preview->updatePreview();
            pageCount = preview->pageCount();
            landscape = preview->orientation() == QPageLayout::Landscape;
        }
        return 0;
    };
    r.show();
    EXPECT_EQ(ui.modalWindows, QStringList{"rptGeral"});
    EXPECT_EQ(caption, "Segunda busca");
    EXPECT_EQ(pageCount, 1);
    EXPECT_TRUE(landscape);
}
