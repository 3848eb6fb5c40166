#pragma once
// Small builders of the criteria controls of the search screens: frames,
// text boxes, box and option arrays under their names.

#include "Conditions.h"
#include "shell/OneLineBox.h"

#include <QButtonGroup>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStringList>
#include <QVector>

namespace criteriacontrols {

inline QGroupBox* frame(const QString& name, const QString& caption, QWidget* parent)
{
    auto* f = new QGroupBox(caption, parent);
    f->setObjectName(name);
    return f;
}

inline QLineEdit* box(const QString& name, int maxLength, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    if (maxLength > 0) e->setMaxLength(maxLength);
    OneLineBox(e);
    return e;
}

// A text-box array: boxes of one name told apart by their Index property,
// counted from 1.
inline QVector<QLineEdit*> boxes(const QString& name, int count, int maxLength, int width, QWidget* parent)
{
    QVector<QLineEdit*> v;
    for (int i = 1; i <= count; ++i) {
        QLineEdit* e = box(name, maxLength, parent);
        e->setProperty("Index", i);
        e->setFixedWidth(width);
        v << e;
    }
    return v;
}

// The screen's main box: a bold caption and its text box, also bold.
struct CaptionedBox {
    QLabel* caption;
    QLineEdit* box;
};

inline CaptionedBox boldBox(const QString& captionName, const QString& caption, const QString& boxName,
                            int maxLength, QWidget* parent)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(captionName);
    QFont bf = l->font();
    bf.setBold(true);
    l->setFont(bf);
    QLineEdit* e = box(boxName, maxLength, parent);
    e->setFont(bf);
    return {l, e};
}

// An option array: buttons of one name told apart by their Index property;
// the first one selected.
inline QVector<QRadioButton*> options(const QString& name, const QStringList& captions, QWidget* parent)
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

// The buttons of an option array side by side, optionally pushed left.
inline QHBoxLayout* optionRow(const QVector<QRadioButton*>& v, bool pushLeft)
{
    auto* row = new QHBoxLayout;
    for (QRadioButton* b : v) row->addWidget(b);
    if (pushLeft) row->addStretch(1);
    return row;
}

// A frame holding only an option array, spaced across from the left.
inline void optionsAcross(QGroupBox* frame, const QVector<QRadioButton*>& v)
{
    auto* l = new QHBoxLayout(frame);
    for (QRadioButton* b : v) {
        l->addWidget(b);
        l->addSpacing(12);
    }
    l->addStretch(1);
}

inline int checkedIndex(const QVector<QRadioButton*>& v)
{
    for (int i = 0; i < v.size(); ++i)
        if (v[i]->isChecked()) return i;
    return 0;
}

inline QStringList exactCaptions() { return {QStringLiteral("Exato"), QStringLiteral("Parcial")}; }

inline QStringList locationCaptions() { return conditions::LocationCaptions(); }

}  // namespace criteriacontrols
