#pragma once
// Small builders for the criteria controls of the search screens: frames,
// text boxes, option arrays and text-box arrays, named as the screens
// document them.

#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QStringList>
#include <QVector>

namespace criteriawidgets {

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

// An option array counted from 0; the first option is selected.
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

inline int checkedIndex(const QVector<QRadioButton*>& v)
{
    for (int i = 0; i < v.size(); ++i)
        if (v[i]->isChecked()) return i;
    return 0;
}

}  // namespace criteriawidgets
