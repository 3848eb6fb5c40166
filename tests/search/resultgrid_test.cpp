// The shared result grid on the mark search: pages, outcomes, sorting, the
// double click, export, print, failures and closing.
#include "SearchFixture.h"
#include "ShownScreen.h"
#include "search/ResultGrid.h"
#include "search/frmPesquisaMarca.h"
#include "search/frmPesquisaProcurador.h"
#include "search/frmPesquisaRevista.h"
#include "search/frmPesquisaTitular.h"
#include "search/frmPesquisaVigencia.h"
#include "support/TestUi.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTableView>
#include <gtest/gtest.h>

using namespace resultgrid;
using namespace searchfixture;

namespace {

// Replaces the grid's neighbours for one test.
struct Hooks {
    QStringList histories;
    QStringList exportTitles;
    QStringList exportFirstRows;
    QStringList printTitles;
    int printOrientation = 0;
    int menus = 0;
    Hooks()
    {
        saved_[0] = SearchHooks::openHistory;
        saved_[1] = SearchHooks::exportToExcel;
        saved_[2] = SearchHooks::showReport;
        saved_[3] = SearchHooks::showSearchMenu;
        SearchHooks::openHistory = [this](const QString& p) { histories << p; };
        SearchHooks::exportToExcel = [this](const QString& title, Recordset& rs) {
            exportTitles << title;
            exportFirstRows << rs.at(0, "procdv").toString();
            ui().setPointer(vb::Default);
        };
        SearchHooks::showReport = [this](DataControl& dc, const QString& title, int orientation) {
            printTitles << title;
            printOrientation = orientation;
            exportFirstRows << dc.recordset().at(0, "procdv").toString();
        };
        SearchHooks::showSearchMenu = [this] { ++menus; };
    }
    ~Hooks()
    {
        SearchHooks::openHistory = std::any_cast<decltype(SearchHooks::openHistory)>(saved_[0]);
        SearchHooks::exportToExcel = std::any_cast<decltype(SearchHooks::exportToExcel)>(saved_[1]);
        SearchHooks::showReport = std::any_cast<decltype(SearchHooks::showReport)>(saved_[2]);
        SearchHooks::showSearchMenu = std::any_cast<decltype(SearchHooks::showSearchMenu)>(saved_[3]);
    }
    std::any saved_[4];
};

struct Screen {
    QPointer<frmPesquisaMarca> f = new frmPesquisaMarca;
    ~Screen() { delete f.data(); }
    frmPesquisaMarca* operator->() { return f; }
    void search(const QString& text, int key = 0, int location = 0)
    {
        f->NomeMarca()->setText(text);
        f->OPtFonetica(key)->setChecked(true);
        f->OptLocation(location)->setChecked(true);
        f->Pesquisar_Click();
    }
    int rows() { return f->MarcaRevista().recordset().recordCount(); }
    QString cell(int row, int col) { return f->gridModel()->data(f->gridModel()->index(row, col)).toString(); }
    QSet<QString> numbers()
    {
        QSet<QString> s;
        for (int r = 0; r < rows(); ++r) s << cell(r, 0);
        return s;
    }
    bool next() { return !f->NextRegs()->isHidden(); }
    bool prev() { return !f->PrevRegs()->isHidden(); }
    QString status() { return f->TotProcLbl()->text(); }
};

const QString kTitle = QStringLiteral("Pesquisa por Marca");

}  // namespace

