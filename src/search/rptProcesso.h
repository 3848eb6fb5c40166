#pragma once
// The printed history of one process: portrait; a report header with the
// title, seven lines of process data (the Especificação text beside its label)
// and the column headings; one line per dispatch under them.

#include "output/Report.h"

// The one instance, laid out on first use. Every print sets its data
// source, the lines of Section4, the title and the orientation again.
Report& rptProcesso();
