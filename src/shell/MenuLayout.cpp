#include "MenuLayout.h"

#include "Ui.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace menulayout {

Frame build(QWidget* window, const QString& heading)
{
    Frame f;
    window->setWindowTitle(kWindowTitle);

    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(18, 18, 18, 18);
    outer->setSpacing(14);

    f.headFrame = new QFrame(window);
    f.headFrame->setObjectName(QStringLiteral("Shape1"));
    f.headFrame->setFrameShape(QFrame::Box);
    f.headFrame->setLineWidth(2);
    auto* head = new QVBoxLayout(f.headFrame);
    head->setContentsMargins(16, 12, 16, 12);
    head->setSpacing(6);

    f.heading = new QLabel(heading, f.headFrame);
    f.heading->setObjectName(QStringLiteral("Label1"));
    QFont hf(QStringLiteral("Arial"), 18, QFont::Bold);
    f.heading->setFont(hf);
    f.heading->setAlignment(Qt::AlignCenter);
    head->addWidget(f.heading);

    f.office = new QLabel(QStringLiteral("Escritório de Marcas e Patentes"), f.headFrame);
    f.office->setObjectName(QStringLiteral("Escritório"));
    QFont of(QStringLiteral("Arial"), 11);
    of.setItalic(true);
    f.office->setFont(of);
    f.office->setAlignment(Qt::AlignCenter);
    f.office->setMinimumHeight(f.office->fontMetrics().height());
    head->addWidget(f.office);
    outer->addWidget(f.headFrame);

    f.buttonFrame = new QFrame(window);
    f.buttonFrame->setObjectName(QStringLiteral("Shape2"));
    f.buttonFrame->setFrameShape(QFrame::Box);
    f.buttonFrame->setLineWidth(1);
    f.buttons = new QVBoxLayout(f.buttonFrame);
    f.buttons->setContentsMargins(40, 16, 40, 16);
    f.buttons->setSpacing(8);
    outer->addWidget(f.buttonFrame);
    outer->addStretch(1);
    return f;
}

QPushButton* addButton(Frame& frame, const QString& objectName, const QString& caption)
{
    auto* b = new QPushButton(caption, frame.buttonFrame);
    b->setObjectName(objectName);
    b->setMinimumHeight(32);
    b->setMinimumWidth(340);
    b->setAutoDefault(false);
    frame.buttons->addWidget(b);
    return b;
}

void addGap(Frame& frame) { frame.buttons->addSpacing(10); }

}  // namespace menulayout
