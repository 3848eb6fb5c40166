// The three menus, the about box and the administrator gate: what each
// entry shows, which windows are visible afterwards, and the right.

#include "support/TestDb.h"
#include "support/TestUi.h"
#include "shell/DBSpecifics.h"
#include "shell/MenuGeral.h"
#include "shell/frmAbout.h"
#include "shell/frmMenuPesquisas.h"
#include "shell/frmMenuUtilitarios.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

QStringList visibleWindows()
{
    QStringList names;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) names << w->objectName();
    names.sort();
    return names;
}

QPushButton* button(QWidget* w, const char* name)
{
    auto* b = w->findChild<QPushButton*>(QString::fromUtf8(name));
    if (!b) ADD_FAILURE() << "no button " << name;
    return b;
}

QString labelText(QWidget* w, const char* name)
{
    auto* l = w->findChild<QLabel*>(QString::fromUtf8(name));
    if (!l) ADD_FAILURE() << "no label " << name;
    return l ? l->text() : QString();
}

void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

class Menus : public ::testing::Test {
protected:
    void SetUp() override
    {
        AdminFlag = 0;
        OfficeName = QStringLiteral("Marcas & Patentes Ltda");
        menu = std::make_unique<MenuGeral>();
        menu->endProgram = [this] { ++ends; };
        QObject::connect(menu.get(), &MenuGeral::entryChosen, [this](MenuEntry e) {
            chosen << int(e);
            pointerWhenChosen << testUi.pointer();
        });
        menu->show();
    }
    void TearDown() override
    {
        menu.reset();
        flushDeletes();
        AdminFlag = 0;
    }
    void becomeAdmin() { AdminFlag = 1; }

    TestUi testUi;
    std::unique_ptr<MenuGeral> menu;
    QList<int> chosen;
    QList<int> pointerWhenChosen;
    int ends = 0;
};

}  // namespace

TEST_F(Menus, EachGatedEntryRefusesWithItsOwnTitleAndLeavesTheWindows)
{
    const struct {
        const char* button;
        QString title;
    } gated[] = {
        {"AtualizarCadastros", QStringLiteral("Atualização de Banco de Dados")},
        {"LeituraRPI", QStringLiteral("Leitura RPI")},
        {"TrocaSenha", QStringLiteral("Troca de Senha")},
        {"Utilitários", QStringLiteral("Utilitários")},
    };
    for (const auto& g : gated) {
        testUi.clear();
        button(menu.get(), g.button)->click();
        ASSERT_EQ(testUi.messages.size(), 1) << g.button;
        EXPECT_EQ(testUi.lastMessage().text, QStringLiteral("Acesso restrito ao administrador !"));
        EXPECT_EQ(testUi.lastMessage().style, vb::Critical);
        EXPECT_EQ(testUi.lastMessage().title, g.title);
        EXPECT_EQ(visibleWindows(), QStringList{QStringLiteral("MenuGeral")}) << g.button;
        EXPECT_TRUE(testUi.modalWindows.isEmpty());
    }
    EXPECT_TRUE(chosen.isEmpty());
    EXPECT_EQ(menu->utilitiesMenu(), nullptr);

    // The user-list entry of the utilities menu is gated too.
    becomeAdmin();
    button(menu.get(), "Utilitários")->click();
    AdminFlag = 0;
    testUi.clear();
    button(menu->utilitiesMenu(), "Usuarios")->click();
    ASSERT_EQ(testUi.messages.size(), 1);
    EXPECT_EQ(testUi.lastMessage().text, QStringLiteral("Acesso restrito ao administrador !"));
    EXPECT_EQ(testUi.lastMessage().style, vb::Critical);
    EXPECT_EQ(testUi.lastMessage().title, QStringLiteral("Usuários"));
    EXPECT_EQ(visibleWindows(), QStringList{QStringLiteral("frmMenuUtilitários")});
    EXPECT_TRUE(chosen.isEmpty());
}

TEST_F(Menus, TheAdministratorReachesEveryGatedEntry)
{
    becomeAdmin();
    button(menu.get(), "AtualizarCadastros")->click();
    button(menu.get(), "LeituraRPI")->click();
    button(menu.get(), "TrocaSenha")->click();
    EXPECT_EQ(visibleWindows(), QStringList{QStringLiteral("MenuGeral")});
    button(menu.get(), "Utilitários")->click();
    EXPECT_EQ(visibleWindows(), QStringList{QStringLiteral("frmMenuUtilitários")});
    button(menu->utilitiesMenu(), "Usuarios")->click();
    EXPECT_TRUE(testUi.messages.isEmpty());
    EXPECT_EQ(chosen, (QList<int>{int(MenuEntry::AtualizarCadastros), int(MenuEntry::LeituraRPI),
                                  int(MenuEntry::TrocaSenha), int(MenuEntry::Usuarios)}));
    // The utilities menu opens without the hourglass.
    EXPECT_TRUE(testUi.pointerHistory.isEmpty());
}

