#pragma once
// Export of a result page to a spreadsheet: a new .xlsx workbook in the
// system's temporary folder, opened in the desktop's spreadsheet
// application for the user to keep or discard.

#include <QString>

class Recordset;

// Title in A1, the 13 headings in row 2, one row per record of rs from row 3
// in the recordset's current (sorted) order. Leaves rs on its first record,
// restores the normal pointer and tells the user how it went.
void ExportToExcel(const QString& title, Recordset& rs);
