#include "platform/test_process.h"

#include <cstdio>

namespace platform {

ProgramRun run_with_stdin_closed(const std::string& program) {
    ProgramRun run;
    const std::string command = "'" + program + "' <&-";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buf[512];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
        run.out.append(buf, n);
    run.status = ::pclose(pipe);
    return run;
}

} // namespace platform
