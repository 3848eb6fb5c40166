// Spreadsheet export of a result page, checked in the written workbook.
#include "PageFixture.h"
#include "output/ExportToExcel.h"
#include "support/TestUi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <zip.h>

using namespace fixture;

namespace {

// One member of a workbook (a zip of XML parts).
QByteArray part(const QString& xlsx, const char* name)
{
    QByteArray out;
    zip_t* z = zip_open(QFile::encodeName(xlsx).constData(), ZIP_RDONLY, nullptr);
    if (!z) return out;
    zip_stat_t st;
    if (zip_stat(z, name, 0, &st) == 0) {
        if (zip_file_t* f = zip_fopen(z, name, 0)) {
            out.resize(qsizetype(st.size));
            out.resize(qsizetype(std::max<zip_int64_t>(0, zip_fread(f, out.data(), st.size))));
            zip_fclose(f);
        }
    }
    zip_close(z);
    return out;
}

struct Cell {
    QString type;  // "s" shared string, "n" number, "" blank
    QString text;  // string or number as written
    int style = 0;
};

// The first sheet of a workbook: cells by reference ("A1"), column widths,
// and for every cell style whether its font is bold, its size and its
// number format.
struct Sheet {
    QMap<QString, Cell> cells;
    QMap<int, double> widths;  // 1-based column -> width
    QList<QPair<bool, double>> styleFont;
    QStringList styleFormat;  // the format code of each style ("" for General)

    bool has(const QString& ref) const { return cells.contains(ref) && !cells[ref].type.isEmpty(); }
    QString text(const QString& ref) const { return cells.value(ref).text; }
    bool bold(const QString& ref) const { return styleFont.value(cells.value(ref).style).first; }
    double size(const QString& ref) const { return styleFont.value(cells.value(ref).style).second; }
    QString format(const QString& ref) const { return styleFormat.value(cells.value(ref).style); }
};

Sheet readSheet(const QString& xlsx)
{
    Sheet s;
    QStringList strings;
    QXmlStreamReader sst(part(xlsx, "xl/sharedStrings.xml"));
    while (!sst.atEnd())
        if (sst.readNext() == QXmlStreamReader::StartElement && sst.name() == u"t")
            strings << sst.readElementText();

    QList<QPair<bool, double>> fonts;
    QMap<int, QString> formats;
    QXmlStreamReader st(part(xlsx, "xl/styles.xml"));
    bool inCellXfs = false;
    while (!st.atEnd()) {
        st.readNext();
        if (st.isStartElement() && st.name() == u"numFmt")
            formats[st.attributes().value("numFmtId").toInt()] = st.attributes().value("formatCode").toString();
        if (st.isStartElement() && st.name() == u"font") fonts.append({false, 11});
        if (st.isStartElement() && st.name() == u"b" && !fonts.isEmpty()) fonts.last().first = true;
        if (st.isStartElement() && st.name() == u"sz" && !fonts.isEmpty())
            fonts.last().second = st.attributes().value("val").toDouble();
        if (st.name() == u"cellXfs") inCellXfs = st.isStartElement();
        if (inCellXfs && st.isStartElement() && st.name() == u"xf") {
            s.styleFont.append(fonts.value(st.attributes().value("fontId").toInt()));
            s.styleFormat.append(formats.value(st.attributes().value("numFmtId").toInt()));
        }
    }

    QXmlStreamReader ws(part(xlsx, "xl/worksheets/sheet1.xml"));
    QString ref;
    while (!ws.atEnd()) {
        ws.readNext();
        if (!ws.isStartElement()) continue;
        if (ws.name() == u"col") {
            const int min = ws.attributes().value("min").toInt(), max = ws.attributes().value("max").toInt();
            for (int c = min; c <= max; ++c) s.widths[c] = ws.attributes().value("width").toDouble();
        } else if (ws.name() == u"c") {
            ref = ws.attributes().value("r").toString();
            Cell c;
            c.style = ws.attributes().value("s").toInt();
            c.type = ws.attributes().value("t").toString();
            s.cells[ref] = c;
        } else if (ws.name() == u"v") {
            Cell& c = s.cells[ref];
            const QString v = ws.readElementText();
            if (c.type == u"s") c.text = strings.value(v.toInt());
            else {
                c.type = QStringLiteral("n");
                c.text = v;
            }
        }
    }
    return s;
}

QString col(int c) { return QString(QChar(u'A' + c - 1)); }

class Export : public ::testing::Test {
protected:
    TestDb t;
    TestUi ui;
    void TearDown() override
    {
        for (const QString& f : ui.openedFiles) QFile::remove(f);
    }
    QString written() const { return ui.openedFiles.value(0); }
};

}  // namespace

