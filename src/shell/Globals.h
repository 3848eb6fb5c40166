#pragma once
// Program-wide values and the settings file.

#include <QByteArray>
#include <QString>

namespace Globals {

// The program's folder (where the executable and quorvanta.Ini live).
// Tests may point it elsewhere.
QString programDir();
void setProgramDir(const QString& dir);

// Full path of the settings file, set by Main (the program's folder followed
// by "quorvanta.Ini", the file name matched without regard to letter case).
extern QString IniFilePath;

// Finds "quorvanta.Ini" in a folder, ignoring the letter case of the name.
// Returns the path of the file found, or the path it would have.
QString FindIniFile(const QString& dir);

// The text of the settings file: UTF-8 when the bytes are valid UTF-8,
// otherwise Windows-1252 (what a Windows editor saves).
QString DecodeSettingsText(const QByteArray& bytes);

// Reads one value of the settings file: sections and keys found without
// regard to letter case, the value as written after "=", at most 254
// characters, empty when missing. Never fails.
QString GetIniValue(const QString& section, const QString& key);
// The same over a given file (used by GetIniValue and by tests); a
// negative maxLength reads the value whole.
QString GetIniValueFrom(const QString& iniPath, const QString& section, const QString& key, int maxLength = 254);

// Shown while the connection opens at start-up.
inline const QString kConnectingText = QStringLiteral("Conectando ao banco de dados…");

// Start-up: checks the settings file, reads the settings, opens the
// connection, clears the administrator right. Returns false when the
// program must end (the reason was shown). Showing the main menu is the
// caller's (src/app).
bool Main();

}  // namespace Globals
