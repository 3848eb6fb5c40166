#pragma once
// What the journal readers share: the work folder, the extraction of the
// archive into it, finding the issue file, and the one transaction in which
// the staging tables are emptied, refilled by the reader's own parse and the
// issue recorded in Revistas. Every failure rolls that transaction back and
// is shown the same way, whichever reader met it.
//
//   IssueRead read(kTxtIssueFile);
//   read.fromArchive(archive, [&](const QByteArray& bytes) { ... return staged; });

#include <QByteArray>
#include <QDate>
#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <optional>

// A layout the reader cannot follow: the read stops and the message is shown
// as it is.
struct LayoutError {
    QString message;
};
// Any other reason a read stops (a missing or unreadable file, an issue with
// nothing to stage); shown after the text saying the issue was not read.
struct ReadFailure {
    QString message;
};

// What a parse staged, for the Revistas row and the counter.
struct StagedIssue {
    int revista = 0;  // the issue number
    QDate date;       // the issue date
    int rows = 0;     // RPI rows written
    int shown = 0;    // the count RegistrosLidos shows at the end
};

// The issue file of one layout.
struct IssueFileKind {
    QString member;     // its name in the archive, a wildcard ("rm*.TXT")
    QString leftovers;  // the extracted files removed before and after a read ("*.txt")
    QString noRecord;   // why an issue that stages no RPI row is refused
};

class IssueRead {
public:
    explicit IssueRead(IssueFileKind kind) : kind_(std::move(kind)) {}

    // RegistrosLidos.
    std::function<void(int)> showCount;
    // Lets other events run (repaint, counter).
    std::function<void()> letEventsRun;
    // "Final de Leitura" after a good read; the batch loader's read shows none.
    bool finalMessage = true;

    // Reads the issue file's bytes into staging (RPI, PROCREFREVISTA) and
    // says what it staged. It throws LayoutError, ReadFailure or DbError.
    using Parse = std::function<StagedIssue(const QByteArray& bytes)>;

    // The read of an archive: hourglass, extraction into the work folder,
    // the issue file found and staged, the extracted files removed, then
    // "Final de Leitura" or the failure. True when the issue was staged.
    bool fromArchive(const QString& archivePath, const Parse& parse);
    // The staging of an issue file already in memory: the transaction alone,
    // without extraction, wait or final message. True when staged.
    bool fromBytes(const QByteArray& bytes, const Parse& parse);

    // The parse reports its count here and calls tick() once per line: at
    // most every 50 ms the count is shown and other events run.
    void progress(int count)
    {
        count_ = count;
        tick();
    }
    void tick()
    {
        if (timer_.isValid() && timer_.elapsed() < 50) return;
        timer_.start();
        if (showCount) showCount(count_);
        if (letEventsRun) letEventsRun();
    }

    const StagedIssue& staged() const { return staged_; }

    // The work folder: the program's folder followed by "txt".
    static QString workDir();

private:
    struct Failure {
        QString text;
        int style = 0;
        QString title;
    };
    // The one transaction of every read, and the one place a read begins
    // writing: staging emptied, the parse, the Revistas row; committed only
    // when all of it went through.
    void stage(const std::function<QByteArray()>& bytes, const Parse& parse, bool wait);
    // Runs a step of the read; a failure comes back as the message to show.
    bool guarded(const std::function<void()>& step, Failure& failure);
    QString extract(const QString& archivePath, const QString& dir);

    IssueFileKind kind_;
    StagedIssue staged_;
    int count_ = 0;
    QElapsedTimer timer_;
    std::optional<QString> unzipMessage_;  // what a failed extraction printed, shown after the read
};
