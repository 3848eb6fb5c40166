// The own-filings search screen: its controls, the checks of its boxes as
// the focus leaves them, the refused search, and searches run against a
// filled database with and without an issue.
#include "SearchFixture.h"
#include "ShownScreen.h"
#include "search/OwnFilingsSearch.h"
#include "search/ResultGrid.h"
#include "search/frmPesquisaProprio.h"
#include "support/TestUi.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace searchfixture;

namespace {

const QString kTitle = QStringLiteral("Pesquisa por Procurador = 'O Próprio'");
const QString kOutcomeTitle = QStringLiteral("Pesquisa por Procurador 'O Próprio'");

struct Shown : ShownScreen<frmPesquisaProprio> {
    void choose(int index, const QString& uf)
    {
        QComboBox* cb = f->UF(index);
        cb->setFocus(Qt::MouseFocusReason);
        cb->setCurrentIndex(cb->findText(uf));
    }
    int rows() { return f->MarcaRevista().recordset().recordCount(); }
    QString at(int row, const char* column) { return f->MarcaRevista().recordset().at(row, column).toString(); }
    // Rows as "processo rpi desp", sorted (the page has no order of its own).
    QStringList found()
    {
        QStringList l;
        for (int r = 0; r < rows(); ++r) l << at(r, "processo") + ' ' + at(r, "rpi") + ' ' + at(r, "desp");
        l.sort();
        return l;
    }
};

struct Output {
    QStringList exported, printed;
    decltype(SearchHooks::exportToExcel) savedExport = SearchHooks::exportToExcel;
    decltype(SearchHooks::showReport) savedReport = SearchHooks::showReport;
    Output()
    {
        SearchHooks::exportToExcel = [this](const QString& title, Recordset&) { exported << title; };
        SearchHooks::showReport = [this](DataControl&, const QString& title, int) { printed << title; };
    }
    ~Output()
    {
        SearchHooks::exportToExcel = savedExport;
        SearchHooks::showReport = savedReport;
    }
};

void addEntry(TestDb& t, int processo, int rpi, const QString& despacho)
{
    t.db().execute(QStringLiteral("INSERT INTO RevProcs (processo, rpi, despacho) VALUES (%1, %2, '%3')")
                       .arg(processo)
                       .arg(rpi)
                       .arg(despacho));
}

}  // namespace

TEST(frmPesquisaProprio, LoadsWithItsControls)
{
    TestDb t;
    TestUi u;
    Shown s;
    EXPECT_EQ(s->objectName(), "frmPesquisaProprio");
    EXPECT_EQ(s->windowTitle(), "Quorvanta - Sistema de Pesquisa de Marcas");
    EXPECT_EQ(s->Label1()->text(), "Pesquisa por Procurador  \"O Próprio\"");
    EXPECT_EQ(s->findChild<QLabel*>("txt234")->text(), "Revista :");
    EXPECT_EQ(s->findChild<QGroupBox*>("Frame3")->title(), "Despacho");
    EXPECT_EQ(s->findChild<QGroupBox*>("Frame2")->title(), "Estado (UF)");
    EXPECT_EQ(s->NumRevista()->maxLength(), 4);
    EXPECT_EQ(s->findChildren<QLineEdit*>("Desp").size(), 3);
    EXPECT_EQ(s->findChildren<QComboBox*>("UF").size(), 3);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(s->Desp(i)->maxLength(), 7);
        QComboBox* cb = s->UF(i);
        EXPECT_EQ(cb->property("Index").toInt(), i);
        EXPECT_FALSE(cb->isEditable());
        EXPECT_TRUE(cb->currentText().isEmpty());
        ASSERT_EQ(cb->count(), 28);
        EXPECT_TRUE(cb->itemText(0).isEmpty());
        EXPECT_EQ(cb->itemText(1), "AC");
        EXPECT_EQ(cb->itemText(4), "AP");
        EXPECT_EQ(cb->itemText(27), "TO");
    }
    for (const char* name : {"MarcaRevista", "GridMarcaRevista", "TotProcLbl", "LblAviso", "NextRegs", "PrevRegs",
                             "Exportar", "VisImp", "Sair", "Pesquisar", "Escritório", "Label2", "Label3"})
        EXPECT_NE(s->findChild<QObject*>(name), nullptr) << name;
    EXPECT_TRUE(u.messages.isEmpty());
}

