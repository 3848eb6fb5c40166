// The journal-issue search screen: its controls, the checks of its boxes as
// the focus leaves them, refused searches, and searches run against a
// filled database.
#include "SearchFixture.h"
#include "ShownScreen.h"
#include "search/ResultGrid.h"
#include "search/SearchChecks.h"
#include "search/frmPesquisaRevista.h"
#include "support/TestUi.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace searchfixture;

namespace {

const QString kTitle = QStringLiteral("Pesquisa por Revista");

struct Shown : ShownScreen<frmPesquisaRevista> {
    int rows() { return f->MarcaRevista().recordset().recordCount(); }
    QString at(int row, const char* column) { return f->MarcaRevista().recordset().at(row, column).toString(); }
    QString cell(int row, int col) { return f->gridModel()->data(f->gridModel()->index(row, col)).toString(); }
    QStringList column(const char* name)
    {
        QStringList l;
        for (int r = 0; r < rows(); ++r) l << at(r, name);
        return l;
    }
};

// The export and print of the page, caught.
struct Output {
    QStringList exported, printed;
    int orientation = 0;
    decltype(SearchHooks::exportToExcel) savedExport = SearchHooks::exportToExcel;
    decltype(SearchHooks::showReport) savedReport = SearchHooks::showReport;
    Output()
    {
        SearchHooks::exportToExcel = [this](const QString& title, Recordset&) { exported << title; };
        SearchHooks::showReport = [this](DataControl&, const QString& title, int o) {
            printed << title;
            orientation = o;
        };
    }
    ~Output()
    {
        SearchHooks::exportToExcel = savedExport;
        SearchHooks::showReport = savedReport;
    }
};

// count processes from first, each with one entry in the issue.
void addEntries(TestDb& t, int first, int count, int issue)
{
    t.db().execute(QStringLiteral("EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (i < %1) DO BEGIN "
                                  "INSERT INTO Processos (processo, revista, despacho, marca, titular, codprocurador) "
                                  "VALUES (%2 + :i, %3, 'IPAS009', 'MARCA', 'TITULAR', 0); "
                                  "INSERT INTO RevProcs (processo, rpi, despacho) VALUES (%2 + :i, %3, 'IPAS009'); "
                                  "i = i + 1; END END")
                       .arg(count)
                       .arg(first)
                       .arg(issue));
}

void addEntry(TestDb& t, int codigo, int processo, int rpi, const QString& despacho)
{
    t.db().execute(QStringLiteral("INSERT INTO RevProcs (codigo, processo, rpi, despacho) VALUES (%1, %2, %3, '%4')")
                       .arg(codigo)
                       .arg(processo)
                       .arg(rpi)
                       .arg(despacho));
}

}  // namespace

