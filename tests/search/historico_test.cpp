// The history and references screens on a database the tests fill.
#include "search/HistoryFixture.h"
#include "shell/RecordsetModel.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

using namespace Historico;

TEST(HistoryTexts, PresentationAndNatureNames)
{
    EXPECT_EQ(PresentationName("N"), "Nominativa");
    EXPECT_EQ(PresentationName("M"), "Mista");
    EXPECT_EQ(PresentationName("F"), "Figurativa");
    EXPECT_EQ(PresentationName("T"), "Tridimensional");
    for (const char* other : {"n", "m", "X", "", " N", "Nominativa"}) EXPECT_FALSE(PresentationName(other)) << other;

    const std::pair<const char*, const char*> natures[] = {
        {"C", "Certific"},    {"G", "Genérica"},    {"K", "Coletiva"},   {"P", "De Produto"},
        {"S", "De Serviço"},  {"E", "Específica"},  {"R", "Propaganda"}, {"D", "de certifi."},
        {"X", "exp. de pr."}, {"F", "de Certificação"},
    };
    for (const auto& [code, name] : natures) EXPECT_EQ(NatureName(code), QString::fromUtf8(name)) << code;
    for (const char* other : {"Z", "s", "", "CG"}) EXPECT_FALSE(NatureName(other)) << other;
}

TEST(HistoryTexts, Classification)
{
    EXPECT_EQ(Classification("", "35", "40.15 / 40.20"), "40.15 / 40.20");
    EXPECT_EQ(Classification("", "", ""), "");
    EXPECT_EQ(Classification("7", "25", ""), "NCL(7) 25");
    EXPECT_EQ(Classification("07", "25", "x"), "NCL(7) 25");  // compared as a number
    EXPECT_EQ(Classification("8", "09", ""), "NCL(8) 09");
    EXPECT_EQ(Classification("10", "35", ""), "NCL(10) 35");
    EXPECT_EQ(Classification("9", "", ""), "NCL(9) ");
}

TEST(HistoryTexts, ReportLinesAndTitle)
{
    Shown s;
    s.titular = "ALFA LTDA";
    s.titPais = "BR/SP";
    s.cgccpf = "1";
    s.marca = "ALFA";
    s.apresentacao = "Mista";
    s.natureza = "De Serviço";
    s.classific = "NCL(10) 35";
    s.cfe = "26.1.1";
    s.procurador = "P";
    s.deposito = "10/01/2010";
    s.concessao = "20/05/2012";
    s.vigencia = "20/05/2022";
    s.priorNum = "123";
    s.priorData = "01/01/2009";
    s.priorPais = "US";
    s.apostila = "A";
    s.especificacao = "Serviços";
    const QString gap(10, ' ');
    const QStringList lines = ReportLines(s);
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], "Titular : ALFA LTDA" + gap + "País/UF : BR/SP" + gap + "CGC/CPF/INPI : 1");
    EXPECT_EQ(lines[1], "Marca : ALFA" + gap + "Apresentação : Mista" + gap + "Natureza : De Serviço");
    EXPECT_EQ(lines[2], "Classe : NCL(10) 35" + gap + "C.F.E. : 26.1.1" + gap + "Procurador : P");
    EXPECT_EQ(lines[3], "Depósito : 10/01/2010" + gap + "Concessão : 20/05/2012" + gap + "Vigência : 20/05/2022" + gap
                            + "Prioridade (Num Data País) : 123  01/01/2009  US");
    EXPECT_EQ(lines[4], "Apostila : A");
    EXPECT_EQ(lines[5], "Serviços");
    EXPECT_EQ(lines[6], "  ");
    EXPECT_EQ(ReportTitle("000123455"), "Histórico do Processo 000123455");
}