TEST_F(Menus, SearchMenuReplacesTheMainMenuAndBringsItBack)
{
    button(menu.get(), "Pesquisas")->click();
    EXPECT_EQ(visibleWindows(), QStringList{QStringLiteral("frmMenuPesquisas")});
    EXPECT_EQ(testUi.pointerHistory, (QList<int>{vb::Hourglass, vb::Default}));
    frmMenuPesquisas* search = menu->searchMenu();
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(frmMenuPesquisas::current(), search);

    button(search, "VoltarMenuPrincipal")->click();
    EXPECT_EQ(visibleWindows(), QStringList{QStringLiteral("MenuGeral")});

    // Opening again shows the same menu; its close box only hides it.
    button(menu.get(), "Pesquisas")->click();
    EXPECT_EQ(menu->searchMenu(), search);
    EXPECT_FALSE(search->close());
    flushDeletes();
    EXPECT_EQ(menu->searchMenu(), search);
    EXPECT_EQ(visibleWindows(), QStringList{QStringLiteral("MenuGeral")});
    EXPECT_EQ(ends, 0);

    // A search screen that closes brings the search menu back only when no
    // other menu is showing: one menu at a time.
    ShowSearchMenu();
    EXPECT_EQ(visibleWindows(), QStringList{QStringLiteral("MenuGeral")});
    becomeAdmin();
    button(menu.get(), "Utilitários")->click();
    ShowSearchMenu();
    EXPECT_EQ(visibleWindows(), QStringList{QStringLiteral("frmMenuUtilitários")});
    button(menu->utilitiesMenu(), "Command1")->click();
    button(menu.get(), "Pesquisas")->click();
    ShowSearchMenu();
    EXPECT_EQ(visibleWindows(), QStringList{QStringLiteral("frmMenuPesquisas")});
}

TEST_F(Menus, SearchEntriesAreAnnouncedModelessUnderTheHourglassTheLookupWithout)
{
    button(menu.get(), "Pesquisas")->click();
    frmMenuPesquisas* search = menu->searchMenu();
    testUi.clear();
    const struct {
        const char* button;
        MenuEntry entry;
        int pointer;
    } entries[] = {
        {"PesquisaMarca", MenuEntry::PesquisaMarca, vb::Hourglass},
        {"PesqTitular", MenuEntry::PesqTitular, vb::Hourglass},
        {"PesqCNPJ", MenuEntry::PesqCNPJ, vb::Hourglass},
        {"PesqProc", MenuEntry::PesqProc, vb::Default},
        {"PesqProcurador", MenuEntry::PesqProcurador, vb::Hourglass},
        {"PesqRevista", MenuEntry::PesqRevista, vb::Hourglass},
        {"PesqProprio", MenuEntry::PesqProprio, vb::Hourglass},
        {"PesqVigencia", MenuEntry::PesqVigencia, vb::Hourglass},
    };
    for (const auto& e : entries) {
        chosen.clear();
        pointerWhenChosen.clear();
        button(search, e.button)->click();
        EXPECT_EQ(chosen, QList<int>{int(e.entry)}) << e.button;
        EXPECT_EQ(pointerWhenChosen, QList<int>{e.pointer}) << e.button;
        EXPECT_EQ(testUi.pointer(), vb::Default) << e.button;
    }
    // The search menu stays beside the search screens.
    EXPECT_EQ(visibleWindows(), QStringList{QStringLiteral("frmMenuPesquisas")});
    EXPECT_TRUE(testUi.messages.isEmpty());
}

TEST_F(Menus, UtilitiesMenuGoesBackAndUnloadsOnItsCloseBox)
{
    becomeAdmin();
    button(menu.get(), "Utilitários")->click();
    QPointer<frmMenuUtilitarios> utilities = menu->utilitiesMenu();
    ASSERT_TRUE(utilities);

    button(utilities, "Command1")->click();
    EXPECT_EQ(visibleWindows(), QStringList{QStringLiteral("MenuGeral")});
    button(menu.get(), "Utilitários")->click();
    EXPECT_EQ(menu->utilitiesMenu(), utilities.data());

    // The office line is read again when the menu loads anew.
    OfficeName = QStringLiteral("Outro Escritório");
    EXPECT_TRUE(utilities->close());
    flushDeletes();
    EXPECT_TRUE(utilities.isNull());
    EXPECT_EQ(visibleWindows(), QStringList{QStringLiteral("MenuGeral")});
    EXPECT_EQ(ends, 0);
    button(menu.get(), "Utilitários")->click();
    ASSERT_NE(menu->utilitiesMenu(), nullptr);
    EXPECT_EQ(labelText(menu->utilitiesMenu(), "Escritório"), QStringLiteral("Outro Escritório"));
}

