#include "frmPesquisaMarca.h"

#include "BoxChecks.h"
#include "shell/Ui.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

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

QGroupBox* frame(const QString& name, const QString& caption, QWidget* parent)
{
    auto* f = new QGroupBox(caption, parent);
    f->setObjectName(name);
    return f;
}

QLineEdit* box(const QString& name, int maxLength, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    if (maxLength > 0) e->setMaxLength(maxLength);
    return e;
}

// An option array: buttons of one name told apart by their Index property.
QVector<QRadioButton*> options(const QString& name, const QStringList& captions, QWidget* parent)
{
    QVector<QRadioButton*> v;
    auto* group = new QButtonGroup(parent);
    for (int i = 0; i < captions.size(); ++i) {
        auto* b = new QRadioButton(captions[i], parent);
        b->setObjectName(name);
        b->setProperty("Index", i);
        group->addButton(b, i);
        v << b;
    }
    v[0]->setChecked(true);
    return v;
}

int checkedIndex(const QVector<QRadioButton*>& v)
{
    for (int i = 0; i < v.size(); ++i)
        if (v[i]->isChecked()) return i;
    return 0;
}

}  // namespace

frmPesquisaMarca::frmPesquisaMarca(QWidget* parent) : SearchScreen(screenConfig(), parent)
{
    QWidget* area = criteriaArea();

    auto* marcaLbl = new QLabel(QStringLiteral("Marca :"), area);
    marcaLbl->setObjectName(QStringLiteral("Marca"));
    QFont bf = marcaLbl->font();
    bf.setBold(true);
    marcaLbl->setFont(bf);
    nomeMarca_ = box(QStringLiteral("NomeMarca"), 0, area);
    nomeMarca_->setMinimumWidth(420);
    nomeMarca_->setMaximumWidth(640);
    nomeMarca_->setFont(bf);

    auto* frame3 = frame(QStringLiteral("Frame3"), QStringLiteral("Opções da Pesquisa"), area);
    optFonetica_ = options(QStringLiteral("OPtFonetica"),
                           {QStringLiteral("Normal"), QStringLiteral("Limpa"), QStringLiteral("Fonética 1"),
                            QStringLiteral("Fonética 2")},
                           frame3);
    optLocation_ = options(QStringLiteral("OptLocation"),
                           {QStringLiteral("Exata"), QStringLiteral("Só no início"), QStringLiteral("Em qualquer parte"),
                            QStringLiteral("Só no final")},
                           frame3);
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
    afinidade_ = new QCheckBox(QStringLiteral("Incluir Classificação Antiga"), frame2);
    afinidade_->setObjectName(QStringLiteral("Afinidade"));
    {
        auto* l = new QVBoxLayout(frame2);
        auto* row = new QHBoxLayout;
        for (int i = 1; i <= 5; ++i) {
            QLineEdit* e = box(QStringLiteral("NCL"), 2, frame2);
            e->setProperty("Index", i);
            e->setFixedWidth(40);
            e->setAlignment(Qt::AlignCenter);
            ncl_ << e;
            row->addWidget(e);
        }
        row->addStretch(1);
        l->addLayout(row);
        l->addWidget(afinidade_);
    }

    auto* frame1 = frame(QStringLiteral("Frame1"), QStringLiteral("CNPJ, CPF ou # INPI"), area);
    numCnpj_ = box(QStringLiteral("NumCNPJ"), 14, frame1);
    numCnpj_->setMinimumWidth(150);
    optCnpj_ = options(QStringLiteral("OptCNPJ"), {QStringLiteral("Exato"), QStringLiteral("Parcial")}, frame1);
    {
        auto* l = new QVBoxLayout(frame1);
        l->addWidget(numCnpj_);
        auto* row = new QHBoxLayout;
        row->addWidget(optCnpj_[0]);
        row->addWidget(optCnpj_[1]);
        l->addLayout(row);
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
    case Box::NCL: NCL(r.nclIndex)->setFocus(); break;
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
