#include "platform/pause.h"

#include <cerrno>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace platform {

namespace {

// Reads one byte from a terminal in non-canonical mode without echo; the terminal's settings are
// restored afterwards. Returns true if a key was read, false on end of input or error.
bool read_one_key(int fd) {
    termios saved{};
    if (tcgetattr(fd, &saved) != 0) return false;
    termios raw = saved;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &raw) != 0) return false;

    unsigned char key = 0;
    ssize_t got;
    do {
        got = read(fd, &key, 1);
    } while (got < 0 && errno == EINTR);

    tcsetattr(fd, TCSANOW, &saved);
    return got == 1;
}

} // namespace

void pause() {
    std::fputs("Press any key to continue . . . ", stdout);
    std::fflush(stdout);
    if (!isatty(STDIN_FILENO)) return;
    // The key itself is not echoed; the line break stands in for it so that what follows on the
    // terminal starts on a fresh line.
    if (read_one_key(STDIN_FILENO)) {
        std::fputs("\n", stdout);
        std::fflush(stdout);
    }
}

} // namespace platform
