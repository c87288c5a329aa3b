#include "platform/read_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <new>

namespace platform {

FilePtr open_regular_file(const char* path, std::uint64_t& length) {
    if (path == nullptr) {
        errno = EINVAL;
        return nullptr;
    }
    FilePtr file(std::fopen(path, "rb"));
    if (!file) return nullptr;
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0) return nullptr;
    if (!S_ISREG(info.st_mode) || info.st_size < 0) {
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return nullptr;
    }
    length = static_cast<std::uint64_t>(info.st_size);
    return file;
}

ReadStatus read_regular_file(const char* path, std::vector<std::uint8_t>& bytes, std::uint64_t max_bytes,
                             std::size_t head_bytes) {
    std::uint64_t length = 0;
    const FilePtr file = open_regular_file(path, length);
    if (!file) return ReadStatus::failed;
    const bool too_long = length > max_bytes;
    const std::uint64_t wanted = too_long ? std::min<std::uint64_t>(head_bytes, length) : length;
    if (wanted > bytes.max_size()) return ReadStatus::no_memory;
    try {
        bytes.assign(static_cast<std::size_t>(wanted), 0);
    } catch (const std::bad_alloc&) {
        return ReadStatus::no_memory;
    }
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (std::ferror(file.get())) return ReadStatus::failed;
    bytes.resize(got);
    return too_long ? ReadStatus::too_long : ReadStatus::ok;
}

} // namespace platform
