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

    auto* txt23 = new QLabel(QStringLiteral("CNPJ, CPF ou #INPI :"), area);
    txt23->setObjectName(QStringLiteral("txt23"));
    QFont bf = txt23->font();
    bf.setBold(true);
    txt23->setFont(bf);
    numCnpj_ = box(QStringLiteral("NumCNPJ"), 14, area);
    numCnpj_->setFont(bf);
    numCnpj_->setFixedWidth(numCnpj_->fontMetrics().horizontalAdvance(QStringLiteral("00000000000000")) + 24);
    txt23->setBuddy(numCnpj_);

    auto* frame1 = frame(QStringLiteral("Frame1"), QStringLiteral("Tipo de Pesquisa"), area);
    optLocation_ = options(QStringLiteral("OptLocation"), {QStringLiteral("Exata"), QStringLiteral("Parcial")}, frame1);
    {
        auto* l = new QHBoxLayout(frame1);
        for (QRadioButton* b : optLocation_) {
            l->addWidget(b);
            l->addSpacing(12);
        }
        l->addStretch(1);
    }

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
