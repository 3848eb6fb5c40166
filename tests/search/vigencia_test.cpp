// The validity-window search: the window check, the box checks in their
// order, condition and title, and the screen searching a filled database.
#include "SearchFixture.h"
#include "ShownScreen.h"
#include "TitleHooks.h"
#include "search/SearchChecks.h"
#include "search/ValiditySearch.h"
#include "search/frmPesquisaVigencia.h"
#include "shell/DateBox.h"
#include "support/TestUi.h"
#include "support/Typing.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QToolButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace validitysearch;
using namespace searchfixture;

namespace {

QDate d(const char* text) { return QDate::fromString(QString::fromLatin1(text), QStringLiteral("dd/MM/yyyy")); }

Criteria window(const char* s, const char* e)
{
    Criteria c;
    c.dataInic = d(s);
    c.dataFinal = d(e);
    return c;
}

QString where(const Criteria& c)
{
    const Outcome o = BuildSearch(c);
    EXPECT_FALSE(o.refusal) << o.refusal.message.toStdString();
    return o.search.whereClause;
}

using Screen = ShownScreen<frmPesquisaVigencia>;

}  // namespace

TEST(ValiditySearch, WindowOfAtMostTwoMonths)
{
    EXPECT_EQ(CheckPeriod(d("15/01/2025"), d("15/03/2025")), "");
    EXPECT_EQ(CheckPeriod(d("15/01/2025"), d("16/03/2025")), kOverTwoMonths);
    EXPECT_EQ(CheckPeriod(d("31/12/2024"), d("28/02/2025")), "");
    EXPECT_EQ(CheckPeriod(d("30/11/2024"), d("31/01/2025")), kOverTwoMonths);
    EXPECT_EQ(CheckPeriod(d("10/05/2025"), d("09/05/2025")), kStartAfterEnd);
    EXPECT_EQ(CheckPeriod(d("10/05/2025"), d("10/05/2025")), "");
    EXPECT_EQ(CheckPeriod(d("01/01/2025"), d("01/04/2025")), kOverTwoMonths);
    EXPECT_EQ(CheckPeriod(d("20/12/2024"), d("19/02/2025")), "");  // across the year
    EXPECT_EQ(CheckPeriod(d("10/05/2026"), d("09/05/2025")), kStartAfterEnd);
    EXPECT_EQ(kStartAfterEnd, "Data inicial maior que data final !");
    EXPECT_EQ(kOverTwoMonths, "Diferença entre data inicial e data final não pode ser maior que 2 meses !");
    EXPECT_EQ(CheckPickerDate(QDate(), true), "Data Inicial inválida!");
    EXPECT_EQ(CheckPickerDate(QDate(), false), "Data Final inválida!");
    EXPECT_EQ(CheckPickerDate(d("01/01/2025"), false), "");
    // The window is checked before anything else.
    Criteria c = window("15/01/2025", "16/03/2025");
    c.numCnpj = "12.3";
    const Outcome o = BuildSearch(c);
    EXPECT_EQ(o.refusal.message, kOverTwoMonths);
    EXPECT_EQ(o.refusal.title, "ÊRRO");
    EXPECT_EQ(o.refusal.box, Box::DataInic);
}

TEST(ValiditySearch, BoxChecksInTheirOrder)
{
    auto refusal = [](const char* cnpj, bool exact, const char* name, int location) {
        Criteria c = window("01/03/2025", "30/04/2025");
        c.numCnpj = cnpj;
        c.cnpjExact = exact;
        c.nomeProcurador = name;
        c.location = location;
        const Outcome o = BuildSearch(c);
        if (o.refusal) {
            EXPECT_EQ(o.refusal.title, kTitle);
        }
        return o.refusal.message;
    };
    EXPECT_EQ(refusal("12.345", false, "ab", 1), searchchecks::kTaxIdDigits);
    EXPECT_EQ(refusal("123-4567", true, "", 0), searchchecks::kTaxIdDigits);
    EXPECT_EQ(refusal("123456", true, "ab", 1), searchchecks::kTaxIdExactLength);
    EXPECT_EQ(refusal("1234", false, "ab", 1), searchchecks::kTaxIdPartialLength);
    EXPECT_EQ(refusal("12345", false, "abc", 1), kAttorneyTooShort);
    EXPECT_EQ(refusal("", false, "abc", 3), kAttorneyTooShort);
    EXPECT_EQ(refusal("", false, "a", 0), "");
    EXPECT_EQ(refusal("", false, "abcd", 2), "");
    Criteria c = window("01/03/2025", "30/04/2025");
    c.nomeProcurador = "abc";
    c.location = 1;
    EXPECT_EQ(BuildSearch(c).refusal.box, Box::NomeProcurador);
    c.numCnpj = "1";
    EXPECT_EQ(BuildSearch(c).refusal.box, Box::NumCNPJ);
}

