#pragma once
// Settings read at start-up and the connection string.

#include <QString>

namespace DBSpecifics {

// Database path: DatabaseLocation and DatabaseName joined, nothing trimmed.
extern QString DbPath;
// Password of the database server account SYSDBA: the key Password of the
// Database section (an office's own password), or the program's constant
// when the key is missing or blank.
extern QString DbPassword;
// Office name shown on the menus and search screens (key Empresa, as read).
extern QString OfficeName;
// Server-side cursor location, 2.
extern short CursorLoc;
// 1 = the current user holds the administrator right; 0 at start-up.
extern short AdminFlag;

inline constexpr const char* kDbPassword = "plumbrask";
inline constexpr const char* kDefaultDriver = "Firebird/InterBase(r) driver";

// Fills CursorLoc, DbPath, DbPassword and OfficeName, in this order.
void ReadSettings();

// Why DbPassword cannot reach the server whole, or empty when it can.
// Start-up refuses the settings file with this text.
QString PasswordProblem();
inline constexpr int kMaxPasswordBytes = 255;

// "DRIVER=...;CLIENT=...;CHARSET=...;UID=SYSDBA;PWD=...;DBNAME=..." with the
// ODBC section read anew at every call.
QString BuildConnectionString();

}  // namespace DBSpecifics

// Short names used throughout the program.
using DBSpecifics::AdminFlag;
using DBSpecifics::BuildConnectionString;
using DBSpecifics::CursorLoc;
using DBSpecifics::OfficeName;
