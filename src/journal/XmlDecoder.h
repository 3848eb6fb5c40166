#pragma once
// Decoding of the free texts of an XML journal issue. The issue is read one
// byte per character in Windows-1252, so entities are still in the text and
// every two-byte UTF-8 letter arrives as two characters. This turns the
// entities the journal uses and the Portuguese letters back into readable
// text; it is not a general UTF-8 decoder (longer sequences pass through).

#include <QString>

// Returns the decoded copy of text; text itself is not changed.
QString DecodificaTextoXml(const QString& text);
