#pragma once
// Search by the holder name stored on the process.

#include "NameSearchScreen.h"

class frmPesquisaTitular : public NameSearchScreen {
    Q_OBJECT
public:
    explicit frmPesquisaTitular(QWidget* parent = nullptr);
    QLineEdit* NomeTitular() const { return nameBox(); }
};
