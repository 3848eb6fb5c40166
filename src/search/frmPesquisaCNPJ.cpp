#include "frmPesquisaCNPJ.h"

#include "CriteriaControls.h"
#include "TaxIdSearch.h"
#include "shell/Ui.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace criteriacontrols;
using namespace taxidsearch;

namespace {

SearchScreen::Config screenConfig()
{
    SearchScreen::Config c;
    c.objectName = QStringLiteral("frmPesquisaCNPJ");
    c.heading = kTitle;
    c.title = kTitle;
    return c;
}

}  // namespace

frmPesquisaCNPJ::frmPesquisaCNPJ(QWidget* parent) : SearchScreen(screenConfig(), parent)
{
    QWidget* area = criteriaArea();

    const CaptionedBox main =
        boldBox(QStringLiteral("txt23"), QStringLiteral("CNPJ, CPF ou #INPI :"), QStringLiteral("NumCNPJ"), 14, area);
    QLabel* txt23 = main.caption;
    numCnpj_ = main.box;
    numCnpj_->setFixedWidth(numCnpj_->fontMetrics().horizontalAdvance(QStringLiteral("00000000000000")) + 24);
    txt23->setBuddy(numCnpj_);

    auto* frame1 = frame(QStringLiteral("Frame1"), QStringLiteral("Tipo de Pesquisa"), area);
    optLocation_ = options(QStringLiteral("OptLocation"), {QStringLiteral("Exata"), QStringLiteral("Parcial")}, frame1);
    optionsAcross(frame1, optLocation_);

    auto* row = new QHBoxLayout;
    row->addWidget(txt23);
    row->addWidget(numCnpj_);
    row->addSpacing(24);
    row->addWidget(frame1);
    row->addStretch(1);
    auto* l = new QVBoxLayout(area);
    l->setContentsMargins(0, 0, 0, 0);
    l->addLayout(row);

    numCnpj_->setFocus();
}

frmPesquisaCNPJ::~frmPesquisaCNPJ() = default;

bool frmPesquisaCNPJ::exact() const { return checkedIndex(optLocation_) == 0; }

void frmPesquisaCNPJ::Pesquisar_Click()
{
    const QString t = numCnpj_->text();
    const Outcome o = BuildSearch(t, exact());
    // Past the digit checks the page on screen is no longer sorted, even
    // when the length check then stops the search.
    if (o.pastDigits) HasResults = 0;
    if (!o.refusal.isEmpty()) {
        MsgBox(o.refusal, vb::Critical, kTitle);
        numCnpj_->setFocus();
        return;
    }
    runFirstPage(o.whereClause, resultgrid::kPlainSelectList);
}

QString frmPesquisaCNPJ::exportTitle() const { return ExportTitle(numCnpj_->text(), exact()); }

QString frmPesquisaCNPJ::printTitle() const { return PrintTitle(numCnpj_->text(), exact()); }