TEST(frmPesquisaProprio, ARefusedBoxKeepsTheFocusAndSwallowsTheClick)
{
    TestDb t;
    TestUi u;
    Shown s;
    s.choose(1, "SP");
    s.choose(3, "SP");
    QTest::mouseClick(s->Pesquisar(), Qt::LeftButton);
    EXPECT_EQ(texts(u), QStringList{"Estado já selecionado !"});
    EXPECT_EQ(u.lastMessage().style, 16);
    EXPECT_EQ(u.lastMessage().title, kTitle);
    EXPECT_EQ(QApplication::focusWidget(), s->UF(3));
    EXPECT_TRUE(s->WhereClause.isEmpty());
    s->UF(3)->setCurrentIndex(0);  // the empty entry clears the choice
    u.clear();
    QTest::mouseClick(s->Desp(1), Qt::LeftButton);
    EXPECT_TRUE(u.messages.isEmpty());

    s.type(s->Desp(1), "ipas009");
    QTest::mouseClick(s->Desp(2), Qt::LeftButton);
    EXPECT_EQ(s->Desp(1)->text(), "IPAS009");
    EXPECT_TRUE(u.messages.isEmpty());
    s->Desp(2)->setText("ipas009");
    QTest::keyClick(s->Desp(2), Qt::Key_Tab);
    EXPECT_EQ(texts(u), QStringList{"Despacho já selecionado !"});
    EXPECT_EQ(s->Desp(2)->text(), "IPAS009");
    EXPECT_EQ(QApplication::focusWidget(), s->Desp(2));
    s->Desp(2)->clear();

    for (const char* bad : {"2.5", "abc", "1e3"}) {
        s.type(s->NumRevista(), bad);
        u.clear();
        QTest::mouseClick(s->Pesquisar(), Qt::LeftButton);
        EXPECT_EQ(texts(u), QStringList{"Número da Revista tem que ser numérico !"}) << bad;
        EXPECT_EQ(QApplication::focusWidget(), s->NumRevista());
        EXPECT_TRUE(s->WhereClause.isEmpty());
    }

    s->NumRevista()->setText("2400");
    u.clear();
    QTest::mouseClick(s->Pesquisar(), Qt::LeftButton);
    EXPECT_EQ(s->WhereClause, "rp.rpi = 2400 AND r.codprocurador=1 AND  rp.despacho ='IPAS009' AND  r.TitularPais='BR/SP'");
    EXPECT_EQ(s->SelectList, ownfilings::kEntrySelectList);
    EXPECT_EQ(s->DespText, "IPAS009");
    EXPECT_EQ(s->UfText, "UF = BR/SP");
    EXPECT_EQ(texts(u), QStringList{"Não foi encontrada nenhum Processo que atendesse à pesquisa !"});
    EXPECT_EQ(u.lastMessage().title, kOutcomeTitle);
}

TEST(frmPesquisaProprio, ASearchWithoutCriteriaIsRefusedAndChangesNothingThePagesRun)
{
    TestDb t;
    TestUi u;
    t.db().execute("EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (i < 1100) DO BEGIN "
                   "INSERT INTO Processos (processo, revista, despacho, marca, titular, titularpais, codprocurador) "
                   "VALUES (20000000 + :i, 2400, 'IPAS009', 'MARCA', 'TITULAR', 'BR/SP', 1); i = i + 1; END END");
    Shown s;
    s.choose(2, "SP");
    s->Pesquisar_Click();
    EXPECT_EQ(s.rows(), 1000);
    EXPECT_EQ(u.lastMessage().title, kOutcomeTitle);
    EXPECT_TRUE(u.pointerHistory.contains(vb::Hourglass));
    EXPECT_EQ(u.pointer(), vb::Default);
    ASSERT_FALSE(s->NextRegs()->isHidden());
    EXPECT_EQ(s->TotProcLbl()->text(), "Mostrando Processos de ordem 1 a 1000");

    s->UF(2)->setCurrentIndex(0);
    u.clear();
    s->Pesquisar_Click();
    EXPECT_EQ(texts(u), QStringList{"Pelo menos um dos campos - Revista, Despacho ou Estado(UF), precisa estar "
                                    "preenchido !"});
    EXPECT_EQ(u.lastMessage().style, 16);
    EXPECT_EQ(u.lastMessage().title, kTitle);
    EXPECT_EQ(QApplication::focusWidget(), s->NumRevista());
    EXPECT_EQ(s->TotProcLbl()->text(), resultgrid::kStatusZero);
    EXPECT_EQ(s->WhereClause, "r.codprocurador = 1 AND   r.TitularPais='BR/SP'");
    EXPECT_EQ(s->UfText, "UF = BR/SP");
    EXPECT_FALSE(s->NextRegs()->isHidden());

    u.clear();
    s->NextRegs_Click();
    EXPECT_EQ(s.rows(), 100);
    EXPECT_EQ(texts(u), QStringList{"Foram encontrados 1100 Processos que atendem à pesquisa !"});
    EXPECT_EQ(u.lastMessage().title, kTitle);
    u.clear();
    s->PrevRegs_Click();
    EXPECT_EQ(s.rows(), 1000);
    EXPECT_EQ(u.lastMessage().title, kTitle);
}