TEST(ValiditySearch, ConditionPieces)
{
    Criteria c = window("01/03/2025", "30/04/2025");
    c.desp[1] = "X";
    Outcome o = BuildSearch(c);
    EXPECT_EQ(o.search.whereClause, "(vigencia between '2025-03-01' and '2025-04-30') AND r.despacho ='X'");
    EXPECT_EQ(o.search.despText, "X");

    c.desp = QStringList{"A", "", "B"};
    o = BuildSearch(c);
    EXPECT_EQ(o.search.whereClause, "(vigencia between '2025-03-01' and '2025-04-30') AND r.despacho in ('A','B')");
    EXPECT_EQ(o.search.despText, "A/B");
    c.desp = QStringList{"A", "C", "B"};
    o = BuildSearch(c);
    EXPECT_TRUE(o.search.whereClause.endsWith(" AND r.despacho in ('A','C','B')"));
    EXPECT_EQ(o.search.despText, "A/C/B");
    // A quote typed in a code is doubled; the title keeps it as typed.
    c.desp = QStringList{"", "", "IP'AS"};
    o = BuildSearch(c);
    EXPECT_TRUE(o.search.whereClause.endsWith(" AND r.despacho ='IP''AS'"));
    EXPECT_EQ(o.search.despText, "IP'AS");
    c.desp = QStringList{"A'", "B", ""};
    EXPECT_TRUE(BuildSearch(c).search.whereClause.endsWith(" AND r.despacho in ('A''','B')"));
    // A code of digits only also looks for its number; "3" and "003" are one code.
    c.desp = QStringList{"", "003", ""};
    EXPECT_TRUE(BuildSearch(c).search.whereClause.endsWith(" AND r.despacho in ('003','3')"));
    EXPECT_EQ(CheckDesp({"3", "", "003"}, 3), kDespRepeated);
    EXPECT_TRUE(CheckDesp({"3", "", "IPAS003"}, 3).isEmpty());

    Criteria t = window("05/01/2025", "05/01/2025");
    t.numCnpj = "12345";
    t.cnpjExact = false;
    EXPECT_EQ(where(t), "(vigencia between '2025-01-05' and '2025-01-05') AND r.cgccpf LIKE '%12345%'");
    t.numCnpj = "12345678901";
    t.cnpjExact = true;
    t.nomeProcurador = "d'avila";
    EXPECT_EQ(where(t), "(vigencia between '2025-01-05' and '2025-01-05') AND r.cgccpf = '12345678901' AND "
                        "procurador = 'D''AVILA'");
    t.numCnpj.clear();
    const QString head = "(vigencia between '2025-01-05' and '2025-01-05')";
    t.location = SoNoInicio;
    EXPECT_EQ(where(t), head + " AND procurador LIKE 'D''AVILA%'");
    t.location = EmQualquerParte;
    EXPECT_EQ(where(t), head + " AND procurador LIKE '%D''AVILA%'");
    t.location = SoNoFinal;
    EXPECT_EQ(where(t), head + " AND procurador LIKE '%D''AVILA'");
}

TEST(ValiditySearch, TitleOnOneOrTwoLines)
{
    Criteria c = window("01/03/2025", "30/04/2025");
    EXPECT_EQ(Title(c, ""), "Pesquisa por Data de Vigência entre 01/03/2025 e 30/04/2025");
    c.numCnpj = "12345";
    c.cnpjExact = false;
    EXPECT_EQ(Title(c, "A/B"), "Pesquisa por Data de Vigência entre 01/03/2025 e 30/04/2025       Despacho = A/B"
                               "       CNPJ/CPF/INPI = 12345 Parcial");
    c.nomeProcurador = "Alfa";
    c.location = Exata;
    c.cnpjExact = true;
    const QString two = Title(c, "");
    EXPECT_EQ(two, "Pesquisa por Data de Vigência entre 01/03/2025 e 30/04/2025       CNPJ/CPF/INPI = 12345 Exato\r\n."
                       + QString(34, ' ') + "Procurador = Alfa - Exato");
    for (int loc = 1; loc <= 3; ++loc) {
        c.location = loc;
        EXPECT_TRUE(Title(c, "").endsWith("Procurador = Alfa - Parcial")) << loc;
    }
}

