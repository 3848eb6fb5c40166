#pragma once
// SIGTERM and SIGINT (a desktop logout, kill) end the program cleanly: the
// database is closed, any open transaction rolled back, and the program
// ends. The handler only writes the signal's number into a socket pair; a
// notifier turns it into a call of onSignal in the event loop.
//
// The database engine installs handlers of its own at the first attachment
// (they close its attachments and let the program run on with a dead
// connection), so install() is called again once the connection is open.

#include <functional>

namespace EndSignals {

// Installs the program's handlers of SIGTERM and SIGINT (again).
void install();

// What the program does on such a signal.
void onSignal(int signal);

// While set, the connection is being opened on another thread: a signal
// leaves the database alone and ends the program at once.
void setConnecting(bool connecting);

// How the program ends once the database is closed. `idle`: nothing runs
// under the main loop (no modal window, no operation), so the loop is left
// and main() returns; otherwise whatever was running is not resumed and the
// process ends at once. Tests replace it.
extern std::function<void(bool idle)> endProgram;

}  // namespace EndSignals
