#pragma once
// Typing as a person does: every character is a key press into the widget
// that has the focus at that moment, so after a Tab the next characters land
// where the focus went. Characters outside ASCII (accents, "ç", a
// non-breaking space) arrive as the text of their key, as a keyboard layout
// delivers them.

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QString>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace typing {

inline QWidget* focused() { return QApplication::focusWidget(); }

inline void type(const QString& text)
{
    for (QChar c : text) {
        QWidget* w = focused();
        if (!w) {
            ADD_FAILURE() << "no widget has the focus";
            return;
        }
        if (c.unicode() < 0x80)
            QTest::keyClick(w, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// One key (Tab, Backtab, Return, Space, Delete, Ctrl+A …) into the focused widget.
inline void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* w = focused();
    if (!w) {
        ADD_FAILURE() << "no widget has the focus";
        return;
    }
    QTest::keyClick(w, key, modifiers);
}

inline void tab(int times = 1)
{
    for (int i = 0; i < times; ++i) press(Qt::Key_Tab);
}

// Ctrl+A, then the text: the box's old text replaced by what is typed.
inline void retype(const QString& text)
{
    press(Qt::Key_A, Qt::ControlModifier);
    type(text);
}

// Text copied elsewhere pasted over the focused box's text: Ctrl+A, Ctrl+V;
// or Ctrl+A, the box's context menu and a click on its Paste.
inline void paste(const QString& text, bool fromMenu = false)
{
    QGuiApplication::clipboard()->setText(text);
    press(Qt::Key_A, Qt::ControlModifier);
    if (!fromMenu) return press(Qt::Key_V, Qt::ControlModifier);
    QContextMenuEvent open(QContextMenuEvent::Keyboard, QPoint(4, 4), focused()->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(focused(), &open);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* a : menu->actions())
        if (a->text().startsWith(QLineEdit::tr("&Paste")))
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
}

}  // namespace typing
