#pragma once
// The holder and attorney searches without their windows: the twins differ
// only in the column matched, the page query, a few texts and the titles,
// all gathered in a NameSearchKind.

#include "Conditions.h"

#include <QString>

namespace namesearch {

// Match types (OptLocation).
using conditions::Location;
using enum conditions::Location;

struct NameSearchKind {
    QString objectName;          // the screen's name
    QString heading;             // Label1
    QString boxLabel;            // txt23
    QString boxName;             // the name box
    int boxLength = 0;           // the longest text it takes
    QString title;               // refusals, first page and most page moves
    QString emptyNextPageTitle;  // NextRegs reaching no rows
    QString nameRequired;        // empty box
    QString tooShort;            // fewer than 4 characters, not "Exata"
    QString titlePrefix;         // export and print titles
    QString column;              // the column compared
    QString condition;           // appended to every condition
    QString selectList;          // page query, ends with "where "
};

// The holder screen (titular of Processos).
const NameSearchKind& Holder();
// The attorney screen (procurador of the process's Procuradores row).
const NameSearchKind& Attorney();

// The attorney screen's select list: the inner join on the attorney.
extern const QString kAttorneySelectList;

struct Outcome {
    QString refusal;      // empty when the search may run
    QString whereClause;  // the condition when it may
};

// The checks and the condition of a search for the name t as typed.
Outcome BuildSearch(const NameSearchKind& kind, const QString& t, int location);

// Title of the export: prefix, match type, the name upper-cased in quotes.
QString ExportTitle(const NameSearchKind& kind, const QString& t, int location);
// Title of the print: prefix, the name as typed, match type.
QString PrintTitle(const NameSearchKind& kind, const QString& t, int location);

}  // namespace namesearch
