#include "frmPesquisaVigencia.h"

#include "shell/BoxChecks.h"
#include "CriteriaControls.h"
#include "SearchChecks.h"
#include "shell/DateBox.h"
#include "shell/Ui.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace criteriacontrols;
using namespace validitysearch;

namespace {

SearchScreen::Config screenConfig()
{
    SearchScreen::Config c;
    c.objectName = QStringLiteral("frmPesquisaVigencia");
    c.heading = kTitle;
    c.title = kTitle;
    c.withVigencia = true;
    c.sortHintName = QStringLiteral("Label4");
    return c;
}

DateBox* picker(const QString& name, QWidget* parent)
{
    auto* d = new DateBox(parent);
    d->setObjectName(name);
    return d;
}

}  // namespace

frmPesquisaVigencia::frmPesquisaVigencia(QWidget* parent) : SearchScreen(screenConfig(), parent)
{
    QWidget* area = criteriaArea();

    auto* frame5 = frame(QStringLiteral("Frame5"), QStringLiteral("Vigência entre as datas (diferença máxima de 2 meses)"),
                         area);
    dataInic_ = picker(QStringLiteral("DataInic"), frame5);
    dataFinal_ = picker(QStringLiteral("DataFinal"), frame5);
    dataInic_->setInvalidMessage(kStartInvalid, kErrorTitle);
    dataFinal_->setInvalidMessage(kEndInvalid, kErrorTitle);
    auto* label3 = new QLabel(QStringLiteral("e"), frame5);
    label3->setObjectName(QStringLiteral("Label3"));
    {
        auto* l = new QHBoxLayout(frame5);
        l->addWidget(dataInic_);
        l->addWidget(label3);
        l->addWidget(dataFinal_);
        l->addStretch(1);
    }

    auto* frame3 = frame(QStringLiteral("Frame3"), QStringLiteral("Último Despacho"), area);
    {
        auto* l = new QHBoxLayout(frame3);
        for (int i = 1; i <= 3; ++i) {
            QLineEdit* e = box(QStringLiteral("Desp"), 7, frame3);
            e->setProperty("Index", i);
            e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("WWWW000")) + 14);
            desp_ << e;
            l->addWidget(e);
        }
    }

    auto* frame1 = frame(QStringLiteral("Frame1"), QStringLiteral("CNPJ, CPF ou # INPI"), area);
    numCnpj_ = box(QStringLiteral("NumCNPJ"), 14, frame1);
    numCnpj_->setMinimumWidth(numCnpj_->fontMetrics().horizontalAdvance(QStringLiteral("00000000000000")) + 20);
    optCnpj_ = options(QStringLiteral("OptCNPJ"), exactCaptions(), frame1);
    {
        auto* l = new QVBoxLayout(frame1);
        l->addWidget(numCnpj_);
        l->addLayout(optionRow(optCnpj_, true));
    }

    auto* frame4 = frame(QStringLiteral("Frame4"), QStringLiteral("Procurador"), area);
    nomeProcurador_ = box(QStringLiteral("NomeProcurador"), 100, frame4);
    nomeProcurador_->setMinimumWidth(360);
    optLocation_ = options(QStringLiteral("OptLocation"), locationCaptions(), frame4);
    {
        auto* l = new QVBoxLayout(frame4);
        l->addWidget(nomeProcurador_);
        l->addLayout(optionRow(optLocation_, true));
    }

    // Window and dispatch codes above, tax id and attorney below.
    auto* g = new QGridLayout(area);
    g->setContentsMargins(0, 0, 0, 0);
    g->addWidget(frame5, 0, 0);
    g->addWidget(frame3, 0, 1);
    g->addWidget(frame1, 1, 0);
    g->addWidget(frame4, 1, 1, 1, 2);
    g->setColumnStretch(2, 1);

    checks_ = new BoxChecks(this);
    checks_->add(dataInic_, [this] { return DataInic_Validate(); });
    checks_->add(dataFinal_, [this] { return DataFinal_Validate(); });
    for (int i = 1; i <= 3; ++i) checks_->add(desp_[i - 1], [this, i] { return Desp_Validate(i); });

    // Load: both pickers on today.
    const QDate today = appClock().today();
    dataInic_->setDate(today);
    dataFinal_->setDate(today);
    dataInic_->setFocus();
}

frmPesquisaVigencia::~frmPesquisaVigencia() = default;

Criteria frmPesquisaVigencia::criteria() const
{
    Criteria c;
    c.dataInic = dataInic_->date();
    c.dataFinal = dataFinal_->date();
    for (int i = 0; i < 3; ++i) c.desp[i] = desp_[i]->text();
    c.numCnpj = numCnpj_->text();
    c.cnpjExact = checkedIndex(optCnpj_) == 0;
    c.nomeProcurador = nomeProcurador_->text();
    c.location = checkedIndex(optLocation_);
    return c;
}

bool frmPesquisaVigencia::DataInic_Validate()
{
    const QString m = CheckPickerDate(dataInic_->date(), true);
    if (m.isEmpty()) return true;
    MsgBox(m, vb::Critical, kErrorTitle);
    return false;
}

bool frmPesquisaVigencia::DataFinal_Validate()
{
    const QString m = CheckPickerDate(dataFinal_->date(), false);
    if (m.isEmpty()) return true;
    MsgBox(m, vb::Critical, kErrorTitle);
    return false;
}

bool frmPesquisaVigencia::Desp_Validate(int index)
{
    QLineEdit* e = Desp(index);
    if (!e) return true;
    e->setText(searchchecks::UpperCase(e->text()));
    const QString m = CheckDesp(criteria().desp, index);
    if (m.isEmpty()) return true;
    MsgBox(m, vb::Critical, kTitle);
    return false;
}

bool frmPesquisaVigencia::TestaPeriodo()
{
    const QString m = CheckPeriod(dataInic_->date(), dataFinal_->date());
    if (m.isEmpty()) return false;
    MsgBox(m, vb::Critical, kErrorTitle);
    return true;
}

void frmPesquisaVigencia::Pesquisar_Click()
{
    // A box left holding no date is refused as on leaving it.
    if (!DataInic_Validate()) {
        dataInic_->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!DataFinal_Validate()) {
        dataFinal_->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (TestaPeriodo()) {
        dataInic_->setFocus();
        return;
    }
    const Outcome o = BuildSearch(criteria());
    if (o.refusal) {
        MsgBox(o.refusal.message, o.refusal.icon, o.refusal.title);
        switch (o.refusal.box) {
        case Box::DataInic: dataInic_->setFocus(); break;
        case Box::NumCNPJ: numCnpj_->setFocus(); break;
        case Box::NomeProcurador: nomeProcurador_->setFocus(); break;
        case Box::None: break;
        }
        return;
    }
    if (runFirstPage(o.search.whereClause, kSelectList)) DespText = o.search.despText;
}

void frmPesquisaVigencia::beforeFirstPage(const QString& sql) { MsgBox(sql, vb::OKOnly, QString()); }

QString frmPesquisaVigencia::exportTitle() const { return Title(criteria(), DespText); }
