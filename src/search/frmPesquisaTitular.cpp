#include "frmPesquisaTitular.h"

frmPesquisaTitular::frmPesquisaTitular(QWidget* parent) : NameSearchScreen(namesearch::Holder(), parent) {}
