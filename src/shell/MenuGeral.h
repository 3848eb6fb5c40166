#pragma once
// The main menu: the window shown after start-up. It leads to the search and
// utilities menus, the about box and, for the administrator, the journal
// reading, the database update and the password change. Entries that open a
// screen of another part of the program are announced by entryChosen.

#include "MenuEntry.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class frmAbout;
class frmMenuPesquisas;
class frmMenuUtilitarios;

// Administrator gate: true when AdminFlag is 1; otherwise shows
// "Acesso restrito ao administrador !" with the critical icon and the
// given title, and returns false.
bool AdminGate(const QString& title);

class MenuGeral : public QWidget {
    Q_OBJECT
public:
    explicit MenuGeral(QWidget* parent = nullptr);
    ~MenuGeral() override;

    // Ends the program. The default leaves the application's event loop.
    std::function<void()> endProgram;

    // The other menus (nullptr until first opened; the utilities menu
    // also after it was closed with its close box).
    frmMenuPesquisas* searchMenu() const;
    frmMenuUtilitarios* utilitiesMenu() const;
    frmAbout* aboutBox() const;

    // Button handlers.
    void AtualizarCadastros_Click();
    void LeituraRPI_Click();
    void Pesquisas_Click();
    void TrocaSenha_Click();
    void Utilitarios_Click();
    void AcessoAdministrador_Click();
    void Command3_Click();
    void Command2_Click();

signals:
    // An entry whose screen the program opens (the gate already passed).
    void entryChosen(MenuEntry entry);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void showAdminState();

    QLabel* office_ = nullptr;
    QLabel* adminState_ = nullptr;
    QPushButton* adminButton_ = nullptr;
    QPointer<frmMenuPesquisas> searchMenu_;
    QPointer<frmMenuUtilitarios> utilitiesMenu_;
    QPointer<frmAbout> about_;
};
