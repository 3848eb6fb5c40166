#include "frmPesquisaMarca.h"

#include "shell/BoxChecks.h"
#include "CriteriaControls.h"
#include "shell/Ui.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace criteriacontrols;
using namespace marksearch;

namespace {

SearchScreen::Config screenConfig()
{
    SearchScreen::Config c;
    c.objectName = QStringLiteral("frmPesquisaMarca");
    c.heading = kTitle;
    c.title = kTitle;
    return c;
}

}  // namespace

frmPesquisaMarca::frmPesquisaMarca(QWidget* parent) : SearchScreen(screenConfig(), parent)
{
    QWidget* area = criteriaArea();

    const CaptionedBox markBox =
        boldBox(QStringLiteral("Marca"), QStringLiteral("Marca :"), QStringLiteral("NomeMarca"),
                conditions::kMarkLength, area);
    QLabel* marcaLbl = markBox.caption;
    nomeMarca_ = markBox.box;
    nomeMarca_->setMinimumWidth(420);
    nomeMarca_->setMaximumWidth(640);

    auto* frame3 = frame(QStringLiteral("Frame3"), QStringLiteral("Opções da Pesquisa"), area);
    optFonetica_ = options(QStringLiteral("OPtFonetica"),
                           {QStringLiteral("Normal"), QStringLiteral("Limpa"), QStringLiteral("Fonética 1"),
                            QStringLiteral("Fonética 2")},
                           frame3);
    optLocation_ = options(QStringLiteral("OptLocation"), locationCaptions(), frame3);
    {
        auto* l = new QHBoxLayout(frame3);
        auto* keys = new QVBoxLayout;
        for (QRadioButton* b : optFonetica_) keys->addWidget(b);
        auto* locs = new QVBoxLayout;
        for (QRadioButton* b : optLocation_) locs->addWidget(b);
        l->addLayout(keys);
        l->addSpacing(24);
        l->addLayout(locs);
    }

    auto* frame2 = frame(QStringLiteral("Frame2"), QStringLiteral("NCL"), area);
    // The class boxes before the check box below them, also for Tab.
    ncl_ = boxes(QStringLiteral("NCL"), 5, 2, 40, frame2);
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
    }

    auto* frame1 = frame(QStringLiteral("Frame1"), QStringLiteral("CNPJ, CPF ou # INPI"), area);
    numCnpj_ = box(QStringLiteral("NumCNPJ"), 14, frame1);
    numCnpj_->setMinimumWidth(150);
    optCnpj_ = options(QStringLiteral("OptCNPJ"), exactCaptions(), frame1);
    {
        auto* l = new QVBoxLayout(frame1);
        l->addWidget(numCnpj_);
        l->addLayout(optionRow(optCnpj_, false));
    }

    auto* frame6 = frame(QStringLiteral("Frame6"), QStringLiteral("RPI"), area);
    rpi_ = box(QStringLiteral("RPI"), 4, frame6);
    rpi_->setFixedWidth(70);
    {
        auto* l = new QVBoxLayout(frame6);
        l->addWidget(rpi_);
        l->addStretch(1);
    }

    auto* markRow = new QHBoxLayout;
    markRow->addWidget(marcaLbl);
    markRow->addWidget(nomeMarca_, 1);
    markRow->addStretch(1);
    auto* frames = new QHBoxLayout;
    frames->addWidget(frame3);
    frames->addWidget(frame2);
    frames->addWidget(frame1);
    frames->addWidget(frame6);
    frames->addStretch(1);
    auto* l = new QVBoxLayout(area);
    l->setContentsMargins(0, 0, 0, 0);
    l->addLayout(markRow);
    l->addLayout(frames);

    checks_ = new BoxChecks(this);
    for (int i = 1; i <= 5; ++i) checks_->add(ncl_[i - 1], [this, i] { return NCL_Validate(i); });
    checks_->add(numCnpj_, [this] { return NumCNPJ_Validate(); });
    checks_->add(rpi_, [this] { return RPI_Validate(); });

    setTabOrder(nomeMarca_, optFonetica_[0]);
    nomeMarca_->setFocus();
}

frmPesquisaMarca::~frmPesquisaMarca() = default;

Criteria frmPesquisaMarca::criteria() const
{
    Criteria c;
    c.nomeMarca = nomeMarca_->text();
    c.key = checkedIndex(optFonetica_);
    c.location = checkedIndex(optLocation_);
    for (int i = 0; i < 5; ++i) c.ncl[i] = ncl_[i]->text();
    c.afinidade = afinidade_->isChecked();
    c.numCnpj = numCnpj_->text();
    c.cnpjExact = checkedIndex(optCnpj_) == 0;
    c.rpi = rpi_->text();
    return c;
}

bool frmPesquisaMarca::refuse(const Refusal& r)
{
    if (!r) return true;
    MsgBox(r.message, r.icon, kTitle);
    switch (r.box) {
    case Box::NomeMarca: nomeMarca_->setFocus(); break;
    case Box::NCL: NCL(r.index)->setFocus(); break;
    case Box::NumCNPJ: numCnpj_->setFocus(); break;
    case Box::RPI: rpi_->setFocus(); break;
    case Box::None: break;
    }
    return false;
}

bool frmPesquisaMarca::NCL_Validate(int index) { return refuse(CheckNcl(criteria(), index)); }

bool frmPesquisaMarca::NumCNPJ_Validate() { return refuse(CheckNumCnpj(criteria())); }

bool frmPesquisaMarca::RPI_Validate() { return refuse(CheckRpi(criteria())); }

void frmPesquisaMarca::Pesquisar_Click()
{
    const Criteria c = criteria();
    // The boxes are checked again, as leaving them would have done.
    if (!refuse(CheckBoxes(c))) return;
    TotProcLbl()->setText(resultgrid::kStatusZero);
    const Outcome o = BuildSearch(c);
    if (!refuse(o.refusal)) return;
    const QString list = o.search.issueJoin ? resultgrid::kIssueJoinSelectList : resultgrid::kPlainSelectList;
    if (runFirstPage(o.search.whereClause, list)) NclText = o.search.nclText;
}

QString frmPesquisaMarca::exportTitle() const { return ExportTitle(criteria(), NclText); }
