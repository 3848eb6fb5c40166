#include "Ui.h"

#include "OneLineBox.h"
#include "WaitWindow.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>
#include <QWidget>

namespace {

class QtUi final : public Ui {
public:
    int msgBox(const QString& text, int style, const QString& title) override
    {
        // Owned by the window in front, so it opens centred over it.
        QWidget* owner = QApplication::activeModalWidget();
        if (!owner) owner = QApplication::activeWindow();
        QMessageBox box(owner);
        box.setText(text);
        box.setWindowTitle(title.isEmpty() ? kAppTitle : title);
        switch (style & 0x70) {
        case vb::Critical: box.setIcon(QMessageBox::Critical); break;
        case vb::Question: box.setIcon(QMessageBox::Question); break;
        case vb::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case vb::Information: box.setIcon(QMessageBox::Information); break;
        default: box.setIcon(QMessageBox::NoIcon); break;
        }
        switch (style & 0x0F) {
        case vb::OKCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case vb::AbortRetryIgnore:
            box.setStandardButtons(QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
            break;
        case vb::YesNoCancel: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel); break;
        case vb::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case vb::RetryCancel: box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel); break;
        default: box.setStandardButtons(QMessageBox::Ok); break;
        }
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        const int r = box.exec();
        QApplication::restoreOverrideCursor();
        switch (r) {
        case QMessageBox::Ok: return vb::OK;
        case QMessageBox::Cancel: return vb::Cancel;
        case QMessageBox::Abort: return vb::Abort;
        case QMessageBox::Retry: return vb::Retry;
        case QMessageBox::Ignore: return vb::Ignore;
        case QMessageBox::Yes: return vb::Yes;
        case QMessageBox::No: return vb::No;
        default: return vb::Cancel;
        }
    }

    std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& defaultText,
                                    bool masked) override
    {
        QInputDialog box;
        box.setWindowTitle(title.isEmpty() ? kAppTitle : title);
        box.setLabelText(prompt);
        box.setTextEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
        box.setTextValue(defaultText);
        if (auto* line = box.findChild<QLineEdit*>()) OneLineBox(line);
        if (box.exec() != QDialog::Accepted) return std::nullopt;
        return box.textValue();
    }

    QString openFile(const FileDialogRequest& r) override
    {
        // "*.zip|*.zip" -> "*.zip (*.zip)"
        QStringList parts = r.filter.split(QLatin1Char('|'));
        QStringList filters;
        for (int i = 0; i + 1 < parts.size(); i += 2) filters << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
        return QFileDialog::getOpenFileName(nullptr, r.title, r.initialDir, filters.join(QStringLiteral(";;")));
    }

    void setPointer(int p) override
    {
        if (p == pointer_) return;
        if (pointer_ == vb::Hourglass) QApplication::restoreOverrideCursor();
        pointer_ = p;
        if (p == vb::Hourglass) QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    int pointer() const override { return pointer_; }

    bool openWithDesktop(const QString& path) override
    {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
        // Qt's own call only tells whether the opener started; the opener's
        // exit tells whether an application took the file.
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (opener.isEmpty()) return false;
        return RunDesktopOpener(opener, {path}, kOpenerWaitMs);
#else
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
#endif
    }

    int showModal(QWidget* w) override
    {
        if (auto* d = qobject_cast<QDialog*>(w)) return d->exec();
        QPointer<QWidget> guard(w);
        w->setWindowModality(Qt::ApplicationModal);
        w->show();
        QEventLoop loop;
        while (guard && guard->isVisible()) loop.processEvents(QEventLoop::WaitForMoreEvents);
        return 0;
    }

    void beep() override { QApplication::beep(); }

    void waitWhile(const QString& text, const std::function<void()>& task) override
    {
        const int before = pointer_;
        setPointer(vb::Hourglass);
        try {
            RunShowingWaitWindow(text, task);
        } catch (...) {
            setPointer(before);
            throw;
        }
        setPointer(before);
    }

private:
    int pointer_ = vb::Default;
};

class SystemClock final : public Clock {
public:
    QDate today() const override { return QDate::currentDate(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 monotonicMs() const override
    {
        static QElapsedTimer t = [] {
            QElapsedTimer e;
            e.start();
            return e;
        }();
        return t.elapsed();
    }
    void waitSeconds(int seconds) override
    {
        const qint64 end = monotonicMs() + qint64(seconds) * 1000;
        while (monotonicMs() < end) QThread::msleep(20);
    }
};

QtUi& defaultUi()
{
    static QtUi u;
    return u;
}
SystemClock& defaultClock()
{
    static SystemClock c;
    return c;
}
Ui* g_ui = nullptr;
Clock* g_clock = nullptr;

}  // namespace

bool RunDesktopOpener(const QString& program, const QStringList& arguments, int waitMs)
{
    auto* p = new QProcess;
    p->setProgram(program);
    p->setArguments(arguments);
    p->setStandardInputFile(QProcess::nullDevice());
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setStandardErrorFile(QProcess::nullDevice());
    p->start();
    if (!p->waitForStarted()) {
        delete p;
        return false;
    }
    const qint64 end = appClock().monotonicMs() + waitMs;
    while (p->state() != QProcess::NotRunning && appClock().monotonicMs() < end)
        if (!p->waitForFinished(50)) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (p->state() != QProcess::NotRunning) {
        QObject::connect(p, &QProcess::finished, p, &QObject::deleteLater);
        return true;
    }
    const bool opened = p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0;
    delete p;
    return opened;
}

Ui& ui() { return g_ui ? *g_ui : defaultUi(); }
void setUi(Ui* u) { g_ui = u; }
Clock& appClock() { return g_clock ? *g_clock : defaultClock(); }
void setAppClock(Clock* c) { g_clock = c; }
