// The process lookup screen.
#include "search/HistoryFixture.h"
#include "support/Typing.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace typing;

class PesqProcTest : public HistoryTest {
protected:
    frmPesqProc& screen()
    {
        frmPesqProc& p = frmPesqProc::instance();
        show(&p);
        return p;
    }
    QStringList messageTexts() const
    {
        QStringList l;
        for (const RecordedMessage& m : u.messages) l << m.text;
        return l;
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

TEST_F(PesqProcTest, EachNumberIsLookedUpAsTypedAndEnterOnSairOnlyCloses)
{
    fill();
    QStringList opened;  // the number each history screen was opened for
    u.onModal = [&](QWidget* w) {
        opened << static_cast<frmHistorico*>(w)->Numero_Processo->text();
        return 0;
    };
    frmPesqProc& p = frmPesqProc::instance();
    p.show();
    p.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&p));
    ASSERT_EQ(focused(), p.NumProc);

    // Separators fill the box and are refused; one digit short is refused,
    // and the digit typed after the refusal completes the number.
    type("000.123.455");
    EXPECT_EQ(p.NumProc->text(), "000.123.4");
    press(Qt::Key_Return);
    retype("00012345");
    press(Qt::Key_Return);
    type("5");
    press(Qt::Key_Return);
    EXPECT_EQ(opened, QStringList{"000123455"});

    // The next number typed replaces the one looked up, also after a
    // number that is not stored.
    type("000007773");
    press(Qt::Key_Return);
    type("000000019");
    press(Qt::Key_Return);
    type("000123455");
    press(Qt::Key_Return);
    EXPECT_EQ(opened, (QStringList{"000123455", "000007773", "000123455"}));
    EXPECT_EQ(messageTexts(), (QStringList{"Número do Processo só pode ter caracteres entre 0 e 9 !",
                                           "Número do Processo tem que ter 9 dígitos !", "Processo não existente !"}));

    // Enter on a focused button presses that button: back in the box it
    // looks up again, on Sair it only closes.
    tab(2);
    ASSERT_EQ(focused(), p.Sair);
    press(Qt::Key_Backtab);
    press(Qt::Key_Backtab);
    ASSERT_EQ(focused(), p.NumProc);
    type("000007773");
    press(Qt::Key_Return);
    EXPECT_EQ(opened.size(), 4);
    EXPECT_EQ(opened.value(3), "000007773");
    tab(2);
    press(Qt::Key_Return);
    EXPECT_EQ(opened.size(), 4);
    EXPECT_EQ(u.messages.size(), 3);
    EXPECT_FALSE(frmPesqProc::isLoaded());
}
