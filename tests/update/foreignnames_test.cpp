// Names and texts beyond the Portuguese letters, the whole road: an issue
// in the journal's XML layout read from its archive, applied, and found by
// the attorney search as the user types the name.

#include "fixtures/IssueGenerator.h"
#include "fixtures/XmlFixture.h"
#include "journal/XmlReader.h"
#include "keys/Metaphone.h"
#include "search/NameSearch.h"
#include "shell/Db.h"
#include "shell/Globals.h"
#include "support/TestDb.h"
#include "support/TestUi.h"
#include "update/Transfer.h"
#include "update/frmAtualizaBD.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fixtures;

void PrintTo(const QString& s, std::ostream* os) { *os << s.toStdString(); }

namespace {

QVariant scalar(const QString& sql)
{
    Recordset r = DbConnection::instance().query(sql);
    r.moveFirst();
    return r.eof() ? QVariant() : r.value(0);
}

// The processes the attorney search lists for a name as typed.
QList<int> attorneySearch(const QString& typed, int location)
{
    const namesearch::Outcome o = namesearch::BuildSearch(namesearch::Attorney(), typed, location);
    EXPECT_TRUE(o.refusal.isEmpty()) << o.refusal.toStdString();
    Recordset r = DbConnection::instance().query(QStringLiteral("SELECT") + namesearch::kAttorneySelectList +
                                                 o.whereClause);
    QList<int> found;
    for (r.moveFirst(); !r.eof(); r.moveNext()) found << r.value(QStringLiteral("processo")).toInt();
    return found;
}

}  // namespace

TEST(ForeignNames, FromTheArchiveToTheAttorneySearch)
{
    TestDb tdb;
    TestUi tui;
    TestClock clock;
    QTemporaryDir program, files;
    Globals::setProgramDir(program.path());

    Issue issue = GenerateIssue({2260, 12, 21, QDate(2014, 4, 1)});
    Process& p = issue.processes[4];
    if (p.dispatches.isEmpty()) p.dispatches = issue.processes[0].dispatches;
    p.attorney = QStringLiteral("Jürgen Groß – Marcas");
    p.holders = {{QStringLiteral("Müller & Söhne GmbH – Zweigniederlassung “Nord”"), QStringLiteral("DE"), QString()}};
    p.mark = QString::fromUcs4(U"Łódź Löwe \U0001F600");
    p.especificacao = QStringLiteral("Café «Crème» ½ € œ – Ærø");

    XmlReaderValues target;
    XmlReader reader(target);
    ASSERT_TRUE(reader.LerRevistaXml(WriteInpiXmlArchive(files.path(), issue)))
        << tui.messages.value(0).text.toStdString();
    const QString row = QStringLiteral(" FROM RPI WHERE processo = %1 ROWS 1").arg(p.number);
    EXPECT_EQ(scalar("SELECT titular" + row).toString(), p.holders[0].name);
    EXPECT_EQ(scalar("SELECT procurador" + row).toString(), QStringLiteral("JÜRGEN GROß – MARCAS"));
    EXPECT_EQ(scalar("SELECT marca" + row).toString(), QString::fromUcs4(U"ŁÓDŹ LÖWE \U0001F600"));
    EXPECT_EQ(scalar("SELECT especificacao" + row).toString(), p.especificacao);

    tui.clear();
    frmAtualizaBD f;
    f.Form_Activate();
    f.SelecFile_Click();
    ASSERT_EQ(f.lastResult(), TransferResult::Done) << tui.messages.value(0).text.toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM Procuradores WHERE procurador = 'JÜRGEN GROß – MARCAS'")).toInt(), 1);
    // The mark's keys match those of the mark typed in either case.
    const QString keys = QStringLiteral("SELECT marcaclean || '|' || marcaphon1 FROM Processos WHERE processo = %1").arg(p.number);
    EXPECT_EQ(scalar(keys).toString(), metaphonevar::LimpaTexto(u"łódź löwe"_qs) + QLatin1Char('|') +
                                           metaphonevar::CalcMetaphone(u"ŁÓDŹ LÖWE"_qs, 0, 0));

    EXPECT_EQ(attorneySearch(QStringLiteral("Jürgen Groß"), namesearch::SoNoInicio), QList<int>{p.number});
    EXPECT_EQ(attorneySearch(QStringLiteral("jürgen groß – marcas"), namesearch::Exata), QList<int>{p.number});
    // A text-layout attorney (Windows-1252) keeps its "ß" as well.
    EXPECT_EQ(ParseAttorney(QStringLiteral("Groß")).name, QStringLiteral("GROß"));
    Globals::setProgramDir(QString());
}
