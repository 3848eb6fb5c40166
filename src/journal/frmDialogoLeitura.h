#pragma once
// The administrator's dialog for reading one journal issue: it shows the
// last issue read, lets the user choose the issue's archive (its name
// checked), proposes today as the issue date, and on OK hands over to the
// reader of the issue's layout.

#include <QDialog>
#include <QString>

class DateBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Said when the date box is left, or OK pressed, while it holds no date.
inline const QString kInvalidIssueDate = QStringLiteral("Data da Revista inválida !");

class frmDialogoLeitura : public QDialog {
    Q_OBJECT
public:
    explicit frmDialogoLeitura(QWidget* parent = nullptr);

    // Handlers, public so that tests drive them as the buttons do.
    void Form_Activate();
    void SelecFile_Click();
    void OK_Click();
    void Cancelar_Click();
    // Check of the date as the focus leaves its box; false keeps it there.
    bool DataRevista_Validate();

    // True while a reader runs (the buttons are disabled meanwhile).
    bool reading() const { return reading_; }

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void resetControls();
    void setReading(bool on);
    // True when the issue was staged.
    bool LerRevistaTxt();
    bool LerRevistaXml();

    QLabel* Label1;
    QLabel* LblRPI;
    QPushButton* SelecFile;
    QLineEdit* NomeArq;
    QLabel* Label4;
    QLineEdit* NumRevista;
    QLabel* Label2;
    DateBox* DataRevista;
    QLabel* Label3;
    QLineEdit* RegistrosLidos;
    QPushButton* OK;
    QPushButton* Cancelar;
    bool reading_ = false;
};
