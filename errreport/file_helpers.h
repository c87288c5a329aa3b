#pragma once
// Small helpers for open stdio files.
#include <cstdint>
#include <cstdio>

namespace errreport {

// The file's length in bytes, leaving its position where it was; -1 if the file cannot seek.
std::int64_t file_length(std::FILE* file);

// Moves the file position back by one byte; at the start (or on a file that cannot seek) nothing moves.
void file_step_back(std::FILE* file);

} // namespace errreport