TEST_F(HistoryTest, HandOffLoadsTheProcessByItsKey)
{
    fill();
    frmHistorico& f = openHistory();
    EXPECT_EQ(u.modalWindows, QStringList{"frmHistórico"});
    EXPECT_EQ(f.windowTitle(), "Quorvanta - Sistema de Pesquisa de Marcas");
    EXPECT_EQ(f.findChild<QLabel*>("Número_Processo")->text(), kProcdv);
    EXPECT_TRUE(f.ProcessoAdodc.RecordSource.endsWith("from Processos r where processo=12345"));
    EXPECT_TRUE(f.Historico.RecordSource.endsWith("where r.processo=12345 order by r.rpi desc"));

    auto text = [&](const char* name) { return f.findChild<QLineEdit*>(QString::fromUtf8(name))->text(); };
    EXPECT_EQ(text("Titular"), "ALFA LTDA");
    EXPECT_EQ(text("TitPais"), "BR/SP");
    EXPECT_EQ(text("CGCCPF"), "12.345.678/0001-90");
    EXPECT_EQ(text("Marca"), "ALFA");
    EXPECT_EQ(text("Apresentação"), "Mista");
    EXPECT_EQ(text("Natureza"), "De Serviço");
    EXPECT_EQ(text("Classific"), "NCL(10) 35");
    EXPECT_EQ(text("CFE"), "26.1.1");
    EXPECT_EQ(text("Procurador"), "FULANO ADVOGADOS");
    EXPECT_EQ(text("Depósito"), "10/01/2010");
    EXPECT_EQ(text("Concessão"), "20/05/2012");
    EXPECT_EQ(text("Vigência"), "20/05/2022");
    EXPECT_EQ(text("PriorNum"), "123");
    EXPECT_EQ(text("PriorData"), "01/01/2009");
    EXPECT_EQ(text("PriorPais"), "US");
    EXPECT_EQ(text("Apostila"), "Sem direito ao uso exclusivo");
    EXPECT_EQ(f.findChild<QPlainTextEdit*>("Especificação")->toPlainText(), "Serviços de comércio");

    // The history, newest issue first; an issue without its Revistas row has no date.
    QTableView* grid = f.findChild<QTableView*>("GridHistórico");
    const QStringList captions{"Data",           "RPI",        "Despacho",   "Cod. Serviço",
                               "   Protocolo",   " Data Protocolo", "Requerente", "Complemento"};
    ASSERT_EQ(grid->model()->columnCount(), 8);
    for (int c = 0; c < 8; ++c) EXPECT_EQ(grid->model()->headerData(c, Qt::Horizontal).toString(), captions[c]);
    ASSERT_EQ(grid->model()->rowCount(), 4);
    auto cell = [&](int r, int c) { return grid->model()->index(r, c).data().toString(); };
    EXPECT_EQ(cell(0, 1), "2300");
    EXPECT_EQ(cell(0, 0), "");
    EXPECT_EQ(cell(1, 1), "2200");
    EXPECT_EQ(cell(2, 1), "2200");
    EXPECT_EQ(cell(3, 1), "2100");
    EXPECT_EQ(cell(3, 0), "01/02/2011");
    const int withPetition = cell(1, 2) == "IPAS158" ? 1 : 2;
    EXPECT_EQ(cell(withPetition, 0), "15/03/2013");
    EXPECT_EQ(cell(withPetition, 5), "01/03/2013");
    EXPECT_EQ(cell(withPetition, 4), "810000001");

    EXPECT_TRUE(grid->isVisible());
    EXPECT_FALSE(f.findChild<QLabel*>("LblAviso")->isVisible());
    EXPECT_EQ(u.pointer(), vb::Default);
    EXPECT_TRUE(u.pointerHistory.contains(vb::Hourglass));
    EXPECT_TRUE(u.messages.isEmpty());
}

