// The attorney search: its conditions, titles and refusals, and the screen
// searching a filled database through the attorney join.
#include "SearchFixture.h"
#include "ShownScreen.h"
#include "TitleHooks.h"
#include "search/NameSearch.h"
#include "search/frmPesquisaProcurador.h"
#include "support/TestUi.h"

#include <QApplication>
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

const QString kTitle = QStringLiteral("Pesquisa por Procurador");

QString where(const QString& t, int location)
{
    const Outcome o = BuildSearch(Attorney(), t, location);
    EXPECT_TRUE(o.refusal.isEmpty()) << o.refusal.toStdString();
    return o.whereClause;
}

struct Screen : ShownScreen<frmPesquisaProcurador> {
    QString search(const QString& text, int location)
    {
        f->NomeProcurador()->setText(text);
        f->OptLocation(location)->setChecked(true);
        f->Pesquisar_Click();
        QStringList l;
        Recordset& rs = f->MarcaRevista().recordset();
        for (int r = 0; r < rs.recordCount(); ++r)
            l << rs.at(r, "processo").toString() + ":" + rs.at(r, "procurador").toString();
        l.sort();
        return l.join(',');
    }
};

void addAttorney(TestDb& t, int key, const QString& name)
{
    t.db().execute(QStringLiteral("INSERT INTO Procuradores (codprocurador, procurador) VALUES (%1, %2)")
                       .arg(key)
                       .arg(quoted(name)));
}

}  // namespace

TEST(AttorneySearch, ConditionOfEachMatchType)
{
    EXPECT_EQ(where("alfa", Exata), "p.procurador = 'ALFA' AND r.codprocurador > 0");
    EXPECT_EQ(where("alfa", SoNoInicio), "p.procurador LIKE 'ALFA%' AND r.codprocurador > 0");
    EXPECT_EQ(where("alfa", EmQualquerParte), "p.procurador LIKE '%ALFA%' AND r.codprocurador > 0");
    EXPECT_EQ(where("alfa", SoNoFinal), "p.procurador LIKE '%ALFA' AND r.codprocurador > 0");
    EXPECT_EQ(where("o'neil", EmQualquerParte), "p.procurador LIKE '%O''NEIL%' AND r.codprocurador > 0");
    EXPECT_TRUE(Attorney().selectList.endsWith(
        "from Processos r inner join Procuradores p on r.codprocurador = p.codprocurador where "));
}

TEST(AttorneySearch, RefusalsAndTitles)
{
    EXPECT_EQ(BuildSearch(Attorney(), "", Exata).refusal, "Nome do Procurador é obrigatório !");
    EXPECT_EQ(BuildSearch(Attorney(), "abc", SoNoFinal).refusal,
              "Para pesquisas não exatas, é necessário um mínimo de 4 caracteres para o Nome do Procurador !");
    EXPECT_TRUE(BuildSearch(Attorney(), "abc", Exata).refusal.isEmpty());
    EXPECT_EQ(PrintTitle(Attorney(), "Alfa", EmQualquerParte), "Pesquisa por Procurador - Alfa - Em qualquer parte");
    EXPECT_EQ(ExportTitle(Attorney(), "Alfa", EmQualquerParte), "Pesquisa por Procurador - Em qualquer parte - 'ALFA'");
    EXPECT_EQ(PrintTitle(Attorney(), "Alfa", SoNoFinal), "Pesquisa por Procurador - Alfa - Só no final");
}

TEST(frmPesquisaProcurador, NeverListsProcessesWithoutAnAttorney)
{
    TestDb t;
    TestUi u;
    TitleHooks h;
    // A row under key 0 whose name matches must still not bring in the
    // processes that have no attorney.
    addAttorney(t, 0, "SEM PROCURADOR ALFA");
    addAttorney(t, 2, "ALFA MARCAS E PATENTES");
    addAttorney(t, 3, "Escritório O'Neil Alfa");
    addProcess(t, {.processo = 1, .codprocurador = 2});
    addProcess(t, {.processo = 2, .codprocurador = 3});
    addProcess(t, {.processo = 3, .codprocurador = 0});
    addProcess(t, {.processo = 4, .codprocurador = 1});
    addProcess(t, {.processo = 5, .codprocurador = 2});
    Screen s;
    EXPECT_EQ(s->objectName(), "frmPesquisaProcurador");
    EXPECT_EQ(s->Label1()->text(), "Pesquisa por Nome do Procurador");
    EXPECT_EQ(s->findChild<QLabel*>("txt23")->text(), "Procurador :");
    EXPECT_EQ(s.search("alfa", EmQualquerParte),
              "1:ALFA MARCAS E PATENTES,2:Escritório O'Neil Alfa,5:ALFA MARCAS E PATENTES");
    EXPECT_EQ(u.lastMessage().text, "Foram encontrados 3 Processos que atendem à pesquisa !");
    EXPECT_EQ(u.lastMessage().title, kTitle);
    EXPECT_EQ(s.search("alfa marcas e patentes", Exata), "1:ALFA MARCAS E PATENTES,5:ALFA MARCAS E PATENTES");
    EXPECT_EQ(s.search("sem procurador alfa", Exata), "");
    EXPECT_EQ(u.lastMessage().title, kTitle);
    EXPECT_EQ(s.search("o prÓprio", Exata), "4:O PRÓPRIO");
    EXPECT_EQ(s.search("o'neil", EmQualquerParte), "2:Escritório O'Neil Alfa");
    EXPECT_EQ(s.search("alfa", SoNoFinal), "2:Escritório O'Neil Alfa");
    EXPECT_EQ(s->SelectList, kAttorneySelectList);

    s->Exportar_Click();
    s->VisImp_Click();
    EXPECT_EQ(h.exportTitles, QStringList{"Pesquisa por Procurador - Só no final - 'ALFA'"});
    EXPECT_EQ(h.printTitles, QStringList{"Pesquisa por Procurador - alfa - Só no final"});

    u.clear();
    s.search("", Exata);
    ASSERT_EQ(u.messages.size(), 1);
    EXPECT_EQ(u.lastMessage().text, "Nome do Procurador é obrigatório !");
    EXPECT_EQ(u.lastMessage().style, 16);
    EXPECT_EQ(u.lastMessage().title, kTitle);
    EXPECT_EQ(QApplication::focusWidget(), s->NomeProcurador());
}

TEST(frmPesquisaProcurador, PageMovesKeepTheCondition)
{
    TestDb t;
    TestUi u;
    addAttorney(t, 2, "ALFA");
    addMany(t, 10000000, 1000, "MARCA");
    t.db().execute("UPDATE Processos SET codprocurador = 2");
    Screen s;
    s.search("alfa", Exata);
    ASSERT_FALSE(s->NextRegs()->isHidden());
    s->NomeProcurador()->setText("beta");
    s->NextRegs_Click();
    EXPECT_EQ(u.lastMessage().text, "Foram encontrados 1000 Processos que atendem à pesquisa !");
    EXPECT_EQ(u.lastMessage().title, kTitle);
    s->PrevRegs_Click();
    EXPECT_EQ(s->MarcaRevista().recordset().recordCount(), 1000);
    EXPECT_EQ(u.lastMessage().title, kTitle);
}
