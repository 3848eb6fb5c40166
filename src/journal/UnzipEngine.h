#pragma once
// The extraction engine behind the unzip component, on libzip. It works
// like the Info-ZIP single-entry call: an option record, a record of
// callbacks that receive the printed text and answer the questions, and an
// Info-ZIP result code (0 = success).
//
// Every member goes into the extraction folder and never outside it: with
// folders honoured a member keeps its folders (a name that climbs out is
// refused), otherwise it lands flat under its last name. Each member is
// written to a temporary file in its folder and renamed over the target
// once complete.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// Words of the option record.
enum UnzipWord {
    kWordExtractOnlyNewer = 0,  // new members and members newer than the file
    kWordSpaceToUnderscore = 1,
    kWordPromptOverwrite = 2,
    kWordMessageLevel = 3,
    kWordWriteToStdOut = 4,     // member data through the print callback
    kWordTestZip = 5,           // test the members, write nothing
    kWordExtractList = 6,       // list the members through the message callback
    kWordExtractNewer = 7,      // only members whose file exists and is older
    kWordDisplayComment = 8,
    kWordHonorDirectories = 9,
    kWordOverWriteFiles = 10,
    kWordConvertCRtoCRLF = 11,  // a lone LF becomes CR LF
    kWordVerbose = 12,
    kWordCaseSensitive = 13,
    kWordPrivilege = 14,
};

struct UnzipOptions {
    std::array<int32_t, 15> words{};
    QString zipFileName;
    QString extractDir;  // empty: the current folder
};

// Answers of the replace callback.
enum UnzipReplace { kReplaceNo = 100, kReplaceYes = 102, kReplaceNone = 104 };

struct UnzipCallbacks {
    // Text the engine prints: a NUL-terminated buffer and its length. Each
    // text ends with a line feed and none starts with one.
    int (*print)(const char* buffer, unsigned long length) = nullptr;
    void (*sound)() = nullptr;
    // A member is about to overwrite the file named in the buffer.
    int (*replace)(char* name) = nullptr;
    // Fill the answer buffer (size bytes) and return 0, or return 1 to give up.
    int (*password)(char* answer, int size, const char* prompt, const char* name) = nullptr;
    // One member of a listing.
    void (*message)(unsigned long size, unsigned long compressedSize, unsigned factor, unsigned month,
                    unsigned day, unsigned year, unsigned hour, unsigned minute, char c, const char* name,
                    const char* method, unsigned long crc, char encrypted) = nullptr;
    // Called before each member; non-zero stops the extraction.
    int (*service)(const char* name, unsigned long size) = nullptr;
    // Filled by the engine: total size, total compressed size, compression
    // factor, member count, length of the archive comment.
    std::array<int32_t, 5> totals{};
};

// Info-ZIP result codes the engine gives.
enum UnzipResult {
    kUnzipOk = 0,
    kUnzipWarning = 1,      // some member skipped or refused
    kUnzipError = 2,        // a damaged member
    kUnzipBadArchive = 3,   // the archive cannot be read
    kUnzipNoArchive = 9,    // missing, or not a zip
    kUnzipNoName = 10,
    kUnzipDisk = 50,        // a file or folder could not be written
    kUnzipStopped = 80,     // the service callback asked to stop
};

struct UnzipVersionInfo {
    int32_t length = 64;
    int32_t flag = 0;
    char betaLevel[10];
    char date[20];
    char zlibVersion[10];
    unsigned char versions[16];
};
static_assert(sizeof(UnzipVersionInfo) == 64);

// Fills the version record with the engine's version.
void UzpVersion2(UnzipVersionInfo& info);

// Extracts (or tests, lists) every member of the archive.
int WizSingleEntryUnzip(const UnzipOptions& options, UnzipCallbacks& callbacks);

// The names of the archive's members as stored (folders included); empty
// when the archive cannot be opened.
QStringList ArchiveMemberNames(const QString& zipFileName);
