#include "UnzipEngine.h"

#include "keys/Cp1252.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <zip.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr qsizetype kPrintMax = 32800;  // the print buffer holds this plus its NUL
constexpr int kPasswordSize = 257;
constexpr int kPasswordTries = 3;

class Printer {
public:
    explicit Printer(UnzipCallbacks& cb) : cb_(cb) {}
    void line(const QString& text) { bytes(cp1252::encode(text) + '\n'); }
    // Sends the bytes in pieces that each end after a line feed (or at the
    // buffer's size), so no piece but a lone "\n" starts with one.
    void bytes(const QByteArray& b)
    {
        if (!cb_.print) return;
        qsizetype from = 0;
        while (from < b.size()) {
            qsizetype end = b.indexOf('\n', from);
            end = end < 0 ? b.size() : end + 1;
            end = qMin(end, from + kPrintMax);
            const QByteArray piece = b.mid(from, end - from);
            cb_.print(piece.constData(), static_cast<unsigned long>(piece.size()));
            from = end;
        }
    }

private:
    UnzipCallbacks& cb_;
};

struct ZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
struct FileCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};
using ZipPtr = std::unique_ptr<zip_t, ZipCloser>;
using ZipFilePtr = std::unique_ptr<zip_file_t, FileCloser>;

QString fromNative(QString path) { return path.replace(QLatin1Char('\\'), QLatin1Char('/')); }

// Where a member goes, relative to the extraction folder.
struct Target {
    QString path;     // empty: nothing to write
    QString refused;  // why the member is refused
    bool folder = false;
};

Target resolve(const QString& memberName, bool honorDirs, bool spaceToUnderscore)
{
    Target t;
    QString s = fromNative(memberName);
    t.folder = s.endsWith(QLatin1Char('/'));
    QStringList parts = s.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (!parts.isEmpty()) {
        QString& first = parts.first();
        if (first.size() >= 2 && first.at(1) == QLatin1Char(':') && first.at(0).unicode() < 128 &&
            first.at(0).isLetter()) {
            first.remove(0, 2);  // a drive
            if (first.isEmpty()) parts.removeFirst();
        }
    }
    parts.removeAll(QStringLiteral("."));
    if (spaceToUnderscore)
        for (QString& p : parts) p.replace(QLatin1Char(' '), QLatin1Char('_'));

    if (!honorDirs) {
        if (t.folder || parts.isEmpty()) return t;
        if (parts.last() == QLatin1String("..")) {
            t.refused = QStringLiteral("its name leaves the extraction folder");
            return t;
        }
        t.path = parts.last();
        return t;
    }
    QStringList kept;
    for (const QString& p : parts) {
        if (p != QLatin1String("..")) {
            kept << p;
        } else if (kept.isEmpty()) {
            t.refused = QStringLiteral("its name leaves the extraction folder");
            return t;
        } else {
            kept.removeLast();
        }
    }
    if (kept.isEmpty() && !t.folder) t.refused = QStringLiteral("it has no file name");
    t.path = kept.join(QLatin1Char('/'));
    return t;
}

class Extraction {
public:
    Extraction(const UnzipOptions& o, UnzipCallbacks& cb) : o_(o), cb_(cb), print_(cb) {}
    int run();

private:
    bool word(int w) const { return o_.words[w] != 0; }
    void worse(int code) { result_ = qMax(result_, code); }
    ZipFilePtr openMember(zip_uint64_t index, const zip_stat_t& st, const QString& shown);
    // Reads the member through; each chunk goes to sink. Returns false (and
    // says why) on a read error or when sink fails.
    template <typename Sink>
    bool readMember(zip_file_t* f, const QString& shown, Sink&& sink);
    void list(zip_uint64_t n);
    void test(zip_uint64_t index, const zip_stat_t& st, const QString& name);
    void toStdOut(zip_uint64_t index, const zip_stat_t& st, const QString& name);
    bool extract(zip_uint64_t index, const zip_stat_t& st, const QString& name);

    const UnzipOptions& o_;
    UnzipCallbacks& cb_;
    Printer print_;
    ZipPtr zip_;
    QString dir_;
    QByteArray password_;
    bool replaceNone_ = false;
    bool lastWasCr_ = false;
    int result_ = kUnzipOk;
};

