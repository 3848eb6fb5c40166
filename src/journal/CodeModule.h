#pragma once
// The unzip module: VBUnzip runs one extraction and the callbacks collect
// what the engine prints and ask the user the engine's questions. The
// module state is process-wide, so one extraction runs at a time.

#include "UnzipEngine.h"

#include <QString>
#include <array>

namespace CodeModule {

// Text printed during the current extraction, and its copy for GetLastMessage.
extern QString UnzipPrintText;
extern QString UnzipLastMessage;
// Listing built by the message callback.
extern QString UnzipListing;
extern qint16 UnzipListCount;
// 1 after the user gave an empty password: no more questions this time.
extern qint16 UnzipPasswordCancelled;

// The fifteen option values in the property order of CGUnzipFiles.
enum Option {
    ExtractNewer, SpaceToUnderScore, PromptOverwrite, MessageLevel, WriteToStdOut, TestZip, ExtractList,
    ExtractOnlyNewer, DisplayComment, HonorDirectories, OverWriteFiles, ConvertCRtoCRLF, Verbose,
    CaseSensitive, Privilege, OptionCount
};
using OptionValues = std::array<qint16, OptionCount>;

// The option record for the values: each value goes to its option word.
UnzipOptions MakeOptions(const QString& zipFileName, const QString& extractDir, const OptionValues& values);

// Clears the module state and extracts; returns the engine's result
// (0 = success). Errors are raised again as VbError with the source
// "CodeModule::VBUnzip".
qint32 VBUnzip(const QString& zipFileName, const QString& extractDir, const OptionValues& values);

// Callbacks of the engine.
int DllPrintCallback(const char* buffer, unsigned long length);
int DllReplaceCallback(char* name);
int DllPasswordCallback(char* answer, int size, const char* prompt, const char* name);
void DllListMessageCallback(unsigned long size, unsigned long compressedSize, unsigned factor, unsigned month,
                            unsigned day, unsigned year, unsigned hour, unsigned minute, char c,
                            const char* name, const char* method, unsigned long crc, char encrypted);
int DllServiceCallback(const char* name, unsigned long size);

}  // namespace CodeModule
