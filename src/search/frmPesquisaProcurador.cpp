#include "frmPesquisaProcurador.h"

frmPesquisaProcurador::frmPesquisaProcurador(QWidget* parent) : NameSearchScreen(namesearch::Attorney(), parent) {}
