// The tax-id search: its checks in their order, condition and titles, and
// the screen searching a filled database.
#include "SearchFixture.h"
#include "ShownScreen.h"
#include "TitleHooks.h"
#include "search/SearchChecks.h"
#include "search/TaxIdSearch.h"
#include "search/frmPesquisaCNPJ.h"
#include "support/TestUi.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace taxidsearch;
using namespace searchfixture;

namespace {

struct Screen : ShownScreen<frmPesquisaCNPJ> {
    QString search(const QString& text, bool exact)
    {
        f->NumCNPJ()->setText(text);
        f->OptLocation(exact ? 0 : 1)->setChecked(true);
        f->Pesquisar_Click();
        return found();
    }
};

}  // namespace

TEST(TaxIdSearch, ChecksInTheirOrder)
{
    EXPECT_EQ(BuildSearch("", true).refusal, "Número do CNPJ, CPF ou INPI é obrigatório !");
    EXPECT_FALSE(BuildSearch("", true).pastDigits);
    for (const char* t : {"12.345.678/0001-99", "1234567 ", " 1234567", "-123456", "12a4567", "１２３４５６７"}) {
        const Outcome o = BuildSearch(t, true);
        EXPECT_EQ(o.refusal, searchchecks::kTaxIdDigits) << t;
        EXPECT_FALSE(o.pastDigits) << t;
    }
    // Digits only, then the length by match type.
    for (const char* t : {"123456", "12345678", "1234567890123"}) {
        const Outcome o = BuildSearch(t, true);
        EXPECT_EQ(o.refusal, searchchecks::kTaxIdExactLength) << t;
        EXPECT_TRUE(o.pastDigits) << t;
    }
    EXPECT_EQ(BuildSearch("1234", false).refusal, searchchecks::kTaxIdPartialLength);
    EXPECT_TRUE(BuildSearch("12345", false).refusal.isEmpty());
    for (const char* t : {"1234567", "12345678901", "12345678000199"})
        EXPECT_TRUE(BuildSearch(t, true).refusal.isEmpty()) << t;
    EXPECT_TRUE(HasNonDigit("1 2"));
    EXPECT_FALSE(HasNonDigit(""));
}

TEST(TaxIdSearch, ConditionAndTitles)
{
    EXPECT_EQ(BuildSearch("1234567", true).whereClause, "r.cgccpf = '1234567'");
    EXPECT_EQ(BuildSearch("78000", false).whereClause, "r.cgccpf LIKE '%78000%'");
    EXPECT_EQ(ExportTitle("1234567", true), "Pesquisa por CNPJ/CPF/INPI do Titular - Exata - '1234567'");
    EXPECT_EQ(ExportTitle("78000", false), "Pesquisa por CNPJ/CPF/INPI do Titular - Parcial - '78000'");
    EXPECT_EQ(PrintTitle("1234567", true), "Pesquisa por CNPJ/CPF/INPI do Titular - 1234567 - Exato");
    EXPECT_EQ(PrintTitle("78000", false), "Pesquisa por CNPJ/CPF/INPI do Titular - 78000 - Parcial");
}

TEST(frmPesquisaCNPJ, SearchesAFilledDatabase)
{
    TestDb t;
    TestUi u;
    TitleHooks h;
    addProcess(t, {.processo = 1, .cgccpf = "12345678000199"});
    addProcess(t, {.processo = 2, .cgccpf = "98765432100"});
    addProcess(t, {.processo = 3, .cgccpf = "1234567"});
    addProcess(t, {.processo = 4, .cgccpf = QString()});
    Screen s;
    EXPECT_EQ(s->objectName(), "frmPesquisaCNPJ");
    EXPECT_EQ(s->Label1()->text(), kTitle);
    EXPECT_EQ(s->findChild<QLabel*>("txt23")->text(), "CNPJ, CPF ou #INPI :");
    EXPECT_EQ(s->findChild<QGroupBox*>("Frame1")->title(), "Tipo de Pesquisa");
    EXPECT_EQ(s->NumCNPJ()->maxLength(), 14);
    EXPECT_EQ(s->findChildren<QRadioButton*>("OptLocation").size(), 2);
    EXPECT_EQ(s->OptLocation(1)->text(), "Parcial");
    EXPECT_TRUE(s->OptLocation(0)->isChecked());
    EXPECT_EQ(s->gridModel()->columnCount(), 13);

    EXPECT_EQ(s.search("12345678000199", true), "1");
    EXPECT_EQ(u.lastMessage().title, kTitle);
    EXPECT_EQ(s.search("1234567", true), "3");
    EXPECT_EQ(s.search("12345", false), "1,3");
    EXPECT_EQ(s.search("43210", false), "2");
    EXPECT_EQ(s->SelectList, resultgrid::kPlainSelectList);
    s->Exportar_Click();
    s->VisImp_Click();
    EXPECT_EQ(h.exportTitles, QStringList{"Pesquisa por CNPJ/CPF/INPI do Titular - Parcial - '43210'"});
    EXPECT_EQ(h.printTitles, QStringList{"Pesquisa por CNPJ/CPF/INPI do Titular - 43210 - Parcial"});
    EXPECT_EQ(s.search("55555555555", true), "");
    EXPECT_EQ(u.lastMessage().text, "Não foi encontrada nenhum Processo que atendesse à pesquisa !");
    EXPECT_EQ(u.lastMessage().title, kTitle);
}

TEST(frmPesquisaCNPJ, RefusedSearchesKeepThePageAndStatus)
{
    TestDb t;
    TestUi u;
    addMany(t, 10000000, 1001, "MARCA");
    t.db().execute("UPDATE Processos SET cgccpf = '12345678000199'");
    Screen s;
    s.search("12345678000199", true);
    ASSERT_FALSE(s->NextRegs()->isHidden());
    ASSERT_EQ(s->HasResults, 1);
    const QString status = s->TotProcLbl()->text();

    // Not digits: nothing changes, sorting of the page still works.
    u.clear();
    s.search("12.345", false);
    EXPECT_EQ(u.lastMessage().text, searchchecks::kTaxIdDigits);
    EXPECT_EQ(u.lastMessage().style, 16);
    EXPECT_EQ(u.lastMessage().title, kTitle);
    EXPECT_EQ(QApplication::focusWidget(), s->NumCNPJ());
    EXPECT_EQ(s->HasResults, 1);
    s.search("", false);
    EXPECT_EQ(u.lastMessage().text, kRequired);
    EXPECT_EQ(s->HasResults, 1);

    // Stopped by the length: the page stays but is no longer sorted.
    s->setFocus();
    s.search("1234", false);
    EXPECT_EQ(u.lastMessage().text, searchchecks::kTaxIdPartialLength);
    EXPECT_EQ(QApplication::focusWidget(), s->NumCNPJ());
    EXPECT_EQ(s->HasResults, 0);
    EXPECT_EQ(s->TotProcLbl()->text(), status);
    EXPECT_EQ(s->WhereClause, "r.cgccpf = '12345678000199'");
    EXPECT_FALSE(s->NextRegs()->isHidden());
    EXPECT_EQ(u.messages.size(), 3);
    EXPECT_FALSE(u.pointerHistory.contains(vb::Hourglass));
    s->NextRegs_Click();
    EXPECT_EQ(s->MarcaRevista().recordset().recordCount(), 1);
    EXPECT_EQ(u.lastMessage().title, kTitle);
}