TEST_F(HistoryTest, CitingDispatchesAreCountedAndListed)
{
    fill();
    frmHistorico& f = openHistory();
    QPushButton* procRef = f.findChild<QPushButton*>("ProcRef");
    EXPECT_TRUE(procRef->isVisible());
    EXPECT_EQ(procRef->text(), "Existem ainda 2 Processos que referenciam este Processo. Clique aqui para ver estas "
                               "referências !");

    frmHistoricoRef* seen = nullptr;
    u.onModal = [&](QWidget* w) {
        seen = qobject_cast<frmHistoricoRef*>(w);
        show(w);
        return 0;
    };
    procRef->click();
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(seen->objectName(), "frmHistóricoRef");
    EXPECT_EQ(seen->windowTitle(), "Quorvanta - Sistema de Pesquisa de Marcas");
    EXPECT_EQ(seen->findChild<QLabel*>("Número_Processo")->text(), kProcdv);
    EXPECT_TRUE(seen->Historico.RecordSource.endsWith("where rf.refproc =12345 order by r.rpi desc, r.codigo desc"));
    QTableView* grid = seen->findChild<QTableView*>("GridHistórico");
    const QStringList captions{"Processo", "Data", "RPI", "Desp", "CodServ", "Complemento"};
    ASSERT_EQ(grid->model()->columnCount(), 6);
    for (int c = 0; c < 6; ++c) EXPECT_EQ(grid->model()->headerData(c, Qt::Horizontal).toString(), captions[c]);
    ASSERT_EQ(grid->model()->rowCount(), 2);
    auto cell = [&](int r, int c) { return grid->model()->index(r, c).data().toString(); };
    EXPECT_EQ(cell(0, 0), "000007773");
    EXPECT_EQ(cell(0, 3), "IPAS025");  // the higher dispatch key first
    EXPECT_EQ(cell(1, 3), "IPAS024");
    EXPECT_EQ(cell(1, 1), "15/03/2013");
    EXPECT_EQ(cell(1, 2), "2200");

    // Double click on the complement: only a non-empty one is shown.
    grid->setCurrentIndex(grid->model()->index(0, 5));
    seen->GridHistorico_DblClick();
    EXPECT_TRUE(u.messages.isEmpty());
    grid->setCurrentIndex(grid->model()->index(1, 3));
    seen->GridHistorico_DblClick();
    EXPECT_TRUE(u.messages.isEmpty());
    grid->setCurrentIndex(grid->model()->index(1, 5));
    seen->GridHistorico_DblClick();
    ASSERT_EQ(u.messages.size(), 1);
    EXPECT_EQ(u.lastMessage().text, "ver processo 000123455");
    EXPECT_EQ(u.lastMessage().style, vb::Information);
    EXPECT_EQ(u.lastMessage().title, "Texto completo do complemento");
}

TEST_F(HistoryTest, NoCitationHidesProcRef)
{
    fill();
    sql("DELETE FROM RevProcRef");
    frmHistorico& f = openHistory();
    EXPECT_FALSE(f.ProcRef->isVisible());
    EXPECT_FALSE(f.ProcRef->isVisibleTo(&f));
}

TEST_F(HistoryTest, CountBeyondSixteenBits)
{
    fill();
    sql("EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (i < 40000) DO BEGIN "
        "INSERT INTO RevProcRef (codigo, refproc) VALUES (10, 12345); i = i + 1; END END");
    frmHistorico& f = openHistory();
    EXPECT_TRUE(u.messages.isEmpty());
    EXPECT_TRUE(f.ProcRef->text().startsWith("Existem ainda 40002 Processos"));
}

TEST_F(HistoryTest, DoubleClickShowsRequerenteAndComplemento)
{
    fill();
    frmHistorico& f = openHistory();
    QTableView* grid = f.GridHistorico;
    int petition = -1, plain = -1;
    for (int r = 0; r < grid->model()->rowCount(); ++r) {
        const QString desp = grid->model()->index(r, 2).data().toString();
        if (desp == "IPAS158") petition = r;
        if (desp == "IPAS161") plain = r;
    }
    ASSERT_GE(petition, 0);
    ASSERT_GE(plain, 0);

    for (int c : {0, 1, 2, 3, 4, 5}) {
        grid->setCurrentIndex(grid->model()->index(petition, c));
        f.GridHistorico_DblClick();
    }
    grid->setCurrentIndex(grid->model()->index(plain, 6));  // Null requerente
    f.GridHistorico_DblClick();
    grid->setCurrentIndex(grid->model()->index(plain, 7));  // Null complemento
    f.GridHistorico_DblClick();
    EXPECT_TRUE(u.messages.isEmpty());

    grid->setCurrentIndex(grid->model()->index(petition, 6));
    emit grid->doubleClicked(grid->currentIndex());
    ASSERT_EQ(u.messages.size(), 1);
    EXPECT_EQ(u.lastMessage().text, "EMPRESA REQUERENTE S.A.");
    EXPECT_EQ(u.lastMessage().style, vb::Information);
    EXPECT_EQ(u.lastMessage().title, "Nome do Requerente");

    grid->setCurrentIndex(grid->model()->index(petition, 7));
    f.GridHistorico_DblClick();
    ASSERT_EQ(u.messages.size(), 2);
    EXPECT_EQ(u.lastMessage().text, "Texto completo");
    EXPECT_EQ(u.lastMessage().title, "Texto completo do complemento");
}