TEST_F(Export, SheetLayoutValuesAndTypes)
{
    addIssue(t, 2150, "2012-04-24");
    const int adv = addAttorney(t, "ADVOGADOS ASSOCIADOS");
    Process a;
    a.processo = 123;
    a.deposito = "2001-02-03";
    a.vigencia = "2011-02-03";
    a.marca = "ÁGUA VIVA";
    a.classe = "25.10";
    a.cgccpf = "01234567000189";
    a.nclclasse = 5;
    a.codprocurador = adv;
    addProcess(t, a);
    Process b;  // Null dates, attorney, class and Nice class
    b.processo = 90000001;
    b.deposito.clear();
    b.revista = 9999;  // no issue row: Null issue date
    addProcess(t, b);
    Process early;  // a date before the sheet's first one
    early.processo = 90000002;
    early.deposito = "1899-12-31";
    addProcess(t, early);

    Recordset rs = page(t);
    ASSERT_EQ(rs.recordCount(), 3);
    const QString procdvA = rs.at(0, "procdv").toString();
    rs.moveLast();
    ui.setPointer(vb::Hourglass);
    ExportToExcel("Pesquisa por Marca: ÁGUA", rs);

    ASSERT_EQ(ui.openedFiles.size(), 1);
    const QFileInfo fi(written());
    EXPECT_EQ(fi.absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
    EXPECT_EQ(fi.suffix(), "xlsx");
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.lastMessage().text, "Dados exportados com sucesso !");
    EXPECT_EQ(ui.lastMessage().style, vb::Information);
    EXPECT_TRUE(ui.lastMessage().title.isEmpty());
    EXPECT_EQ(ui.pointer(), vb::Default);
    EXPECT_EQ(rs.position(), 0);

    const Sheet s = readSheet(written());
    EXPECT_EQ(s.text("A1"), "Pesquisa por Marca: ÁGUA");
    const QStringList headings = {"Processo", "RPI",   "Data",    "Despacho", "Depósito",     "Vigência",  "Marca",
                                  "NCL",      "ClasseAntiga", "Titular", "UF", "CGC/CPF/INPI", "Procurador"};
    for (int c = 1; c <= 13; ++c) EXPECT_EQ(s.text(col(c) + "2"), headings[c - 1]) << c;
    for (int c = 1; c <= 22; ++c)
        for (const char* r : {"1", "2"}) {
            EXPECT_TRUE(s.bold(col(c) + r)) << col(c).toStdString() << r;
            EXPECT_EQ(s.size(col(c) + r), 10) << col(c).toStdString() << r;
        }
    EXPECT_FALSE(s.cells.contains("W1"));
    EXPECT_FALSE(s.bold("B3"));

    // Texts stay texts with their leading zeros; numbers stay numbers.
    EXPECT_EQ(s.cells["A3"].type, "s");
    EXPECT_EQ(s.text("A3"), procdvA);
    EXPECT_TRUE(procdvA.startsWith("00000123"));
    EXPECT_EQ(s.cells["B3"].type, "n");
    EXPECT_EQ(s.text("B3"), "2150");
    // Dates are date cells (days since 30/12/1899) shown dd/mm/yyyy.
    for (const char* ref : {"C3", "E3", "F3"}) {
        EXPECT_EQ(s.cells[ref].type, "n") << ref;
        EXPECT_EQ(s.format(ref), "dd/mm/yyyy") << ref;
        EXPECT_FALSE(s.bold(ref)) << ref;
    }
    EXPECT_EQ(s.text("C3"), "41023");  // 24/04/2012
    EXPECT_EQ(s.text("E3"), "36925");  // 03/02/2001
    EXPECT_EQ(s.text("F3"), "40577");  // 03/02/2011
    EXPECT_EQ(s.format("B3"), "");
    EXPECT_EQ(s.text("D3"), "IPAS009");
    EXPECT_EQ(s.text("G3"), "ÁGUA VIVA");
    EXPECT_EQ(s.cells["H3"].type, "s");
    EXPECT_EQ(s.text("H3"), "05");
    EXPECT_EQ(s.text("I3"), "25.10");
    EXPECT_EQ(s.cells["I3"].type, "s");
    EXPECT_EQ(s.text("J3"), "TITULAR");
    EXPECT_EQ(s.text("K3"), "SP");
    EXPECT_EQ(s.cells["L3"].type, "s");
    EXPECT_EQ(s.text("L3"), "01234567000189");
    EXPECT_EQ(s.text("M3"), "ADVOGADOS ASSOCIADOS");

    // Null gives an empty cell; the other cells of the row are written.
    for (const char* ref : {"C4", "E4", "F4", "H4", "I4", "L4", "M4"}) EXPECT_FALSE(s.has(ref)) << ref;
    EXPECT_EQ(s.text("B4"), "9999");
    EXPECT_EQ(s.text("G4"), "MARCA");
    EXPECT_EQ(s.cells["E5"].type, "s");
    EXPECT_EQ(s.text("E5"), "31/12/1899");
    EXPECT_FALSE(s.has("A6"));

    // codserv is not exported anywhere.
    for (const Cell& c : s.cells) EXPECT_NE(c.text, "CODSERV-X");
}

