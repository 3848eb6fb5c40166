#pragma once
// Checks and conversions shared by the search screens' criteria boxes.

#include "shell/Ui.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace searchchecks {

// The platform's numeric test on a text: blanks around it, a sign, digits
// with at most one decimal separator ("." or ","), an exponent ("E" or "D",
// with its own sign). An empty text is not numeric.
bool IsNumeric(const QString& text);
// The numeric value of a text that passes IsNumeric; nullopt otherwise.
std::optional<double> NumericValue(const QString& text);
// A value rounded to a whole number, half to even; nullopt when it does not
// fit a 32-bit signed integer (or is not finite).
std::optional<qint32> RoundToInt32(double value);
// True when the text holds only the digits 0 to 9 (an empty text too).
bool OnlyDigits(const QString& text);
// Upper case by the program's one rule (character for character).
QString UpperCase(const QString& text);
// Blanks removed from both ends (only the blank character itself).
QString TrimBlanks(const QString& text);
// Each apostrophe doubled, for a text placed between apostrophes in SQL.
QString DoubleApostrophes(const QString& text);

// A dispatch code of digits only is stored by the older journal issues as
// its number ("3") and printed by the journal with three digits ("003"):
// such a code stands for every one of these forms. The forms to look for,
// the code as given first; a code with anything but digits stands alone.
QStringList DispatchCodeForms(const QString& code);
// Two dispatch boxes hold the same code: the same text, or the same number
// when both hold digits only ("003" and "3").
bool SameDispatchCode(const QString& a, const QString& b);

// A refused check or search: the message, its icon, the control the focus
// goes to (Box::None for none) with its index in a box array, and the
// message title when it is not the screen's own.
template <class Box>
struct ScreenRefusal {
    QString message;  // empty when everything passed
    int icon = vb::Critical;
    Box box = Box::None;
    int index = 0;
    QString title;  // empty: the screen's title

    ScreenRefusal() = default;
    ScreenRefusal(const QString& message, int icon, Box box, int index = 0, const QString& title = QString())
        : message(message), icon(icon), box(box), index(index), title(title)
    {
    }
    explicit operator bool() const { return !message.isEmpty(); }
};

// Messages of the checks.
inline const QString kNclNotNumeric = QStringLiteral("NCL tem que ser numérico !");
inline const QString kNclInvalid = QStringLiteral("Número de NCL inválido !");
inline const QString kNclRepeated = QStringLiteral("NCL já selecionado !");
inline const QString kTaxIdDigits =
    QStringLiteral("Número do CNPJ, CPF ou INPI só pode conter dígitos de 0 a 9 !");
inline const QString kTaxIdPartialLength = QStringLiteral(
    "Para pesquisas não exatas, é necessário um mínimo de 5 dígitos para o Número do CNPJ, CPF ou INPI !");
inline const QString kTaxIdExactLength = QStringLiteral(
    "Para pesquisas exatas, são necessários 7 dígitos para o Número do INPI, 11 dígitos para o CPF, ou 14 "
    "dígitos para o CNPJ !");

// Check of one class box against the others of its array (texts in box
// order; index counts from 0). Empty when it passes; an empty box passes.
// Classes are compared as numbers (05 is 5); a value that does not fit a
// whole number counts as not numeric.
QString CheckNclBox(const QStringList& boxes, int index);
// Check of a tax-id box on leaving it: digits only. Empty when it passes.
QString CheckTaxIdDigits(const QString& text);
// Length check of a tax id at search time: exact needs 7, 11 or 14
// characters, partial at least 5. Empty when it passes.
QString CheckTaxIdLength(const QString& text, bool exact);

}  // namespace searchchecks
