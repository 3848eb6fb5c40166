#pragma once
// Search by the attorney of the process.

#include "NameSearchScreen.h"

class frmPesquisaProcurador : public NameSearchScreen {
    Q_OBJECT
public:
    explicit frmPesquisaProcurador(QWidget* parent = nullptr);
    QLineEdit* NomeProcurador() const { return nameBox(); }
};