TEST(frmPesquisaProprio, OwnFilingsWithAndWithoutAnIssue)
{
    TestDb t;
    TestUi u;
    Output out;
    t.db().execute("INSERT INTO Revistas (revista, rdata) VALUES (2400, '10.04.2017')");
    t.db().execute("INSERT INTO Revistas (revista, rdata) VALUES (2401, '17.04.2017')");
    t.db().execute("INSERT INTO Procuradores (codprocurador, procurador) VALUES (2, 'ALFA ADVOGADOS')");
    addProcess(t, {.processo = 1, .revista = 2401, .despacho = "IPAS999", .titularpais = "BR/SP", .codprocurador = 1});
    addProcess(t, {.processo = 2, .revista = 2400, .despacho = "IPAS009", .titularpais = "BR/RJ", .codprocurador = 1});
    addProcess(t, {.processo = 3, .revista = 2400, .despacho = "IPAS009", .titularpais = "BR/SP", .codprocurador = 2});
    addProcess(t, {.processo = 4, .revista = 2398, .despacho = "IPAS400", .titularpais = "BR/MG", .codprocurador = 1});
    addProcess(t, {.processo = 5, .revista = 2398, .despacho = "IPAS400", .titularpais = "BR/AP", .codprocurador = 1});
    addEntry(t, 1, 2400, "IPAS009");
    addEntry(t, 1, 2400, "IPAS158");
    addEntry(t, 1, 2399, "IPAS024");
    addEntry(t, 2, 2400, "IPAS009");
    addEntry(t, 3, 2400, "IPAS009");
    Shown s;

    // With an issue: one row per entry of that issue.
    s->NumRevista()->setText("2400");
    s->Pesquisar_Click();
    EXPECT_EQ(s.found(), QStringList({"1 2400 IPAS009", "1 2400 IPAS158", "2 2400 IPAS009"}));
    EXPECT_EQ(s.at(0, "procurador"), "O PRÓPRIO");
    EXPECT_EQ(s.at(0, "codprocurador"), "1");
    EXPECT_EQ(s.at(0, "datarpi"), "2017-04-10");
    EXPECT_EQ(texts(u), QStringList{"Foram encontrados 3 Processos que atendem à pesquisa !"});
    EXPECT_EQ(u.lastMessage().title, kOutcomeTitle);
    s->Desp(2)->setText("IPAS158");
    s->Pesquisar_Click();
    EXPECT_EQ(s.found(), QStringList({"1 2400 IPAS158"}));

    // Without one: each process once, with its latest issue and dispatch.
    s->NumRevista()->clear();
    s->Desp(2)->clear();
    s.choose(1, "RJ");
    s.choose(3, "SP");
    s->Pesquisar_Click();
    EXPECT_EQ(s->SelectList, ownfilings::kProcessSelectList);
    EXPECT_EQ(s.found(), QStringList({"1 2401 IPAS999", "2 2400 IPAS009"}));
    EXPECT_EQ(s.at(0, "procurador"), "O PRÓPRIO");
    s->Exportar_Click();
    s->VisImp_Click();
    s->UF(1)->setCurrentIndex(-1);
    s.choose(3, "MG");
    s->Pesquisar_Click();
    EXPECT_EQ(s.found(), QStringList({"4 2398 IPAS400"}));
    s.choose(2, "AP");
    s->Pesquisar_Click();
    EXPECT_EQ(s.found(), QStringList({"4 2398 IPAS400", "5 2398 IPAS400"}));
    s->UF(2)->setCurrentIndex(0);

    // Codes without an issue: the entries with those codes, in any issue.
    s->UF(3)->setCurrentIndex(0);
    s->Desp(3)->setText("IPAS024");
    s->Pesquisar_Click();
    EXPECT_EQ(s->SelectList, ownfilings::kEntrySelectList);
    EXPECT_EQ(s.found(), QStringList({"1 2399 IPAS024"}));
    s->Desp(1)->setText("IPAS009");
    s->Pesquisar_Click();
    EXPECT_EQ(s.found(), QStringList({"1 2399 IPAS024", "1 2400 IPAS009", "2 2400 IPAS009"}));

    // Titles: the states of the first search, none after a search without.
    s->NumRevista()->setText("2400");
    s->Exportar_Click();
    s->VisImp_Click();
    EXPECT_EQ(out.exported, QStringList({"Pesquisa por Procurador = 'O PRÓPRIO'       UF = BR/RJ ou BR/SP",
                                         "Pesquisa por Procurador = 'O PRÓPRIO'       RPI = 2400       Despacho = "
                                         "IPAS009/IPAS024"}));
    EXPECT_EQ(out.printed, out.exported);
}