TEST_F(Menus, EveryMenuShowsTheOfficeNameEvenWhenEmpty)
{
    becomeAdmin();
    button(menu.get(), "Pesquisas")->click();
    button(menu->searchMenu(), "VoltarMenuPrincipal")->click();
    button(menu.get(), "Utilitários")->click();
    for (QWidget* w : QList<QWidget*>{menu.get(), menu->searchMenu(), menu->utilitiesMenu()})
        EXPECT_EQ(labelText(w, "Escritório"), QStringLiteral("Marcas & Patentes Ltda")) << w->objectName().toStdString();

    OfficeName.clear();
    MenuGeral empty;
    EXPECT_EQ(labelText(&empty, "Escritório"), QString());
    frmMenuPesquisas search(&empty);
    EXPECT_EQ(labelText(&search, "Escritório"), QString());
    frmMenuUtilitarios utilities(&empty);
    EXPECT_EQ(labelText(&utilities, "Escritório"), QString());
}

TEST_F(Menus, CaptionsHeadingsAndTitles)
{
    becomeAdmin();
    button(menu.get(), "Pesquisas")->click();
    button(menu->searchMenu(), "VoltarMenuPrincipal")->click();
    button(menu.get(), "Utilitários")->click();

    const struct {
        QWidget* window;
        QString heading;
        QList<std::pair<const char*, QString>> buttons;
    } menus[] = {
        {menu.get(),
         QStringLiteral("Menu Principal"),
         {{"AtualizarCadastros", QStringLiteral("Atualizar Banco de Dados com RPI Lida")},
          {"LeituraRPI", QStringLiteral("Leitura de RPI")},
          {"Pesquisas", QStringLiteral("Pesquisas")},
          {"TrocaSenha", QStringLiteral("Troca Senha")},
          {"Utilitários", QStringLiteral("Utilitários")},
          {"AcessoAdministrador", QStringLiteral("Acesso do Administrador")},
          {"Command3", QStringLiteral("Info sôbre o Quorvanta")},
          {"Command2", QStringLiteral("Encerrar Programa")}}},
        {menu->searchMenu(),
         QStringLiteral("Menu de Pesquisas"),
         {{"PesquisaMarca", QStringLiteral("Pesquisa por Marca")},
          {"PesqTitular", QStringLiteral("Pesquisa por Nome do Titular")},
          {"PesqCNPJ", QStringLiteral("Pesquisa por CNPJ/INPI do Titular")},
          {"PesqProc", QStringLiteral("Pesquisa por Número do Processo")},
          {"PesqProcurador", QStringLiteral("Pesquisa por Nome do Procurador")},
          {"PesqRevista", QStringLiteral("Pesquisa por Revista")},
          {"PesqProprio", QStringLiteral("Pesquisa por Procurador  \" O Próprio\"")},
          {"PesqVigencia", QStringLiteral("Pesquisa pela Data de Vigência do Processo")},
          {"VoltarMenuPrincipal", QStringLiteral("Voltar ao Menu Principal")}}},
        {menu->utilitiesMenu(),
         QStringLiteral("Menu de Utilitários"),
         {{"Usuarios", QStringLiteral("Usuários")}, {"Command1", QStringLiteral("Voltar ao Menu Principal")}}},
    };
    for (const auto& m : menus) {
        EXPECT_EQ(m.window->windowTitle(), QStringLiteral("Quorvanta - Sistema de Pesquisa de Marcas"));
        auto* heading = m.window->findChild<QLabel*>(QStringLiteral("Label1"));
        ASSERT_NE(heading, nullptr);
        EXPECT_EQ(heading->text(), m.heading);
        EXPECT_EQ(heading->font().family(), QStringLiteral("Arial"));
        EXPECT_EQ(m.window->findChildren<QPushButton*>().size(), m.buttons.size());
        for (const auto& [name, caption] : m.buttons)
            if (auto* b = button(m.window, name)) {
                EXPECT_EQ(b->text(), caption) << name;
            }
    }
    EXPECT_EQ(menu->utilitiesMenu()->objectName(), QStringLiteral("frmMenuUtilitários"));
}

