#pragma once
// Test doubles of the user-facing seams: every message, input box, file
// dialog, pointer change and modal window is recorded, and answers come
// from scripts, so no test blocks on a window or waits real seconds.

#include "shell/Ui.h"

#include <QList>
#include <QString>
#include <deque>
#include <functional>
#include <optional>

struct RecordedMessage {
    QString text;
    int style = 0;
    QString title;
    int icon() const { return style & 0x70; }
    int buttons() const { return style & 0x0F; }
};

class TestUi : public Ui {
public:
    TestUi();
    ~TestUi() override;

    // Recorded interactions.
    QList<RecordedMessage> messages;
    QStringList inputPrompts;
    QList<FileDialogRequest> fileRequests;
    QList<int> pointerHistory;
    QStringList openedFiles;
    QStringList modalWindows;  // objectName of every window shown modally
    QStringList waitTexts;     // text of every wait window; the task runs at once
    int beeps = 0;

    // Scripts. Answers are taken in order; when a queue is empty the
    // message box answers OK (or the first button), the input box is
    // cancelled and the file dialog is cancelled.
    std::deque<int> msgAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<QString> fileAnswers;
    bool openWithDesktopResult = true;
    // Called while a window is "shown" modally; the default returns at once.
    std::function<int(QWidget*)> onModal;
    // Called for every message box before it answers (e.g. to inspect state).
    std::function<void(const RecordedMessage&)> onMessage;

    int msgBox(const QString& text, int style, const QString& title) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& defaultText,
                                    bool masked) override;
    QString openFile(const FileDialogRequest& request) override;
    void setPointer(int pointer) override;
    int pointer() const override { return pointer_; }
    bool openWithDesktop(const QString& path) override;
    int showModal(QWidget* window) override;
    void beep() override { ++beeps; }
    void waitWhile(const QString& text, const std::function<void()>& task) override
    {
        waitTexts << text;
        task();
    }

    const RecordedMessage& lastMessage() const { return messages.back(); }
    void clear();

private:
    int pointer_ = vb::Default;
};

class TestClock : public Clock {
public:
    TestClock();
    ~TestClock() override;
    QDate todayValue = QDate(2012, 4, 24);
    qint64 monotonic = 0;
    QList<int> waits;  // every fixed wait asked for, in seconds
    QDate today() const override { return todayValue; }
    QDateTime now() const override { return QDateTime(todayValue, QTime(10, 0)); }
    qint64 monotonicMs() const override { return monotonic; }
    void waitSeconds(int seconds) override
    {
        waits << seconds;
        monotonic += qint64(seconds) * 1000;
    }
};