TEST(frmPesquisaVigencia, LoadsOnToday)
{
    TestDb t;
    TestUi u;
    TestClock clock;
    clock.todayValue = QDate(2025, 3, 14);
    Screen s;
    EXPECT_EQ(s->objectName(), "frmPesquisaVigencia");
    EXPECT_EQ(s->Label1()->text(), "Pesquisa por Data de Vigência do Processo");
    EXPECT_EQ(s->DataInic()->date(), clock.todayValue);
    EXPECT_EQ(s->DataFinal()->date(), clock.todayValue);
    EXPECT_EQ(s->DataInic()->displayFormat(), "dd/MM/yyyy");
    EXPECT_EQ(s->DataInic()->text(), "14/03/2025");
    EXPECT_EQ(s->findChild<QGroupBox*>("Frame5")->title(), "Vigência entre as datas (diferença máxima de 2 meses)");
    EXPECT_EQ(s->findChild<QGroupBox*>("Frame3")->title(), "Último Despacho");
    EXPECT_EQ(s->findChild<QGroupBox*>("Frame1")->title(), "CNPJ, CPF ou # INPI");
    EXPECT_EQ(s->findChild<QGroupBox*>("Frame4")->title(), "Procurador");
    EXPECT_EQ(s->findChild<QLabel*>("Label3")->text(), "e");
    EXPECT_EQ(s->findChild<QLabel*>("Label4")->text(), "Dê um clique no cabeçalho da coluna para classificar a coluna");
    EXPECT_EQ(s->findChildren<QLineEdit*>("Desp").size(), 3);
    EXPECT_EQ(s->Desp(1)->maxLength(), 7);
    EXPECT_EQ(s->NumCNPJ()->maxLength(), 14);
    EXPECT_EQ(s->NomeProcurador()->maxLength(), 100);
    EXPECT_TRUE(s->OptCNPJ(0)->isChecked());
    EXPECT_TRUE(s->OptLocation(0)->isChecked());
    EXPECT_EQ(s->OptLocation(3)->text(), "Só no final");
    ASSERT_EQ(s->gridModel()->columnCount(), 14);
    EXPECT_EQ(s->gridModel()->headerData(6, Qt::Horizontal).toString(), "Vigência");
    EXPECT_EQ(s->gridModel()->field(6), "vigencia");
    EXPECT_EQ(s->gridModel()->headerData(7, Qt::Horizontal).toString(), "Marca");
    EXPECT_TRUE(u.messages.isEmpty());
}

TEST(frmPesquisaVigencia, DispatchBoxesUpperCaseAndRefuseRepeats)
{
    TestDb t;
    TestUi u;
    TestClock clock;
    Screen s;
    s.type(s->Desp(1), "ipas009");
    QTest::mouseClick(s->Desp(2), Qt::LeftButton);
    EXPECT_EQ(s->Desp(1)->text(), "IPAS009");
    EXPECT_TRUE(u.messages.isEmpty());
    s->Desp(2)->setText("ipas009");
    QTest::mouseClick(s->Pesquisar(), Qt::LeftButton);
    EXPECT_EQ(s->Desp(2)->text(), "IPAS009");
    EXPECT_EQ(texts(u), QStringList{"Despacho já selecionado !"});
    EXPECT_EQ(u.lastMessage().style, 16);
    EXPECT_EQ(u.lastMessage().title, kTitle);
    EXPECT_EQ(QApplication::focusWidget(), s->Desp(2));
    EXPECT_TRUE(s->WhereClause.isEmpty());

    s->Desp(2)->clear();
    s.type(s->Desp(3), "x");
    u.clear();
    QTest::mouseClick(s->Pesquisar(), Qt::LeftButton);
    ASSERT_EQ(u.messages.size(), 2);
    EXPECT_EQ(s->WhereClause, "(vigencia between '2012-04-24' and '2012-04-24') AND r.despacho in ('IPAS009','X')");
    EXPECT_EQ(s->DespText, "IPAS009/X");
}

