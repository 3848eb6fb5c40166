// Printing the history: the report as the history screen fills it,
// rendered to PDF and read back as text.
#include "search/HistoryFixture.h"
#include "search/rptProcesso.h"
#include "support/PdfText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QTemporaryDir>

class PrintTest : public HistoryTest {
protected:
    QTemporaryDir dir;
    QString pdf = dir.filePath("processo.pdf");
    QString previewCaption, previewName;

    // Prints from the screen; the preview is written to PDF instead of shown.
    void print(frmHistorico& f)
    {
        u.onModal = [this](QWidget* w) {
            previewCaption = w->windowTitle();
            previewName = w->objectName();
            EXPECT_TRUE(rptProcesso().printToPdf(pdf));
            return 0;
        };
        f.VisImp->click();
    }
};

TEST_F(PrintTest, PrintsTheProcessAndItsHistoryAsShown)
{
    fill();
    sql("UPDATE Processos SET especificacao = 'Serviços de comércio de roupas, calçados e chapéus; "
        "importação e exportação; representação comercial; publicidade e propaganda; "
        "gestão de negócios; administração comercial; franquias' WHERE processo = 12345");
    frmHistorico& f = openHistory();
    print(f);
    EXPECT_EQ(previewCaption, "DataReport1");
    EXPECT_EQ(previewName, "rptProcesso");
    EXPECT_EQ(rptProcesso().orientation, Report::Portrait);
    EXPECT_TRUE(runTool("pdfinfo", {pdf}).contains(QRegularExpression("Page size: +595[.0-9]* x 84[12][.0-9]* pts")));

    ReportSection* header = rptProcesso().section("Section4");
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->control("LblLinha2")->caption, "Marca : ALFA" + QString(10, ' ') + "Apresentação : Mista"
                                                         + QString(10, ' ') + "Natureza : De Serviço");
    EXPECT_EQ(header->control("LblLinha6")->caption, f.Especificacao->toPlainText());
    EXPECT_EQ(header->control("LblLinha7")->caption, "  ");

    const QStringList pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1);
    const QString page = pages[0];
    const QString flat = page.simplified();
    EXPECT_TRUE(flat.contains("Histórico do Processo 000123455"));
    EXPECT_TRUE(flat.contains("Titular : ALFA LTDA"));
    EXPECT_TRUE(flat.contains("Classe : NCL(10) 35"));
    EXPECT_TRUE(flat.contains("Depósito : 10/01/2010"));
    EXPECT_TRUE(flat.contains("Prioridade (Num Data País) : 123 01/01/2009 US"));
    EXPECT_TRUE(flat.contains("Apostila : Sem direito ao uso exclusivo"));
    EXPECT_TRUE(flat.contains("Especificação :"));
    EXPECT_TRUE(flat.contains("franquias"));  // the Especificação text grows, nothing is cut
    EXPECT_TRUE(flat.contains("Data RPI Desp RPI Complemento"));
    // Newest issue first, dates as the screen shows them.
    const int a = page.indexOf("IPAS400"), b = page.indexOf("IPAS158"), c = page.indexOf("IPAS009");
    EXPECT_LT(page.indexOf("Complemento"), a);
    EXPECT_LT(a, b);
    EXPECT_LT(b, c);
    EXPECT_TRUE(flat.contains("01/02/2011 IPAS009 2100"));
    EXPECT_TRUE(flat.contains("15/03/2013 IPAS158 2200 Texto completo"));
}

TEST_F(PrintTest, HeadingsPrintOnceOverALongHistory)
{
    fill();
    {
        DbTransaction tr;
        for (int i = 0; i < 150; ++i)
            t.db().execute(QString("INSERT INTO RevProcs (codigo, processo, rpi, despacho) VALUES (%1, 12345, %2, 'D%3')")
                               .arg(100 + i)
                               .arg(1000 + i)
                               .arg(i, 3, 10, QChar('0')));
        tr.commit();
    }
    frmHistorico& f = openHistory();
    print(f);
    const QStringList pages = pdfPages(pdf);
    ASSERT_GT(pages.size(), 1);
    const QString all = pages.join("\n");
    EXPECT_EQ(all.count("Data RPI"), 1);
    EXPECT_EQ(all.count("Histórico do Processo 000123455"), 1);
    int last = all.size();
    for (int i = 0; i < 150; ++i) {  // issues descending: D149 first
        const int at = all.indexOf(QString("D%1").arg(i, 3, 10, QChar('0')));
        ASSERT_GE(at, 0) << i;
        ASSERT_LT(at, last) << i;
        last = at;
    }
}

TEST_F(PrintTest, AfterThePreviewTheScreenReadsTheProcessAgain)
{
    fill();
    frmHistorico& f = openHistory();
    sql("UPDATE Processos SET marca = 'ALFA NOVA' WHERE processo = 12345");
    print(f);
    EXPECT_EQ(f.Marca->text(), "ALFA NOVA");
    EXPECT_EQ(u.pointer(), vb::Default);
}

TEST_F(PrintTest, UnknownProcessPrintsEmptyLinesAndNoRows)
{
    fill();
    frmHistorico& f = openHistory("000000000");
    print(f);
    const QString flat = pdfPages(pdf).join(" ").simplified();
    EXPECT_TRUE(flat.contains("Histórico do Processo 000000000"));
    EXPECT_TRUE(flat.contains("Titular : País/UF : CGC/CPF/INPI :"));
    EXPECT_TRUE(flat.endsWith("Data RPI Desp RPI Complemento"));
}

TEST_F(PrintTest, NothingToPrintWithoutANumber)
{
    frmHistorico& f = frmHistorico::instance();
    f.Numero_Processo->setText("");
    f.VisImp_Click();
    ASSERT_EQ(u.messages.size(), 1);
    EXPECT_EQ(u.lastMessage().text, "Nenhum Processo a ser impresso !");
    EXPECT_EQ(u.lastMessage().style, vb::Exclamation);
    EXPECT_EQ(u.lastMessage().title, "Impressão de tabela");
    EXPECT_TRUE(u.modalWindows.isEmpty());
}
