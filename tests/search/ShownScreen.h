#pragma once
// A search screen shown and active for one test, deleted at its end, with
// the moves a user makes on it.

#include "search/ResultGrid.h"
#include "support/TestUi.h"

#include <QLineEdit>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

template <class Screen>
struct ShownScreen {
    QPointer<Screen> f = new Screen;
    ShownScreen()
    {
        f->show();
        f->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(f));
    }
    ~ShownScreen() { delete f.data(); }
    ShownScreen(const ShownScreen&) = delete;
    ShownScreen& operator=(const ShownScreen&) = delete;
    Screen* operator->() { return f; }

    // Typing into a box: the box takes the focus first, as on a click.
    void type(QLineEdit* box, const QString& text)
    {
        box->setFocus(Qt::MouseFocusReason);
        box->setText(text);
    }
    // The processes on the result page, sorted, joined by commas.
    QString found()
    {
        QStringList l;
        Recordset& rs = f->MarcaRevista().recordset();
        for (int r = 0; r < rs.recordCount(); ++r) l << rs.at(r, "processo").toString();
        l.sort();
        return l.join(',');
    }
};

// The texts of the messages shown, in order.
inline QStringList texts(const TestUi& u)
{
    QStringList l;
    for (const RecordedMessage& m : u.messages) l << m.text;
    return l;
}