ZipFilePtr Extraction::openMember(zip_uint64_t index, const zip_stat_t& st, const QString& shown)
{
    const bool encrypted = (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
    if (!encrypted) {
        ZipFilePtr f(zip_fopen_index(zip_.get(), index, 0));
        if (!f) {
            print_.line(QStringLiteral("  error:  cannot read %1: %2").arg(shown, QString::fromUtf8(zip_strerror(zip_.get()))));
            worse(kUnzipError);
        }
        return f;
    }
    for (int ask = 0; ask <= kPasswordTries; ++ask) {
        if (!password_.isEmpty()) {
            zip_error_clear(zip_.get());
            ZipFilePtr f(zip_fopen_index_encrypted(zip_.get(), index, 0, password_.constData()));
            if (f) return f;
            if (zip_error_code_zip(zip_get_error(zip_.get())) != ZIP_ER_WRONGPASSWD) {
                print_.line(QStringLiteral("  error:  cannot read %1: %2").arg(shown, QString::fromUtf8(zip_strerror(zip_.get()))));
                worse(kUnzipError);
                return nullptr;
            }
            password_.clear();
            if (ask == kPasswordTries) break;
        }
        char answer[kPasswordSize] = {};
        const QByteArray prompt = cp1252::encode(QStringLiteral("%1 password: ").arg(shown));
        const QByteArray member = cp1252::encode(shown);
        if (!cb_.password || cb_.password(answer, kPasswordSize, prompt.constData(), member.constData()) != 0) {
            print_.line(QStringLiteral("   skipping: %1  (no password given)").arg(shown));
            worse(kUnzipWarning);
            return nullptr;
        }
        answer[kPasswordSize - 1] = '\0';
        password_ = QByteArray(answer);
        if (password_.isEmpty()) {
            print_.line(QStringLiteral("   skipping: %1  (no password given)").arg(shown));
            worse(kUnzipWarning);
            return nullptr;
        }
    }
    print_.line(QStringLiteral("   skipping: %1  (incorrect password)").arg(shown));
    worse(kUnzipWarning);
    return nullptr;
}

template <typename Sink>
bool Extraction::readMember(zip_file_t* f, const QString& shown, Sink&& sink)
{
    const bool crlf = word(kWordConvertCRtoCRLF);
    lastWasCr_ = false;
    QByteArray buf(64 * 1024, Qt::Uninitialized);
    QByteArray converted;
    for (;;) {
        const zip_int64_t got = zip_fread(f, buf.data(), static_cast<zip_uint64_t>(buf.size()));
        if (got < 0) {
            print_.line(QStringLiteral("  error:  %1 is damaged: %2").arg(shown, QString::fromUtf8(zip_file_strerror(f))));
            worse(kUnzipError);
            return false;
        }
        if (got == 0) return true;
        QByteArrayView chunk(buf.constData(), got);
        if (crlf) {
            converted.clear();
            for (char c : chunk) {
                if (c == '\n' && !lastWasCr_) converted += '\r';
                converted += c;
                lastWasCr_ = c == '\r';
            }
            chunk = converted;
        }
        if (!sink(chunk)) return false;
    }
}

void Extraction::list(zip_uint64_t n)
{
    for (zip_uint64_t i = 0; i < n; ++i) {
        zip_stat_t st;
        if (zip_stat_index(zip_.get(), i, 0, &st) != 0) continue;
        const QDateTime t = QDateTime::fromSecsSinceEpoch(st.mtime);
        const unsigned factor =
            st.size > 0 && st.comp_size < st.size ? unsigned((st.size - st.comp_size) * 100 / st.size) : 0;
        const bool encrypted = st.encryption_method != ZIP_EM_NONE;
        const char* method = st.comp_method == ZIP_CM_STORE ? "Stored" : st.comp_method == ZIP_CM_DEFLATE ? "Defl:N" : "Unk:";
        const QByteArray name = cp1252::encode(QString::fromUtf8(st.name));
        if (cb_.message)
            cb_.message(static_cast<unsigned long>(st.size), static_cast<unsigned long>(st.comp_size), factor,
                        unsigned(t.date().month()), unsigned(t.date().day()), unsigned(t.date().year() % 100),
                        unsigned(t.time().hour()), unsigned(t.time().minute()), encrypted ? '*' : ' ',
                        name.constData(), method, static_cast<unsigned long>(st.crc), encrypted ? 'E' : ' ');
    }
}

void Extraction::test(zip_uint64_t index, const zip_stat_t& st, const QString& name)
{
    ZipFilePtr f = openMember(index, st, name);
    if (!f) return;
    if (readMember(f.get(), name, [](QByteArrayView) { return true; }))
        print_.line(QStringLiteral("    testing: %1   OK").arg(name));
}

void Extraction::toStdOut(zip_uint64_t index, const zip_stat_t& st, const QString& name)
{
    ZipFilePtr f = openMember(index, st, name);
    if (!f) return;
    readMember(f.get(), name, [this](QByteArrayView chunk) {
        print_.bytes(chunk.toByteArray());
        return true;
    });
}

// False when the extraction cannot go on (a write failed).
bool Extraction::extract(zip_uint64_t index, const zip_stat_t& st, const QString& name)
{
    const Target t = resolve(name, word(kWordHonorDirectories), word(kWordSpaceToUnderscore));
    if (!t.refused.isEmpty()) {
        print_.line(QStringLiteral("   skipping: %1  (%2)").arg(name, t.refused));
        worse(kUnzipWarning);
        return true;
    }
    if (t.path.isEmpty()) return true;
    const QString target = dir_ + QLatin1Char('/') + t.path;
    if (t.folder) {
        if (!QDir().mkpath(target)) {
            print_.line(QStringLiteral("  error:  cannot create folder %1").arg(t.path));
            worse(kUnzipError);
        }
        return true;
    }
    const QFileInfo info(target);
    if (!QDir().mkpath(info.absolutePath())) {
        print_.line(QStringLiteral("  error:  cannot create folder for %1").arg(t.path));
        worse(kUnzipError);
        return true;
    }
    if (info.isDir()) {
        print_.line(QStringLiteral("  error:  cannot write %1: a folder has that name").arg(t.path));
        worse(kUnzipError);
        return true;
    }
    const bool exists = info.exists() || info.isSymLink();
    const bool freshen = word(kWordExtractNewer);
    const bool update = word(kWordExtractOnlyNewer) || freshen;
    if (freshen && !exists) return true;
    if (update && exists && (st.valid & ZIP_STAT_MTIME) &&
        info.lastModified() >= QDateTime::fromSecsSinceEpoch(st.mtime))
        return true;
    if (exists) {
        if (replaceNone_) return true;
        if (word(kWordPromptOverwrite)) {
            QByteArray buf = cp1252::encode(t.path);
            buf.resize(qMax<qsizetype>(buf.size(), 256) + 1, '\0');
            const int answer = cb_.replace ? cb_.replace(buf.data()) : kReplaceYes;
            if (answer == kReplaceNone) replaceNone_ = true;
            if (answer != kReplaceYes) return true;
        } else if (!word(kWordOverWriteFiles)) {
            return true;
        }
    }

    ZipFilePtr f = openMember(index, st, t.path);
    if (!f) return true;
    print_.line((st.comp_method == ZIP_CM_STORE ? QStringLiteral(" extracting: ") : QStringLiteral("  inflating: ")) +
                t.path);

    QTemporaryFile tmp(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    if (!tmp.open()) {
        print_.line(QStringLiteral("  error:  cannot write %1: %2").arg(t.path, tmp.errorString()));
        worse(kUnzipDisk);
        return false;
    }
    bool writeFailed = false;
    const bool readOk = readMember(f.get(), t.path, [&](QByteArrayView chunk) {
        if (tmp.write(chunk.data(), chunk.size()) != chunk.size()) writeFailed = true;
        return !writeFailed;
    });
    if (readOk && !writeFailed && !tmp.flush()) writeFailed = true;
    if (writeFailed) {
        print_.line(QStringLiteral("  error:  cannot write %1: %2").arg(t.path, tmp.errorString()));
        worse(kUnzipDisk);
        return false;
    }
    if (!readOk) return true;  // the temporary file goes away, the target is untouched
    tmp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                       QFileDevice::ReadOther);
    if (st.valid & ZIP_STAT_MTIME)
        tmp.setFileTime(QDateTime::fromSecsSinceEpoch(st.mtime), QFileDevice::FileModificationTime);
    tmp.close();
    if (std::rename(QFile::encodeName(tmp.fileName()).constData(), QFile::encodeName(target).constData()) != 0) {
        print_.line(QStringLiteral("  error:  cannot write %1: %2").arg(t.path, QString::fromLocal8Bit(std::strerror(errno))));
        worse(kUnzipDisk);
        return false;
    }
    tmp.setAutoRemove(false);
    return true;
}

int Extraction::run()
{
    const QString zipName = fromNative(o_.zipFileName);
    if (zipName.isEmpty()) {
        print_.line(QStringLiteral("unzip:  no archive name given"));
        return kUnzipNoName;
    }
    int err = 0;
    zip_.reset(zip_open(QFile::encodeName(zipName).constData(), ZIP_RDONLY, &err));
    if (!zip_) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, err);
        const QString why = QString::fromUtf8(zip_error_strerror(&ze));
        zip_error_fini(&ze);
        if (err == ZIP_ER_NOZIP) {
            print_.line(QStringLiteral("unzip:  %1 is not a zip archive").arg(zipName));
            return kUnzipNoArchive;
        }
        if (err == ZIP_ER_NOENT || err == ZIP_ER_OPEN) {
            print_.line(QStringLiteral("unzip:  cannot find or open %1 (%2)").arg(zipName, why));
            return kUnzipNoArchive;
        }
        print_.line(QStringLiteral("unzip:  cannot read %1: %2").arg(zipName, why));
        return kUnzipBadArchive;
    }

    const zip_int64_t count = zip_get_num_entries(zip_.get(), 0);
    const zip_uint64_t n = count > 0 ? zip_uint64_t(count) : 0;
    qint64 total = 0, compressed = 0;
    for (zip_uint64_t i = 0; i < n; ++i) {
        zip_stat_t st;
        if (zip_stat_index(zip_.get(), i, 0, &st) != 0) continue;
        total += qint64(st.size);
        compressed += qint64(st.comp_size);
    }
    int commentLength = 0;
    const char* comment = zip_get_archive_comment(zip_.get(), &commentLength, 0);
    cb_.totals = {int32_t(qMin<qint64>(total, INT32_MAX)), int32_t(qMin<qint64>(compressed, INT32_MAX)),
                  int32_t(total > 0 && compressed < total ? (total - compressed) * 100 / total : 0),
                  int32_t(qMin<zip_uint64_t>(n, INT32_MAX)), int32_t(commentLength)};
    if (word(kWordDisplayComment) && comment && commentLength > 0)
        print_.bytes(QByteArray(comment, commentLength) + '\n');

    if (word(kWordExtractList)) {
        list(n);
        return kUnzipOk;
    }
    const bool testing = word(kWordTestZip), stdOut = word(kWordWriteToStdOut);
    if (!testing && !stdOut) {
        dir_ = fromNative(o_.extractDir);
        if (dir_.isEmpty()) dir_ = QDir::currentPath();
        while (dir_.size() > 1 && dir_.endsWith(QLatin1Char('/'))) dir_.chop(1);
        if (!QDir().mkpath(dir_)) {
            print_.line(QStringLiteral("unzip:  cannot create the extraction folder %1").arg(dir_));
            return kUnzipDisk;
        }
    }
    for (zip_uint64_t i = 0; i < n; ++i) {
        zip_stat_t st;
        if (zip_stat_index(zip_.get(), i, 0, &st) != 0) {
            print_.line(QStringLiteral("  error:  cannot read member %1: %2").arg(i + 1).arg(QString::fromUtf8(zip_strerror(zip_.get()))));
            worse(kUnzipError);
            continue;
        }
        const QString name = QString::fromUtf8(st.name);
        if (cb_.service) {
            const QByteArray ansi = cp1252::encode(name);
            if (cb_.service(ansi.constData(), static_cast<unsigned long>(st.size)) != 0) {
                print_.line(QStringLiteral("unzip:  stopped before %1").arg(name));
                worse(kUnzipStopped);
                break;
            }
        }
        const bool folder = name.endsWith(QLatin1Char('/')) || name.endsWith(QLatin1Char('\\'));
        if (testing) {
            if (!folder) test(i, st, name);
        } else if (stdOut) {
            if (!folder) toStdOut(i, st, name);
        } else if (!extract(i, st, name)) {
            break;
        }
    }
    if (testing)
        print_.line(result_ == kUnzipOk ? QStringLiteral("No errors detected in %1.").arg(zipName)
                                        : QStringLiteral("At least one error was detected in %1.").arg(zipName));
    return result_;
}

}  // namespace