TEST(frmPesquisaVigencia, RefusalsLeaveEverythingAsItWas)
{
    TestDb t;
    TestUi u;
    TestClock clock;
    clock.todayValue = QDate(2025, 3, 14);
    Screen s;
    s->Desp(1)->setText("A");
    s->Pesquisar_Click();
    const QString where = s->WhereClause;
    ASSERT_FALSE(where.isEmpty());
    ASSERT_EQ(s->DespText, "A");

    auto refused = [&](const QString& message, const QString& title, QWidget* focus) {
        u.clear();
        s->setFocus();
        s->Pesquisar_Click();
        ASSERT_EQ(texts(u), QStringList{message});
        EXPECT_EQ(u.lastMessage().style, 16);
        EXPECT_EQ(u.lastMessage().title, title);
        EXPECT_EQ(QApplication::focusWidget(), focus);
        EXPECT_EQ(s->WhereClause, where);
        EXPECT_EQ(s->DespText, "A");
        EXPECT_FALSE(u.pointerHistory.contains(vb::Hourglass));
    };
    s->Desp(1)->setText("B");
    s->DataInic()->setDate(QDate(2025, 3, 15));
    refused(kStartAfterEnd, "ÊRRO", s->DataInic());
    s->DataInic()->setDate(QDate(2025, 1, 13));
    refused(kOverTwoMonths, "ÊRRO", s->DataInic());
    s->DataInic()->setDate(QDate(2025, 1, 14));
    s->NumCNPJ()->setText("12 345");
    refused(searchchecks::kTaxIdDigits, kTitle, s->NumCNPJ());
    s->NumCNPJ()->setText("123456");
    refused(searchchecks::kTaxIdExactLength, kTitle, s->NumCNPJ());
    s->OptCNPJ(1)->setChecked(true);
    s->NumCNPJ()->setText("1234");
    refused(searchchecks::kTaxIdPartialLength, kTitle, s->NumCNPJ());
    s->NumCNPJ()->setText("12345");
    s->NomeProcurador()->setText("abc");
    s->OptLocation(1)->setChecked(true);
    refused(kAttorneyTooShort, kTitle, s->NomeProcurador());
}

