#pragma once
// Search by journal issue: every entry of one issue, in the order it was
// stored, narrowed by dispatch codes, classes, holder tax id and attorney.
// The results are shown by the shared result grid.

#include "IssueSearch.h"
#include "ResultGrid.h"

#include <QVector>

class BoxChecks;
class QCheckBox;
class QLineEdit;
class QRadioButton;

class frmPesquisaRevista : public SearchScreen {
    Q_OBJECT
public:
    explicit frmPesquisaRevista(QWidget* parent = nullptr);
    ~frmPesquisaRevista() override;

    void Pesquisar_Click() override;
    // Checks run as the focus leaves a box; false (Cancel) keeps it there.
    bool NumRevista_Validate();
    bool Desp_Validate(int index);
    bool NCL_Validate(int index);
    bool NumCNPJ_Validate();

    // Codes and classes of the last search, joined with "/".
    QString DespText;
    QString NclText;

    // Criteria controls (arrays from 1, options from 0).
    QLineEdit* NumRevista() const { return numRevista_; }
    QLineEdit* Desp(int i) const { return desp_.value(i - 1); }
    QLineEdit* NCL(int i) const { return ncl_.value(i - 1); }
    QCheckBox* Afinidade() const { return afinidade_; }
    QLineEdit* NumCNPJ() const { return numCnpj_; }
    QRadioButton* OptCNPJ(int i) const { return optCnpj_.value(i); }
    QLineEdit* NomeProcurador() const { return nomeProcurador_; }
    QRadioButton* OptLocation(int i) const { return optLocation_.value(i); }

    // What the boxes and options hold now.
    issuesearch::Criteria criteria() const;

protected:
    QString exportTitle() const override;
    QString printTitle() const override;

private:
    bool refuse(const issuesearch::Refusal& r);

    QLineEdit* numRevista_ = nullptr;
    QVector<QLineEdit*> desp_, ncl_;
    QCheckBox* afinidade_ = nullptr;
    QLineEdit* numCnpj_ = nullptr;
    QVector<QRadioButton*> optCnpj_, optLocation_;
    QLineEdit* nomeProcurador_ = nullptr;
    BoxChecks* checks_ = nullptr;
};
