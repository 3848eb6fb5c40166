#include "DialogFrame.h"

#include <QDialog>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

QVBoxLayout* DialogColumn(QDialog* dialog, int spacing)
{
    auto* outer = new QVBoxLayout(dialog);
    outer->setContentsMargins(18, 18, 18, 18);
    outer->setSpacing(spacing);
    return outer;
}

QLabel* AddDialogHeading(QDialog* dialog, QVBoxLayout* column, const QString& text, int pointSize)
{
    auto* shape1 = new QFrame(dialog);
    shape1->setObjectName(QStringLiteral("Shape1"));
    shape1->setFrameShape(QFrame::Box);
    shape1->setLineWidth(2);
    auto* head = new QVBoxLayout(shape1);
    head->setContentsMargins(16, 10, 16, 10);
    auto* heading = NamedLabel(shape1, "Label1", text);
    heading->setFont(QFont(QStringLiteral("Arial"), pointSize, QFont::Bold));
    heading->setAlignment(Qt::AlignCenter);
    head->addWidget(heading);
    column->addWidget(shape1);
    return heading;
}

QLabel* NamedLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QPushButton* DialogButton(QWidget* parent, const char* name, const QString& caption, bool isDefault)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setMinimumWidth(100);
    if (isDefault)
        b->setDefault(true);
    else
        b->setAutoDefault(false);
    return b;
}
