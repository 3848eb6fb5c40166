#include "frmPesquisaRevista.h"

#include "shell/BoxChecks.h"
#include "CriteriaControls.h"
#include "SearchChecks.h"
#include "shell/Ui.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace issuesearch;
using namespace criteriacontrols;

namespace {

SearchScreen::Config screenConfig()
{
    SearchScreen::Config c;
    c.objectName = QStringLiteral("frmPesquisaRevista");
    c.heading = kTitle;
    c.title = kTitle;
    c.orderBy = kOrderBy;
    c.hourglassOnFirstPage = false;
    return c;
}

}  // namespace

frmPesquisaRevista::frmPesquisaRevista(QWidget* parent) : SearchScreen(screenConfig(), parent)
{
    QWidget* area = criteriaArea();

    const CaptionedBox issueBox =
        boldBox(QStringLiteral("txt234"), QStringLiteral("Revista :"), QStringLiteral("NumRevista"), 4, area);
    QLabel* issueLbl = issueBox.caption;
    numRevista_ = issueBox.box;
    numRevista_->setFixedWidth(70);

    auto* frame3 = frame(QStringLiteral("Frame3"), QStringLiteral("Despacho"), area);
    desp_ = boxes(QStringLiteral("Desp"), 3, 7, 80, frame3);
    {
        auto* l = new QVBoxLayout(frame3);
        for (QLineEdit* e : desp_) l->addWidget(e);
        l->addStretch(1);
    }

    auto* frame2 = frame(QStringLiteral("Frame2"), QStringLiteral("NCL"), area);
    ncl_ = boxes(QStringLiteral("NCL"), 3, 2, 40, frame2);
    afinidade_ = new QCheckBox(QStringLiteral("Incluir Classificação Antiga"), frame2);
    afinidade_->setObjectName(QStringLiteral("Afinidade"));
    {
        auto* l = new QVBoxLayout(frame2);
        auto* row = new QHBoxLayout;
        for (QLineEdit* e : ncl_) {
            e->setAlignment(Qt::AlignCenter);
            row->addWidget(e);
        }
        row->addStretch(1);
        l->addLayout(row);
        l->addWidget(afinidade_);
        l->addStretch(1);
    }

    auto* frame1 = frame(QStringLiteral("Frame1"), QStringLiteral("CNPJ, CPF ou # INPI"), area);
    numCnpj_ = box(QStringLiteral("NumCNPJ"), 14, frame1);
    numCnpj_->setFixedWidth(150);
    optCnpj_ = options(QStringLiteral("OptCNPJ"), exactCaptions(), frame1);
    {
        auto* l = new QVBoxLayout(frame1);
        l->addWidget(numCnpj_);
        l->addLayout(optionRow(optCnpj_, true));
        l->addStretch(1);
    }

    auto* frame4 = frame(QStringLiteral("Frame4"), QStringLiteral("Procurador"), area);
    nomeProcurador_ = box(QStringLiteral("NomeProcurador"), 100, frame4);
    nomeProcurador_->setMinimumWidth(300);
    optLocation_ = options(QStringLiteral("OptLocation"), exactCaptions(), frame4);
    {
        auto* l = new QVBoxLayout(frame4);
        l->addWidget(nomeProcurador_);
        l->addLayout(optionRow(optLocation_, true));
        l->addStretch(1);
    }

    auto* issue = new QVBoxLayout;
    issue->addSpacing(8);
    issue->addWidget(issueLbl);
    issue->addWidget(numRevista_);
    issue->addStretch(1);

    auto* l = new QHBoxLayout(area);
    l->setContentsMargins(0, 0, 0, 0);
    l->addLayout(issue);
    l->addSpacing(8);
    l->addWidget(frame3);
    l->addWidget(frame2);
    l->addWidget(frame1);
    l->addWidget(frame4, 1);

    checks_ = new BoxChecks(this);
    checks_->add(numRevista_, [this] { return NumRevista_Validate(); });
    for (int i = 1; i <= 3; ++i) checks_->add(desp_[i - 1], [this, i] { return Desp_Validate(i); });
    for (int i = 1; i <= 3; ++i) checks_->add(ncl_[i - 1], [this, i] { return NCL_Validate(i); });
    checks_->add(numCnpj_, [this] { return NumCNPJ_Validate(); });

    numRevista_->setFocus();
}

frmPesquisaRevista::~frmPesquisaRevista() = default;

Criteria frmPesquisaRevista::criteria() const
{
    Criteria c;
    c.numRevista = numRevista_->text();
    for (int i = 0; i < 3; ++i) {
        c.desp[i] = desp_[i]->text();
        c.ncl[i] = ncl_[i]->text();
    }
    c.afinidade = afinidade_->isChecked();
    c.numCnpj = numCnpj_->text();
    c.cnpjExact = checkedIndex(optCnpj_) == 0;
    c.nomeProcurador = nomeProcurador_->text();
    c.attorneyExact = checkedIndex(optLocation_) == 0;
    return c;
}

bool frmPesquisaRevista::refuse(const Refusal& r)
{
    if (!r) return true;
    MsgBox(r.message, r.icon, kTitle);
    switch (r.box) {
    case Box::NumRevista: numRevista_->setFocus(); break;
    case Box::Desp: Desp(r.index)->setFocus(); break;
    case Box::NCL: NCL(r.index)->setFocus(); break;
    case Box::NumCNPJ: numCnpj_->setFocus(); break;
    case Box::NomeProcurador: nomeProcurador_->setFocus(); break;
    case Box::None: break;
    }
    return false;
}

bool frmPesquisaRevista::NumRevista_Validate() { return refuse(CheckNumRevista(criteria())); }

bool frmPesquisaRevista::Desp_Validate(int index)
{
    QLineEdit* e = Desp(index);
    e->setText(searchchecks::UpperCase(e->text()));
    return refuse(CheckDesp(criteria(), index));
}

bool frmPesquisaRevista::NCL_Validate(int index) { return refuse(CheckNcl(criteria(), index)); }

bool frmPesquisaRevista::NumCNPJ_Validate() { return refuse(CheckNumCnpj(criteria())); }

void frmPesquisaRevista::Pesquisar_Click()
{
    const Criteria c = criteria();
    // The issue is required; then the boxes are checked again, as leaving
    // them would have done. Neither touches the status line.
    if (c.numRevista.isEmpty()) {
        refuse(Refusal{kIssueRequired, vb::Critical, Box::NumRevista});
        return;
    }
    if (!refuse(CheckBoxes(c))) return;
    TotProcLbl()->setText(resultgrid::kStatusZero);
    const Outcome o = BuildSearch(c);
    if (!refuse(o.refusal)) return;
    if (runFirstPage(o.search.whereClause, kSelectList)) {
        DespText = o.search.despText;
        NclText = o.search.nclText;
    }
}

QString frmPesquisaRevista::exportTitle() const { return ExportTitle(criteria(), DespText, NclText); }

QString frmPesquisaRevista::printTitle() const { return PrintTitle(criteria(), DespText, NclText); }
