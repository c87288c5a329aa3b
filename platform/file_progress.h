#pragma once
// File work that reports how far it is: bytes done of a total, written by the thread doing the
// work and read by the window showing it. Loads read the whole file into memory first; saves
// write atomically (platform/atomic_file.h) and compress exactly as a one-shot level-9 zlib
// compression of the same bytes would.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <span>
#include <vector>

namespace platform {

struct FileProgress {
    std::atomic<std::uint64_t> done{0};
    std::atomic<std::uint64_t> total{0};
};

// Reads the whole file at `path` into `out`, counting bytes in `progress`. False when it cannot
// be opened or read, or is too large for memory; `out` is then empty.
bool read_file_with_progress(const char* path, std::vector<std::uint8_t>& out, FileProgress& progress);

// Writes `header`, then the `pieces` one after the other, into `file`: as they are, or with
// `compressed` as one zlib stream at level 9 of all the pieces together. Counts the bytes of the
// pieces in `progress`. False when writing fails or zlib refuses (`zlib_status` then holds its
// code, else 0).
bool write_pieces_with_progress(std::FILE* file, std::span<const std::uint8_t> header,
                                std::initializer_list<std::span<const std::uint8_t>> pieces, bool compressed,
                                FileProgress& progress, int& zlib_status);

} // namespace platform
