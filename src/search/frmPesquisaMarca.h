#pragma once
// Search by mark: the mark text compared by one of its keys at one
// position, narrowed by classes, holder tax id and journal issue. The
// results are shown by the shared result grid.

#include "MarkSearch.h"
#include "ResultGrid.h"

#include <QVector>

class BoxChecks;
class QCheckBox;
class QLineEdit;
class QRadioButton;

class frmPesquisaMarca : public SearchScreen {
    Q_OBJECT
public:
    explicit frmPesquisaMarca(QWidget* parent = nullptr);
    ~frmPesquisaMarca() override;

    void Pesquisar_Click() override;
    // Checks run as the focus leaves a box; false (Cancel) keeps it there.
    bool NCL_Validate(int index);
    bool NumCNPJ_Validate();
    bool RPI_Validate();

    // Classes of the last search, joined with "/".
    QString NclText;

    // Criteria controls (arrays from 0 for the options, from 1 for NCL).
    QLineEdit* NomeMarca() const { return nomeMarca_; }
    QRadioButton* OPtFonetica(int i) const { return optFonetica_.value(i); }
    QRadioButton* OptLocation(int i) const { return optLocation_.value(i); }
    QLineEdit* NCL(int i) const { return ncl_.value(i - 1); }
    QCheckBox* Afinidade() const { return afinidade_; }
    QLineEdit* NumCNPJ() const { return numCnpj_; }
    QRadioButton* OptCNPJ(int i) const { return optCnpj_.value(i); }
    QLineEdit* RPI() const { return rpi_; }

    // What the boxes and options hold now.
    marksearch::Criteria criteria() const;

protected:
    QString exportTitle() const override;

private:
    bool refuse(const marksearch::Refusal& r);

    QLineEdit* nomeMarca_ = nullptr;
    QVector<QRadioButton*> optFonetica_, optLocation_, optCnpj_;
    QVector<QLineEdit*> ncl_;
    QCheckBox* afinidade_ = nullptr;
    QLineEdit* numCnpj_ = nullptr;
    QLineEdit* rpi_ = nullptr;
    BoxChecks* checks_ = nullptr;
};
