#pragma once
// The batch loader's screen: one OK button reads and applies issues 2156
// to 2181 from their archives, one after the other. No menu opens it.

#include "update/BatchLoader.h"

#include <QDialog>

class DateBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmDialogoLeitura1 : public QDialog, public TransferProgress {
    Q_OBJECT
public:
    explicit frmDialogoLeitura1(QWidget* parent = nullptr);

    // Runs the whole batch.
    void OK_Click();
    // Applies the staged issue named by NumRevista with the batch transfer.
    BatchIssueResult AtualizaProcessos();

    bool running() const { return running_; }

    // TransferProgress
    void setCounter(TransferCounter counter, int value) override;
    void yieldEvents() override;

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Reads the issue whose archive, number and date the controls hold.
    bool LerRevistaTxt();
    void showText(QLineEdit* box, const QString& text);

    QLabel* Label1;
    QLineEdit* NumRevista;
    DateBox* DataRevista;
    QLineEdit* NomeArq;
    QLineEdit* RegistrosLidos;
    QLineEdit* NumProcs;
    QLineEdit* NumNewProcs;
    QLineEdit* NumProcuradores;
    QLineEdit* NumProcsRef;
    QPushButton* OK;
    bool running_ = false;
};
