#include "frmPesquisaProprio.h"

#include "shell/BoxChecks.h"
#include "CriteriaControls.h"
#include "SearchChecks.h"
#include "shell/Ui.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace ownfilings;
using namespace criteriacontrols;

namespace {

SearchScreen::Config screenConfig()
{
    SearchScreen::Config c;
    c.objectName = QStringLiteral("frmPesquisaProprio");
    c.heading = kHeading;
    c.title = kOutcomeTitle;
    c.pageMoveTitle = kTitle;
    return c;
}

}  // namespace

frmPesquisaProprio::frmPesquisaProprio(QWidget* parent) : SearchScreen(screenConfig(), parent)
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
        auto* l = new QHBoxLayout(frame3);
        for (QLineEdit* e : desp_) l->addWidget(e);
    }

    auto* frame2 = frame(QStringLiteral("Frame2"), QStringLiteral("Estado (UF)"), area);
    {
        auto* l = new QHBoxLayout(frame2);
        for (int i = 1; i <= 3; ++i) {
            auto* cb = new QComboBox(frame2);
            cb->setObjectName(QStringLiteral("UF"));
            cb->setProperty("Index", i);
            cb->addItem(QString());
            cb->addItems(kStates);
            cb->setCurrentIndex(-1);
            cb->setMaxVisibleItems(14);
            cb->setMinimumWidth(70);
            uf_ << cb;
            l->addWidget(cb);
        }
    }

    // The issue box on the line of the boxes inside the frames.
    auto* issue = new QHBoxLayout;
    issue->setContentsMargins(0, 0, 0, 12);
    issue->addWidget(issueLbl);
    issue->addWidget(numRevista_);

    auto* l = new QHBoxLayout(area);
    l->setContentsMargins(0, 0, 0, 0);
    l->addLayout(issue);
    l->setAlignment(issue, Qt::AlignBottom);
    l->addSpacing(16);
    l->addWidget(frame3);
    l->addWidget(frame2);
    l->addStretch(1);

    checks_ = new BoxChecks(this);
    checks_->add(numRevista_, [this] { return NumRevista_Validate(); });
    for (int i = 1; i <= 3; ++i) checks_->add(desp_[i - 1], [this, i] { return Desp_Validate(i); });
    for (int i = 1; i <= 3; ++i) checks_->add(uf_[i - 1], [this, i] { return UF_Validate(i); });

    numRevista_->setFocus();
}

frmPesquisaProprio::~frmPesquisaProprio() = default;

Criteria frmPesquisaProprio::criteria() const
{
    Criteria c;
    c.numRevista = numRevista_->text();
    for (int i = 0; i < 3; ++i) {
        c.desp[i] = desp_[i]->text();
        c.uf[i] = uf_[i]->currentText();
    }
    return c;
}

bool frmPesquisaProprio::refuse(const Refusal& r)
{
    if (!r) return true;
    MsgBox(r.message, r.icon, kTitle);
    switch (r.box) {
    case Box::NumRevista: numRevista_->setFocus(); break;
    case Box::Desp: Desp(r.index)->setFocus(); break;
    case Box::UF: UF(r.index)->setFocus(); break;
    case Box::None: break;
    }
    return false;
}

bool frmPesquisaProprio::NumRevista_Validate() { return refuse(CheckNumRevista(criteria())); }

bool frmPesquisaProprio::Desp_Validate(int index)
{
    QLineEdit* e = Desp(index);
    e->setText(searchchecks::UpperCase(e->text()));
    return refuse(CheckDesp(criteria(), index));
}

bool frmPesquisaProprio::UF_Validate(int index) { return refuse(CheckUf(criteria(), index)); }

void frmPesquisaProprio::Pesquisar_Click()
{
    // The status line is reset before anything is checked.
    TotProcLbl()->setText(resultgrid::kStatusZero);
    const Outcome o = BuildSearch(criteria());
    if (!refuse(o.refusal)) return;
    if (runFirstPage(o.search.whereClause, o.search.selectList)) {
        DespText = o.search.despText;
        UfText = o.search.ufText;
    }
}

QString frmPesquisaProprio::exportTitle() const { return ExportTitle(criteria(), DespText, UfText); }
