#pragma once
// Literals for the SQL statements the journal readers and the transfers
// build as text. Each helper turns one value into either the value between
// apostrophes or the keyword Null.
//
// A value is a QVariant holding text, a number or a date; an invalid or null
// QVariant (a database Null read from a recordset) is the absent value.
// Numbers are written as plain decimal text, dates and timestamps as
// dd.mm.yyyy (with hh:mm:ss when the time is not midnight); both are quoted
// like text.
//
// Every helper that quotes a value keeps its apostrophes from ending the
// literal: they are doubled (TestaNulo, TestaZero, TestNull, TestaCampoTxt)
// or removed (TestaCampo).

#include <QString>
#include <QVariant>

// "Null" for empty text, otherwise the value quoted. Absent gives ''.
QString TestaNulo(const QVariant& campo);

// "Null" for the number 0 (or text that reads as 0), otherwise the value
// quoted. Absent gives ''.
QString TestaZero(const QVariant& campo);

// What TestaCampoTxt gives for an absent value: the journal-reading dialogs
// want an empty literal, the database-update dialog wants Null.
enum class AbsentGives { EmptyLiteral, Null };

// "Null" for empty text (tested before cleaning); otherwise the text with
// double quotes removed and apostrophes doubled, quoted. Text in campo is
// replaced by its cleaned form, so a second call doubles again.
QString TestaCampoTxt(QVariant& campo, AbsentGives absent);

// "Null" for empty text; otherwise the value without apostrophes, quoted.
// Text in campo is replaced by its form without apostrophes. Absent gives ''.
QString TestaCampo(QVariant& campo);

// "Null" for an absent value, otherwise the value quoted (empty text gives '').
QString TestNull(const QVariant& campo);

// "Null" for an absent value, otherwise the value as a date, 'dd.mm.yyyy'.
// Text is read as dd/mm/yyyy, dd.mm.yyyy, dd-mm-yyyy or yyyy-mm-dd; a value
// that is no date raises VbError 13 "Type mismatch".
QString TestDate(const QVariant& campo);

// The cleaning of TestaCampoTxt without apostrophes around it and without the
// Null test: campo and the result hold the cleaned text. An absent value
// comes back absent (and reads as empty text).
QVariant TestaCampoTxt1(QVariant& campo);

// The first max characters of a text. A character outside the 16-bit range
// (a surrogate pair) counts as one, as the database counts it, and is never
// cut in half.
inline QString LeftWhole(const QString& s, qsizetype max)
{
    if (s.size() <= max) return s;
    qsizetype i = 0;
    for (qsizetype chars = 0; chars < max && i < s.size(); ++chars)
        i += (s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) ? 2 : 1;
    return s.left(i);
}

// A text as a value for the helpers above: never absent (a null QString
// becomes empty text), cut to max characters when max >= 0.
inline QVariant TextValue(const QString& s, int max = -1)
{
    QString t = max >= 0 ? LeftWhole(s, max) : s;
    if (t.isNull()) t = QLatin1String("");
    return t;
}

// The text between apostrophes, its own apostrophes doubled.
inline QString Quoted(const QString& s)
{
    QString t = s;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

// The text a value is written with inside a literal (empty for absent).
QString literalText(const QVariant& value);
// True for an invalid or null QVariant.
bool isAbsent(const QVariant& value);
