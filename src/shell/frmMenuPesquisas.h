#pragma once
// The search menu: one entry per search screen. Closing it only hides it
// and brings the main menu back.

#include "MenuEntry.h"

#include <QPointer>
#include <QWidget>

class frmMenuPesquisas : public QWidget {
    Q_OBJECT
public:
    // mainMenu: the window shown again when this menu is left.
    explicit frmMenuPesquisas(QWidget* mainMenu);
    ~frmMenuPesquisas() override;

    // The one search menu, when it exists.
    static frmMenuPesquisas* current();

    void PesquisaMarca_Click() { openModeless(MenuEntry::PesquisaMarca); }
    void PesqTitular_Click() { openModeless(MenuEntry::PesqTitular); }
    void PesqCNPJ_Click() { openModeless(MenuEntry::PesqCNPJ); }
    void PesqProc_Click();
    void PesqProcurador_Click() { openModeless(MenuEntry::PesqProcurador); }
    void PesqRevista_Click() { openModeless(MenuEntry::PesqRevista); }
    void PesqProprio_Click() { openModeless(MenuEntry::PesqProprio); }
    void PesqVigencia_Click() { openModeless(MenuEntry::PesqVigencia); }
    void VoltarMenuPrincipal_Click();

    // True when the main menu or the utilities menu is showing.
    bool otherMenuShowing() const;

signals:
    void entryChosen(MenuEntry entry);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Hourglass while the search screen loads and shows.
    void openModeless(MenuEntry entry);

    QPointer<QWidget> mainMenu_;
};

// Shows the search menu again (what a search screen does when it closes),
// unless another menu is showing.
void ShowSearchMenu();
