#include "CGUnzipFiles.h"

#include "VbError.h"

#include <limits>
#include <new>

namespace {

qint16 narrow(qint32 v)
{
    if (v < std::numeric_limits<qint16>::min() || v > std::numeric_limits<qint16>::max())
        throw VbError(vberr::Overflow, QStringLiteral("Overflow"));
    return static_cast<qint16>(v);
}

}  // namespace

CGUnzipFiles::CGUnzipFiles() = default;

CodeModule::OptionValues CGUnzipFiles::optionValues() const
{
    return {extractNewer_,  spaceToUnderScore_, promptOverwrite_,  narrow(messageLevel_), writeToStdOut_,
            testZip_,       narrow(extractList_), extractOnlyNewer_, displayComment_,      honorDirectories_,
            overWriteFiles_, convertCRtoCRLF_,  verbose_,          caseSensitive_,       narrow(privilege_)};
}

qint32 CGUnzipFiles::Unzip(const QString& zipFileName, const QString& extractDir)
{
    const QString source = QStringLiteral("CGUnZipFiles::Unzip");
    try {
        if (!zipFileName.isEmpty()) zipFileName_ = zipFileName;
        if (!extractDir.isEmpty()) extractDir_ = extractDir;
        return CodeModule::VBUnzip(zipFileName_, extractDir_, optionValues());
    } catch (...) {
        RaiseFrom(source);
    }
}

QString CGUnzipFiles::GetLastMessage() const { return CodeModule::UnzipLastMessage; }
