#pragma once
// Process lookup: finds one process by its full nine-digit number and
// opens its history screen.

#include "shell/Db.h"
#include "shell/LoadedDialog.h"

#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace PesqProc {
// Message title of the screen.
extern const QString kTitle;
// The first failed check of a typed number, as its message; an empty text
// when the number passes (an empty number is not checked: nothing happens).
QString CheckNumber(const QString& numProc);
// The lookup statement for a process key.
QString LookupSql(const QString& key);
}  // namespace PesqProc

class frmPesqProc : public LoadedDialog<frmPesqProc> {
    Q_OBJECT
public:
    QFrame* Shape1 = nullptr;
    QFrame* Shape2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* NumProc = nullptr;
    QPushButton* Pesquisar = nullptr;
    QPushButton* Sair = nullptr;
    DataControl ProcessoAdodc;

    void Form_Load();
    void Pesquisar_Click();
    void Sair_Click();
    // 1 when the check digit of NumProc is wrong, 0 when it matches.
    short calc_check_digit() const;

private:
    friend class LoadedDialog<frmPesqProc>;
    frmPesqProc();
};

// Opens the lookup modally (the search menu's "Pesquisa por Número do Processo").
void ShowPesqProc();
