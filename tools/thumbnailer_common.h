#pragma once
// What the two thumbnailers share: the command line `NAME -s SIZE IN OUT`, reading an input
// nobody vetted with a size limit, a watchdog for the time spent, and writing the picture.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class Taviron;

namespace thumbnailer {

// Largest thumbnail side; file managers ask for 128, 256, 512 or 1024.
inline constexpr std::int32_t kMaxSide = 1024;
// Largest input file read; anything longer is refused before it is read.
inline constexpr std::uint64_t kMaxInputBytes = 256ull << 20;
// Seconds after which a thumbnailer gives up (exit 1, nothing written).
inline constexpr unsigned kWatchdogSeconds = 20;

struct Arguments {
    std::int32_t side = 0;
    std::string input;
    std::string output;
};

// Parses `-s SIZE IN OUT` (SIZE 1..kMaxSide). False, with problem set, for anything else.
bool parse_arguments(int argc, const char* const* argv, Arguments& arguments, std::string& problem);

// Reads the whole file at path. False, with reason set, when it cannot be read or is longer
// than kMaxInputBytes.
bool read_input(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& reason);

// Ends the process with exit status 1 when it is still running after seconds; 0 disarms.
void arm_watchdog(unsigned seconds);

// The whole run of a thumbnailer: parses the arguments (usage errors exit 2), reads IN, calls
// make to draw the picture, writes it to OUT as PNG. Every refusal prints `NAME: FILE: reason`
// on stderr and returns 1 with OUT left as it was.
using MakePicture = bool (*)(const std::uint8_t* data, std::size_t size, std::int32_t side, Taviron& picture,
                             std::string& reason);
int run(const char* name, int argc, const char* const* argv, MakePicture make);

} // namespace thumbnailer