TEST(ResultGrid, PageQueryTextAndColumns)
{
    EXPECT_EQ(PageQuery(2000, kPlainSelectList, "Marca = 'X'"),
              "SELECT first 1000 skip 2000 r.processo, cast(calc_cd(r.processo)as char(9))procdv, r.revista rpi, "
              "r.despacho as desp, r.codserv, (select rdata from Revistas rev where rev.revista = r.revista)datarpi, "
              "r.deposito, r.vigencia, r.marca, r.classe,r.titular,r.titularpais, r.cgccpf,cast(fmtinteger(r.nclclasse,2)"
              "as char(3))nclclasse,(Select pc.procurador from Procuradores pc where pc.codprocurador=r.codprocurador)"
              "procurador from Processos r where Marca = 'X'");
    EXPECT_TRUE(kIssueJoinSelectList.endsWith(
        "procurador from (Processos r right join RevProcs rp on rp.processo = r.processo) where "));
    EXPECT_EQ(kIssueJoinSelectList.left(kIssueJoinSelectList.indexOf(" from (")),
              kPlainSelectList.left(kPlainSelectList.indexOf(" from Processos")));
    EXPECT_TRUE(PageQuery(0, "L", "W", " ORDER BY rp.codigo").endsWith("skip 0LW ORDER BY rp.codigo"));

    const QVector<GridColumn> c13 = Columns(false), c14 = Columns(true);
    ASSERT_EQ(c13.size(), 13);
    ASSERT_EQ(c14.size(), 14);
    EXPECT_EQ(c13[0].field, "procdv");
    EXPECT_EQ(c13[9].caption, "   UF");
    EXPECT_EQ(c13[12].caption, "ClasseAnt");
    EXPECT_EQ(c14[5].caption, "Depósito");
    EXPECT_EQ(c14[6].caption, "Vigência");
    EXPECT_EQ(c14[6].field, "vigencia");
    EXPECT_EQ(c14[7].caption, "Marca");
}

TEST(ResultGrid, FirstPagesOfEverySize)
{
    TestDb t;
    TestUi u;
    Hooks h;
    addMany(t, 1000000, 1, "UM");
    addMany(t, 2000000, 999, "NOVE");
    addMany(t, 3000000, 1000, "MIL");
    Screen s;
    EXPECT_EQ(s.status(), kStatusZero);
    EXPECT_EQ(s->HasResults, 0);

    s.search("zero");
    EXPECT_EQ(s.rows(), 0);
    EXPECT_EQ(s.status(), kStatusZero);
    EXPECT_EQ(u.lastMessage().text, "Não foi encontrada nenhum Processo que atendesse à pesquisa !");
    EXPECT_EQ(u.lastMessage().style, 48);
    EXPECT_EQ(u.lastMessage().title, kTitle);
    EXPECT_EQ(s->HasResults, 0);
    EXPECT_FALSE(s->GridMarcaRevista()->isHidden());
    EXPECT_TRUE(s->LblAviso()->isHidden());
    // Nothing to export or print, even right after a search.
    s->Exportar_Click();
    EXPECT_EQ(u.lastMessage().text, "Nenhum Processo a ser exportado !");
    EXPECT_EQ(u.lastMessage().style, 48);
    EXPECT_EQ(u.lastMessage().title, "Exportação de tabela");
    s->VisImp_Click();
    EXPECT_EQ(u.lastMessage().text, "Nenhum Processo a ser impresso !");
    EXPECT_EQ(u.lastMessage().title, "Impressão de tabela");
    EXPECT_TRUE(h.exportTitles.isEmpty());
    EXPECT_TRUE(h.printTitles.isEmpty());

    s.search(" um ");
    EXPECT_EQ(s.rows(), 1);
    EXPECT_EQ(s.status(), "Mostrando Processos de ordem 1 a 1");
    EXPECT_EQ(u.lastMessage().text, "Foram encontrados 1 Processos que atendem à pesquisa !");
    EXPECT_EQ(u.lastMessage().style, 64);
    EXPECT_EQ(s->HasResults, 1);
    EXPECT_EQ(s->SortColumn, -1);
    EXPECT_EQ(s.cell(0, 0), "010000003");
    EXPECT_FALSE(s.next());
    EXPECT_FALSE(s.prev());

    s.search("NOVE");
    EXPECT_EQ(s.rows(), 999);
    EXPECT_EQ(s.status(), "Mostrando Processos de ordem 1 a 999");
    EXPECT_EQ(u.lastMessage().text, "Foram encontrados 999 Processos que atendem à pesquisa !");
    EXPECT_FALSE(s.next());

    // Exactly 1000: the next page is empty, names the 1000 seen, and keeps
    // the way back.
    u.clear();
    s.search("MIL");
    EXPECT_EQ(s.rows(), 1000);
    EXPECT_EQ(s.status(), "Mostrando Processos de ordem 1 a 1000");
    EXPECT_EQ(u.lastMessage().text, "Foram encontrados mais de 1000 Processos que atendem à pesquisa, porém só estão "
                                    "sendo mostrados os primeiros 1000 !");
    EXPECT_EQ(u.lastMessage().style, 64);
    EXPECT_TRUE(s.next());
    EXPECT_FALSE(s.prev());
    EXPECT_TRUE(u.pointerHistory.contains(vb::Hourglass));
    EXPECT_EQ(u.pointer(), vb::Default);
    s->NextRegs_Click();
    EXPECT_EQ(s.rows(), 0);
    EXPECT_EQ(s.status(), kStatusZero);
    EXPECT_EQ(u.lastMessage().text, "Foram encontrados 1000 Processos que atendem à pesquisa !");
    EXPECT_EQ(u.lastMessage().style, 64);
    EXPECT_EQ(u.lastMessage().title, kTitle);
    EXPECT_FALSE(s.next());
    EXPECT_TRUE(s.prev());
    EXPECT_FALSE(s->GridMarcaRevista()->isHidden());
    EXPECT_EQ(u.pointer(), vb::Default);
}

