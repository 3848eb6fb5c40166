#pragma once
// Small builders of the criteria controls of the name, tax-id and validity
// searches: frames, text boxes and option arrays under their names.

#include <QButtonGroup>
#include <QGroupBox>
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
    return e;
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

inline int checkedIndex(const QVector<QRadioButton*>& v)
{
    for (int i = 0; i < v.size(); ++i)
        if (v[i]->isChecked()) return i;
    return 0;
}

inline QStringList locationCaptions()
{
    return {QStringLiteral("Exata"), QStringLiteral("Só no início"), QStringLiteral("Em qualquer parte"),
            QStringLiteral("Só no final")};
}

}  // namespace criteriacontrols
