// The date box typed into as an office types: Tab into it, the keys, Tab
// out of it.
#include "shell/DateBox.h"
#include "support/TestUi.h"
#include "support/Typing.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace typing;

namespace {

struct Form {
    QWidget window;
    QLineEdit* before = new QLineEdit;
    DateBox* box = new DateBox;
    QLineEdit* after = new QLineEdit;
    Form()
    {
        auto* l = new QVBoxLayout(&window);
        l->addWidget(before);
        l->addWidget(box);
        l->addWidget(after);
        box->setDate(QDate(2026, 12, 9));
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        before->setFocus(Qt::OtherFocusReason);
    }
    // Tab into the box, the keys, Tab out: what the box then holds.
    QString typed(const QString& keys)
    {
        before->setFocus(Qt::OtherFocusReason);
        tab();
        EXPECT_EQ(focused(), box);
        type(keys);
        tab();
        EXPECT_EQ(focused(), after);
        return box->text();
    }
};

}  // namespace

TEST(DateBox, TakesTheDateTypedDayFirstWithOrWithoutSlashes)
{
    Form f;
    // "-" and "." are "/"; a third "/" after a whole date is not taken.
    for (const char* keys : {"01/04/2021", "1/4/2021", "01042021", "1/04/2021", "01/4/2021", "01/04//2021",
                             "1-4-2021", "01.04.2021", "1/4/2021/"}) {
        EXPECT_EQ(f.typed(QString::fromLatin1(keys)), "01/04/2021") << keys;
        EXPECT_EQ(f.box->date(), QDate(2021, 4, 1)) << keys;
    }
    EXPECT_EQ(f.typed("24/04/2012"), "24/04/2012");
    EXPECT_EQ(f.typed("31/12/1999"), "31/12/1999");
    EXPECT_EQ(f.typed("29/02/2024"), "29/02/2024");
    EXPECT_EQ(f.box->date(), QDate(2024, 2, 29));
    // Letters, blanks and other signs are not taken.
    EXPECT_EQ(f.typed("1a5+ /x6/2023"), "15/06/2023");
}

TEST(DateBox, ADayThatDoesNotExistIsNeverAnotherDate)
{
    Form f;
    for (const char* keys : {"29/02/2021", "29/02/1900", "31/04/2021", "32/01/2021", "00/01/2021", "15/13/2021",
                             "29022021", "1/4/21", "0104202"}) {
        const QString kept = f.typed(QString::fromLatin1(keys));
        EXPECT_FALSE(f.box->date().isValid()) << keys << " -> " << f.box->date().toString().toStdString();
        QString withoutSlashes = kept;
        EXPECT_EQ(withoutSlashes.remove('/'), QString::fromLatin1(keys).remove('/')) << keys;
    }
}

TEST(DateBox, EditingKeysAndTheCalendar)
{
    Form f;
    f.before->setFocus(Qt::OtherFocusReason);
    tab();
    type("01/04/2021");
    for (int i = 0; i < 4; ++i) press(Qt::Key_Backspace);
    type("2022");
    EXPECT_EQ(f.box->date(), QDate(2022, 4, 1));
    retype("15/06/2020");
    EXPECT_EQ(f.box->date(), QDate(2020, 6, 15));
    press(Qt::Key_Home);
    press(Qt::Key_Delete);
    type("2");
    EXPECT_EQ(f.box->date(), QDate(2020, 6, 25));

    // Alt+Down opens the calendar on the box's date; Right, Enter choose
    // the next day, and the next digit typed starts a new date.
    press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(f.box->calendarShown());
    EXPECT_EQ(f.box->calendarWidget()->selectedDate(), QDate(2020, 6, 25));
    press(Qt::Key_Right);
    press(Qt::Key_Return);
    EXPECT_FALSE(f.box->calendarShown());
    EXPECT_EQ(focused(), f.box);
    EXPECT_EQ(f.box->text(), "26/06/2020");
    type("3/3/2023");
    EXPECT_EQ(f.box->date(), QDate(2023, 3, 3));
    // Esc closes the calendar and keeps the date.
    press(Qt::Key_F4);
    ASSERT_TRUE(f.box->calendarShown());
    press(Qt::Key_Right);
    press(Qt::Key_Escape);
    EXPECT_FALSE(f.box->calendarShown());
    EXPECT_EQ(f.box->date(), QDate(2023, 3, 3));

    // A click that brings the focus also starts a new date wherever it
    // lands; a click in a box that has it places the cursor.
    f.after->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(f.box, Qt::LeftButton, {}, QPoint(20, f.box->height() / 2));
    ASSERT_EQ(focused(), f.box);
    type("07082019");
    EXPECT_EQ(f.box->date(), QDate(2019, 8, 7));
    QTest::mouseClick(f.box, Qt::LeftButton, {}, QPoint(2, f.box->height() / 2));
    press(Qt::Key_Delete);
    type("1");
    EXPECT_EQ(f.box->date(), QDate(2019, 8, 17));
}

TEST(DateBox, ALoneModifierKeyKeepsANewDateAndAPartSelectedIsReplaced)
{
    Form f;
    // Shift, Ctrl or AltGr alone after the click that brought the focus.
    for (Qt::Key key : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_AltGr}) {
        f.box->setDate(QDate(2026, 12, 9));
        f.after->setFocus(Qt::OtherFocusReason);
        QTest::mouseClick(f.box, Qt::LeftButton, {}, QPoint(20, f.box->height() / 2));
        QTest::sendKeyEvent(QTest::Click, f.box, key, QString(), Qt::NoModifier);
        type("07082019");
        EXPECT_EQ(f.box->date(), QDate(2019, 8, 7)) << key;
    }
    // A double click on the month of 07/08/2019 (bringing the focus), then "03".
    f.after->setFocus(Qt::OtherFocusReason);
    int x = 0;
    while (f.box->cursorPositionAt(QPoint(x, f.box->height() / 2)) < 4) ++x;
    QTest::mouseDClick(f.box, Qt::LeftButton, {}, QPoint(x, f.box->height() / 2));
    type("03");
    EXPECT_EQ(f.box->date(), QDate(2019, 3, 7)) << f.box->text().toStdString();
}