TEST(ResultGrid, PagingThroughTwoAndAHalfThousand)
{
    TestDb t;
    TestUi u;
    Hooks h;
    addMany(t, 10000000, 2500, "ALFA");
    addMany(t, 20000000, 10, "BETA");
    Screen s;
    // The notice is up and the grid hidden while the query runs; the
    // outcome is told once the page is in.
    QList<bool> noticeDuringMessage;
    u.onMessage = [&](const RecordedMessage&) { noticeDuringMessage << !s->LblAviso()->isHidden(); };
    s.search("alfa");
    EXPECT_EQ(s->MarcaRevista().RecordSource, PageQuery(0, kPlainSelectList, "Marca = 'ALFA'"));
    EXPECT_EQ(s->MarcaRevista().CursorLocation, 3);
    EXPECT_EQ(s.status(), "Mostrando Processos de ordem 1 a 1000");
    QSet<QString> seen = s.numbers();
    ASSERT_EQ(seen.size(), 1000);
    EXPECT_TRUE(s.next());
    EXPECT_FALSE(s.prev());

    // A sort of the page, then a move: the first click sorts ascending again.
    s->GridMarcaRevista_HeadClick(8);
    s->GridMarcaRevista_HeadClick(8);
    EXPECT_EQ(s->SortAscending, 0);

    s->NextRegs_Click();
    EXPECT_EQ(s->PageOffset, 1000);
    EXPECT_EQ(s->MarcaRevista().RecordSource, PageQuery(1000, kPlainSelectList, "Marca = 'ALFA'"));
    EXPECT_EQ(s.rows(), 1000);
    EXPECT_EQ(s.status(), "Mostrando Processos de ordem 1001 a 2000");
    EXPECT_EQ(u.lastMessage().text, "Foram encontrados mais de 2000 Processos que atendem à pesquisa, porém só estão "
                                    "sendo mostrados os de ordem 1001 a 2000 !");
    EXPECT_EQ(u.lastMessage().title, kTitle);
    EXPECT_TRUE(s.next());
    EXPECT_TRUE(s.prev());
    EXPECT_EQ(s->SortColumn, -1);
    s->GridMarcaRevista_HeadClick(8);
    EXPECT_EQ(s->MarcaRevista().recordset().sort(), "titular ASC,procdv");
    seen += s.numbers();

    // Whatever the box holds now, the pages follow the search that was run.
    s->NomeMarca()->setText("beta");
    s->NextRegs_Click();
    EXPECT_EQ(s.rows(), 500);
    EXPECT_EQ(s.status(), "Mostrando Processos de ordem 2001 a 2500");
    EXPECT_EQ(u.lastMessage().text, "Foram encontrados 2500 Processos que atendem à pesquisa !");
    EXPECT_FALSE(s.next());
    EXPECT_TRUE(s.prev());
    seen += s.numbers();
    EXPECT_EQ(seen.size(), 2500);

    s->PrevRegs_Click();
    EXPECT_EQ(s->PageOffset, 1000);
    EXPECT_EQ(s.status(), "Mostrando Processos de ordem 1001 a 2000");
    EXPECT_TRUE(s.next());
    EXPECT_TRUE(s.prev());
    s->PrevRegs_Click();
    EXPECT_EQ(s->PageOffset, 0);
    EXPECT_EQ(s.status(), "Mostrando Processos de ordem 1 a 1000");
    EXPECT_EQ(u.lastMessage().text, "Foram encontrados mais de 1000 Processos que atendem à pesquisa, porém só estão "
                                    "sendo mostrados os de ordem 1 a 1000 !");
    EXPECT_TRUE(s.next());
    EXPECT_FALSE(s.prev());
    EXPECT_EQ(u.pointer(), vb::Default);
    ASSERT_FALSE(noticeDuringMessage.isEmpty());
    EXPECT_FALSE(noticeDuringMessage.contains(true));
}

