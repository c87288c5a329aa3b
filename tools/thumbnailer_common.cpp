#include "tools/thumbnailer_common.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string_view>

#include <unistd.h>

#include "bitmap/taviron.h"
#include "platform/read_file.h"

namespace thumbnailer {
namespace {

void on_alarm(int) {
    // Only async-signal-safe calls here; the picture is written after the alarm is disarmed,
    // so ending now leaves no output behind.
    static const char message[] = "thumbnailer: taking too long, giving up\n";
    [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, message, sizeof message - 1);
    ::_exit(1);
}

bool parse_side(std::string_view text, std::int32_t& side) {
    if (text.empty() || text.size() > 5) return false;
    std::int32_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > kMaxSide) return false;
    side = value;
    return true;
}

} // namespace

bool parse_arguments(int argc, const char* const* argv, Arguments& arguments, std::string& problem) {
    std::vector<std::string_view> files;
    bool have_side = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-s") {
            if (i + 1 >= argc || !parse_side(argv[i + 1], arguments.side)) {
                problem = "-s takes a size from 1 to " + std::to_string(kMaxSide);
                return false;
            }
            have_side = true;
            ++i;
        } else if (arg.size() > 1 && arg[0] == '-') {
            problem = "unknown option " + std::string(arg);
            return false;
        } else {
            files.push_back(arg);
        }
    }
    if (!have_side || files.size() != 2) {
        problem = "needs -s SIZE, IN and OUT";
        return false;
    }
    arguments.input = files[0];
    arguments.output = files[1];
    return true;
}

bool read_input(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& reason) {
    errno = 0;
    switch (platform::read_regular_file(path.c_str(), bytes, kMaxInputBytes)) {
    case platform::ReadStatus::ok:
        return true;
    case platform::ReadStatus::too_long:
        reason = "file too large";
        return false;
    case platform::ReadStatus::no_memory:
        reason = "out of memory";
        return false;
    case platform::ReadStatus::failed:
        break;
    }
    reason = errno != 0 ? std::strerror(errno) : "cannot read the file";
    return false;
}

void arm_watchdog(unsigned seconds) {
    std::signal(SIGALRM, on_alarm);
    ::alarm(seconds);
}

int run(const char* name, int argc, const char* const* argv, MakePicture make) {
    Arguments arguments;
    std::string reason;
    if (!parse_arguments(argc, argv, arguments, reason)) {
        std::fprintf(stderr, "%s: %s\nusage: %s -s SIZE IN OUT\n", name, reason.c_str(), name);
        return 2;
    }
    arm_watchdog(kWatchdogSeconds);
    std::vector<std::uint8_t> bytes;
    Taviron picture;
    if (!read_input(arguments.input, bytes, reason) ||
        !make(bytes.data(), bytes.size(), arguments.side, picture, reason)) {
        std::fprintf(stderr, "%s: %s: %s\n", name, arguments.input.c_str(), reason.c_str());
        return 1;
    }
    arm_watchdog(0);
    if (picture.save_png(arguments.output.c_str()) != TAV_OK) {
        std::fprintf(stderr, "%s: %s: cannot write the picture\n", name, arguments.output.c_str());
        return 1;
    }
    return 0;
}

} // namespace thumbnailer
