#pragma once
// The 4-character code of a process number kept in bcdproc of Processos and
// RevProcs by the batch loader.
//
// s = the last 8 characters of "0000" and the number's decimal digits; the
// k-th character of the code is the Windows-1252 character of
// 16 * d(2k-1) + d(2k) + 53 - k, d(i) being the i-th digit of s (0 past its
// end). Every code lies between 49 and 205, so it never holds an apostrophe.

#include <QString>
#include <QVariant>

// The digit text the code is made from (at most 8 characters).
QString ProcessCodeDigits(const QVariant& processo);

// The code as text, each character the Windows-1252 character of its byte.
QString ProcessCode(const QVariant& processo);
