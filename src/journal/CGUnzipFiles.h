#pragma once
// Extracts one zip archive into one folder. Set the properties, call
// Unzip (0 = success) and, when it fails, show GetLastMessage: the text the
// extraction printed.
//
//   CGUnzipFiles z;
//   z.setZipFileName(archive);
//   z.setExtractDir(folder);
//   z.setHonorDirectories(false);
//   if (z.Unzip() != 0) MsgBox(z.GetLastMessage());

#include "CodeModule.h"

#include <QString>

class CGUnzipFiles {
public:
    CGUnzipFiles();

    bool ExtractNewer() const { return extractNewer_ == 1; }
    void setExtractNewer(bool v) { extractNewer_ = v ? 1 : 0; }
    bool SpaceToUnderScore() const { return spaceToUnderScore_ == 1; }
    void setSpaceToUnderScore(bool v) { spaceToUnderScore_ = v ? 1 : 0; }
    bool PromptOverwrite() const { return promptOverwrite_ == 1; }
    void setPromptOverwrite(bool v) { promptOverwrite_ = v ? 1 : 0; }
    qint32 MessageLevel() const { return messageLevel_; }
    void setMessageLevel(qint32 v) { messageLevel_ = v; }
    bool WriteToStdOut() const { return writeToStdOut_ == 1; }
    void setWriteToStdOut(bool v) { writeToStdOut_ = v ? 1 : 0; }
    bool TestZip() const { return testZip_ == 1; }
    void setTestZip(bool v) { testZip_ = v ? 1 : 0; }
    qint32 ExtractList() const { return extractList_; }
    void setExtractList(qint32 v) { extractList_ = v; }
    bool ExtractOnlyNewer() const { return extractOnlyNewer_ == 1; }
    void setExtractOnlyNewer(bool v) { extractOnlyNewer_ = v ? 1 : 0; }
    bool DisplayComment() const { return displayComment_ == 1; }
    void setDisplayComment(bool v) { displayComment_ = v ? 1 : 0; }
    bool HonorDirectories() const { return honorDirectories_ == 1; }
    void setHonorDirectories(bool v) { honorDirectories_ = v ? 1 : 0; }
    bool OverWriteFiles() const { return overWriteFiles_ == 1; }
    void setOverWriteFiles(bool v) { overWriteFiles_ = v ? 1 : 0; }
    bool ConvertCRtoCRLF() const { return convertCRtoCRLF_ == 1; }
    void setConvertCRtoCRLF(bool v) { convertCRtoCRLF_ = v ? 1 : 0; }
    bool Verbose() const { return verbose_ == 1; }
    void setVerbose(bool v) { verbose_ = v ? 1 : 0; }
    bool CaseSensitive() const { return caseSensitive_ == 1; }
    void setCaseSensitive(bool v) { caseSensitive_ = v ? 1 : 0; }
    qint32 Privilege() const { return privilege_; }
    void setPrivilege(qint32 v) { privilege_ = v; }
    QString ZipFileName() const { return zipFileName_; }
    void setZipFileName(const QString& v) { zipFileName_ = v; }
    QString ExtractDir() const { return extractDir_; }
    void setExtractDir(const QString& v) { extractDir_ = v; }

    // A non-empty argument replaces ZipFileName / ExtractDir first. Returns
    // the extraction's result (0 = success). Errors, among them 6 "Overflow"
    // for a number property outside 16 bits, are raised as VbError with the
    // source "CGUnZipFiles::Unzip".
    qint32 Unzip(const QString& zipFileName = QString(), const QString& extractDir = QString());
    // What the last extraction printed.
    QString GetLastMessage() const;

    // The fifteen option values handed to the extraction; the number
    // properties narrowed to 16 bits (VbError 6 "Overflow" when one does not fit).
    CodeModule::OptionValues optionValues() const;

private:
    qint16 extractNewer_ = 0;
    qint16 spaceToUnderScore_ = 0;
    qint16 promptOverwrite_ = 0;
    qint32 messageLevel_ = 2;
    qint16 writeToStdOut_ = 0;
    qint16 testZip_ = 0;
    qint32 extractList_ = 0;
    qint16 extractOnlyNewer_ = 0;
    qint16 displayComment_ = 0;
    qint16 honorDirectories_ = 1;
    qint16 overWriteFiles_ = 1;
    qint16 convertCRtoCRLF_ = 0;
    qint16 verbose_ = 0;
    qint16 caseSensitive_ = 1;
    qint32 privilege_ = 0;
    QString zipFileName_;
    QString extractDir_;
};
