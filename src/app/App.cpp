#include "App.h"
#include "Translations.h"

#include "journal/frmDialogoLeitura.h"
#include "search/frmPesqProc.h"
#include "search/frmPesquisaCNPJ.h"
#include "search/frmPesquisaMarca.h"
#include "search/frmPesquisaProcurador.h"
#include "search/frmPesquisaProprio.h"
#include "search/frmPesquisaRevista.h"
#include "search/frmPesquisaTitular.h"
#include "search/frmPesquisaVigencia.h"
#include "shell/Db.h"
#include "shell/Globals.h"
#include "shell/MenuGeral.h"
#include "shell/Ui.h"
#include "shell/frmTrocaSenha.h"
#include "shell/frmUsuarios.h"
#include "update/frmAtualizaBD.h"

#include <QApplication>
#include <exception>

App::App() : menu_(std::make_unique<MenuGeral>())
{
    connect(menu_.get(), &MenuGeral::entryChosen, this, &App::open);
}

App::~App()
{
    for (auto& [type, w] : screens_) delete w.data();
}

void App::start()
{
    // The program ends from the main menu (its close box or "Encerrar
    // Programa"), not when some window happens to be the last one closed.
    QApplication::setQuitOnLastWindowClosed(false);
    menu_->show();
}

void App::open(MenuEntry entry)
{
    switch (entry) {
    // Main menu, modal screens.
    case MenuEntry::AtualizarCadastros:
        openModal<frmAtualizaBD>();
        break;
    case MenuEntry::LeituraRPI:
        openModal<frmDialogoLeitura>();
        break;
    case MenuEntry::TrocaSenha:
        openModal<frmTrocaSenha>();
        break;
    // Search menu: modeless list searches, the process lookup modal.
    case MenuEntry::PesquisaMarca:
        openModeless<frmPesquisaMarca>();
        break;
    case MenuEntry::PesqTitular:
        openModeless<frmPesquisaTitular>();
        break;
    case MenuEntry::PesqCNPJ:
        openModeless<frmPesquisaCNPJ>();
        break;
    case MenuEntry::PesqProc:
        guarded([] { ShowPesqProc(); });
        break;
    case MenuEntry::PesqProcurador:
        openModeless<frmPesquisaProcurador>();
        break;
    case MenuEntry::PesqRevista:
        openModeless<frmPesquisaRevista>();
        break;
    case MenuEntry::PesqProprio:
        openModeless<frmPesquisaProprio>();
        break;
    case MenuEntry::PesqVigencia:
        openModeless<frmPesquisaVigencia>();
        break;
    // Utilities menu, modal.
    case MenuEntry::Usuarios:
        openModal<frmUsuarios>();
        break;
    }
}

void App::guarded(const std::function<void()>& action)
{
    try {
        action();
    } catch (const DbError& e) {
        MsgBox(QStringLiteral("Erro no banco de dados:\n") + e.message(), vb::Critical, kAppTitle);
    } catch (const std::exception& e) {
        MsgBox(QStringLiteral("Erro:\n") + QString::fromLocal8Bit(e.what()), vb::Critical, kAppTitle);
    }
}

void App::showModalWindow(QWidget* w) { ui().showModal(w); }

void App::showWindow(QWidget* w)
{
    w->show();
    w->raise();
    w->activateWindow();
}

int RunProgram()
{
    UseBrazilianLocale();
    LoadQtTranslations();
    if (!Globals::Main()) return 1;
    int rc = 0;
    {
        App program;
        program.start();
        rc = QApplication::exec();
    }
    // "Encerrar Programa" leaves the loop without closing the main window;
    // the connection is closed here, while the application still exists.
    DbConnection::instance().close();
    return rc;
}
