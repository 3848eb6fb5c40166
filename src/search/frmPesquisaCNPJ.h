#pragma once
// Search by the holder's tax id (CNPJ, CPF or INPI number), exact or
// partial; the results are shown by the shared result grid.

#include "ResultGrid.h"

#include <QVector>

class QLineEdit;
class QRadioButton;

class frmPesquisaCNPJ : public SearchScreen {
    Q_OBJECT
public:
    explicit frmPesquisaCNPJ(QWidget* parent = nullptr);
    ~frmPesquisaCNPJ() override;

    void Pesquisar_Click() override;

    QLineEdit* NumCNPJ() const { return numCnpj_; }
    QRadioButton* OptLocation(int i) const { return optLocation_.value(i); }
    bool exact() const;

protected:
    QString exportTitle() const override;
    QString printTitle() const override;

private:
    QLineEdit* numCnpj_ = nullptr;
    QVector<QRadioButton*> optLocation_;
};
