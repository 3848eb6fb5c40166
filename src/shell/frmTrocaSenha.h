#pragma once
// Change of the administrator password (Controle row 1, scrambled).

#include <QDialog>
#include <QString>

class DbConnection;
class QLineEdit;

// The box a refusal sends the focus to.
enum class SenhaBox { None, SenhaAtual, NovaSenha, NovaSenha1 };

struct TrocaSenhaResult {
    bool changed = false;
    QString message;  // always shown
    int style = 0;    // 0: plain box; vb::Critical for failures of the database
    SenhaBox focus = SenhaBox::None;
};

// Checks the three typed texts in order and, when they pass, stores the
// scrambled new password. The current password is compared as typed, the
// new one and its confirmation without the blanks at their ends.
TrocaSenhaResult TrocaSenha(const QString& senhaAtual, const QString& novaSenha, const QString& novaSenha1,
                            DbConnection& db);

class frmTrocaSenha : public QDialog {
    Q_OBJECT
public:
    explicit frmTrocaSenha(QWidget* parent = nullptr);

    void SelecFile_Click();
    void Cancelar_Click();
    void SenhaAtual_GotFocus();
    void NovaSenha_GotFocus();
    void NovaSenha1_GotFocus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* SenhaAtual_ = nullptr;
    QLineEdit* NovaSenha_ = nullptr;
    QLineEdit* NovaSenha1_ = nullptr;
    QLineEdit* box(SenhaBox b) const;
};
