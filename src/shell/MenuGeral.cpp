#include "MenuGeral.h"

#include "DBSpecifics.h"
#include "Db.h"
#include "MenuLayout.h"
#include "Password.h"
#include "Ui.h"
#include "frmAbout.h"
#include "frmMenuPesquisas.h"
#include "frmMenuUtilitarios.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kAdminTitle = QStringLiteral("Acesso do Administrador");
}

bool AdminGate(const QString& title)
{
    if (AdminFlag == 1) return true;
    MsgBox(QStringLiteral("Acesso restrito ao administrador !"), vb::Critical, title);
    return false;
}

MenuGeral::MenuGeral(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MenuGeral"));
    endProgram = [] { QCoreApplication::exit(0); };

    auto f = menulayout::build(this, QStringLiteral("Menu Principal"));
    office_ = f.office;

    auto* b = menulayout::addButton(f, QStringLiteral("AtualizarCadastros"),
                                    QStringLiteral("Atualizar Banco de Dados com RPI Lida"));
    connect(b, &QPushButton::clicked, this, &MenuGeral::AtualizarCadastros_Click);
    b = menulayout::addButton(f, QStringLiteral("LeituraRPI"), QStringLiteral("Leitura de RPI"));
    connect(b, &QPushButton::clicked, this, &MenuGeral::LeituraRPI_Click);
    b = menulayout::addButton(f, QStringLiteral("Pesquisas"), QStringLiteral("Pesquisas"));
    connect(b, &QPushButton::clicked, this, &MenuGeral::Pesquisas_Click);
    b = menulayout::addButton(f, QStringLiteral("TrocaSenha"), QStringLiteral("Troca Senha"));
    connect(b, &QPushButton::clicked, this, &MenuGeral::TrocaSenha_Click);
    b = menulayout::addButton(f, QStringLiteral("Utilitários"), QStringLiteral("Utilitários"));
    connect(b, &QPushButton::clicked, this, &MenuGeral::Utilitarios_Click);
    menulayout::addGap(f);
    adminButton_ = menulayout::addButton(f, QStringLiteral("AcessoAdministrador"), kAdminTitle);
    connect(adminButton_, &QPushButton::clicked, this, &MenuGeral::AcessoAdministrador_Click);
    b = menulayout::addButton(f, QStringLiteral("Command3"), QStringLiteral("Info sôbre o Quorvanta"));
    connect(b, &QPushButton::clicked, this, &MenuGeral::Command3_Click);
    b = menulayout::addButton(f, QStringLiteral("Command2"), QStringLiteral("Encerrar Programa"));
    connect(b, &QPushButton::clicked, this, &MenuGeral::Command2_Click);

    adminState_ = new QLabel(QStringLiteral("Acesso do administrador liberado"), f.buttonFrame);
    adminState_->setObjectName(QStringLiteral("AdminStatus"));
    adminState_->setAlignment(Qt::AlignCenter);
    adminState_->setStyleSheet(QStringLiteral("color: #006400; font-weight: bold;"));
    f.buttons->addWidget(adminState_);

    Form_Load();
}

MenuGeral::~MenuGeral()
{
    delete searchMenu_.data();
    delete utilitiesMenu_.data();
    delete about_.data();
}

frmMenuPesquisas* MenuGeral::searchMenu() const { return searchMenu_; }
frmMenuUtilitarios* MenuGeral::utilitiesMenu() const { return utilitiesMenu_; }
frmAbout* MenuGeral::aboutBox() const { return about_; }

void MenuGeral::Form_Load()
{
    office_->setText(OfficeName);
    showAdminState();
}

void MenuGeral::showAdminState()
{
    const bool admin = AdminFlag == 1;
    // Kept in the layout while hidden so the window does not change size.
    QSizePolicy sp = adminState_->sizePolicy();
    sp.setRetainSizeWhenHidden(true);
    adminState_->setSizePolicy(sp);
    adminState_->setVisible(admin);
    adminButton_->setEnabled(!admin);
}

void MenuGeral::showEvent(QShowEvent* event)
{
    showAdminState();
    QWidget::showEvent(event);
}

void MenuGeral::AtualizarCadastros_Click()
{
    if (!AdminGate(QStringLiteral("Atualização de Banco de Dados"))) return;
    emit entryChosen(MenuEntry::AtualizarCadastros);
}

void MenuGeral::LeituraRPI_Click()
{
    if (!AdminGate(QStringLiteral("Leitura RPI"))) return;
    emit entryChosen(MenuEntry::LeituraRPI);
}

void MenuGeral::Pesquisas_Click()
{
    {
        BusyPointer busy;
        if (!searchMenu_) {
            searchMenu_ = new frmMenuPesquisas(this);
            connect(searchMenu_, &frmMenuPesquisas::entryChosen, this, &MenuGeral::entryChosen);
        }
        searchMenu_->show();
        searchMenu_->raise();
        searchMenu_->activateWindow();
    }
    hide();
}

void MenuGeral::TrocaSenha_Click()
{
    if (!AdminGate(QStringLiteral("Troca de Senha"))) return;
    emit entryChosen(MenuEntry::TrocaSenha);
}

void MenuGeral::Utilitarios_Click()
{
    if (!AdminGate(QStringLiteral("Utilitários"))) return;
    if (!utilitiesMenu_) {
        utilitiesMenu_ = new frmMenuUtilitarios(this);
        connect(utilitiesMenu_, &frmMenuUtilitarios::entryChosen, this, &MenuGeral::entryChosen);
    }
    utilitiesMenu_->show();
    utilitiesMenu_->raise();
    utilitiesMenu_->activateWindow();
    hide();
}

void MenuGeral::AcessoAdministrador_Click()
{
    const std::optional<QString> typed =
        ui().inputBox(QStringLiteral("Digite a senha do administrador :"), kAdminTitle, QString(), true);
    if (!typed) return;  // cancelled

    const AdminPasswordResult r = CheckAdminPassword(*typed);
    switch (r.outcome) {
    case AdminPasswordCheck::Granted:
        AdminFlag = 1;
        showAdminState();
        MsgBox(QStringLiteral("Acesso do administrador liberado !"), vb::Information, kAdminTitle);
        break;
    case AdminPasswordCheck::WrongPassword:
        MsgBox(QStringLiteral("    Senha Inválida ! "), vb::Critical, kAdminTitle);
        break;
    case AdminPasswordCheck::NoControlRow:
        MsgBox(QStringLiteral("Senha do administrador não encontrada: a tabela Controle não tem o registro 1 !"),
               vb::Critical, kAdminTitle);
        break;
    case AdminPasswordCheck::DatabaseError:
        MsgBox(QStringLiteral("Erro ao ler a senha do administrador:\n") + r.errorText, vb::Critical, kAdminTitle);
        break;
    }
}

void MenuGeral::Command3_Click()
{
    if (!about_) about_ = new frmAbout();
    ui().showModal(about_);
}

void MenuGeral::Command2_Click()
{
    // Ends at once: no window is asked to close.
    if (endProgram) endProgram();
}

void MenuGeral::closeEvent(QCloseEvent* event)
{
    DbConnection::instance().close();
    QWidget::closeEvent(event);
    if (endProgram) endProgram();
}
