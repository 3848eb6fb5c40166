#pragma once
// Checks of text boxes that run as the focus leaves them, by a click on
// another control or by the keyboard. A refused check keeps the focus in
// its box, and the click that was moving the focus away does not happen.

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

class BoxChecks : public QObject {
public:
    explicit BoxChecks(QWidget* window);
    ~BoxChecks() override;

    // check shows its own message and returns false to keep the focus.
    void add(QWidget* box, std::function<bool()> check);
    // The focus going to `control` (a button that leaves the screen) checks
    // no box.
    void exempt(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool runCheck(QWidget* box);

    QWidget* window_;
    QList<QPair<QPointer<QWidget>, std::function<bool()>>> boxes_;
    QList<QPointer<QWidget>> exempt_;
    bool checking_ = false;
    bool swallowPress_ = false;
};