TEST(ResultGrid, SortingThePageInHand)
{
    TestDb t;
    TestUi u;
    Hooks h;
    // Marks, dates and issues whose text order differs from their order.
    addProcess(t, {.processo = 30, .marca = "ROSA", .revista = 999, .deposito = "05.03.2010"});
    addProcess(t, {.processo = 10, .marca = "ROSA AZUL", .revista = 1000, .deposito = "01.12.2009"});
    addProcess(t, {.processo = 20, .marca = "ROSA", .revista = 2000, .deposito = "20.01.2011"});
    addProcess(t, {.processo = 40, .marca = "ROSA", .revista = 50});
    Screen s;
    // A click before any search touches no rows.
    s->GridMarcaRevista_HeadClick(6);
    EXPECT_TRUE(s->MarcaRevista().recordset().sort().isEmpty());

    s.search("ROSA", 0, 1);
    ASSERT_EQ(s.rows(), 4);
    auto column = [&](int col) {
        QStringList v;
        for (int r = 0; r < s.rows(); ++r) v << s.cell(r, col);
        return v.join('|');
    };
    s->GridMarcaRevista_HeadClick(6);
    EXPECT_EQ(column(0), "000000205|000000302|000000400|000000108");  // ties by procdv
    s->GridMarcaRevista_HeadClick(6);
    EXPECT_EQ(column(0), "000000108|000000205|000000302|000000400");  // descending, ties still ascending
    EXPECT_EQ(s->MarcaRevista().recordset().sort(), "marca DESC,procdv");
    s->GridMarcaRevista_HeadClick(1);
    EXPECT_EQ(column(1), "50|999|1000|2000");  // numbers as numbers
    s->GridMarcaRevista_HeadClick(5);
    EXPECT_EQ(column(5), "|01/12/2009|05/03/2010|20/01/2011");  // dates as dates, Null first
    s->GridMarcaRevista_HeadClick(0);
    EXPECT_EQ(s->MarcaRevista().recordset().sort(), "procdv ASC");
    s->GridMarcaRevista_HeadClick(0);
    EXPECT_EQ(column(0), "000000400|000000302|000000205|000000108");

    // Export and print take the rows in the order on screen.
    s->Exportar_Click();
    s->VisImp_Click();
    EXPECT_EQ(h.exportFirstRows, QStringList({"000000400", "000000400"}));
    EXPECT_EQ(h.exportTitles, QStringList{"Pesquisa por Marca - Normal/Só no início - 'ROSA'"});
    EXPECT_EQ(h.printTitles, h.exportTitles);
    EXPECT_EQ(h.printOrientation, 2);
    EXPECT_EQ(u.pointer(), vb::Default);

    // A new search forgets the sort.
    s.search("ROSA", 0, 1);
    EXPECT_TRUE(s->MarcaRevista().recordset().sort().isEmpty());
    s->GridMarcaRevista_HeadClick(0);
    EXPECT_EQ(s->MarcaRevista().recordset().sort(), "procdv ASC");
}

TEST(ResultGrid, DoubleClickOpensTheHistoryFromTheFirstColumnOnly)
{
    TestDb t;
    TestUi u;
    Hooks h;
    addProcess(t, {.processo = 12345678, .marca = "SOL"});
    Screen s;
    s->GridMarcaRevista_DblClick();  // nothing in hand
    s.search("SOL");
    QTableView* g = s->GridMarcaRevista();
    g->setCurrentIndex(s->gridModel()->index(0, 6));
    s->GridMarcaRevista_DblClick();
    EXPECT_TRUE(h.histories.isEmpty());
    g->setCurrentIndex(s->gridModel()->index(0, 0));
    s->GridMarcaRevista_DblClick();
    EXPECT_EQ(h.histories, QStringList{"123456789"});
}

