#pragma once
// The process number as typed and shown: nine digits, the eight digits of
// the stored process number followed by a check digit.

#include <QString>

namespace ProcessNumber {

// Check digit of eight process digits: weights 9 down to 2, remainder
// modulo 11; 0 when the remainder is 0 or 1, otherwise 11 minus it.
// Returns -1 when the text is not eight digits "0" to "9".
int CheckDigit(const QString& eightDigits);

// True when the text holds only the characters "0" to "9".
bool AllDigits(const QString& text);

// The process key of a shown number: its first eight characters read as
// a number (leading blanks skipped, reading stops at the first character
// that is not a digit) and written back as plain decimal text without
// sign or leading zeros. Always a number, "0" when nothing is readable.
QString ProcessKey(const QString& shownNumber);

}  // namespace ProcessNumber