TEST(frmPesquisaVigencia, ShowsTheQueryThenSearches)
{
    TestDb t;
    TestUi u;
    TestClock clock;
    clock.todayValue = QDate(2025, 3, 14);
    TitleHooks h;
    t.db().execute("INSERT INTO Procuradores (codprocurador, procurador) VALUES (2, 'D''AVILA & CIA')");
    addProcess(t, {.processo = 1, .despacho = "IPAS158", .cgccpf = "12345678000199", .codprocurador = 2});
    addProcess(t, {.processo = 2, .despacho = "IPAS158", .codprocurador = 0});
    addProcess(t, {.processo = 3, .despacho = "IPAS009", .codprocurador = 1});
    addProcess(t, {.processo = 4, .despacho = "IPAS158"});
    addProcess(t, {.processo = 5, .despacho = "IPAS158", .codprocurador = 2});
    t.db().execute("UPDATE Processos SET vigencia = '2025-03-14' WHERE processo IN (1, 2, 3)");
    t.db().execute("UPDATE Processos SET vigencia = '2025-05-14' WHERE processo = 4");
    t.db().execute("UPDATE Processos SET vigencia = '2025-03-13' WHERE processo = 5");
    Screen s;

    // The whole query is shown first, with no icon nor title; the grid
    // still shows the earlier page while it is open.
    int rowsWhileShown = -1;
    u.onMessage = [&](const RecordedMessage& m) {
        if (m.text.startsWith("SELECT")) rowsWhileShown = s->MarcaRevista().recordset().recordCount();
    };
    s->Pesquisar_Click();
    ASSERT_EQ(u.messages.size(), 2);
    EXPECT_EQ(u.messages[0].text, "SELECT first 1000 skip 0" + kSelectList
                                      + "(vigencia between '2025-03-14' and '2025-03-14')");
    EXPECT_EQ(u.messages[0].style, 0);
    EXPECT_EQ(u.messages[0].title, "");
    EXPECT_EQ(rowsWhileShown, 0);
    EXPECT_EQ(s.found(), "1,2,3");
    EXPECT_EQ(u.lastMessage().text, "Foram encontrados 3 Processos que atendem à pesquisa !");
    EXPECT_EQ(u.lastMessage().title, kTitle);
    // Without an attorney the row is listed with an empty one.
    Recordset& rs = s->MarcaRevista().recordset();
    for (int r = 0; r < rs.recordCount(); ++r)
        if (rs.at(r, "processo").toInt() == 2) {
            EXPECT_TRUE(rs.at(r, "procurador").toString().isEmpty());
        }
    EXPECT_EQ(s->gridModel()->data(s->gridModel()->index(0, 6)).toString(), "14/03/2025");

    u.clear();
    s->DataInic()->setDate(QDate(2025, 3, 13));
    s->DataFinal()->setDate(QDate(2025, 5, 13));
    s->Desp(3)->setText("IPAS158");
    s->Pesquisar_Click();
    EXPECT_EQ(rowsWhileShown, 3);
    EXPECT_EQ(s.found(), "1,2,5");
    s->NomeProcurador()->setText("d'avila");
    s->OptLocation(2)->setChecked(true);
    s->Pesquisar_Click();
    EXPECT_EQ(s.found(), "1,5");
    s->NumCNPJ()->setText("78000");
    s->OptCNPJ(1)->setChecked(true);
    s->Pesquisar_Click();
    EXPECT_EQ(s.found(), "1");
    s->OptLocation(0)->setChecked(true);
    s->NomeProcurador()->setText("d'avila & cia");
    s->Pesquisar_Click();
    EXPECT_EQ(s.found(), "1");
    s->NomeProcurador()->setText("cia");
    s->OptLocation(3)->setChecked(true);
    u.clear();
    s->Pesquisar_Click();
    EXPECT_EQ(texts(u), QStringList{kAttorneyTooShort});
    s->NomeProcurador()->setText(" cia");
    s->Pesquisar_Click();
    EXPECT_EQ(s.found(), "1");

    s->Exportar_Click();
    s->VisImp_Click();
    const QString title = "Pesquisa por Data de Vigência entre 13/03/2025 e 13/05/2025       Despacho = IPAS158"
                          "       CNPJ/CPF/INPI = 78000 Parcial\r\n."
                          + QString(34, ' ') + "Procurador =  cia - Parcial";
    EXPECT_EQ(h.exportTitles, QStringList{title});
    EXPECT_EQ(h.printTitles, QStringList{title});

    // Nothing found: the message carries the screen's title.
    s->NumCNPJ()->clear();
    s->NomeProcurador()->clear();
    s->Desp(3)->clear();
    s->DataInic()->setDate(QDate(2024, 1, 1));
    s->DataFinal()->setDate(QDate(2024, 1, 31));
    u.clear();
    s->Pesquisar_Click();
    EXPECT_EQ(texts(u).value(1), "Não foi encontrada nenhum Processo que atendesse à pesquisa !");
    EXPECT_EQ(u.lastMessage().title, kTitle);
    EXPECT_TRUE(s->DespText.isEmpty());
}

TEST(frmPesquisaVigencia, PageMovesCarryTheTitle)
{
    TestDb t;
    TestUi u;
    TestClock clock;
    addMany(t, 10000000, 1500, "MARCA");
    t.db().execute("UPDATE Processos SET vigencia = '2012-04-24'");
    Screen s;
    s->Pesquisar_Click();
    ASSERT_FALSE(s->NextRegs()->isHidden());
    EXPECT_EQ(u.lastMessage().title, kTitle);
    s->NextRegs_Click();
    EXPECT_EQ(u.lastMessage().text, "Foram encontrados 1500 Processos que atendem à pesquisa !");
    EXPECT_EQ(u.lastMessage().title, kTitle);
    s->PrevRegs_Click();
    EXPECT_EQ(u.lastMessage().title, kTitle);
    // Page moves do not show the query again.
    int queries = 0;
    for (const RecordedMessage& m : u.messages) queries += m.text.startsWith("SELECT");
    EXPECT_EQ(queries, 1);
}