TEST(frmPesquisaRevista, LoadsWithItsControlsAndDefaults)
{
    TestDb t;
    TestUi u;
    Shown s;
    EXPECT_EQ(s->objectName(), "frmPesquisaRevista");
    EXPECT_EQ(s->windowTitle(), "Quorvanta - Sistema de Pesquisa de Marcas");
    EXPECT_EQ(s->Label1()->text(), kTitle);
    EXPECT_EQ(s->findChild<QLabel*>("txt234")->text(), "Revista :");
    EXPECT_EQ(s->findChild<QGroupBox*>("Frame3")->title(), "Despacho");
    EXPECT_EQ(s->findChild<QGroupBox*>("Frame2")->title(), "NCL");
    EXPECT_EQ(s->findChild<QGroupBox*>("Frame1")->title(), "CNPJ, CPF ou # INPI");
    EXPECT_EQ(s->findChild<QGroupBox*>("Frame4")->title(), "Procurador");
    EXPECT_EQ(s->Afinidade()->text(), "Incluir Classificação Antiga");
    EXPECT_FALSE(s->Afinidade()->isChecked());
    EXPECT_EQ(s->NumRevista()->maxLength(), 4);
    EXPECT_EQ(s->NumCNPJ()->maxLength(), 14);
    EXPECT_EQ(s->NomeProcurador()->maxLength(), 100);
    EXPECT_EQ(s->findChildren<QLineEdit*>("Desp").size(), 3);
    EXPECT_EQ(s->findChildren<QLineEdit*>("NCL").size(), 3);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(s->Desp(i)->maxLength(), 7);
        EXPECT_EQ(s->NCL(i)->maxLength(), 2);
        EXPECT_EQ(s->Desp(i)->property("Index").toInt(), i);
    }
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(s->OptCNPJ(i)->text(), i ? "Parcial" : "Exato");
        EXPECT_EQ(s->OptLocation(i)->text(), i ? "Parcial" : "Exato");
    }
    EXPECT_TRUE(s->OptCNPJ(0)->isChecked());
    EXPECT_TRUE(s->OptLocation(0)->isChecked());
    for (const char* name : {"MarcaRevista", "GridMarcaRevista", "TotProcLbl", "LblAviso", "NextRegs", "PrevRegs",
                             "Exportar", "VisImp", "Sair", "Pesquisar", "Escritório", "Label2", "Label3"})
        EXPECT_NE(s->findChild<QObject*>(name), nullptr) << name;
    EXPECT_TRUE(s->NextRegs()->isHidden());
    EXPECT_TRUE(s->PrevRegs()->isHidden());
    EXPECT_TRUE(u.messages.isEmpty());
}

TEST(frmPesquisaRevista, ARefusedBoxKeepsTheFocusAndSwallowsTheClick)
{
    TestDb t;
    TestUi u;
    Shown s;
    s->NumRevista()->setText("2400");

    // A code is upper-cased as its box is left; the same code elsewhere is refused.
    s.type(s->Desp(1), "ipas009");
    QTest::mouseClick(s->Desp(3), Qt::LeftButton);
    EXPECT_EQ(s->Desp(1)->text(), "IPAS009");
    EXPECT_TRUE(u.messages.isEmpty());
    s->Desp(3)->setText("Ipas009");
    QTest::mouseClick(s->Pesquisar(), Qt::LeftButton);
    EXPECT_EQ(texts(u), QStringList{"Despacho já selecionado !"});
    EXPECT_EQ(u.lastMessage().style, 16);
    EXPECT_EQ(u.lastMessage().title, kTitle);
    EXPECT_EQ(s->Desp(3)->text(), "IPAS009");
    EXPECT_EQ(QApplication::focusWidget(), s->Desp(3));
    EXPECT_TRUE(s->WhereClause.isEmpty());
    QTest::mouseClick(s->OptCNPJ(1), Qt::LeftButton);
    EXPECT_TRUE(s->OptCNPJ(0)->isChecked());
    s->Desp(3)->clear();

    // Classes: 5 and 05 are one class; 0 gets one message only.
    s.type(s->NCL(1), "5");
    s.type(s->NCL(2), "05");
    u.clear();
    QTest::keyClick(s->NCL(2), Qt::Key_Tab);
    EXPECT_EQ(texts(u), QStringList{"NCL já selecionado !"});
    EXPECT_EQ(QApplication::focusWidget(), s->NCL(2));
    s->NCL(2)->setText("0");
    u.clear();
    QTest::mouseClick(s->NumCNPJ(), Qt::LeftButton);
    EXPECT_EQ(texts(u), QStringList{"Número de NCL inválido !"});
    EXPECT_EQ(QApplication::focusWidget(), s->NCL(2));
    s->NCL(2)->setText("-5");
    u.clear();
    QTest::mouseClick(s->NumCNPJ(), Qt::LeftButton);
    EXPECT_EQ(texts(u), QStringList{"Número de NCL inválido !"});
    s->NCL(2)->setText("x");
    u.clear();
    QTest::mouseClick(s->NumCNPJ(), Qt::LeftButton);
    EXPECT_EQ(texts(u), QStringList{"NCL tem que ser numérico !"});
    s->NCL(2)->clear();

    s.type(s->NumCNPJ(), "12-34");
    u.clear();
    QTest::mouseClick(s->NomeProcurador(), Qt::LeftButton);
    EXPECT_EQ(texts(u), QStringList{searchchecks::kTaxIdDigits});
    EXPECT_EQ(QApplication::focusWidget(), s->NumCNPJ());
    s->NumCNPJ()->clear();

    s.type(s->NumRevista(), "9e99");
    u.clear();
    QTest::mouseClick(s->Pesquisar(), Qt::LeftButton);
    EXPECT_EQ(texts(u), QStringList{"Número da Revista tem que ser numérico !"});
    EXPECT_EQ(QApplication::focusWidget(), s->NumRevista());
    EXPECT_TRUE(s->WhereClause.isEmpty());

    // Once every box is right the click goes through.
    s->NumRevista()->setText("2400");
    u.clear();
    QTest::mouseClick(s->Pesquisar(), Qt::LeftButton);
    EXPECT_EQ(s->WhereClause, " rp.rpi = 2400 AND rp.despacho ='IPAS009' AND (r.nclclasse in(5))");
    EXPECT_EQ(s->DespText, "IPAS009");
    EXPECT_EQ(s->NclText, "5");
    EXPECT_EQ(texts(u), QStringList{"Não foi encontrada nenhum Processo que atendesse à pesquisa !"});
    EXPECT_EQ(u.lastMessage().title, kTitle);
}