TEST_F(HistoryTest, ActivationReadsAnewUntilTheReferencesWereShown)
{
    fill();
    frmHistorico& f = openHistory();
    EXPECT_EQ(f.Origem->text(), "0");

    sql("UPDATE Processos SET marca = 'ALFA NOVA' WHERE processo = 12345");
    f.Form_Activate();
    EXPECT_EQ(f.Marca->text(), "ALFA NOVA");

    f.ProcRef_Click();
    EXPECT_EQ(f.Origem->text(), "1");
    sql("UPDATE Processos SET marca = 'ALFA OUTRA' WHERE processo = 12345");
    sql("DELETE FROM RevProcs WHERE processo = 12345");
    f.Form_Activate();
    EXPECT_EQ(f.Marca->text(), "ALFA NOVA");
    EXPECT_EQ(f.GridHistorico->model()->rowCount(), 4);
}

TEST_F(HistoryTest, ClosingUnloadsSoTheNextProcessLoads)
{
    fill();
    {
        frmHistorico& f = openHistory();
        u.onModal = [](QWidget* w) {
            show(w);
            static_cast<frmHistoricoRef*>(w)->Sair_Click();
            return 0;
        };
        f.ProcRef_Click();
        EXPECT_EQ(f.Origem->text(), "1");
        EXPECT_FALSE(frmHistoricoRef::isLoaded());
        f.Sair_Click();
    }
    EXPECT_FALSE(frmHistorico::isLoaded());

    // A fresh screen: Origem back to "0", the boxes empty, the other process read.
    u.onModal = [](QWidget*) { return 0; };
    ShowHistorico("000007773");
    frmHistorico& g = frmHistorico::instance();
    EXPECT_EQ(g.Origem->text(), "0");
    EXPECT_EQ(g.Marca->text(), "");
    EXPECT_EQ(g.Apresentacao->text(), "");
    show(&g);
    EXPECT_EQ(g.Marca->text(), "BETA");
    EXPECT_EQ(g.Apresentacao->text(), "");
    EXPECT_EQ(g.Natureza->text(), "");
    EXPECT_EQ(g.GridHistorico->model()->rowCount(), 2);
    EXPECT_FALSE(g.ProcRef->isVisibleTo(&g));

    // The close box unloads too.
    g.close();
    EXPECT_FALSE(frmHistorico::isLoaded());
}

TEST_F(HistoryTest, UnknownProcessLeavesEverythingEmpty)
{
    fill();
    frmHistorico& f = openHistory("999999990");
    EXPECT_EQ(f.Titular->text(), "");
    EXPECT_EQ(f.Classific->text(), "");
    EXPECT_EQ(f.GridHistorico->model()->rowCount(), 0);
    EXPECT_FALSE(f.ProcRef->isVisibleTo(&f));
    EXPECT_TRUE(u.messages.isEmpty());
}

TEST_F(HistoryTest, DatabaseFailureIsReportedAndTheScreenStaysUsable)
{
    fill();
    dropTable("RevProcRef");
    frmHistorico& f = openHistory();
    ASSERT_EQ(u.messages.size(), 1);
    EXPECT_EQ(u.lastMessage().style, vb::Critical);
    EXPECT_TRUE(u.lastMessage().text.contains("contar as referências do processo 000123455")) << u.lastMessage().text.toStdString();
    EXPECT_EQ(u.pointer(), vb::Default);
    EXPECT_TRUE(f.GridHistorico->isVisible());
    EXPECT_FALSE(f.LblAviso->isVisible());
    EXPECT_EQ(f.Marca->text(), "ALFA");
    EXPECT_EQ(f.GridHistorico->model()->rowCount(), 4);

    // The references screen fails the same way and stays open.
    f.ProcRef_Click();
    ASSERT_EQ(u.messages.size(), 2);
    EXPECT_EQ(u.lastMessage().style, vb::Critical);
    EXPECT_TRUE(u.lastMessage().text.contains("referências"));

    dropTable("RevProcs");
    f.Origem->setText("0");
    f.Form_Activate();
    ASSERT_EQ(u.messages.size(), 3);
    EXPECT_TRUE(u.lastMessage().text.contains("ler o histórico"));
    EXPECT_EQ(u.pointer(), vb::Default);
    EXPECT_TRUE(f.GridHistorico->isVisible());
}
