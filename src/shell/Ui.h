#pragma once
// Everything the user sees or waits for goes through this seam: message
// boxes, input boxes, the file-open dialog, the mouse pointer, modal
// windows, opening a file in the desktop's application, the beep and the
// clock used for fixed waits. The program installs the Qt implementation;
// tests install recording/scripted ones (tests/support).

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace vb {
// Message box styles and answers, with the values the screens are written in.
enum Buttons { OKOnly = 0, OKCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5 };
enum Icon { NoIcon = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };
enum Answer { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };
// Mouse pointer values.
enum Pointer { Default = 0, Hourglass = 11 };
}  // namespace vb

// Title used by message boxes that have no title of their own.
inline const QString kAppTitle = QStringLiteral("Quorvanta");
// Window caption of every screen.
inline const QString kWindowTitle = QStringLiteral("Quorvanta - Sistema de Pesquisa de Marcas");

struct FileDialogRequest {
    QString filter;      // "*.zip|*.zip"
    QString defaultExt;  // "*.zip"
    QString title;
    int flags = 0;
    QString initialDir;
};

class Ui {
public:
    virtual ~Ui() = default;
    // style = buttons + icon, as the screens write it (e.g. 16, 48, 64, 1).
    // An empty title means "no title of its own". Returns a vb::Answer.
    virtual int msgBox(const QString& text, int style = 0, const QString& title = QString()) = 0;
    // Returns std::nullopt when the user cancelled.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title = QString(),
                                            const QString& defaultText = QString(), bool masked = false) = 0;
    // Returns the chosen file's full path, or an empty text when cancelled.
    virtual QString openFile(const FileDialogRequest& request) = 0;
    virtual void setPointer(int pointer) = 0;
    virtual int pointer() const = 0;
    // Opens a file in the desktop's application for its type; true only
    // when an application took it (see RunDesktopOpener).
    virtual bool openWithDesktop(const QString& path) = 0;
    // Shows a window modally and returns when it is closed (QDialog result, or 0).
    virtual int showModal(QWidget* window) = 0;
    virtual void beep() = 0;
    // Runs a slow task on another thread while a small window shows `text`
    // under the hourglass, painted all the while; returns when the task
    // ends, throwing what it threw. The default runs the task at once.
    virtual void waitWhile(const QString& text, const std::function<void()>& task)
    {
        (void)text;
        task();
    }
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
    virtual QDateTime now() const = 0;
    // Monotonic milliseconds, unaffected by midnight or clock changes.
    virtual qint64 monotonicMs() const = 0;
    // A fixed wait that lets no events run.
    virtual void waitSeconds(int seconds) = 0;
};

// The installed seams. Both default to the Qt implementations.
Ui& ui();
void setUi(Ui* ui);  // nullptr restores the default
Clock& appClock();
void setAppClock(Clock* clock);

// How long the desktop's opener is given to report a failure.
inline constexpr int kOpenerWaitMs = 5000;

// Runs a program that opens a file in the desktop's application and takes
// its verdict within waitMs of appClock(): an opener that cannot start, or
// ends with a failure within that time, has failed; one that ends with
// success, or is still running then, has opened the file. One still running
// is left to run: some stay in the foreground until the application closes.
bool RunDesktopOpener(const QString& program, const QStringList& arguments, int waitMs);

// Shorthand used by every screen.
inline int MsgBox(const QString& text, int style = 0, const QString& title = QString())
{
    return ui().msgBox(text, style, title);
}

// RAII hourglass: sets it on construction, restores the default pointer on
// destruction unless release() was called (a caller that hands the
// hourglass to the next screen).
class BusyPointer {
public:
    BusyPointer() { ui().setPointer(vb::Hourglass); }
    ~BusyPointer()
    {
        if (active_) ui().setPointer(vb::Default);
    }
    void release() { active_ = false; }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    bool active_ = true;
};