TEST(frmPesquisaRevista, ARefusedSearchChangesNothingThePagesRun)
{
    TestDb t;
    TestUi u;
    addEntries(t, 10000000, 1200, 2400);
    Shown s;
    s->NumRevista()->setText("2400");
    s->Pesquisar_Click();
    EXPECT_EQ(s.rows(), 1000);
    EXPECT_FALSE(s->NextRegs()->isHidden());
    EXPECT_EQ(texts(u).last(), "Foram encontrados mais de 1000 Processos que atendem à pesquisa, porém só estão sendo "
                               "mostrados os primeiros 1000 !");
    EXPECT_EQ(u.lastMessage().title, kTitle);
    // The first page keeps the normal pointer.
    EXPECT_FALSE(u.pointerHistory.contains(vb::Hourglass));
    EXPECT_EQ(u.pointer(), vb::Default);

    // No issue: refused before the status line is touched.
    s->NumRevista()->clear();
    s->Desp(1)->setText("IPAS158");
    u.clear();
    s->Pesquisar_Click();
    EXPECT_EQ(texts(u), QStringList{"Número da Revista é obrigatório !"});
    EXPECT_EQ(u.lastMessage().style, 16);
    EXPECT_EQ(QApplication::focusWidget(), s->NumRevista());
    EXPECT_EQ(s->TotProcLbl()->text(), "Mostrando Processos de ordem 1 a 1000");

    // Refused at the tax id: the status line is reset, the rest stays.
    s->NumRevista()->setText("2399");
    s->NCL(1)->setText("9");
    s->NumCNPJ()->setText("1234");
    s->OptCNPJ(1)->setChecked(true);
    u.clear();
    s->Pesquisar_Click();
    EXPECT_EQ(texts(u), QStringList{searchchecks::kTaxIdPartialLength});
    EXPECT_EQ(QApplication::focusWidget(), s->NumCNPJ());
    EXPECT_EQ(s->TotProcLbl()->text(), resultgrid::kStatusZero);
    EXPECT_EQ(s->WhereClause, " rp.rpi = 2400");
    EXPECT_TRUE(s->DespText.isEmpty());
    EXPECT_TRUE(s->NclText.isEmpty());
    EXPECT_FALSE(s->NextRegs()->isHidden());

    // Refused at the attorney.
    s->NumCNPJ()->clear();
    s->NomeProcurador()->setText("abc");
    s->OptLocation(1)->setChecked(true);
    u.clear();
    s->Pesquisar_Click();
    EXPECT_EQ(texts(u), QStringList{"Para pesquisas não exatas, é necessário um mínimo de 4 caracteres para o Nome "
                                    "do Procurador !"});
    EXPECT_EQ(QApplication::focusWidget(), s->NomeProcurador());
    EXPECT_EQ(s->WhereClause, " rp.rpi = 2400");

    // The page buttons still run the last search that passed, with the hourglass.
    u.clear();
    s->NextRegs_Click();
    EXPECT_EQ(s.rows(), 200);
    EXPECT_EQ(s->MarcaRevista().RecordSource,
              resultgrid::PageQuery(1000, issuesearch::kSelectList, " rp.rpi = 2400", " ORDER BY rp.codigo"));
    EXPECT_TRUE(u.pointerHistory.contains(vb::Hourglass));
    EXPECT_EQ(u.pointer(), vb::Default);
    EXPECT_EQ(texts(u), QStringList{"Foram encontrados 1200 Processos que atendem à pesquisa !"});
    EXPECT_EQ(u.lastMessage().title, kTitle);

    // A search whose query fails keeps the codes and classes of the last one.
    s->NomeProcurador()->clear();
    t.db().close();
    u.clear();
    s->Pesquisar_Click();
    ASSERT_EQ(u.messages.size(), 1);
    EXPECT_EQ(u.lastMessage().style, 16);
    EXPECT_TRUE(u.lastMessage().text.startsWith("Erro ao pesquisar o Banco de Dados"));
    EXPECT_EQ(s->WhereClause, " rp.rpi = 2400");
    EXPECT_TRUE(s->DespText.isEmpty());
    EXPECT_TRUE(s->NclText.isEmpty());
    EXPECT_EQ(s->PageOffset, 1000);
    // The page in hand stays with its own count and page buttons.
    EXPECT_EQ(s->TotProcLbl()->text(), "Mostrando Processos de ordem 1001 a 1200");
    EXPECT_EQ(s.rows(), 200);
    EXPECT_FALSE(s->PrevRegs()->isHidden());
    EXPECT_TRUE(s->NextRegs()->isHidden());
}

