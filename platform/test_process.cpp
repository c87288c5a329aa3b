#include "platform/test_process.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

namespace platform {
namespace {

ProgramRun run_command(const std::string& command) {
    ProgramRun run;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buf[512];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
        run.out.append(buf, n);
    run.status = ::pclose(pipe);
    return run;
}

} // namespace

ProgramRun run_with_stdin_closed(const std::string& program) {
    return run_command("'" + program + "' <&-");
}

ProgramRun run_without_display(const std::string& program, const std::string& display) {
    std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
    if (!display.empty()) command += "DISPLAY='" + display + "' ";
    return run_command(command + "'" + program + "' <&- 2>&1");
}

void expect_no_display_line(const std::string& program, const std::string& line) {
    for (const char* display : {"", ":65000"}) {
        SCOPED_TRACE(std::string("DISPLAY=") + display);
        const ProgramRun run = run_without_display(program, display);
        EXPECT_EQ(run.out, line);
        ASSERT_TRUE(WIFEXITED(run.status));
        EXPECT_EQ(WEXITSTATUS(run.status), 1);
    }
}

} // namespace platform
