#include "NameSearchScreen.h"

#include "CriteriaControls.h"
#include "shell/Ui.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace criteriacontrols;
using namespace namesearch;

namespace {

SearchScreen::Config screenConfig(const NameSearchKind& kind)
{
    SearchScreen::Config c;
    c.objectName = kind.objectName;
    c.heading = kind.heading;
    c.title = kind.title;
    c.emptyNextPageTitle = kind.emptyNextPageTitle;
    return c;
}

}  // namespace

NameSearchScreen::NameSearchScreen(const NameSearchKind& kind, QWidget* parent)
    : SearchScreen(screenConfig(kind), parent), kind_(kind)
{
    QWidget* area = criteriaArea();

    const CaptionedBox main = boldBox(QStringLiteral("txt23"), kind.boxLabel, kind.boxName, kind.boxLength, area);
    QLabel* txt23 = main.caption;
    name_ = main.box;
    name_->setMinimumWidth(480);
    txt23->setBuddy(name_);

    auto* frame1 = frame(QStringLiteral("Frame1"), QStringLiteral("Tipo de Pesquisa"), area);
    optLocation_ = options(QStringLiteral("OptLocation"), locationCaptions(), frame1);
    optionsAcross(frame1, optLocation_);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(txt23);
    nameRow->addWidget(name_, 1);
    nameRow->addStretch(1);
    auto* frameRow = new QHBoxLayout;
    frameRow->addWidget(frame1);
    frameRow->addStretch(1);
    auto* l = new QVBoxLayout(area);
    l->setContentsMargins(0, 0, 0, 0);
    l->addLayout(nameRow);
    l->addLayout(frameRow);

    setTabOrder(name_, optLocation_[0]);
    name_->setFocus();
}

NameSearchScreen::~NameSearchScreen() = default;

int NameSearchScreen::location() const { return checkedIndex(optLocation_); }

void NameSearchScreen::Pesquisar_Click()
{
    const Outcome o = BuildSearch(kind_, name_->text(), location());
    if (!o.refusal.isEmpty()) {
        MsgBox(o.refusal, vb::Critical, kind_.title);
        name_->setFocus();
        return;
    }
    runFirstPage(o.whereClause, kind_.selectList);
}

QString NameSearchScreen::exportTitle() const { return ExportTitle(kind_, name_->text(), location()); }

QString NameSearchScreen::printTitle() const { return PrintTitle(kind_, name_->text(), location()); }
