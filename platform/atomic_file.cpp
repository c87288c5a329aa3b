#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace platform {

namespace {

// Permissions for the new file: those of the file it replaces, else what the umask allows.
mode_t mode_for(const char* path) {
    struct stat existing {};
    if (::stat(path, &existing) == 0) return existing.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Makes the rename itself durable. The file is in place already, so a failure here is no
// reason to report the save as failed.
void sync_directory_of(const char* path) {
    std::string dir(path);
    const std::size_t slash = dir.find_last_of('/');
    dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : dir.substr(0, slash));
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

bool replaceable_file(const char* path) {
    struct stat st {};
    if (::stat(path, &st) != 0) return true;
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return false;
    }
    return ::access(path, W_OK) == 0;
}

bool write_file_atomically(const char* path, const std::function<bool(std::FILE*)>& write) {
    if (path == nullptr || *path == '\0') {
        errno = ENOENT;
        return false;
    }
    std::string temp = std::string(path) + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    std::FILE* file = ::fchmod(fd, mode_for(path)) == 0 ? ::fdopen(fd, "wb") : nullptr;
    bool ok = false;
    int saved_errno = errno;
    if (file != nullptr) {
        ok = write(file) && std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
        saved_errno = errno;
        if (std::fclose(file) != 0 && ok) {
            ok = false;
            saved_errno = errno;
        }
    } else {
        ::close(fd);
    }
    if (ok && std::rename(temp.c_str(), path) != 0) {
        ok = false;
        saved_errno = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        errno = saved_errno;
        return false;
    }
    sync_directory_of(path);
    return true;
}

bool write_file_atomically(const char* path, std::initializer_list<std::span<const std::uint8_t>> pieces) {
    return write_file_atomically(path, [pieces](std::FILE* file) {
        for (const auto& piece : pieces)
            if (!piece.empty() && std::fwrite(piece.data(), 1, piece.size(), file) != piece.size())
                return false;
        return true;
    });
}

} // namespace platform
