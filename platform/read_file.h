#pragma once
// Reading files for the readers of outside formats: only regular files, lengths known before
// anything is allocated. The counterpart of write_file_atomically.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace platform {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Opens `path` for reading and stores its length in `length`. Null when it cannot be opened or is
// not a regular file (errno EISDIR for a directory, EINVAL for another kind of file).
FilePtr open_regular_file(const char* path, std::uint64_t& length);

enum class ReadStatus { ok, failed, too_long, no_memory };

// Reads the whole regular file `path` into `bytes`. failed: it cannot be opened or read, or is not
// a regular file (errno tells why). too_long: it is longer than `max_bytes`; `bytes` then holds at
// most its first `head_bytes`, enough to say what the file is. no_memory: no room for its bytes.
// A file that shrinks while it is read gives the bytes that were there.
ReadStatus read_regular_file(const char* path, std::vector<std::uint8_t>& bytes, std::uint64_t max_bytes,
                             std::size_t head_bytes = 0);

} // namespace platform
