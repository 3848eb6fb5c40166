// The process lookup screen.
#include "search/HistoryFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class PesqProcTest : public HistoryTest {
protected:
    frmPesqProc& screen()
    {
        frmPesqProc& p = frmPesqProc::instance();
        show(&p);
        return p;
    }
};

TEST_F(PesqProcTest, RejectsBadInputBeforeAnyQuery)
{
    frmPesqProc& p = screen();
    EXPECT_EQ(p.windowTitle(), "Quorvanta - Sistema de Pesquisa de Marcas");
    QLineEdit* num = p.findChild<QLineEdit*>("NumProc");
    EXPECT_EQ(num->maxLength(), 9);

    p.Pesquisar_Click();  // empty: nothing
    EXPECT_TRUE(u.messages.isEmpty());

    const std::pair<const char*, const char*> cases[] = {
        {"0001234", "Número do Processo tem que ter 9 dígitos !"},
        {"00012345x", "Número do Processo só pode ter caracteres entre 0 e 9 !"},
        {"000123456", "Número do Processo com dígito de verificação errado !"},
    };
    for (const auto& [typed, message] : cases) {
        u.clear();
        num->setText(typed);
        p.Pesquisar->setFocus();
        p.Pesquisar_Click();
        ASSERT_EQ(u.messages.size(), 1) << typed;
        EXPECT_EQ(u.lastMessage().text, QString::fromUtf8(message));
        EXPECT_EQ(u.lastMessage().style, vb::Critical);
        EXPECT_EQ(u.lastMessage().title, "Pesquisa por Processo");
        EXPECT_TRUE(num->hasFocus());
        EXPECT_TRUE(u.pointerHistory.isEmpty());
        EXPECT_TRUE(p.ProcessoAdodc.RecordSource.isEmpty());
    }

    num->setText("000123455");
    EXPECT_EQ(p.calc_check_digit(), 0);
    num->setText("000123454");
    EXPECT_EQ(p.calc_check_digit(), 1);
}

TEST_F(PesqProcTest, MissingProcessLeavesThePointerNormal)
{
    fill();
    frmPesqProc& p = screen();
    p.NumProc->setText("000000000");  // nine zeros pass every check: process 0
    p.Pesquisar_Click();
    EXPECT_TRUE(p.ProcessoAdodc.RecordSource.endsWith("from Processos r where processo=0"));
    ASSERT_EQ(u.messages.size(), 1);
    EXPECT_EQ(u.lastMessage().text, "Processo não existente !");
    EXPECT_EQ(u.lastMessage().style, vb::Information);
    EXPECT_EQ(u.lastMessage().title, "Pesquisa por Processo");
    EXPECT_EQ(u.pointer(), vb::Default);
    EXPECT_TRUE(u.modalWindows.isEmpty());
}

TEST_F(PesqProcTest, FoundProcessOpensItsHistoryWhichRestoresThePointer)
{
    fill();
    frmPesqProc& p = screen();
    p.NumProc->setText(kProcdv);

    int pointerWhenShown = -1;
    QString caption;
    u.onModal = [&](QWidget* w) {
        pointerWhenShown = u.pointer();
        caption = static_cast<frmHistorico*>(w)->Numero_Processo->text();
        show(w);
        return 0;
    };
    p.Pesquisar->click();
    EXPECT_TRUE(p.ProcessoAdodc.RecordSource.endsWith("where processo=12345"));
    EXPECT_TRUE(u.messages.isEmpty());
    EXPECT_EQ(u.modalWindows, QStringList{"frmHistórico"});
    EXPECT_EQ(caption, kProcdv);
    EXPECT_EQ(pointerWhenShown, vb::Hourglass);
    EXPECT_EQ(u.pointer(), vb::Default);
    EXPECT_EQ(frmHistorico::instance().Marca->text(), "ALFA");
    EXPECT_EQ(p.NumProc->text(), kProcdv);
}

TEST_F(PesqProcTest, DatabaseFailureIsReported)
{
    frmPesqProc& p = screen();
    dropTable("Processos");
    p.NumProc->setText(kProcdv);
    p.Pesquisar_Click();
    ASSERT_EQ(u.messages.size(), 1);
    EXPECT_EQ(u.lastMessage().style, vb::Critical);
    EXPECT_TRUE(u.lastMessage().text.startsWith("Erro no banco de dados ao procurar o processo 000123455"));
    EXPECT_EQ(u.pointer(), vb::Default);
    EXPECT_TRUE(u.modalWindows.isEmpty());
}

TEST_F(PesqProcTest, SairUnloads)
{
    frmPesqProc& p = screen();
    p.NumProc->setText("123");
    p.Sair->click();
    EXPECT_FALSE(frmPesqProc::isLoaded());
    EXPECT_EQ(frmPesqProc::instance().NumProc->text(), "");
}
