#pragma once
// Search of the own filings: the processes whose applicant acts for itself
// (attorney "O PRÓPRIO"), by journal issue, dispatch codes and holder
// states. The results are shown by the shared result grid.

#include "OwnFilingsSearch.h"
#include "ResultGrid.h"

#include <QVector>

class BoxChecks;
class QComboBox;
class QLineEdit;

class frmPesquisaProprio : public SearchScreen {
    Q_OBJECT
public:
    explicit frmPesquisaProprio(QWidget* parent = nullptr);
    ~frmPesquisaProprio() override;

    void Pesquisar_Click() override;
    // Checks run as the focus leaves a box; false (Cancel) keeps it there.
    bool NumRevista_Validate();
    bool Desp_Validate(int index);
    bool UF_Validate(int index);

    // Codes of the last search joined with "/", and its states
    // ("UF = BR/SP ou BR/RJ").
    QString DespText;
    QString UfText;

    // Criteria controls (arrays from 1).
    QLineEdit* NumRevista() const { return numRevista_; }
    QLineEdit* Desp(int i) const { return desp_.value(i - 1); }
    QComboBox* UF(int i) const { return uf_.value(i - 1); }

    // What the boxes hold now.
    ownfilings::Criteria criteria() const;

protected:
    QString exportTitle() const override;

private:
    bool refuse(const ownfilings::Refusal& r);

    QLineEdit* numRevista_ = nullptr;
    QVector<QLineEdit*> desp_;
    QVector<QComboBox*> uf_;
    BoxChecks* checks_ = nullptr;
};