TEST_F(Menus, AboutBoxIsModalAndSaysWhatItIs)
{
    QString shownTitle;
    testUi.onModal = [&](QWidget* w) {
        shownTitle = w->windowTitle();
        EXPECT_EQ(labelText(w, "lblTitle"), QStringLiteral("Quorvanta - Sistema de Pesquisa de Marcas"));
        EXPECT_EQ(labelText(w, "lblVersion"), QStringLiteral("Versão 2.0.1 - 30/09/2013"));
        EXPECT_EQ(labelText(w, "Label1"), QStringLiteral("Informações sôbre o Quorvanta"));
        EXPECT_FALSE(labelText(w, "Label2").isEmpty());
        EXPECT_FALSE(labelText(w, "lblDescription").isEmpty());
        EXPECT_EQ(button(w, "cmdOK")->text(), QStringLiteral("OK"));
        w->show();
        button(w, "cmdOK")->click();
        EXPECT_FALSE(w->isVisible());
        return 0;
    };
    button(menu.get(), "Command3")->click();
    EXPECT_EQ(testUi.modalWindows, QStringList{QStringLiteral("frmAbout")});
    EXPECT_EQ(shownTitle, QStringLiteral("Quorvanta - Sistema de Pesquisa de Marcas"));
    // Shown again, it is the same box.
    frmAbout* about = menu->aboutBox();
    button(menu.get(), "Command3")->click();
    EXPECT_EQ(menu->aboutBox(), about);
    EXPECT_EQ(visibleWindows(), QStringList{QStringLiteral("MenuGeral")});
}

TEST_F(Menus, EndingTheProgram)
{
    TestDb tdb;
    // "Encerrar Programa" ends at once; the main window is not asked to close.
    button(menu.get(), "Command2")->click();
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(tdb.db().isOpen());

    // Closing the main window closes the connection and ends the program.
    EXPECT_TRUE(menu->close());
    EXPECT_FALSE(tdb.db().isOpen());
    EXPECT_EQ(ends, 2);
}

class AdminButton : public Menus {
protected:
    void typeAndPress(std::optional<QString> typed)
    {
        testUi.inputAnswers.push_back(typed);
        button(menu.get(), "AcessoAdministrador")->click();
    }
    bool indicated() const
    {
        auto* l = menu->findChild<QLabel*>(QStringLiteral("AdminStatus"));
        return l && l->isVisible();
    }
    TestDb tdb;
};

TEST_F(AdminButton, TheRightPasswordGrantsTheRight)
{
    EXPECT_FALSE(indicated());
    typeAndPress(QStringLiteral("quorvanta"));
    EXPECT_EQ(AdminFlag, 1);
    ASSERT_EQ(testUi.messages.size(), 1);
    EXPECT_EQ(testUi.lastMessage().style, vb::Information);
    EXPECT_TRUE(indicated());
    EXPECT_FALSE(button(menu.get(), "AcessoAdministrador")->isEnabled());
    // The gated entries now open.
    button(menu.get(), "LeituraRPI")->click();
    EXPECT_EQ(chosen, QList<int>{int(MenuEntry::LeituraRPI)});
}

TEST_F(AdminButton, AWrongPasswordOrCancelKeepsTheRightOff)
{
    typeAndPress(QStringLiteral("quorvanta1"));
    EXPECT_EQ(AdminFlag, 0);
    ASSERT_EQ(testUi.messages.size(), 1);
    EXPECT_EQ(testUi.lastMessage().text, QStringLiteral("    Senha Inválida ! "));
    EXPECT_EQ(testUi.lastMessage().style, vb::Critical);
    EXPECT_FALSE(indicated());

    testUi.clear();
    typeAndPress(std::nullopt);
    EXPECT_EQ(AdminFlag, 0);
    EXPECT_TRUE(testUi.messages.isEmpty());
    EXPECT_EQ(testUi.inputPrompts.size(), 1);
}

TEST_F(AdminButton, ANullStoredPasswordOpensNothing)
{
    tdb.db().execute(QStringLiteral("UPDATE Controle SET controle6=NULL WHERE codigo=1"));
    typeAndPress(QStringLiteral("quorvanta"));
    EXPECT_EQ(AdminFlag, 0);
    ASSERT_EQ(testUi.messages.size(), 1);
    EXPECT_EQ(testUi.lastMessage().text, QStringLiteral("    Senha Inválida ! "));
}

TEST_F(AdminButton, AMissingRowOrAFailedQueryIsSaidPlainly)
{
    tdb.db().execute(QStringLiteral("DELETE FROM Controle"));
    typeAndPress(QStringLiteral("quorvanta"));
    EXPECT_EQ(AdminFlag, 0);
    ASSERT_EQ(testUi.messages.size(), 1);
    EXPECT_EQ(testUi.lastMessage().style, vb::Critical);
    EXPECT_TRUE(testUi.lastMessage().text.contains(QStringLiteral("Controle")));

    testUi.clear();
    tdb.db().close();
    typeAndPress(QStringLiteral("quorvanta"));
    EXPECT_EQ(AdminFlag, 0);
    ASSERT_EQ(testUi.messages.size(), 1);
    EXPECT_EQ(testUi.lastMessage().style, vb::Critical);
    EXPECT_TRUE(menu->isVisible());
}
