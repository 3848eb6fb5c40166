#pragma once
// Set-up shared by the benchmarks that run the program's readers against a
// copy of the template database: messages printed instead of shown, fixed
// waits skipped, the embedded database's connection string.

#include "shell/Globals.h"
#include "shell/Ui.h"

#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <sys/resource.h>

namespace bench {

class QuietUi : public Ui {
public:
    int msgBox(const QString& text, int, const QString&) override
    {
        std::printf("message: %s\n", qPrintable(text));
        return vb::OK;
    }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&, bool) override { return {}; }
    QString openFile(const FileDialogRequest&) override { return {}; }
    void setPointer(int) override {}
    int pointer() const override { return 0; }
    bool openWithDesktop(const QString&) override { return false; }
    int showModal(QWidget*) override { return 0; }
    void beep() override {}
};

class NoWaitClock : public Clock {
public:
    QDate today() const override { return QDate::currentDate(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 monotonicMs() const override { return timer.elapsed(); }
    void waitSeconds(int) override {}
    QElapsedTimer timer;
};

// Installs the quiet messages and the clock without waits, with the program
// folder at programDir, for the life of the object.
class QuietRun {
public:
    explicit QuietRun(const QString& programDir)
    {
        clock.timer.start();
        setUi(&ui);
        setAppClock(&clock);
        Globals::setProgramDir(programDir);
    }
    ~QuietRun()
    {
        setUi(nullptr);
        setAppClock(nullptr);
    }
    QuietRun(const QuietRun&) = delete;
    QuietRun& operator=(const QuietRun&) = delete;

    QuietUi ui;
    NoWaitClock clock;
};

// Copies a database file to path, writable by its owner; false when the copy failed.
inline bool CopyDatabase(const QString& source, const QString& path)
{
    if (!QFile::copy(source, path)) return false;
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return true;
}

// The connection string of an embedded database file.
inline QString EmbeddedConnection(const QString& path)
{
    return QStringLiteral("DRIVER=Firebird/InterBase(r) driver;CHARSET=UTF8;UID=SYSDBA;PWD=plumbrask;DBNAME=") + path;
}

// Peak resident memory of this process so far, in MB.
inline double PeakMemoryMb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024.0;
}

}  // namespace bench
