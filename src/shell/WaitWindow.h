#pragma once
// A small window that says what the program is waiting for, while the work
// runs on another thread and the window keeps painting.

#include <QString>
#include <QWidget>
#include <functional>

class WaitWindow : public QWidget {
    Q_OBJECT
public:
    explicit WaitWindow(const QString& text, QWidget* parent = nullptr);

protected:
    // The user cannot close it: it goes when the work ends.
    void closeEvent(QCloseEvent* event) override;
};

// Shows a WaitWindow with `text`, runs `task` on a thread of its own and
// lets events run until it ends; then rethrows what the task threw.
void RunShowingWaitWindow(const QString& text, const std::function<void()>& task);
