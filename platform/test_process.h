#pragma once
// For tests of whole programs: running one as a child process and taking what it prints.
#include <string>

namespace platform {

struct ProgramRun {
    std::string out; // everything the program wrote to standard output
    int status = -1; // wait status as waitpid gives it (WIFEXITED, WEXITSTATUS); -1 when it did not start
};

// Runs program (a path, no arguments) through the shell with standard input closed, as a script
// that starts it unattended would, and returns its standard output and wait status.
ProgramRun run_with_stdin_closed(const std::string& program);

// Runs program likewise where no display is to be had: DISPLAY, WAYLAND_DISPLAY and
// QT_QPA_PLATFORM unset, or DISPLAY naming `display` (one that cannot be opened) when given.
// `out` holds standard output and standard error together.
ProgramRun run_without_display(const std::string& program, const std::string& display = {});

// Expects a GUI program started where no display can be opened (none named, or one that does not
// answer) to print `line` alone and end with 1.
void expect_no_display_line(const std::string& program, const std::string& line);

} // namespace platform
