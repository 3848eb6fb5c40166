#pragma once
// The screen shared by the holder and attorney searches: one name box and
// its match type; the kind decides column, page query, texts and titles.

#include "NameSearch.h"
#include "ResultGrid.h"

#include <QVector>

class QLineEdit;
class QRadioButton;

class NameSearchScreen : public SearchScreen {
    Q_OBJECT
public:
    NameSearchScreen(const namesearch::NameSearchKind& kind, QWidget* parent = nullptr);
    ~NameSearchScreen() override;

    void Pesquisar_Click() override;

    QLineEdit* nameBox() const { return name_; }
    QRadioButton* OptLocation(int i) const { return optLocation_.value(i); }
    int location() const;

protected:
    QString exportTitle() const override;
    QString printTitle() const override;

private:
    const namesearch::NameSearchKind& kind_;
    QLineEdit* name_ = nullptr;
    QVector<QRadioButton*> optLocation_;
};
