#pragma once
// The console programs' closing "PAUSE": a prompt and a wait for one key.

namespace platform {

// Prints "Press any key to continue . . . " to standard output and, when standard input is a
// terminal, waits for one key (no Enter needed, not echoed). Returns at once when standard input
// is not a terminal, is closed or is at its end, so programs run unattended in scripts and tests.
void pause();

} // namespace platform
