#pragma once
// Windows-1252, the code page of the journal files and of the program's
// single-byte texts. Every byte maps to one character; the five bytes that
// the code page leaves undefined map to U+0081, U+008D, U+008F, U+0090 and
// U+009D, so decoding never loses a byte and encoding gives it back.

#include <QByteArray>
#include <QChar>
#include <QString>

namespace cp1252 {

// The character of one byte.
QChar toChar(unsigned char byte);
// The byte of one character, or -1 when the character is not in the code page.
int toByte(QChar ch);
inline bool contains(QChar ch) { return toByte(ch) >= 0; }

// Bytes to text, one character per byte.
QString decode(const char* data, qsizetype size);
inline QString decode(const QByteArray& bytes) { return decode(bytes.constData(), bytes.size()); }
// Text to bytes; a character outside the code page becomes '?'.
QByteArray encode(const QString& text);

}  // namespace cp1252
