#pragma once
// Keys of mark names: the cleaned key (LimpaTexto) and the phonetic key
// (CalcMetaphone, a Metaphone re-worked for Portuguese names). Pure functions
// without state, safe to call from any thread.
//
// Every character test here uses one fixed text order, independent of the
// machine's locale: case-insensitive, accent-sensitive ("Á" is not "A");
// "0".."9" holds the ten digits, "A".."Z" every Latin letter with or without
// an accent, "0".."Z" both; blanks, punctuation, symbols and other scripts lie
// outside all three.

#include <QString>
#include <QtGlobal>

namespace metaphonevar {

// The character classes and the upper-casing of the text order.
namespace textorder {

// "0" to "9".
inline bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
// "A" to "Z": A-Z, a-z, À-Ö, Ø-ö, ø-ÿ, Š š Œ œ Ž ž Ÿ ƒ, ª, º and the other
// Latin letters outside Windows-1252; not µ nor any symbol.
bool isLetter(char16_t c);
// "0" to "Z".
inline bool isDigitOrLetter(char16_t c) { return isDigit(c) || isLetter(c); }
// Upper case of one character by the program's one rule (UpperCase.h): its
// single capital, or the character itself ("ß").
char16_t toUpper(char16_t c);
// Case-insensitive, accent-sensitive equality of two characters.
bool equal(char16_t a, char16_t b);

}  // namespace textorder

// True when ch is not empty and its upper case occurs in "AEIOU".
bool EhVogal(const QString& ch);
// True when ch is not empty and its upper case does not occur in "AEIOU".
bool NaoVogal(const QString& ch);

// The text the phonetic key is computed from: upper case, accents of the
// Portuguese vowels folded, "Ç" as "SS", everything but digits and letters
// dropped.
QString NormalizaMetaphone(const QString& s);

// Phonetic key. semVogais = 0 keeps the vowels, any other value drops them
// (a leading vowel always stays). tamanho >= 1 cuts the key to that length
// or pads it with "0"; 0 or less leaves it as it is.
QString CalcMetaphone(const QString& word, qint16 semVogais, qint16 tamanho);

// Cleaned key: upper case, every digit as "9", letters as they are (accents
// kept), "@" as "A", "&" as "E", everything else dropped.
QString LimpaTexto(const QString& s);

}  // namespace metaphonevar
