#pragma once
// The row of a read issue in Revistas: added (not yet applied) the first
// time the issue is read, its date set on every read.

#include <QDate>

class DbConnection;

// An invalid date is stored as Null.
void RecordIssue(DbConnection& db, int revista, const QDate& date);
