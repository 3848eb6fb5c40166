#include "IssueRead.h"

#include "CGUnzipFiles.h"
#include "IssueRecord.h"
#include "UnzipEngine.h"
#include "VbError.h"
#include "shell/Db.h"
#include "shell/Globals.h"
#include "shell/OperationLock.h"
#include "shell/Ui.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <new>

namespace {

const QString kReadTitle = QStringLiteral("Leitura de Revista");
const QString kNotRead = QStringLiteral("A revista não foi lida; nada foi alterado no banco de dados.\n");

// Files of a folder matching a wildcard, letter case ignored, by name.
QStringList matching(const QString& dir, const QString& pattern)
{
    QDir d(dir);
    d.setNameFilters({pattern});
    d.setFilter(QDir::Files | QDir::Hidden);
    d.setSorting(QDir::Name | QDir::IgnoreCase);
    return d.entryList();  // QDir matches name filters without regard to case
}

// Removes the files of a folder matching a wildcard; false when one stays.
bool removeMatching(const QString& dir, const QString& pattern, QString* stuck = nullptr)
{
    for (const QString& name : matching(dir, pattern)) {
        const QString path = QDir(dir).filePath(name);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        if (!QFile::remove(path)) {
            if (stuck) *stuck = path;
            return false;
        }
    }
    return true;
}

// True when the archive holds a member whose file name matches the wildcard.
bool archiveHolds(const QString& archivePath, const QString& pattern)
{
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(pattern),
                                QRegularExpression::CaseInsensitiveOption);
    for (QString name : ArchiveMemberNames(archivePath)) {
        name.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (re.match(name.section(QLatin1Char('/'), -1)).hasMatch()) return true;
    }
    return false;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw ReadFailure{QStringLiteral("não foi possível abrir o arquivo %1: %2").arg(path, f.errorString())};
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw ReadFailure{QStringLiteral("não foi possível ler o arquivo %1: %2").arg(path, f.errorString())};
    return bytes;
}

}  // namespace

QString IssueRead::workDir() { return QDir(Globals::programDir()).filePath(QStringLiteral("txt")); }

void IssueRead::stage(const std::function<QByteArray()>& bytes, const Parse& parse, bool wait)
{
    staged_ = StagedIssue();
    count_ = 0;
    timer_.invalidate();
    DbConnection& db = DbConnection::instance();
    DbTransaction transaction(db);
    db.execute(QStringLiteral("DELETE FROM RPI"));
    db.execute(QStringLiteral("DELETE FROM PROCREFREVISTA"));
    if (wait) {
        if (showCount) showCount(0);
        appClock().waitSeconds(5);
        if (letEventsRun) letEventsRun();
    }
    const StagedIssue staged = parse(bytes());
    if (staged.rows == 0) throw ReadFailure{kind_.noRecord};
    RecordIssue(db, staged.revista, staged.date);
    transaction.commit();
    staged_ = staged;
}

bool IssueRead::guarded(const std::function<void()>& step, Failure& failure)
{
    QString why;
    try {
        step();
        return true;
    } catch (const LayoutError& e) {
        failure = {e.message, vb::Critical, QString()};
        return false;
    } catch (const DbError& e) {
        why = QStringLiteral("Erro no banco de dados: ") + e.message();
    } catch (const VbError& e) {
        why = QStringLiteral("Erro %1 (%2): %3").arg(e.number()).arg(e.source(), e.description());
    } catch (const ReadFailure& e) {
        why = QStringLiteral("Erro na leitura: ") + e.message;
    } catch (const std::bad_alloc&) {
        why = QStringLiteral("Erro na leitura: memória insuficiente");
    } catch (const std::exception& e) {
        why = QStringLiteral("Erro: ") + QString::fromLocal8Bit(e.what());
    }
    failure = {kNotRead + why, vb::Critical, kReadTitle};
    return false;
}

// Extracts the archive into the work folder and returns the issue file's path.
QString IssueRead::extract(const QString& archivePath, const QString& dir)
{
    int result = kUnzipOk;
    {
        CGUnzipFiles unzip;
        unzip.setZipFileName(archivePath);
        unzip.setExtractDir(dir);
        unzip.setHonorDirectories(false);
        result = unzip.Unzip(QString(), QString());
        // What the extraction printed goes with the read's own message.
        if (result != kUnzipOk) unzipMessage_ = unzip.GetLastMessage().trimmed();
    }
    // The extraction is synchronous: what is not there now never comes.
    const QStringList found = matching(dir, kind_.member);
    if (!found.isEmpty()) return QDir(dir).filePath(found.first());
    if (result != kUnzipOk && archiveHolds(archivePath, kind_.member))
        throw ReadFailure{QStringLiteral("o arquivo da revista (%2) contido em %1 não pôde ser extraído")
                              .arg(archivePath, kind_.member)};
    if ((result == kUnzipNoArchive || result == kUnzipBadArchive) && QFileInfo(archivePath).isFile())
        throw ReadFailure{QStringLiteral("o arquivo %1 está danificado ou não é um arquivo zip").arg(archivePath)};
    throw ReadFailure{
        QStringLiteral("o arquivo %1 não contém o arquivo da revista (%2)").arg(archivePath, kind_.member)};
}

bool IssueRead::fromArchive(const QString& archivePath, const Parse& parse)
{
    // One desk reads or applies at a time; a refused desk touches nothing.
    OperationLock lock(kReadingIssue);
    if (!lock.held()) return false;
    Failure failure;
    bool ok = false;
    unzipMessage_.reset();
    {
        BusyPointer busy;
        const QString dir = workDir();
        ok = guarded(
            [&] {
                if (!QDir().mkpath(dir)) throw ReadFailure{QStringLiteral("não foi possível criar a pasta %1").arg(dir)};
                QString stuck;
                if (!removeMatching(dir, kind_.leftovers, &stuck))
                    throw ReadFailure{QStringLiteral("não foi possível apagar o arquivo %1").arg(stuck)};
                const QString file = extract(archivePath, dir);
                stage([&] { return readFile(file); }, parse, true);
            },
            failure);
        if (showCount) showCount(ok ? staged_.shown : 0);
        removeMatching(dir, kind_.leftovers);  // what stays goes with the next read
    }
    // Committed or rolled back: other desks need not wait for this user.
    lock.release();
    // The extraction's own text (the unzip engine's, in English) follows the
    // read's message as its detail.
    const QString detail = unzipMessage_ && !unzipMessage_->isEmpty()
                               ? QStringLiteral("\n\nMensagem da extração:\n") + *unzipMessage_
                               : QString();
    if (!ok) {
        MsgBox(failure.text + detail, failure.style, failure.title);
        return false;
    }
    if (!detail.isEmpty())
        MsgBox(QStringLiteral("A extração do arquivo %1 não foi completa.").arg(archivePath) + detail,
               vb::Exclamation, kReadTitle);
    ui().beep();
    if (finalMessage) MsgBox(QStringLiteral("Final de Leitura"), vb::OKOnly, kReadTitle);
    return true;
}

bool IssueRead::fromBytes(const QByteArray& bytes, const Parse& parse)
{
    OperationLock lock(kReadingIssue);
    if (!lock.held()) return false;
    Failure failure;
    const bool ok = guarded([&] { stage([&] { return bytes; }, parse, false); }, failure);
    if (showCount) showCount(ok ? staged_.shown : 0);
    lock.release();
    if (!ok) MsgBox(failure.text, failure.style, failure.title);
    return ok;
}
