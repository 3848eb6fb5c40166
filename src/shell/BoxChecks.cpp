#include "BoxChecks.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTimer>
#include <QWidget>

BoxChecks::BoxChecks(QWidget* window) : QObject(window), window_(window) { qApp->installEventFilter(this); }

BoxChecks::~BoxChecks() { qApp->removeEventFilter(this); }

void BoxChecks::add(QWidget* box, std::function<bool()> check) { boxes_.append({box, std::move(check)}); }

void BoxChecks::exempt(QWidget* control) { exempt_.append(control); }

bool BoxChecks::runCheck(QWidget* box)
{
    for (const auto& [w, check] : boxes_)
        if (w == box) {
            checking_ = true;
            const bool ok = check();
            checking_ = false;
            return ok;
        }
    return true;
}

bool BoxChecks::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusOut: {
        if (checking_) break;
        auto* box = qobject_cast<QWidget*>(watched);
        if (!box) break;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Only a move to another control of this screen checks the box,
        // not a switch to another window or a move made by the program.
        if (reason != Qt::MouseFocusReason && reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason
            && reason != Qt::ShortcutFocusReason)
            break;
        if (QWidget* to = QApplication::focusWidget(); to && exempt_.contains(to)) break;
        bool known = false;
        for (const auto& entry : boxes_)
            if (entry.first == box) known = true;
        if (!known || runCheck(box)) break;
        box->setFocus(Qt::OtherFocusReason);
        if (reason == Qt::MouseFocusReason) {
            // The press that moved the focus is delivered right after this;
            // it is swallowed so that its click does not happen.
            swallowPress_ = true;
            QTimer::singleShot(0, this, [this] { swallowPress_ = false; });
        }
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        if (!swallowPress_) break;
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || w->window() != window_) break;
        swallowPress_ = false;
        return true;
    }
    default:
        break;
    }
    return false;
}