TEST(ResultGrid, AFailedQueryLeavesThePageAsItWas)
{
    TestDb t;
    TestUi u;
    Hooks h;
    addMany(t, 10000000, 1500, "ALFA");
    Screen s;
    s.search("alfa");
    s->NclText = "keep";
    s->GridMarcaRevista_HeadClick(6);
    const QString sql = s->MarcaRevista().RecordSource;
    const QString sort = s->MarcaRevista().recordset().sort();
    u.clear();

    // The connection goes away: the move is refused with the failure named.
    t.db().close();
    s->NextRegs_Click();
    ASSERT_EQ(u.messages.size(), 1);
    EXPECT_EQ(u.lastMessage().style, 16);
    EXPECT_TRUE(u.lastMessage().text.startsWith("Erro ao pesquisar o Banco de Dados"));
    EXPECT_EQ(s->PageOffset, 0);
    EXPECT_TRUE(s.next());
    EXPECT_FALSE(s.prev());
    EXPECT_EQ(s.rows(), 1000);
    EXPECT_EQ(s->HasResults, 1);
    EXPECT_EQ(s->MarcaRevista().RecordSource, sql);
    EXPECT_EQ(s->MarcaRevista().recordset().sort(), sort);
    EXPECT_EQ(s.status(), "Mostrando Processos de ordem 1 a 1000");
    EXPECT_FALSE(s->GridMarcaRevista()->isHidden());
    EXPECT_TRUE(s->LblAviso()->isHidden());
    EXPECT_EQ(u.pointer(), vb::Default);

    // A new search fails the same way and keeps the earlier condition.
    s.search("outra");
    EXPECT_EQ(u.lastMessage().style, 16);
    EXPECT_EQ(s->WhereClause, "Marca = 'ALFA'");
    EXPECT_EQ(s->NclText, "keep");
    EXPECT_TRUE(s.next());
    EXPECT_EQ(s.status(), "Mostrando Processos de ordem 1 a 1000");  // the count of the rows in hand
    EXPECT_EQ(s.rows(), 1000);
    EXPECT_EQ(u.pointer(), vb::Default);

    // Back on line, the screen goes on where it was.
    t.db().open(t.connectionString());
    s->NextRegs_Click();
    EXPECT_EQ(s->PageOffset, 1000);
    EXPECT_EQ(s.rows(), 500);
    EXPECT_EQ(s.status(), "Mostrando Processos de ordem 1001 a 1500");
}

TEST(ResultGrid, ClosingBringsTheSearchMenuBack)
{
    TestDb t;
    TestUi u;
    Hooks h;
    {
        Screen s;
        s->Sair_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(s.f.isNull());
        EXPECT_EQ(h.menus, 1);
    }
    {
        Screen s;
        s->show();
        s->close();  // the window's close box
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(s.f.isNull());
        EXPECT_EQ(h.menus, 2);
    }
}

namespace {

// A screen with the other searches' variations.
class VariantScreen : public SearchScreen {
public:
    static Config variant()
    {
        Config c;
        c.objectName = "frmVariante";
        c.heading = "Variante";
        c.title = "Primeira";
        c.pageMoveTitle = "Movida";
        c.emptyNextPageTitle = "Vazia";
        c.withVigencia = true;
        c.sortHintName = "Label4";
        c.orderBy = " ORDER BY r.processo";
        c.hourglassOnFirstPage = false;
        return c;
    }
    VariantScreen() : SearchScreen(variant()) {}
    void Pesquisar_Click() override { runFirstPage("r.marca = 'V'", kPlainSelectList); }
    QString exportTitle() const override { return "exportado"; }
    QString printTitle() const override { return "linha 1\r\n.linha 2"; }
    void beforeFirstPage(const QString& sql) override { shown << sql; }
    QStringList shown;
};

}  // namespace

