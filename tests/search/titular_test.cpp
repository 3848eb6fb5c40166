// The holder search: its checks, conditions and titles, and the screen
// searching a filled database with its own message titles.
#include "SearchFixture.h"
#include "ShownScreen.h"
#include "TitleHooks.h"
#include "search/NameSearch.h"
#include "search/frmPesquisaTitular.h"
#include "support/TestUi.h"
#include "support/Typing.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace namesearch;
using namespace searchfixture;

namespace {

const QString kTitularr = QStringLiteral("Pesquisa por Titularr");

QString where(const QString& t, int location)
{
    const Outcome o = BuildSearch(Holder(), t, location);
    EXPECT_TRUE(o.refusal.isEmpty()) << o.refusal.toStdString();
    return o.whereClause;
}

struct Screen : ShownScreen<frmPesquisaTitular> {
    void search(const QString& text, int location)
    {
        f->NomeTitular()->setText(text);
        f->OptLocation(location)->setChecked(true);
        f->Pesquisar_Click();
    }
};

}  // namespace

TEST(HolderSearch, ConditionOfEachMatchType)
{
    EXPECT_EQ(where("acme", Exata), "r.titular = 'ACME'");
    EXPECT_EQ(where("acme", SoNoInicio), "r.titular LIKE 'ACME%'");
    EXPECT_EQ(where("acme", EmQualquerParte), "r.titular LIKE '%ACME%'");
    EXPECT_EQ(where("acme", SoNoFinal), "r.titular LIKE '%ACME'");
    // Apostrophes doubled in every match type, however many.
    for (int loc = Exata; loc <= SoNoFinal; ++loc) EXPECT_TRUE(where("o'neil", loc).contains("O''NEIL")) << loc;
    EXPECT_EQ(where("d'o'r", Exata), "r.titular = 'D''O''R'");
    EXPECT_EQ(where("''", Exata), "r.titular = ''''''");
    // Blanks stay: they count and are part of the pattern.
    EXPECT_EQ(where(" ab ", SoNoInicio), "r.titular LIKE ' AB %'");
    EXPECT_EQ(where("ç", Exata), "r.titular = 'Ç'");
}

TEST(HolderSearch, RefusalsInTheirOrder)
{
    EXPECT_EQ(BuildSearch(Holder(), "", Exata).refusal, "Nome do Titular é obrigatório !");
    EXPECT_EQ(BuildSearch(Holder(), "", SoNoFinal).refusal, "Nome do Titular é obrigatório !");
    const QString shortName =
        "Para pesquisas não exatas, é necessário um mínimo de 4 caracteres para o Nome do Titular !";
    // One character is enough for an exact search; the others need four.
    EXPECT_TRUE(BuildSearch(Holder(), "a", Exata).refusal.isEmpty());
    for (int loc = SoNoInicio; loc <= SoNoFinal; ++loc) {
        EXPECT_EQ(BuildSearch(Holder(), "abc", loc).refusal, shortName) << loc;
        EXPECT_TRUE(BuildSearch(Holder(), "abcd", loc).refusal.isEmpty()) << loc;
    }
    // The minimum counts the characters typed, not the doubled apostrophes.
    EXPECT_EQ(BuildSearch(Holder(), "o'n", SoNoInicio).refusal, shortName);
    EXPECT_TRUE(BuildSearch(Holder(), "  a ", SoNoInicio).refusal.isEmpty());
}

TEST(HolderSearch, ExportAndPrintTitles)
{
    EXPECT_EQ(ExportTitle(Holder(), "acme", Exata), "Pesquisa por Titular - Exata - 'ACME'");
    EXPECT_EQ(ExportTitle(Holder(), "Acme ", SoNoFinal), "Pesquisa por Titular - Só no final - 'ACME '");
    EXPECT_EQ(PrintTitle(Holder(), "Acme", Exata), "Pesquisa por Titular - Acme - Exato");
    EXPECT_EQ(PrintTitle(Holder(), "Acme", SoNoInicio), "Pesquisa por Titular - Acme - Só no início");
    EXPECT_EQ(PrintTitle(Holder(), "o'neil", EmQualquerParte), "Pesquisa por Titular - o'neil - Em qualquer parte");
}

TEST(frmPesquisaTitular, LoadsWithItsControls)
{
    TestDb t;
    TestUi u;
    TitleHooks h;
    Screen s;
    EXPECT_EQ(s->objectName(), "frmPesquisaTitular");
    EXPECT_EQ(s->windowTitle(), "Quorvanta - Sistema de Pesquisa de Marcas");
    EXPECT_EQ(s->Label1()->text(), "Pesquisa por Nome do Titular");
    EXPECT_EQ(s->findChild<QLabel*>("txt23")->text(), "Titular :");
    EXPECT_EQ(s->findChild<QGroupBox*>("Frame1")->title(), "Tipo de Pesquisa");
    EXPECT_EQ(s->NomeTitular()->objectName(), "NomeTitular");
    EXPECT_EQ(s->NomeTitular()->maxLength(), 680);  // as wide as titular
    const QList<QRadioButton*> opts = s->findChildren<QRadioButton*>("OptLocation");
    ASSERT_EQ(opts.size(), 4);
    EXPECT_EQ(s->OptLocation(2)->text(), "Em qualquer parte");
    EXPECT_TRUE(s->OptLocation(0)->isChecked());
    for (const char* name : {"MarcaRevista", "GridMarcaRevista", "TotProcLbl", "LblAviso", "NextRegs", "PrevRegs",
                             "Exportar", "VisImp", "Sair", "Pesquisar", "Escritório", "Label2", "Label3"})
        EXPECT_NE(s->findChild<QObject*>(name), nullptr) << name;
    EXPECT_EQ(s->gridModel()->columnCount(), 13);
    EXPECT_TRUE(u.messages.isEmpty());
    // Closing brings back the search menu.
    s->Sair_Click();
    EXPECT_EQ(h.menus, 1);
}

