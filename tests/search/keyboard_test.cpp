// The search screens walked with the keyboard as an office types: keys into
// the focused box, Tab between boxes, arrows among options, Ctrl+A to retype,
// Space on a button; then the condition searched and what it finds.
#include "SearchFixture.h"
#include "ShownScreen.h"
#include "search/frmPesquisaCNPJ.h"
#include "search/frmPesquisaMarca.h"
#include "search/frmPesquisaProcurador.h"
#include "search/frmPesquisaVigencia.h"
#include "support/TestUi.h"
#include "support/Typing.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace searchfixture;
using namespace typing;

namespace {

const QString kDigitsOnly = QStringLiteral("Número do CNPJ, CPF ou INPI só pode conter dígitos de 0 a 9 !");

void addAttorney(TestDb& t, int key, const QString& name)
{
    t.db().execute(QStringLiteral("INSERT INTO Procuradores (codprocurador, procurador) VALUES (%1, %2)")
                       .arg(key)
                       .arg(quoted(name)));
}

}  // namespace

TEST(Keyboard, MarkSearchTakesEachBoxInTheOrderOnScreen)
{
    TestDb t;
    TestUi u;
    Process p;
    p.processo = 82000001;
    p.marca = QStringLiteral("D'Ávila Ação");
    p.nclclasse = 35;
    p.cgccpf = QStringLiteral("12345678000195");
    addProcess(t, p);
    p.processo = 82000002;
    p.marca = QStringLiteral("D'Avila Acao");
    addProcess(t, p);
    t.db().execute(QStringLiteral("INSERT INTO RevProcs (processo, rpi, despacho) VALUES (82000001, 21, 'IPAS009')"));
    t.db().execute(QStringLiteral("INSERT INTO RevProcs (processo, rpi, despacho) VALUES (82000002, 21, 'IPAS009')"));
    ShownScreen<frmPesquisaMarca> s;

    ASSERT_EQ(focused(), s->NomeMarca());
    type(QStringLiteral("  d'ávila ação  "));
    tab(3);  // the key and the position, then the class boxes
    EXPECT_EQ(focused(), s->NCL(1));
    type("25");
    tab();
    type("35");
    tab(4);  // past the empty boxes to the old-class check box below them
    EXPECT_EQ(focused(), s->Afinidade());
    press(Qt::Key_Space);
    tab();
    // A tax id written with its separators is refused, not stripped.
    type("12.345.678/0001-95");
    EXPECT_EQ(s->NumCNPJ()->text(), "12.345.678/000");
    tab();
    EXPECT_EQ(texts(u), QStringList{kDigitsOnly});
    EXPECT_EQ(focused(), s->NumCNPJ());
    retype("12345678000195");
    tab(2);
    EXPECT_EQ(focused(), s->RPI());
    type("0021");
    tab();
    EXPECT_EQ(focused(), s->Pesquisar());
    press(Qt::Key_Space);

    EXPECT_EQ(s->WhereClause, QStringLiteral("Marca = 'D''ÁVILA AÇÃO' AND (r.nclclasse in(25,35) OR (Classe is not "
                                             "null)) AND r.cgccpf = '12345678000195' AND rp.rpi=21"));
    EXPECT_EQ(s->NclText, "25/35");
    EXPECT_EQ(s.found(), "82000001");  // the mark without its accents is another mark

    // The focus is then on the page; Tab leaves it for the next control.
    ASSERT_EQ(focused(), s->findChild<QWidget*>("GridMarcaRevista"));
    tab();
    EXPECT_NE(focused(), s->findChild<QWidget*>("GridMarcaRevista"));
}

TEST(Keyboard, AttorneyNameReachesTheConditionAsTyped)
{
    TestDb t;
    TestUi u;
    addAttorney(t, 2, QStringLiteral("D'ÁVILA ADVOGADOS"));
    addAttorney(t, 3, QStringLiteral("D'AVILA ADVOGADOS"));
    Process p;
    p.processo = 1;
    p.codprocurador = 2;
    addProcess(t, p);
    p.processo = 2;
    p.codprocurador = 3;
    addProcess(t, p);
    ShownScreen<frmPesquisaProcurador> s;

    type(QStringLiteral("d'ávila"));
    tab();
    press(Qt::Key_Right);  // "Só no início"
    tab();
    press(Qt::Key_Space);
    EXPECT_EQ(s->WhereClause, QStringLiteral("p.procurador LIKE 'D''ÁVILA%' AND r.codprocurador > 0"));
    EXPECT_EQ(s.found(), "1");
}

TEST(Keyboard, TaxIdIsRefusedWithSeparatorsAndSearchedWithItsLeadingZero)
{
    TestDb t;
    TestUi u;
    Process p;
    p.processo = 1;
    p.cgccpf = QStringLiteral("01234567000189");
    addProcess(t, p);
    ShownScreen<frmPesquisaCNPJ> s;

    type("01.234.567/0001-89");
    tab(2);
    press(Qt::Key_Space);
    EXPECT_EQ(texts(u), QStringList{kDigitsOnly});
    EXPECT_EQ(focused(), s->NumCNPJ());
    EXPECT_TRUE(s->WhereClause.isEmpty());
    retype("01234567000189");
    tab(2);
    press(Qt::Key_Space);
    EXPECT_EQ(s->WhereClause, "r.cgccpf = '01234567000189'");
    EXPECT_EQ(s.found(), "1");
}

TEST(Keyboard, ValiditySearchBoxesBesideTheDates)
{
    TestDb t;
    TestUi u;
    TestClock clock;  // both dates on 24/04/2012
    addAttorney(t, 2, QStringLiteral("D'ÁVILA ADVOGADOS"));
    t.db().execute(QStringLiteral("INSERT INTO Processos (processo, despacho, vigencia, cgccpf, codprocurador) "
                                  "VALUES (7, 'IPAS158', '24.04.2012', '12345678901', 2)"));
    ShownScreen<frmPesquisaVigencia> s;

    QTest::mouseClick(s->Desp(1), Qt::LeftButton);
    type("ipas158");
    tab(3);
    ASSERT_EQ(focused(), s->NumCNPJ());
    EXPECT_EQ(s->Desp(1)->text(), "IPAS158");
    type("123.456.789-0");
    tab(2);
    type(QStringLiteral("d'ávila"));
    tab();
    press(Qt::Key_Right);  // "Só no início"
    tab();
    ASSERT_EQ(focused(), s->Pesquisar());
    press(Qt::Key_Space);
    EXPECT_EQ(texts(u), QStringList{kDigitsOnly});
    EXPECT_EQ(focused(), s->NumCNPJ());
    retype("12345678901");
    tab(4);
    press(Qt::Key_Space);
    EXPECT_EQ(s->WhereClause, QStringLiteral("(vigencia between '2012-04-24' and '2012-04-24') AND r.despacho ='IPAS158' "
                                             "AND r.cgccpf = '12345678901' AND procurador LIKE 'D''ÁVILA%'"));
    EXPECT_EQ(s.found(), "7");
}
