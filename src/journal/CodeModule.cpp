#include "CodeModule.h"

#include "VbError.h"
#include "keys/Cp1252.h"
#include "shell/Ui.h"

#include <cstring>
#include <new>

namespace CodeModule {

QString UnzipPrintText;
QString UnzipLastMessage;
QString UnzipListing;
qint16 UnzipListCount = 0;
qint16 UnzipPasswordCancelled = 0;

namespace {

constexpr unsigned long kPrintBufferSize = 32801;
constexpr qsizetype kNameMax = 256;
constexpr qsizetype kPasswordMax = 256;

// Option word of each value, in property order.
constexpr std::array<int, OptionCount> kWordOf = {
    kWordExtractNewer,     kWordSpaceToUnderscore, kWordPromptOverwrite,  kWordMessageLevel,
    kWordWriteToStdOut,    kWordTestZip,           kWordExtractList,      kWordExtractOnlyNewer,
    kWordDisplayComment,   kWordHonorDirectories,  kWordOverWriteFiles,   kWordConvertCRtoCRLF,
    kWordVerbose,          kWordCaseSensitive,     kWordPrivilege};

QString ansi(const char* buffer, qsizetype max)
{
    if (!buffer) return QString();
    const void* nul = std::memchr(buffer, 0, size_t(max));
    const qsizetype len = nul ? static_cast<const char*>(nul) - buffer : max;
    return cp1252::decode(buffer, len);
}

// Writes text into line from the 1-based column col.
void put(QString& line, int col, const QString& text) { line.replace(col - 1, text.size(), text); }

}  // namespace

UnzipOptions MakeOptions(const QString& zipFileName, const QString& extractDir, const OptionValues& values)
{
    UnzipOptions o;
    for (int i = 0; i < OptionCount; ++i) o.words[kWordOf[i]] = values[i];
    o.zipFileName = zipFileName;
    o.extractDir = extractDir;
    return o;
}

qint32 VBUnzip(const QString& zipFileName, const QString& extractDir, const OptionValues& values)
{
    const QString source = QStringLiteral("CodeModule::VBUnzip");
    try {
        UnzipLastMessage.clear();
        UnzipListCount = 0;
        UnzipListing.clear();
        UnzipPrintText.clear();
        UnzipPasswordCancelled = 0;

        const UnzipOptions options = MakeOptions(zipFileName, extractDir, values);
        UnzipCallbacks callbacks;
        callbacks.print = DllPrintCallback;
        callbacks.sound = nullptr;
        callbacks.replace = DllReplaceCallback;
        callbacks.password = DllPasswordCallback;
        callbacks.message = DllListMessageCallback;
        callbacks.service = DllServiceCallback;

        UnzipVersionInfo version;
        UzpVersion2(version);
        return WizSingleEntryUnzip(options, callbacks);
    } catch (...) {
        RaiseFrom(source);
    }
}

int DllPrintCallback(const char* buffer, unsigned long length)
{
    try {
        QString text = ansi(buffer, qsizetype(qMin(length, kPrintBufferSize)));
        if (text.startsWith(QLatin1Char('\n'))) text = QStringLiteral("\r\n");
        UnzipPrintText += text;
        UnzipLastMessage = UnzipPrintText;
    } catch (...) {
    }
    return 0;
}

int DllServiceCallback(const char* name, unsigned long)
{
    try {
        (void)ansi(name, kNameMax);
    } catch (...) {
    }
    return 0;
}

int DllPasswordCallback(char* answer, int size, const char*, const char*)
{
    if (UnzipPasswordCancelled == 1) return 1;
    std::optional<QString> given;
    try {
        given = ui().inputBox(QStringLiteral("Please Enter The Password!"));
    } catch (...) {
    }
    if (!given || given->isEmpty()) {
        UnzipPasswordCancelled = 1;
        return 1;
    }
    if (!answer || size <= 0) return 1;
    std::memset(answer, 0, size_t(size));
    // Never past the buffer: at most size - 1 bytes and the NUL.
    const QByteArray bytes = cp1252::encode(given->left(kPasswordMax)).left(size - 1);
    std::memcpy(answer, bytes.constData(), size_t(bytes.size()));
    return 0;
}

int DllReplaceCallback(char* name)
{
    int answer = vb::Cancel;
    try {
        answer = MsgBox(QStringLiteral("Overwrite ") + ansi(name, kNameMax) + QStringLiteral("?"),
                        int(vb::YesNoCancel) + int(vb::Exclamation), QStringLiteral("VBUnZip32 - File Already Exists!"));
    } catch (...) {
    }
    switch (answer) {
    case vb::No: return kReplaceNo;
    case vb::Yes: return kReplaceYes;
    default: return kReplaceNone;
    }
}

void DllListMessageCallback(unsigned long size, unsigned long, unsigned, unsigned month, unsigned day,
                            unsigned year, unsigned hour, unsigned minute, char, const char* name, const char*,
                            unsigned long, char)
{
    try {
        if (UnzipListCount == 0) {
            QString header(80, QLatin1Char(' '));
            put(header, 1, QStringLiteral("Filename:"));
            put(header, 53, QStringLiteral("Size"));
            put(header, 62, QStringLiteral("Date"));
            put(header, 71, QStringLiteral("Time"));
            UnzipListing = header + QStringLiteral("\r\n");
        }
        const auto two = [](unsigned v) { return QStringLiteral("%1").arg(v % 100, 2, 10, QLatin1Char('0')); };
        QString line(80, QLatin1Char(' '));
        put(line, 1, ansi(name, kNameMax).left(50));
        put(line, 51, QString::number(size).rightJustified(7).left(7));
        put(line, 60, two(month) + QLatin1Char('/'));
        put(line, 63, two(day) + QLatin1Char('/'));
        put(line, 66, two(year));
        put(line, 70, QStringLiteral("%1:").arg(hour % 100, 2));
        put(line, 73, two(minute));
        UnzipListing += line + QStringLiteral("\r\n");
        if (UnzipListCount < INT16_MAX) ++UnzipListCount;
    } catch (...) {
    }
}

}  // namespace CodeModule