void UzpVersion2(UnzipVersionInfo& info)
{
    info.length = 64;
    std::memset(info.betaLevel, ' ', sizeof info.betaLevel);
    std::memset(info.date, ' ', sizeof info.date);
    std::memset(info.zlibVersion, ' ', sizeof info.zlibVersion);
    info.betaLevel[sizeof info.betaLevel - 1] = '\0';
    info.date[sizeof info.date - 1] = '\0';
    info.zlibVersion[sizeof info.zlibVersion - 1] = '\0';
    std::memset(info.versions, 0, sizeof info.versions);
    const QList<QByteArray> parts = QByteArray(zip_libzip_version()).split('.');
    for (int i = 0; i < parts.size() && i < 4; ++i) info.versions[i] = static_cast<unsigned char>(parts[i].toInt());
}

int WizSingleEntryUnzip(const UnzipOptions& options, UnzipCallbacks& callbacks)
{
    return Extraction(options, callbacks).run();
}

QStringList ArchiveMemberNames(const QString& zipFileName)
{
    QStringList names;
    int err = 0;
    ZipPtr zip(zip_open(QFile::encodeName(fromNative(zipFileName)).constData(), ZIP_RDONLY, &err));
    if (!zip) return names;
    const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(zip.get(), zip_uint64_t(i), 0);
        if (name) names << QString::fromUtf8(name);
    }
    return names;
}
