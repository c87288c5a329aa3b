#pragma once
// Replacing a file all at once: the new contents go to a temporary file beside the target, which
// is flushed, synced and renamed over the target only when every byte was written.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <span>

namespace platform {

// False when path names something a save must not replace: a directory (errno EISDIR) or an
// existing file the caller may not write (errno from access). True when it is absent or writable.
bool replaceable_file(const char* path);

// Creates a temporary beside path and calls write with it open for writing; when write returns
// true and the bytes are flushed and synced, renames the temporary over path. False when anything
// fails; the old file is then untouched, no temporary is left and errno tells the first failure.
// A new file gets 0666 less the umask, a replaced one keeps its mode.
bool write_file_atomically(const char* path, const std::function<bool(std::FILE*)>& write);

// The same, with the pieces written one after the other as the whole contents.
bool write_file_atomically(const char* path, std::initializer_list<std::span<const std::uint8_t>> pieces);

} // namespace platform
