#include "modeleditor/foreign_import.h"

#include "model/status_text.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include "model/interchange.h"
#include "model/korvex_file.h"
#include "modeleditor/file_failure.h"

extern char** environ;

namespace editor {
namespace {

// The answer may be large (a Korvex stream of a big model), but never larger than a Korvex
// model can be; what the importer says on standard error only needs its last line.
constexpr size_t kMaxAnswer = size_t{1} << 34;
constexpr size_t kMaxMessage = 64 * 1024;

// Both cases of every pattern: the dialog's patterns match case-sensitively.
std::string BothCases(const std::vector<std::string>& extensions) {
    std::string out;
    for (const std::string& e : extensions) {
        std::string upper = e;
        for (char& c : upper)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        out += (out.empty() ? "*." : ";*.") + e;
        if (upper != e) out += ";*." + upper;
    }
    return out;
}

std::vector<std::string> SplitPatterns(const std::string& patterns) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= patterns.size()) {
        size_t end = patterns.find(';', start);
        if (end == std::string::npos) end = patterns.size();
        const std::string item = patterns.substr(start, end - start);
        if (item.rfind("*.", 0) == 0) out.push_back(item.substr(2));
        start = end + 1;
    }
    return out;
}

class Pipe {
  public:
    Pipe() {
        if (pipe2(fd_, O_CLOEXEC) != 0) fd_[0] = fd_[1] = -1;
    }
    ~Pipe() {
        CloseRead();
        CloseWrite();
    }
    bool ok() const { return fd_[0] >= 0; }
    int read_end() const { return fd_[0]; }
    int write_end() const { return fd_[1]; }
    void CloseRead() { Close(fd_[0]); }
    void CloseWrite() { Close(fd_[1]); }

  private:
    static void Close(int& fd) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
    int fd_[2];
};

int32_t Fail(std::string* reason, int32_t status, const std::string& text) {
    if (reason) *reason = text;
    return status;
}

// The importer's reason: its last line, without the "korvex: FILE: " it starts with.
std::string ImporterReason(const std::string& message, const std::string& path, int exitStatus) {
    std::string line = message;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    const size_t newline = line.find_last_of('\n');
    if (newline != std::string::npos) line = line.substr(newline + 1);
    const size_t named = line.find(": " + path + ": ");
    if (named != std::string::npos) line = line.substr(named + path.size() + 4);
    if (line.empty()) return "the importer failed with exit status " + std::to_string(exitStatus);
    return line;
}

std::string ArgumentFor(const std::string& path) {
    // A name that starts with '-' would be taken for an option.
    return !path.empty() && path[0] == '-' ? "./" + path : path;
}

} // namespace

FileDialogRequest ModelOpenRequest() {
    FileDialogRequest request{false, {{"Korvex file (*.Korvex;*Kor)", "*.Korvex;*.Kor"}}, "Korvex", true};
    std::vector<std::string> all = {"Korvex", "Kor", "asc"};
    for (const std::string& e : InterchangeReadExtensions())
        all.push_back(e);
    request.filters.push_back(
        {"All model formats", "*.Korvex;*.Kor;*.KORVEX;*.KOR;" + BothCases({all.begin() + 2, all.end()})});
    for (const InterchangeFormat& format : InterchangeCommonFormats())
        request.filters.push_back({format.description, BothCases(SplitPatterns(format.patterns))});
    return request;
}

bool IsForeignModelPath(const std::string& path) {
    return InterchangeCanRead(path);
}

std::int32_t ImportForeignModel(Model* model, const ForeignImporter& importer, const std::string& path,
                                std::string* reason) {
    Pipe answer, message;
    if (!answer.ok() || !message.ok()) return Fail(reason, MODEL_ERR_MEMORY, std::strerror(errno));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, answer.write_end(), 1);
    posix_spawn_file_actions_adddup2(&actions, message.write_end(), 2);
    const std::string argument = ArgumentFor(path);
    std::vector<char*> argv = {const_cast<char*>(importer.program.c_str()), const_cast<char*>("convert"),
                               const_cast<char*>(argument.c_str()), const_cast<char*>("-"), nullptr};
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, importer.program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return Fail(reason, MODEL_ERR_OPEN,
                    "the importer " + importer.program + " cannot be started: " + std::strerror(spawned));
    }
    answer.CloseWrite();
    message.CloseWrite();

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(importer.timeoutMs);
    std::vector<uint8_t> stream;
    std::string text;
    bool answerOpen = true, messageOpen = true, timedOut = false, tooLarge = false;
    int status = 0;
    bool exited = false;
    char buffer[65536];
    while (!exited) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            timedOut = true;
            break;
        }
        if (answerOpen || messageOpen) {
            pollfd fds[2] = {{answer.read_end(), POLLIN, 0}, {message.read_end(), POLLIN, 0}};
            if (!answerOpen) fds[0].fd = -1;
            if (!messageOpen) fds[1].fd = -1;
            const int ready = poll(fds, 2, int(left));
            if (ready < 0 && errno != EINTR) break;
            if (fds[0].revents) {
                const ssize_t n = read(answer.read_end(), buffer, sizeof buffer);
                if (n > 0) {
                    stream.insert(stream.end(), buffer, buffer + n);
                    if (stream.size() > kMaxAnswer) {
                        tooLarge = true;
                        break;
                    }
                } else if (n == 0 || errno != EINTR) {
                    answerOpen = false;
                }
            }
            if (fds[1].revents) {
                const ssize_t n = read(message.read_end(), buffer, sizeof buffer);
                if (n > 0) {
                    if (text.size() < kMaxMessage) text.append(buffer, size_t(n));
                } else if (n == 0 || errno != EINTR) {
                    messageOpen = false;
                }
            }
            continue;
        }
        // Both pipes are closed: the importer is ending (or has handed them to a child of its own).
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            exited = true;
        } else if (done < 0 && errno != EINTR) {
            break;
        } else {
            usleep(2000);
        }
    }
    if (!exited) {
        kill(pid, SIGKILL);
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        if (timedOut) {
            return Fail(reason, MODEL_ERR_FORMAT,
                        "the importer did not finish within " + std::to_string(importer.timeoutMs / 1000) +
                            " seconds");
        }
        return Fail(reason, MODEL_ERR_MEMORY,
                    tooLarge ? "the imported model is too large" : "the importer failed");
    }
    if (WIFSIGNALED(status)) {
        return Fail(reason, MODEL_ERR_FORMAT,
                    std::string("the importer crashed (") + strsignal(WTERMSIG(status)) + ")");
    }
    const int exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (exitStatus != 0) return Fail(reason, MODEL_ERR_FORMAT, ImporterReason(text, argument, exitStatus));
    const std::int32_t loaded = ModelLoadMemory(model, stream.data(), stream.size());
    if (loaded != MODEL_OK) {
        return Fail(reason, loaded,
                    "the importer's answer cannot be loaded: " + ModelStatusText(loaded, ModelAccess::Read));
    }
    return MODEL_OK;
}

std::string ForeignFailureText(const std::string& path, const std::string& reason) {
    std::string phrase = reason;
    while (!phrase.empty() && (phrase.back() == '.' || phrase.back() == ' '))
        phrase.pop_back();
    return "Cannot open " + path + ":\n" + phrase + ".";
}

} // namespace editor