TEST_F(Export, RowsFollowTheSortAndColumnsFitTheirContents)
{
    addIssue(t, 2150, "2012-04-24");
    const QString longMark = QString("MARCA MUITO COMPRIDA ").repeated(3).trimmed();
    const QStringList marks = {"BETA", longMark, "ALFA"};
    for (int i = 0; i < marks.size(); ++i) {
        Process p;
        p.processo = 1000 + i;
        p.marca = marks[i];
        addProcess(t, p);
    }
    Recordset rs = page(t);
    rs.setSort("marca DESC");
    const QString title = QString("Pesquisa com um título bem mais longo que a coluna A ").repeated(2);
    ExportToExcel(title, rs);

    const Sheet s = readSheet(written());
    EXPECT_EQ(s.text("G3"), longMark);
    EXPECT_EQ(s.text("G4"), "BETA");
    EXPECT_EQ(s.text("G5"), "ALFA");
    EXPECT_EQ(s.text("A3"), rs.at(0, "procdv").toString());
    EXPECT_EQ(rs.position(), 0);
    EXPECT_EQ(s.text("A1"), title);

    // Column A fits its nine-digit numbers, not the title; Marca fits the long mark.
    ASSERT_TRUE(s.widths.contains(1) && s.widths.contains(7));
    EXPECT_GE(s.widths[1], 9);
    EXPECT_LT(s.widths[1], 20);
    EXPECT_GE(s.widths[7], longMark.size());
    EXPECT_LT(s.widths[7], longMark.size() * 1.5);
    // Date columns fit "dd/mm/yyyy".
    EXPECT_GE(s.widths[5], 10);
}

TEST_F(Export, FailuresAreReportedWithTheFileAndThePointerRestored)
{
    Process p;
    p.processo = 7;
    addProcess(t, p);

    // The opener fails, or there is none: no success, and the user is told
    // where the workbook is.
    {
        Recordset rs = page(t);
        ui.openWithDesktopResult = false;
        ui.setPointer(vb::Hourglass);
        ExportToExcel("T", rs);
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.lastMessage().text, QString("Os dados foram exportados para a planilha %1 , mas nenhum aplicativo "
                                                 "pôde abri-la.")
                                             .arg(QDir::toNativeSeparators(written())));
        EXPECT_EQ(ui.lastMessage().icon(), vb::Exclamation);
        EXPECT_TRUE(QFile::exists(written()));
        EXPECT_EQ(ui.pointer(), vb::Default);
    }

    // A page without one of the exported columns.
    {
        QFile::remove(written());
        ui.clear();
        Recordset rs = t.db().query("SELECT processo, calc_cd(processo) procdv FROM Processos");
        ui.setPointer(vb::Hourglass);
        ExportToExcel("T", rs);
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.lastMessage().icon(), vb::Critical);
        EXPECT_TRUE(ui.lastMessage().text.contains("Não foi possível gravar a planilha"));
        EXPECT_TRUE(ui.openedFiles.isEmpty());
        EXPECT_EQ(ui.pointer(), vb::Default);
        EXPECT_EQ(rs.position(), 0);
    }

    // The temporary folder cannot be written.
    {
        ui.clear();
        ui.openWithDesktopResult = true;
        const QByteArray old = qgetenv("TMPDIR");
        qputenv("TMPDIR", "/nonexistent/quorvanta-test");
        Recordset rs = page(t);
        ui.setPointer(vb::Hourglass);
        ExportToExcel("T", rs);
        qputenv("TMPDIR", old);
        if (old.isEmpty()) qunsetenv("TMPDIR");
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.lastMessage().icon(), vb::Critical);
        EXPECT_TRUE(ui.lastMessage().text.contains("/nonexistent/quorvanta-test")) << ui.lastMessage().text.toStdString();
        EXPECT_TRUE(ui.openedFiles.isEmpty());
        EXPECT_EQ(ui.pointer(), vb::Default);
    }
}

namespace {

// A clock whose time runs on by a second at every reading.
struct RunningClock : TestClock {
    mutable qint64 at = 0;
    qint64 monotonicMs() const override { return at += 1000; }
};

}  // namespace

TEST(DesktopOpener, TakesTheOpenersVerdictWithoutWaitingOnOneThatStays)
{
    {
        TestClock clock;  // no time passes: only the opener's end decides
        EXPECT_FALSE(RunDesktopOpener("sh", {"-c", "exit 3"}, kOpenerWaitMs));
        EXPECT_FALSE(RunDesktopOpener("sh", {"-c", "kill -9 $$"}, kOpenerWaitMs));
        EXPECT_FALSE(RunDesktopOpener("/nonexistent/quorvanta-opener", {}, kOpenerWaitMs));
        EXPECT_TRUE(RunDesktopOpener("sh", {"-c", "exit 0"}, kOpenerWaitMs));
        EXPECT_TRUE(clock.waits.isEmpty());
    }
    {
        // An opener still running when the wait is over has opened the file,
        // and is left running.
        RunningClock clock;
        EXPECT_TRUE(RunDesktopOpener("sh", {"-c", "sleep 3"}, kOpenerWaitMs));
        EXPECT_GE(clock.at, kOpenerWaitMs);
        EXPECT_LE(clock.at, kOpenerWaitMs + 2000);
    }
}
