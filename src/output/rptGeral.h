#pragma once
// The printed result page of the list searches: landscape, a page header
// with the title and the column headings, a two-line block per process and
// "Página %p de %P" at the foot of every page.

#include "output/Report.h"

// The one instance, laid out on first use. Every print sets its data
// source, title and orientation again.
Report& rptGeral();
