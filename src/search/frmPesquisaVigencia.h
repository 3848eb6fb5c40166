#pragma once
// Search by the validity end date of the processes inside a window of at
// most two months, narrowed by the latest dispatch code, the holder's tax
// id and the attorney's name; the results are shown by the shared grid
// with the extra column "Vigência".

#include "ResultGrid.h"
#include "ValiditySearch.h"

#include <QVector>

class BoxChecks;
class DateBox;
class QLineEdit;
class QRadioButton;

class frmPesquisaVigencia : public SearchScreen {
    Q_OBJECT
public:
    explicit frmPesquisaVigencia(QWidget* parent = nullptr);
    ~frmPesquisaVigencia() override;

    void Pesquisar_Click() override;
    // Checks run as the focus leaves a control; false (Cancel) keeps it there.
    bool DataInic_Validate();
    bool DataFinal_Validate();
    bool Desp_Validate(int index);
    // True when the date window is refused (its message already shown).
    bool TestaPeriodo();

    // Dispatch codes of the last search, joined with "/".
    QString DespText;

    DateBox* DataInic() const { return dataInic_; }
    DateBox* DataFinal() const { return dataFinal_; }
    QLineEdit* Desp(int i) const { return desp_.value(i - 1); }
    QLineEdit* NumCNPJ() const { return numCnpj_; }
    QRadioButton* OptCNPJ(int i) const { return optCnpj_.value(i); }
    QLineEdit* NomeProcurador() const { return nomeProcurador_; }
    QRadioButton* OptLocation(int i) const { return optLocation_.value(i); }

    // What the pickers, boxes and options hold now.
    validitysearch::Criteria criteria() const;

protected:
    QString exportTitle() const override;
    void beforeFirstPage(const QString& sql) override;

private:
    DateBox* dataInic_ = nullptr;
    DateBox* dataFinal_ = nullptr;
    QVector<QLineEdit*> desp_;
    QLineEdit* numCnpj_ = nullptr;
    QVector<QRadioButton*> optCnpj_;
    QLineEdit* nomeProcurador_ = nullptr;
    QVector<QRadioButton*> optLocation_;
    BoxChecks* checks_ = nullptr;
};
