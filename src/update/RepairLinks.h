#pragma once
// Rebuilds the batch loader's citation links (RevProcRefProc) of the issue
// in staging, once that issue has been applied: every citation staged in
// ProcRefRevista gets its pair (citing RevProcs key, cited process) unless
// the pair is there already.
//
// The citing entry is found by rank: the k-th staged codigo (ascending) was
// applied as the k-th lowest RevProcs key of the issue, so gaps in the staged
// numbering do not shift the links. The routine refuses, with a message,
// when staging is empty, the issue has no entries, or the two counts differ.

#include "shell/Db.h"

#include <functional>

struct RepairOutcome {
    bool done = false;  // false: refused or failed (a message said why)
    int inserted = 0;   // pairs added
};

// Ends with the message "FIM". Never throws: a database failure is rolled
// back and reported. Once per citation, yieldEvents runs (by default,
// pending window messages are processed).
RepairOutcome RepairRevProcRefProc(const std::function<void()>& yieldEvents = {},
                                   DbConnection& db = DbConnection::instance());