TEST(ResultGrid, WhatAScreenChooses)
{
    TestDb t;
    TestUi u;
    Hooks h;
    addMany(t, 1, 1000, "V");
    QPointer<VariantScreen> s = new VariantScreen;
    EXPECT_NE(s->findChild<QLabel*>("Label4"), nullptr);
    EXPECT_EQ(s->findChild<QLabel*>("Label3"), nullptr);
    EXPECT_EQ(s->gridModel()->columnCount(), 14);
    s->Pesquisar_Click();
    ASSERT_EQ(s->shown.size(), 1);
    EXPECT_EQ(s->shown[0], PageQuery(0, kPlainSelectList, "r.marca = 'V'", " ORDER BY r.processo"));
    EXPECT_FALSE(u.pointerHistory.contains(vb::Hourglass));
    EXPECT_EQ(u.lastMessage().title, "Primeira");
    EXPECT_EQ(s->gridModel()->data(s->gridModel()->index(0, 0)).toString(), "000000019");
    s->NextRegs_Click();
    EXPECT_EQ(u.lastMessage().title, "Vazia");
    s->PrevRegs_Click();
    EXPECT_EQ(u.lastMessage().title, "Movida");
    EXPECT_EQ(s->shown.size(), 1);  // only the first page shows its query
    s->VisImp_Click();
    s->Exportar_Click();
    EXPECT_EQ(h.printTitles, QStringList{"linha 1\r\n.linha 2"});
    EXPECT_EQ(h.exportTitles, QStringList{"exportado"});
    delete s.data();
}

TEST(ResultGrid, NameBoxesTakeNoMoreThanTheColumnsTheyAreComparedWith)
{
    TestDb t;
    TestUi u;
    Hooks h;
    auto columnLength = [&](const char* table, const char* column) {
        return t.scalar(QString("SELECT f.RDB$CHARACTER_LENGTH FROM RDB$RELATION_FIELDS rf JOIN RDB$FIELDS f ON "
                                "f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE WHERE rf.RDB$RELATION_NAME = '%1' AND "
                                "rf.RDB$FIELD_NAME = '%2'")
                            .arg(table, column))
            .toInt();
    };
    const int markLength = columnLength("PROCESSOS", "MARCA");
    const int holderLength = columnLength("PROCESSOS", "TITULAR");
    const int attorneyLength = columnLength("PROCURADORES", "PROCURADOR");
    ASSERT_GT(markLength, 0);
    t.db().execute(QString("INSERT INTO Procuradores (codprocurador, procurador) VALUES (7, '%1')").arg(QString(attorneyLength, 'C')));
    addProcess(t, {.processo = 1, .marca = QString(markLength, 'A'), .titular = QString(holderLength, 'B'), .codprocurador = 7});

    // 8,001 characters typed (pasted) into each box: the box keeps what its
    // column can hold, and every match type searches without a database error.
    auto fill = [&](QLineEdit* box, QChar c) {
        box->clear();
        box->insert(QString(8001, c));
        return box->text().size();
    };
    {
        QPointer<frmPesquisaMarca> f = new frmPesquisaMarca;
        EXPECT_EQ(fill(f->NomeMarca(), 'A'), markLength);
        for (int key = 0; key < 4; ++key)
            for (int loc = 0; loc < 4; ++loc) {
                u.clear();
                f->OPtFonetica(key)->setChecked(true);
                f->OptLocation(loc)->setChecked(true);
                f->Pesquisar_Click();
                EXPECT_EQ(texts(u), QStringList{"Foram encontrados 1 Processos que atendem à pesquisa !"}) << key << loc;
            }
        delete f.data();
    }
    {
        QPointer<frmPesquisaTitular> f = new frmPesquisaTitular;
        EXPECT_EQ(fill(f->NomeTitular(), 'B'), holderLength);
        for (int loc = 0; loc < 4; ++loc) {
            u.clear();
            f->OptLocation(loc)->setChecked(true);
            f->Pesquisar_Click();
            EXPECT_EQ(texts(u), QStringList{"Foram encontrados 1 Processos que atendem à pesquisa !"}) << loc;
        }
        delete f.data();
    }
    {
        QPointer<frmPesquisaProcurador> f = new frmPesquisaProcurador;
        EXPECT_EQ(fill(f->NomeProcurador(), 'C'), attorneyLength);
        for (int loc = 0; loc < 4; ++loc) {
            u.clear();
            f->OptLocation(loc)->setChecked(true);
            f->Pesquisar_Click();
            EXPECT_EQ(texts(u), QStringList{"Foram encontrados 1 Processos que atendem à pesquisa !"}) << loc;
        }
        delete f.data();
    }
    // The attorney boxes with a maximum of their own keep it.
    {
        QPointer<frmPesquisaVigencia> f = new frmPesquisaVigencia;
        EXPECT_EQ(fill(f->NomeProcurador(), 'C'), 100);
        delete f.data();
        QPointer<frmPesquisaRevista> r = new frmPesquisaRevista;
        EXPECT_EQ(fill(r->NomeProcurador(), 'C'), 100);
        delete r.data();
    }
}

