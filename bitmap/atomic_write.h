#pragma once
// Replacing a file all at once: the bytes go to a temporary file beside the target, which is
// flushed, synced and renamed over the target only when every byte was written.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>

namespace bitmap_files {

// Writes the pieces one after the other as the new contents of path. False when anything fails
// (cannot create, short write, full disk, file size limit, sync, rename); the old file is then
// untouched and no temporary file is left behind. A new file gets the usual mode (0666 less the
// umask), a replaced one keeps its mode.
bool write_file_atomically(const char* path, std::initializer_list<std::span<const std::uint8_t>> pieces);

} // namespace bitmap_files
