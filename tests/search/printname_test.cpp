// The name a printed page goes by: the print dialog offers it as the file of
// a print to file, so whatever the search criteria were, it must be a file
// name that can be written; the preview's caption keeps the title on one line.

#include "output/Report.h"
#include "search/IssueSearch.h"
#include "search/MarkSearch.h"
#include "search/NameSearch.h"
#include "search/OwnFilingsSearch.h"
#include "search/TaxIdSearch.h"
#include "search/ValiditySearch.h"
#include "search/frmHistorico.h"
#include "output/rptGeral.h"
#include "support/TestDb.h"
#include "support/TestUi.h"

#include <QDir>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A typed text holding what no file name may hold, and a character beyond
// 16 bits.
const QString kTyped = QString::fromUcs4(U"A/B\\C:D*E?F\"G<H>I|J\tK \U0001F600");

QStringList everyTitle()
{
    QStringList titles;
    marksearch::Criteria mark;
    mark.nomeMarca = kTyped + QString(250, QLatin1Char('m'));
    mark.rpi = QStringLiteral("2150");
    mark.numCnpj = QStringLiteral("12.345.678/0001-90");
    titles << marksearch::ExportTitle(mark, QStringLiteral("25/35"));

    issuesearch::Criteria issue;
    issue.numRevista = QStringLiteral("2150");
    issue.numCnpj = QStringLiteral("12.345.678/0001-90");
    issue.nomeProcurador = kTyped;
    titles << issuesearch::PrintTitle(issue, QStringLiteral("IPAS009"), QStringLiteral("25"));

    ownfilings::Criteria own;
    own.numRevista = QStringLiteral("2150");
    titles << ownfilings::ExportTitle(own, QStringLiteral("400"), QStringLiteral("UF = SP/RJ"));

    titles << namesearch::PrintTitle(namesearch::Holder(), kTyped, namesearch::EmQualquerParte);
    titles << namesearch::PrintTitle(namesearch::Attorney(), kTyped, namesearch::Exata);
    titles << taxidsearch::PrintTitle(QStringLiteral("12.345.678/0001-90"), false);

    validitysearch::Criteria validity;
    validity.dataInic = QDate(2021, 4, 1);
    validity.dataFinal = QDate(2021, 5, 31);
    validity.nomeProcurador = kTyped;
    validity.location = namesearch::SoNoInicio;
    titles << validitysearch::Title(validity, QStringLiteral("IPAS009"));

    titles << Historico::ReportTitle(QStringLiteral("820001234"));
    return titles;
}

}  // namespace

TEST(PrintName, EveryReportTitleGivesAFileNameThatCanBeWritten)
{
    QTemporaryDir dir;
    for (const QString& title : everyTitle()) {
        const QString name = PrintDocumentName(title);
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(name.endsWith(QStringLiteral(".pdf")));
        EXPECT_FALSE(name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
                     name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n')));
        EXPECT_LE(name.toUtf8().size(), 255);
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << f.errorString().toStdString();
    }
    // Dates keep their digits, the second line follows the first.
    validitysearch::Criteria c;
    c.dataInic = QDate(2021, 4, 1);
    c.dataFinal = QDate(2021, 5, 31);
    c.nomeProcurador = QStringLiteral("ALFA");
    EXPECT_EQ(PrintDocumentName(validitysearch::Title(c, QString())),
              QStringLiteral("Pesquisa por Data de Vigência entre 01-04-2021 e 31-05-2021 . Procurador = ALFA - Exato.pdf"));
    // Cut within the limit, never through a character.
    const QString cut = PrintDocumentName(QString(99, QLatin1Char('x')) + QString::fromUcs4(U"\U0001F600\U0001F600"));
    EXPECT_EQ(cut, QString(99, QLatin1Char('x')) + QString::fromUcs4(U"\U0001F600\U0001F600") + QStringLiteral(".pdf"));
    const QString longer = PrintDocumentName(QString(197, QLatin1Char('x')) + QString::fromUcs4(U"\U0001F600\U0001F600"));
    EXPECT_EQ(longer, QString(197, QLatin1Char('x')) + QStringLiteral(".pdf"));
}

TEST(PrintName, ThePreviewNamesItsDocumentAndShowsTheTitleOnOneLine)
{
    TestDb tdb;
    TestUi ui;
    validitysearch::Criteria c;
    c.dataInic = QDate(2021, 4, 1);
    c.dataFinal = QDate(2021, 5, 31);
    c.nomeProcurador = QStringLiteral("ALFA");
    c.location = namesearch::SoNoInicio;
    const QString title = validitysearch::Title(c, QString());
    ASSERT_TRUE(title.contains(QStringLiteral("\r\n")));

    Report& r = rptGeral();
    r.setDataSource(tdb.db().query(QStringLiteral(
        "SELECT 1 AS procdv, 2150 AS rpi, '' AS datarpi, '' AS desp, '' AS deposito, 'LUA' AS marca, 25 AS nclclasse, "
        "'' AS titular, '' AS titularpais, '' AS cgccpf, '' AS procurador, '' AS classe FROM RDB$DATABASE")));
    r.title = title;
    QString caption, docName;
    ui.onModal = [&](QWidget* w) {
        caption = w->windowTitle();
        if (auto* preview = qobject_cast<QPrintPreviewDialog*>(w)) docName = preview->printer()->docName();
        return 0;
    };
    r.show();
    EXPECT_EQ(caption, OneLineTitle(title));
    EXPECT_FALSE(caption.contains(QLatin1Char('\r')) || caption.contains(QLatin1Char('\n')));
    EXPECT_EQ(docName, PrintDocumentName(title));
    // What the report prints keeps both lines.
    EXPECT_EQ(r.title, title);
}