TEST(frmPesquisaVigencia, DatesAreSearchedAsTyped)
{
    using namespace typing;
    TestDb t;
    TestUi u;
    TestClock clock;
    clock.todayValue = QDate(2026, 12, 9);
    TitleHooks h;
    addProcess(t, {.processo = 1});
    t.db().execute("UPDATE Processos SET vigencia = '2021-04-01'");
    Screen s;
    ASSERT_EQ(focused(), s->DataInic());

    // With the slashes, without them, one-digit day and month.
    for (const char* start : {"01/04/2021", "1/4/2021", "01042021"}) {
        if (focused() != s->DataInic()) QTest::mouseClick(s->DataInic(), Qt::LeftButton);
        type(QString::fromLatin1(start));
        tab();
        ASSERT_EQ(focused(), s->DataFinal());
        type("1/5/2021");
        u.clear();
        QTest::mouseClick(s->Pesquisar(), Qt::LeftButton);
        ASSERT_FALSE(u.messages.isEmpty()) << start;
        EXPECT_EQ(s->WhereClause, "(vigencia between '2021-04-01' and '2021-05-01')") << start;
        EXPECT_EQ(s.found(), "1") << start;
        s->Exportar_Click();
        EXPECT_EQ(h.exportTitles.value(h.exportTitles.size() - 1),
                  "Pesquisa por Data de Vigência entre 01/04/2021 e 01/05/2021")
            << start;
    }

    // A day that does not exist is refused on leaving the box and the
    // focus stays there, on the text as typed, to be corrected.
    QTest::mouseClick(s->DataInic(), Qt::LeftButton);
    type("29/02/2021");
    u.clear();
    tab();
    ASSERT_EQ(texts(u), QStringList{kStartInvalid});
    EXPECT_EQ(u.lastMessage().title, "ÊRRO");
    EXPECT_EQ(u.lastMessage().style, 16);
    EXPECT_EQ(focused(), s->DataInic());
    EXPECT_EQ(s->DataInic()->text(), "29/02/2021");
    type("28/02/2021");
    tab();
    EXPECT_EQ(focused(), s->DataFinal());
    // The arrow of a box checks the box left first, as a click in it does.
    QTest::mouseClick(s->Desp(1), Qt::LeftButton);
    type("ipas158");
    tab();
    type("IPAS158");
    u.clear();
    auto* arrow = s->DataInic()->findChild<QToolButton*>();
    ASSERT_NE(arrow, nullptr);
    QTest::mouseClick(arrow, Qt::LeftButton);
    EXPECT_EQ(texts(u), QStringList{"Despacho já selecionado !"});
    EXPECT_EQ(focused(), s->Desp(2));
    EXPECT_FALSE(s->DataInic()->calendarShown());
    retype("IPAS009");
    QTest::mouseClick(arrow, Qt::LeftButton);
    EXPECT_TRUE(s->DataInic()->calendarShown());
    press(Qt::Key_Escape);
    EXPECT_EQ(s->DataInic()->text(), "28/02/2021");

    QTest::mouseClick(s->DataFinal(), Qt::LeftButton);
    type("31/04/2021");
    u.clear();
    QTest::mouseClick(s->Pesquisar(), Qt::LeftButton);
    ASSERT_EQ(texts(u), QStringList{kEndInvalid});
    EXPECT_EQ(s->WhereClause, "(vigencia between '2021-04-01' and '2021-05-01')");
    // Left by the program's own move, it is refused by the search too.
    s->NumCNPJ()->setFocus(Qt::OtherFocusReason);
    u.clear();
    s->Pesquisar_Click();
    EXPECT_EQ(texts(u), QStringList{kEndInvalid});
    EXPECT_EQ(focused(), s->DataFinal());
    EXPECT_EQ(s->WhereClause, "(vigencia between '2021-04-01' and '2021-05-01')");
    // So is the start.
    retype("30/04/2021");
    QTest::mouseClick(s->DataInic(), Qt::LeftButton);
    type("31/02/2021");
    s->NumCNPJ()->setFocus(Qt::OtherFocusReason);
    u.clear();
    s->Pesquisar_Click();
    EXPECT_EQ(texts(u), QStringList{kStartInvalid});
    EXPECT_EQ(focused(), s->DataInic());

    // Pasted as copied from a document; a paste holding no date is refused.
    paste(" 01/04/2021 ");
    tab();
    paste("1.5.2021\r\n", true);  // with the context menu
    QTest::mouseClick(s->Pesquisar(), Qt::LeftButton);
    EXPECT_EQ(s->WhereClause,
              "(vigencia between '2021-04-01' and '2021-05-01') AND r.despacho in ('IPAS158','IPAS009')");
    s->Exportar_Click();
    EXPECT_EQ(h.exportTitles.value(3), "Pesquisa por Data de Vigência entre 01/04/2021 e 01/05/2021       Despacho = "
                                       "IPAS158/IPAS009");
    QTest::mouseClick(s->DataFinal(), Qt::LeftButton);
    u.clear();
    paste("maio de 2021");
    EXPECT_EQ(texts(u), QStringList{kEndInvalid});
    EXPECT_EQ(s->DataFinal()->date(), QDate(2021, 5, 1));
}
