#pragma once
// The administrator password: its stored (scrambled) form and the check
// that grants the administrator right.

#include <QString>
#include <optional>

class DbConnection;

// The stored form of a password: the text reversed, then each character's
// Windows-1252 code lowered by its 1-based position ("abc" gives the codes
// 98, 96, 94). No value when a character is outside Windows-1252 or its
// code would fall below zero.
std::optional<QString> ScramblePassword(const QString& text);

// A typed password without the blanks at its ends; any other character, a
// non-breaking space or a tab included, is part of it.
QString TrimBlanks(const QString& text);

// Outcome of comparing a typed password with the one stored in Controle row 1.
enum class AdminPasswordCheck {
    Granted,        // the scrambled text equals controle6
    WrongPassword,  // differs, is empty, cannot be scrambled, or controle6 is Null
    NoControlRow,   // Controle has no row with codigo 1
    DatabaseError,  // the query failed (errorText holds the server's message)
};

struct AdminPasswordResult {
    AdminPasswordCheck outcome = AdminPasswordCheck::WrongPassword;
    QString errorText;
};

AdminPasswordResult CheckAdminPassword(const QString& typed, DbConnection& db);
// The same on the program's connection.
AdminPasswordResult CheckAdminPassword(const QString& typed);