TEST(ResultGrid, SharingColumnsTakeWhatTheOthersLeave)
{
    const QVector<bool> shares = {false, true, false, true};
    EXPECT_EQ(FitWidths({50, 100, 30, 200}, shares, 580, 40), QVector<int>({50, 166, 30, 334}));
    EXPECT_EQ(FitWidths({50, 100, 30, 200}, shares, 100, 40), QVector<int>({50, 40, 30, 40}));
    EXPECT_EQ(FitWidths({50, 30}, {false, false}, 500, 40), QVector<int>({50, 30}));
}

TEST(ResultGrid, PageButtonsStayInPlaceAndColumnsFitTheOpeningWindow)
{
    TestDb t;
    TestUi u;
    Hooks h;
    const QString longMark = QString("ROSA DOS VENTOS COMÉRCIO E INDÚSTRIA ").repeated(5).trimmed();
    addMany(t, 10000000, 2500, longMark);
    ShownScreen<frmPesquisaMarca> s;
    s->NomeMarca()->setText("ROSA");
    s->OptLocation(1)->setChecked(true);
    s->Pesquisar_Click();
    QCoreApplication::processEvents();

    // Two clicks at one spot move two pages on; two at the other, two back.
    auto clickTwiceAt = [&](QPushButton* b) {
        const QPoint spot = b->mapTo(s.f.data(), b->rect().center());
        for (int i = 0; i < 2; ++i) {
            QWidget* w = s->childAt(spot);
            ASSERT_NE(w, nullptr);
            QTest::mouseClick(w, Qt::LeftButton, {}, w->mapFrom(s.f.data(), spot));
            QCoreApplication::processEvents();
        }
    };
    ASSERT_FALSE(s->NextRegs()->isHidden());
    clickTwiceAt(s->NextRegs());
    EXPECT_EQ(s->PageOffset, 2000);
    EXPECT_EQ(s->TotProcLbl()->text(), "Mostrando Processos de ordem 2001 a 2500");
    ASSERT_FALSE(s->PrevRegs()->isHidden());
    clickTwiceAt(s->PrevRegs());
    EXPECT_EQ(s->PageOffset, 0);

    // Every column in sight at the opening size, for 13 and 14 columns.
    auto fits = [](SearchScreen* screen) {
        QTableView* g = screen->GridMarcaRevista();
        const int columns = g->model()->columnCount();
        EXPECT_LE(g->horizontalHeader()->sectionPosition(columns - 1) + g->columnWidth(columns - 1), g->viewport()->width());
        EXPECT_FALSE(g->horizontalScrollBar()->isVisible());
        for (int c = 0; c < columns; ++c) {
            const QString caption = g->model()->headerData(c, Qt::Horizontal).toString();
            EXPECT_GE(g->columnWidth(c), g->horizontalHeader()->fontMetrics().horizontalAdvance(caption)) << c;
        }
    };
    EXPECT_EQ(s->width(), 1280);
    fits(s.f.data());
    {
        ShownScreen<frmPesquisaVigencia> v;
        fits(v.f.data());
    }

    // A cut cell shows its whole text as tooltip; a whole one shows none.
    QTableView* g = s->GridMarcaRevista();
    auto tipAt = [&](int column) {
        const QPoint at = g->visualRect(g->model()->index(0, column)).center();
        QHelpEvent e(QEvent::ToolTip, at, g->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(g->viewport(), &e);
        return QToolTip::text();
    };
    EXPECT_EQ(tipAt(1), "");
    EXPECT_EQ(tipAt(6), longMark);
}
