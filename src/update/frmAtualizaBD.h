#pragma once
// The database-update dialog: shows the last issue applied and the staged
// issue, asks "Atualiza Banco de Dados ?" and on SIM applies the staged
// issue with the transfer that fits its layout.

#include "update/Transfer.h"

#include <QDate>
#include <QDialog>
#include <QElapsedTimer>
#include <QString>
#include <QVariant>

class QLabel;
class QLineEdit;
class QPushButton;

// What the dialog shows on activation, read from Revistas and RPI.
struct UpdateDialogState {
    QString lblRpi;       // text of LblRPI
    QVariant stagedIssue; // absent when staging is empty
    QDate stagedDate;     // the staged issue's date (invalid when unknown)
    // Why the staged issue cannot be applied; empty when it can.
    QString notice;
    // Another desk is reading or applying an issue: who, and since when.
    QString busy;
    bool canApply() const { return notice.isEmpty(); }
};

UpdateDialogState ReadUpdateDialogState(DbConnection& db = DbConnection::instance());

class frmAtualizaBD : public QDialog, public TransferProgress {
    Q_OBJECT
public:
    explicit frmAtualizaBD(QWidget* parent = nullptr);

    // Reads the database again and fills the labels and boxes.
    void Form_Activate();
    // Shows a staged issue's number and date in the boxes.
    void showStaged(const StagedIssue& staged);
    // SIM: applies the staged issue.
    void SelecFile_Click();
    // NÃO: closes the dialog.
    void Cancelar_Click();

    bool running() const { return running_; }
    // Result of the last transfer started by SIM.
    TransferResult lastResult() const { return lastResult_; }

    // TransferProgress
    void setCounter(TransferCounter counter, int value) override;
    void yieldEvents() override;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLineEdit* box(TransferCounter counter) const;

    QLabel* Label1;
    QLabel* LblRPI;
    QLabel* D;
    QPushButton* SelecFile;
    QPushButton* Cancelar;
    QLineEdit* NumRevista;
    QLineEdit* DataRevista;
    QLineEdit* ProcsAtualizar;
    QLineEdit* NumProcs;
    QLineEdit* NumNewProcs;
    QLineEdit* NumProcuradores;
    QLineEdit* NumProcsRef;
    bool running_ = false;
    QElapsedTimer sinceYield_;
    TransferResult lastResult_ = TransferResult::Cancelled;
    // The staged issue the boxes show: the one SIM applies.
    StagedIssue shown_;
};
