#pragma once
// The tax-id search without its window: its checks, its condition and the
// titles of its export and print.

#include <QString>

namespace taxidsearch {

inline const QString kTitle = QStringLiteral("Pesquisa por CNPJ/CPF/INPI do Titular");
inline const QString kRequired = QStringLiteral("Número do CNPJ, CPF ou INPI é obrigatório !");

// True when the text holds a character other than the ASCII digits.
bool HasNonDigit(const QString& text);

struct Outcome {
    QString refusal;           // empty when the search may run
    bool pastDigits = false;   // the digit checks passed (sorting of the page is off from there)
    QString whereClause;
};

// The checks in their order and the condition for the number T as typed.
Outcome BuildSearch(const QString& t, bool exact);

QString ExportTitle(const QString& t, bool exact);
QString PrintTitle(const QString& t, bool exact);

}  // namespace taxidsearch
