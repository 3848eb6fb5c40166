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

// Text copied elsewhere (a spreadsheet cell, a document) pasted over the
// focused box's text: Ctrl+A, then Ctrl+V.
inline void paste(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    press(Qt::Key_A, Qt::ControlModifier);
    press(Qt::Key_V, Qt::ControlModifier);
}

// The same with the box's context menu: Ctrl+A, the menu, a click on Paste.
inline void pasteFromMenu(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    press(Qt::Key_A, Qt::ControlModifier);
    QWidget* w = focused();
    if (!w) return;
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(4, 4), w->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(w, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) {
        ADD_FAILURE() << "no context menu";
        return;
    }
    for (QAction* a : menu->actions())
        if (a->text().section(QLatin1Char('\t'), 0, 0) == QLineEdit::tr("&Paste")) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
            return;
        }
    ADD_FAILURE() << "no Paste in the context menu";
    menu->close();
}

}  // namespace typing
