#pragma once
// The utilities menu (administrator): the user list. Its close box brings
// the main menu back and unloads the menu.

#include "MenuEntry.h"

#include <QPointer>
#include <QWidget>

class frmMenuUtilitarios : public QWidget {
    Q_OBJECT
public:
    // mainMenu: the window shown again when this menu is left.
    explicit frmMenuUtilitarios(QWidget* mainMenu);

    void Usuarios_Click();
    void Command1_Click();

signals:
    void entryChosen(MenuEntry entry);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<QWidget> mainMenu_;
};
