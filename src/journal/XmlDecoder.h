#pragma once
// Decoding of the free texts of an XML journal issue. The issue is read one
// byte per character in Windows-1252, so entities are still in the text and
// every UTF-8 character arrives as two to four characters. This turns the
// entities the journal uses and every well-formed UTF-8 sequence back into
// its character; a "Ã" or "ã" that starts no such sequence takes its letter
// from the table of Portuguese letters (a blank for any other second byte),
// and every other byte stays as read.

#include <QString>

// Returns the decoded copy of text; text itself is not changed.
QString DecodificaTextoXml(const QString& text);
