// The mark search screen: its box checks as the focus leaves a box, the
// refusals of a search, and searches run against a filled database.
#include "SearchFixture.h"
#include "ShownScreen.h"
#include "search/ResultGrid.h"
#include "search/SearchChecks.h"
#include "search/frmPesquisaMarca.h"
#include "support/TestUi.h"
#include "support/Typing.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace searchfixture;

namespace {

const QString kTitle = QStringLiteral("Pesquisa por Marca");

using Shown = ShownScreen<frmPesquisaMarca>;

}  // namespace

TEST(frmPesquisaMarca, LoadsWithItsDefaultsAndNames)
{
    TestDb t;
    TestUi u;
    Shown s;
    EXPECT_EQ(s->objectName(), "frmPesquisaMarca");
    EXPECT_EQ(s->windowTitle(), "Quorvanta - Sistema de Pesquisa de Marcas");
    EXPECT_TRUE(s->OPtFonetica(0)->isChecked());
    EXPECT_TRUE(s->OptLocation(0)->isChecked());
    EXPECT_TRUE(s->OptCNPJ(0)->isChecked());
    EXPECT_FALSE(s->Afinidade()->isChecked());
    EXPECT_EQ(s->NCL(1)->maxLength(), 2);
    EXPECT_EQ(s->NumCNPJ()->maxLength(), 14);
    EXPECT_EQ(s->RPI()->maxLength(), 4);
    for (const char* name : {"MarcaRevista", "GridMarcaRevista", "TotProcLbl", "LblAviso", "NextRegs", "PrevRegs",
                             "Exportar", "VisImp", "Sair", "Pesquisar", "Escritório", "Label1", "Label2", "Label3",
                             "NomeMarca", "Frame1", "Frame2", "Frame3", "Frame6", "Afinidade", "NumCNPJ", "RPI"})
        EXPECT_NE(s->findChild<QObject*>(name), nullptr) << name;
    EXPECT_EQ(s->findChildren<QLineEdit*>("NCL").size(), 5);
    EXPECT_EQ(s->Label1()->text(), kTitle);
    EXPECT_TRUE(s->NextRegs()->isHidden());
    EXPECT_TRUE(s->PrevRegs()->isHidden());
    EXPECT_TRUE(s->LblAviso()->isHidden());
    EXPECT_TRUE(u.messages.isEmpty());
}

TEST(frmPesquisaMarca, ARefusedBoxKeepsTheFocusAndSwallowsTheClick)
{
    TestDb t;
    TestUi u;
    Shown s;
    s->NomeMarca()->setText("sol");
    s.type(s->NCL(1), "0");
    // Clicking Pesquisar: the check refuses, the focus stays, no search.
    QTest::mouseClick(s->Pesquisar(), Qt::LeftButton);
    EXPECT_EQ(texts(u), QStringList{"Número de NCL inválido !"});
    EXPECT_EQ(u.lastMessage().style, 16);
    EXPECT_EQ(u.lastMessage().title, kTitle);
    EXPECT_EQ(QApplication::focusWidget(), s->NCL(1));
    EXPECT_TRUE(s->WhereClause.isEmpty());
    // Anywhere else too: an option keeps its state.
    QTest::mouseClick(s->OPtFonetica(2), Qt::LeftButton);
    EXPECT_TRUE(s->OPtFonetica(0)->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), s->NCL(1));
    // And by the keyboard.
    QTest::keyClick(s->NCL(1), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), s->NCL(1));
    EXPECT_EQ(u.messages.size(), 3);

    // The same class in another box is refused when that box is left.
    s->NCL(1)->setText("05");
    s.type(s->NCL(4), "5");
    u.clear();
    QTest::mouseClick(s->RPI(), Qt::LeftButton);
    EXPECT_EQ(texts(u), QStringList{"NCL já selecionado !"});
    EXPECT_EQ(QApplication::focusWidget(), s->NCL(4));

    s->NCL(4)->setText("35");
    u.clear();
    QTest::mouseClick(s->NumCNPJ(), Qt::LeftButton);
    EXPECT_TRUE(u.messages.isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), s->NumCNPJ());
    s->NumCNPJ()->setText("12.345");
    QTest::mouseClick(s->Pesquisar(), Qt::LeftButton);
    EXPECT_EQ(texts(u), QStringList{"Número do CNPJ, CPF ou INPI só pode conter dígitos de 0 a 9 !"});
    EXPECT_EQ(QApplication::focusWidget(), s->NumCNPJ());
    s->NumCNPJ()->clear();
    s.type(s->RPI(), "9e99");
    u.clear();
    QTest::mouseClick(s->Pesquisar(), Qt::LeftButton);
    EXPECT_EQ(texts(u), QStringList{"RPI tem que ser numérico !"});
    EXPECT_EQ(QApplication::focusWidget(), s->RPI());

    // Once the box is right the click goes through.
    s->RPI()->setText("2100");
    u.clear();
    QTest::mouseClick(s->Pesquisar(), Qt::LeftButton);
    EXPECT_EQ(s->WhereClause, "Marca = 'SOL' AND (r.nclclasse in(5,35)) AND rp.rpi=2100");
    EXPECT_EQ(s->SelectList, resultgrid::kIssueJoinSelectList);
    EXPECT_EQ(s->NclText, "05/35");
    EXPECT_EQ(texts(u), QStringList{"Não foi encontrada nenhum Processo que atendesse à pesquisa !"});
}