TEST(frmPesquisaRevista, ADispatchCodeAsTheJournalPrintsItFindsTheOlderIssues)
{
    TestDb t;
    TestUi u;
    addProcess(t, {.processo = 1, .revista = 2150, .despacho = "3"});
    addEntry(t, 1, 1, 2150, "3");
    addEntry(t, 2, 1, 2150, "403");
    Shown s;
    QTest::mouseClick(s->NumRevista(), Qt::LeftButton);
    QTest::keyClicks(s->NumRevista(), "2150");
    QTest::mouseClick(s->Desp(1), Qt::LeftButton);
    QTest::keyClicks(s->Desp(1), "003");
    QTest::mouseClick(s->Pesquisar(), Qt::LeftButton);
    EXPECT_EQ(s.column("codigo"), QStringList{"1"});
    EXPECT_EQ(s->DespText, "003");
}

TEST(frmPesquisaRevista, ListsEveryEntryOfTheIssueInStoredOrder)
{
    TestDb t;
    TestUi u;
    Output out;
    t.db().execute("INSERT INTO Revistas (revista, rdata) VALUES (2400, '10.04.2017')");
    t.db().execute("INSERT INTO Revistas (revista, rdata) VALUES (2401, '17.04.2017')");
    t.db().execute("INSERT INTO Procuradores (codprocurador, procurador) VALUES (2, 'ALFA ADVOGADOS')");
    addProcess(t, {.processo = 1, .marca = "SOL", .revista = 2401, .despacho = "IPAS999", .cgccpf = "12345678000199",
                   .nclclasse = 25, .codprocurador = 2});
    addProcess(t, {.processo = 2, .marca = "LUA", .revista = 2400, .despacho = "IPAS024", .nclclasse = 35});
    addProcess(t, {.processo = 3, .marca = "MAR", .revista = 2399, .nclclasse = 25, .classe = "31.10", .codprocurador = 1});
    addEntry(t, 30, 1, 2400, "IPAS009");
    addEntry(t, 10, 2, 2400, "IPAS024");
    addEntry(t, 20, 1, 2400, "IPAS158");
    addEntry(t, 5, 3, 2399, "IPAS009");
    addEntry(t, 25, 3, 2400, "IPAS009");
    Shown s;
    s->NumRevista()->setText("2400");
    s->Pesquisar_Click();
    // One row per entry, in the order the entries were stored.
    EXPECT_EQ(s.column("codigo"), QStringList({"10", "20", "25", "30"}));
    EXPECT_EQ(s.column("processo"), QStringList({"2", "1", "3", "1"}));
    EXPECT_EQ(s.column("desp"), QStringList({"IPAS024", "IPAS158", "IPAS009", "IPAS009"}));
    EXPECT_EQ(s.column("rpi"), QStringList({"2400", "2400", "2400", "2400"}));
    EXPECT_EQ(s.column("procurador"), QStringList({"", "ALFA ADVOGADOS", "O PRÓPRIO", "ALFA ADVOGADOS"}));
    EXPECT_EQ(s.at(1, "procdv"), "000000019");
    EXPECT_EQ(s.at(0, "nclclasse"), "35");
    // The grid shows the entry's issue, its date and its dispatch.
    EXPECT_EQ(s.cell(1, 0), "000000019");
    EXPECT_EQ(s.cell(1, 1), "2400");
    EXPECT_EQ(s.cell(1, 2), "10/04/2017");
    EXPECT_EQ(s.cell(1, 3), "IPAS158");
    EXPECT_EQ(s->TotProcLbl()->text(), "Mostrando Processos de ordem 1 a 4");
    EXPECT_EQ(texts(u), QStringList{"Foram encontrados 4 Processos que atendem à pesquisa !"});
    EXPECT_EQ(u.lastMessage().style, 64);
    EXPECT_EQ(u.lastMessage().title, kTitle);

    auto processes = [&] {
        s->Pesquisar_Click();
        return s.column("processo").join(',');
    };
    s->Desp(1)->setText("IPAS158");
    s->Desp(3)->setText("IPAS009");
    EXPECT_EQ(processes(), "1,3,1");
    s->NCL(2)->setText("25");
    EXPECT_EQ(processes(), "1,3,1");
    s->Desp(1)->clear();
    s->Desp(3)->clear();
    s->NCL(1)->setText("35");
    EXPECT_EQ(processes(), "2,1,3,1");
    s->NCL(1)->clear();
    s->NCL(2)->setText("35");
    EXPECT_EQ(processes(), "2");
    s->Afinidade()->setChecked(true);
    EXPECT_EQ(processes(), "2,3");
    s->NCL(2)->clear();
    s->Afinidade()->setChecked(false);
    s->NomeProcurador()->setText("alfa");
    s->OptLocation(1)->setChecked(true);
    EXPECT_EQ(processes(), "1,1");
    s->NomeProcurador()->setText("o próprio");
    s->OptLocation(0)->setChecked(true);
    EXPECT_EQ(processes(), "3");
    s->NomeProcurador()->clear();
    s->NumCNPJ()->setText("45678");
    s->OptCNPJ(1)->setChecked(true);
    EXPECT_EQ(processes(), "1,1");

    // Export and print titles from the boxes and the last search.
    s->Desp(2)->setText("IPAS158");
    s->NCL(3)->setText("25");
    s->Afinidade()->setChecked(true);
    s->NomeProcurador()->setText("Alfa");
    s->OptLocation(1)->setChecked(true);
    EXPECT_EQ(processes(), "1");
    s->Exportar_Click();
    s->VisImp_Click();
    EXPECT_EQ(out.exported, QStringList{"Pesquisa por Revista - 2400       Despacho = IPAS158       NCL = 25   Incluir "
                                        "Classes Antigas   Procurador = 'Alfa' Parcial   CNPJ/CPF/INPI = 45678 Parcial"});
    EXPECT_EQ(out.printed, QStringList{"Pesquisa por Revista - RPI = 2400       Despacho = IPAS158       NCL = 25   "
                                       "Incluir Classificação Antiga       CNPJ/CPF/INPI = 45678 Parcial\r\n."
                                       + QString(34, ' ') + "Procurador = Alfa - Parcial"});
    EXPECT_EQ(out.orientation, 2);
}