TEST(frmPesquisaTitular, RefusalsChangeNothing)
{
    TestDb t;
    TestUi u;
    addProcess(t, {.processo = 1, .titular = "ACME LTDA"});
    Screen s;
    s.search("acme ltda", Exata);
    ASSERT_EQ(s.found(), "1");
    const QString status = s->TotProcLbl()->text();
    u.clear();
    s.search("", Exata);
    ASSERT_EQ(u.messages.size(), 1);
    EXPECT_EQ(u.lastMessage().text, "Nome do Titular é obrigatório !");
    EXPECT_EQ(u.lastMessage().style, 16);
    EXPECT_EQ(u.lastMessage().title, kTitularr);
    EXPECT_EQ(QApplication::focusWidget(), s->NomeTitular());
    s->OptLocation(0)->setFocus();
    s.search("acm", SoNoInicio);
    EXPECT_EQ(u.lastMessage().text,
              "Para pesquisas não exatas, é necessário um mínimo de 4 caracteres para o Nome do Titular !");
    EXPECT_EQ(u.lastMessage().title, kTitularr);
    EXPECT_EQ(QApplication::focusWidget(), s->NomeTitular());
    EXPECT_EQ(s->WhereClause, "r.titular = 'ACME LTDA'");
    EXPECT_EQ(s->TotProcLbl()->text(), status);
    EXPECT_EQ(s.found(), "1");
    EXPECT_FALSE(u.pointerHistory.contains(vb::Hourglass));
}

TEST(frmPesquisaTitular, FindsHoldersInAnyLetterCase)
{
    TestDb t;
    TestUi u;
    TitleHooks h;
    addProcess(t, {.processo = 1, .titular = "Acme Indústria Ltda"});
    addProcess(t, {.processo = 2, .titular = "O'NEIL ACME"});
    addProcess(t, {.processo = 3, .titular = "ACME"});
    addProcess(t, {.processo = 4, .titular = "BETA"});
    Screen s;
    s.search("acme", Exata);
    EXPECT_EQ(s.found(), "3");
    EXPECT_EQ(u.lastMessage().text, "Foram encontrados 1 Processos que atendem à pesquisa !");
    EXPECT_EQ(u.lastMessage().title, kTitularr);
    s.search("acme", SoNoInicio);
    EXPECT_EQ(s.found(), "1,3");
    s.search("acme", EmQualquerParte);
    EXPECT_EQ(s.found(), "1,2,3");
    s.search("acme", SoNoFinal);
    EXPECT_EQ(s.found(), "2,3");
    s.search("o'neil", SoNoInicio);
    EXPECT_EQ(s.found(), "2");
    EXPECT_EQ(s->SelectList, resultgrid::kPlainSelectList);
    s.search("gama", EmQualquerParte);
    EXPECT_EQ(u.lastMessage().text, "Não foi encontrada nenhum Processo que atendesse à pesquisa !");
    EXPECT_EQ(u.lastMessage().style, 48);
    EXPECT_EQ(u.lastMessage().title, kTitularr);

    // The titles read the box and the option as they are now.
    s.search("O'Neil", SoNoInicio);
    s->Exportar_Click();
    s->VisImp_Click();
    EXPECT_EQ(h.exportTitles, QStringList{"Pesquisa por Titular - Só no início - 'O'NEIL'"});
    EXPECT_EQ(h.printTitles, QStringList{"Pesquisa por Titular - O'Neil - Só no início"});
    EXPECT_EQ(h.printOrientation, 2);
}

TEST(frmPesquisaTitular, APastedNameFindsWhatTheTypedOneFinds)
{
    TestDb t;
    TestUi u;
    addProcess(t, {.processo = 1, .titular = "JOSÉ D'ÁVILA & CIA"});
    Screen s;
    QTest::mouseClick(s->NomeTitular(), Qt::LeftButton);
    typing::paste("josé d'ávila & cia\r\n");
    QTest::mouseClick(s->Pesquisar(), Qt::LeftButton);
    EXPECT_EQ(s->WhereClause, "r.titular = 'JOSÉ D''ÁVILA & CIA'");
    EXPECT_EQ(s.found(), "1");
}

TEST(frmPesquisaTitular, OnlyTheEmptyNextPageSaysTitular)
{
    TestDb t;
    TestUi u;
    addMany(t, 10000000, 1000, "MARCA");
    Screen s;
    s.search("titular", SoNoInicio);
    ASSERT_FALSE(s->NextRegs()->isHidden());
    EXPECT_EQ(u.lastMessage().title, kTitularr);
    s->NextRegs_Click();
    EXPECT_EQ(u.lastMessage().text, "Foram encontrados 1000 Processos que atendem à pesquisa !");
    EXPECT_EQ(u.lastMessage().title, "Pesquisa por Titular");
    s->PrevRegs_Click();
    EXPECT_EQ(u.lastMessage().title, kTitularr);
    EXPECT_EQ(s->MarcaRevista().recordset().recordCount(), 1000);
}