TEST(frmPesquisaMarca, ARefusedSearchChangesNothingThePagesRun)
{
    TestDb t;
    TestUi u;
    addMany(t, 10000000, 1200, "ALFA");
    Shown s;
    s->NomeMarca()->setText("alfa");
    s->NCL(2)->setText("25");
    s->Afinidade()->setChecked(true);
    s->Pesquisar_Click();
    EXPECT_EQ(s->WhereClause, "Marca = 'ALFA' AND (r.nclclasse in(25) OR (Classe is not null))");
    EXPECT_EQ(s->MarcaRevista().recordset().recordCount(), 0);

    s->NCL(2)->clear();
    s->Afinidade()->setChecked(false);
    s->Pesquisar_Click();
    ASSERT_FALSE(s->NextRegs()->isHidden());

    // Refused at the tax id: the page, its buttons and its condition stay.
    s->NomeMarca()->setText("beta");
    s->NCL(1)->setText("9");
    s->NumCNPJ()->setText("1234");
    u.clear();
    s->Pesquisar_Click();
    EXPECT_EQ(texts(u), QStringList{searchchecks::kTaxIdExactLength});
    EXPECT_EQ(QApplication::focusWidget(), s->NumCNPJ());
    EXPECT_EQ(s->TotProcLbl()->text(), resultgrid::kStatusZero);
    EXPECT_EQ(s->WhereClause, "Marca = 'ALFA'");
    EXPECT_TRUE(s->NclText.isEmpty());
    EXPECT_FALSE(s->NextRegs()->isHidden());
    EXPECT_EQ(u.pointer(), vb::Default);
    EXPECT_FALSE(u.pointerHistory.contains(vb::Hourglass));
    s->NextRegs_Click();
    EXPECT_EQ(s->MarcaRevista().recordset().recordCount(), 200);

    // A blank mark.
    s->NomeMarca()->setText("   ");
    s->NumCNPJ()->clear();
    u.clear();
    s->Pesquisar_Click();
    EXPECT_EQ(texts(u), QStringList{"Nome da Marca é obrigatório !"});
    EXPECT_EQ(u.lastMessage().style, 16);
    EXPECT_EQ(QApplication::focusWidget(), s->NomeMarca());
}

