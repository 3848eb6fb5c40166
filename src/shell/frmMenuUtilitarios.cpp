#include "frmMenuUtilitarios.h"

#include "DBSpecifics.h"
#include "MenuGeral.h"
#include "MenuLayout.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

frmMenuUtilitarios::frmMenuUtilitarios(QWidget* mainMenu) : QWidget(nullptr), mainMenu_(mainMenu)
{
    setObjectName(QStringLiteral("frmMenuUtilitários"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto f = menulayout::build(this, QStringLiteral("Menu de Utilitários"));

    auto* b = menulayout::addButton(f, QStringLiteral("Usuarios"), QStringLiteral("Usuários"));
    connect(b, &QPushButton::clicked, this, &frmMenuUtilitarios::Usuarios_Click);
    menulayout::addGap(f);
    b = menulayout::addButton(f, QStringLiteral("Command1"), QStringLiteral("Voltar ao Menu Principal"));
    connect(b, &QPushButton::clicked, this, &frmMenuUtilitarios::Command1_Click);

    // Form_Load
    f.office->setText(OfficeName);
}

void frmMenuUtilitarios::Usuarios_Click()
{
    if (!AdminGate(QStringLiteral("Usuários"))) return;
    emit entryChosen(MenuEntry::Usuarios);
}

void frmMenuUtilitarios::Command1_Click()
{
    if (mainMenu_) mainMenu_->show();
    hide();
}

void frmMenuUtilitarios::closeEvent(QCloseEvent* event)
{
    if (mainMenu_) mainMenu_->show();
    event->accept();  // unloads (deleted on close)
}
