#include "platform/pause.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

const std::string kPrompt = "Press any key to continue . . . ";

// Runs pause() with file descriptor `in` as standard input, restoring the real one afterwards
// (-1 runs it with standard input closed). Returns what it printed.
std::string pause_with_stdin(int in) {
    int saved = dup(STDIN_FILENO);
    if (in >= 0) {
        dup2(in, STDIN_FILENO);
    } else {
        close(STDIN_FILENO);
    }
    testing::internal::CaptureStdout();
    platform::pause();
    std::string out = testing::internal::GetCapturedStdout();
    dup2(saved, STDIN_FILENO);
    close(saved);
    return out;
}

// A child process waiting in pause() on the slave side of a pseudo-terminal.
struct PausedChild {
    pid_t pid = -1;
    int master = -1;
    int out = -1; // read end of the child's standard output

    // Exit status 0: pause returned and left the terminal in canonical mode with echo.
    void start() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master), 0);
        ASSERT_EQ(unlockpt(master), 0);
        std::string slave_name = ptsname(master);
        int pipe_fds[2];
        ASSERT_EQ(pipe(pipe_fds), 0);
        pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(master); // only the parent may hold the terminal's other side
            close(pipe_fds[0]);
            int slave = open(slave_name.c_str(), O_RDWR | O_NOCTTY);
            if (slave < 0) _exit(10);
            dup2(slave, STDIN_FILENO);
            dup2(pipe_fds[1], STDOUT_FILENO);
            platform::pause();
            termios after{};
            if (tcgetattr(STDIN_FILENO, &after) != 0) _exit(0); // terminal gone: nothing to restore
            _exit((after.c_lflag & ICANON) && (after.c_lflag & ECHO) ? 0 : 11);
        }
        close(pipe_fds[1]);
        out = pipe_fds[0];
    }

    // Waits up to `limit` for the child to end; returns its wait status or -1 if it still runs.
    int wait_for_exit(std::chrono::milliseconds limit) {
        auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return status;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    std::string output() {
        std::string text;
        char buf[256];
        ssize_t n;
        while ((n = read(out, buf, sizeof buf)) > 0)
            text.append(buf, static_cast<size_t>(n));
        return text;
    }

    ~PausedChild() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        if (master >= 0) close(master);
        if (out >= 0) close(out);
    }
};

} // namespace

TEST(Pause, ContinuesAtOnceWhenStandardInputIsNotATerminal) {
    // Closed standard input.
    EXPECT_EQ(pause_with_stdin(-1), kPrompt);

    // A pipe with data waiting: the data stays unread.
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    ASSERT_EQ(write(fds[1], "k", 1), 1);
    EXPECT_EQ(pause_with_stdin(fds[0]), kPrompt);
    char c = 0;
    EXPECT_EQ(read(fds[0], &c, 1), 1);
    EXPECT_EQ(c, 'k');

    // A pipe at its end.
    close(fds[1]);
    EXPECT_EQ(pause_with_stdin(fds[0]), kPrompt);
    close(fds[0]);
}

TEST(Pause, OnATerminalWaitsForOneKeyWithoutEnter) {
    PausedChild child;
    ASSERT_NO_FATAL_FAILURE(child.start());
    EXPECT_EQ(child.wait_for_exit(std::chrono::milliseconds(300)), -1) << "returned before a key was pressed";
    ASSERT_EQ(write(child.master, "x", 1), 1); // one key, no line end
    int status = child.wait_for_exit(std::chrono::seconds(10));
    ASSERT_NE(status, -1) << "still waiting after the key";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "terminal settings not restored";
    EXPECT_EQ(child.output(), kPrompt + "\n");
}

TEST(Pause, OnATerminalContinuesWhenTheTerminalGoesAway) {
    PausedChild child;
    ASSERT_NO_FATAL_FAILURE(child.start());
    EXPECT_EQ(child.wait_for_exit(std::chrono::milliseconds(200)), -1);
    close(child.master);
    child.master = -1;
    int status = child.wait_for_exit(std::chrono::seconds(10));
    ASSERT_NE(status, -1) << "still waiting on a terminal that has hung up";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(child.output(), kPrompt);
}