TEST(frmPesquisaMarca, FindsMarksByEachKey)
{
    TestDb t;
    TestUi u;
    addProcess(t, {.processo = 1, .marca = "CHOCOLATE DA VOVÓ", .nclclasse = 30});
    addProcess(t, {.processo = 2, .marca = "XOKOLATE", .cgccpf = "12345678000199", .nclclasse = 30});
    addProcess(t, {.processo = 3, .marca = "Chocolate", .nclclasse = 29, .classe = "31.10"});
    addProcess(t, {.processo = 4, .marca = "CHOCO-LATE!", .nclclasse = 35});
    addProcess(t, {.processo = 5, .marca = "D'AVILA", .nclclasse = 30});
    addProcess(t, {.processo = 6, .marca = "MEU CHOCOLATE", .nclclasse = 30});
    t.db().execute("INSERT INTO Revistas (revista, rdata) VALUES (2100, '10.04.2012')");
    t.db().execute("INSERT INTO RevProcs (processo, rpi, despacho) VALUES (2, 2100, 'IPAS009')");
    t.db().execute("INSERT INTO RevProcs (processo, rpi, despacho) VALUES (2, 2100, 'IPAS158')");
    t.db().execute("INSERT INTO RevProcs (processo, rpi, despacho) VALUES (3, 2099, 'IPAS009')");
    Shown s;
    auto found = [&](const QString& mark, int key, int location) {
        s->NomeMarca()->setText(mark);
        s->OPtFonetica(key)->setChecked(true);
        s->OptLocation(location)->setChecked(true);
        s->Pesquisar_Click();
        QStringList l;
        Recordset& rs = s->MarcaRevista().recordset();
        for (int r = 0; r < rs.recordCount(); ++r) l << rs.at(r, "processo").toString();
        l.sort();
        return l.join(',');
    };
    // The mark as stored, whatever its letter case.
    EXPECT_EQ(found("chocolate", 0, 0), "3");
    EXPECT_EQ(found("CHOCOLATE", 0, 1), "1,3");
    EXPECT_EQ(found("chocolate", 0, 2), "1,3,6");
    EXPECT_EQ(found("chocolate", 0, 3), "3,6");
    EXPECT_EQ(found("d'avila", 0, 0), "5");
    // The cleaned key drops what is not a letter or digit.
    EXPECT_EQ(found("choco late", 1, 0), "3,4");
    // Spelled differently, sounding alike.
    EXPECT_EQ(found("xocolate", 2, 0), "2,3,4");
    EXPECT_EQ(found("shokolat", 3, 1), found("chocolate", 3, 1));
    EXPECT_EQ(found("xocolate", 2, 2), "1,2,3,4,6");

    // Narrowed by class, tax id and issue.
    s->NCL(1)->setText("30");
    EXPECT_EQ(found("xocolate", 2, 2), "1,2,6");
    s->Afinidade()->setChecked(true);
    EXPECT_EQ(found("xocolate", 2, 2), "1,2,3,6");
    s->NumCNPJ()->setText("78000");
    s->OptCNPJ(1)->setChecked(true);
    EXPECT_EQ(found("xocolate", 2, 2), "2");
    s->RPI()->setText("2100");
    EXPECT_EQ(found("xocolate", 2, 2), "2,2");  // once per dispatch in that issue
    Recordset& rs = s->MarcaRevista().recordset();
    EXPECT_EQ(rs.at(0, "procdv").toString(), "000000027");
    EXPECT_EQ(rs.at(0, "nclclasse").toString(), "30");
    EXPECT_EQ(s->gridModel()->data(s->gridModel()->index(0, 2)).toString(), "10/04/2012");
    EXPECT_EQ(s->findChild<QLabel*>("TotProcLbl")->text(), "Mostrando Processos de ordem 1 a 2");


    // The export title follows the boxes and the classes of the search.
    const auto saved = SearchHooks::exportToExcel;
    QString title;
    SearchHooks::exportToExcel = [&](const QString& text, Recordset&) { title = text; };
    s->Exportar_Click();
    SearchHooks::exportToExcel = saved;
    EXPECT_EQ(title, "Pesquisa por Marca - Fonética1/Em qualquer parte - 'XOCOLATE'       RPI = 2100       NCL = 30"
                     "   Incluir Classes Antigas   CNPJ/CPF/INPI = 78000 Parcial");
}

TEST(frmPesquisaMarca, APastedMarkFindsWhatTheTypedOneFinds)
{
    TestDb t;
    TestUi u;
    addProcess(t, {.processo = 1, .marca = "MU"});
    Shown s;
    QTest::mouseClick(s->NomeMarca(), Qt::LeftButton);
    typing::paste("mu\n");  // a spreadsheet cell: its text and a line break
    QTest::mouseClick(s->Pesquisar(), Qt::LeftButton);
    EXPECT_EQ(s->WhereClause, "Marca = 'MU'");
    EXPECT_EQ(s.found(), "1");
}
