#include "frmMenuPesquisas.h"

#include "DBSpecifics.h"
#include "MenuGeral.h"
#include "MenuLayout.h"
#include "frmMenuUtilitarios.h"
#include "Ui.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace {
frmMenuPesquisas* g_current = nullptr;
}

frmMenuPesquisas::frmMenuPesquisas(QWidget* mainMenu) : QWidget(nullptr), mainMenu_(mainMenu)
{
    setObjectName(QStringLiteral("frmMenuPesquisas"));
    auto f = menulayout::build(this, QStringLiteral("Menu de Pesquisas"));

    struct Entry {
        const char* name;
        QString caption;
        void (frmMenuPesquisas::*handler)();
    };
    const Entry entries[] = {
        {"PesquisaMarca", QStringLiteral("Pesquisa por Marca"), &frmMenuPesquisas::PesquisaMarca_Click},
        {"PesqTitular", QStringLiteral("Pesquisa por Nome do Titular"), &frmMenuPesquisas::PesqTitular_Click},
        {"PesqCNPJ", QStringLiteral("Pesquisa por CNPJ/INPI do Titular"), &frmMenuPesquisas::PesqCNPJ_Click},
        {"PesqProc", QStringLiteral("Pesquisa por Número do Processo"), &frmMenuPesquisas::PesqProc_Click},
        {"PesqProcurador", QStringLiteral("Pesquisa por Nome do Procurador"),
         &frmMenuPesquisas::PesqProcurador_Click},
        {"PesqRevista", QStringLiteral("Pesquisa por Revista"), &frmMenuPesquisas::PesqRevista_Click},
        {"PesqProprio", QStringLiteral("Pesquisa por Procurador  \" O Próprio\""),
         &frmMenuPesquisas::PesqProprio_Click},
        {"PesqVigencia", QStringLiteral("Pesquisa pela Data de Vigência do Processo"),
         &frmMenuPesquisas::PesqVigencia_Click},
    };
    for (const Entry& e : entries) {
        auto* b = menulayout::addButton(f, QString::fromLatin1(e.name), e.caption);
        connect(b, &QPushButton::clicked, this, e.handler);
    }
    menulayout::addGap(f);
    auto* back = menulayout::addButton(f, QStringLiteral("VoltarMenuPrincipal"),
                                       QStringLiteral("Voltar ao Menu Principal"));
    connect(back, &QPushButton::clicked, this, &frmMenuPesquisas::VoltarMenuPrincipal_Click);

    // Form_Load
    f.office->setText(OfficeName);
    g_current = this;
}

frmMenuPesquisas::~frmMenuPesquisas()
{
    if (g_current == this) g_current = nullptr;
}

frmMenuPesquisas* frmMenuPesquisas::current() { return g_current; }

void frmMenuPesquisas::openModeless(MenuEntry entry)
{
    BusyPointer busy;
    emit entryChosen(entry);
}

void frmMenuPesquisas::PesqProc_Click() { emit entryChosen(MenuEntry::PesqProc); }

void frmMenuPesquisas::VoltarMenuPrincipal_Click()
{
    if (mainMenu_) mainMenu_->show();
    hide();
}

void frmMenuPesquisas::closeEvent(QCloseEvent* event)
{
    // Never unloaded: hidden, and the main menu comes back.
    event->ignore();
    hide();
    if (mainMenu_) mainMenu_->show();
}

bool frmMenuPesquisas::otherMenuShowing() const
{
    if (!mainMenu_) return false;
    if (mainMenu_->isVisible()) return true;
    const auto* main = qobject_cast<const MenuGeral*>(mainMenu_.data());
    return main && main->utilitiesMenu() && main->utilitiesMenu()->isVisible();
}

void ShowSearchMenu()
{
    frmMenuPesquisas* m = frmMenuPesquisas::current();
    // One menu at a time: the user went back to another menu meanwhile.
    if (!m || m->otherMenuShowing()) return;
    m->show();
    m->raise();
    m->activateWindow();
}
