#include "model/asc_lines.h"

#include <cstring>

bool AscLineReader::Next(std::string_view& line) {
  if (cur_ == end_) return false;
  const size_t available = static_cast<size_t>(end_ - cur_);
  const size_t limit = available < kAscMaxLineLength ? available : kAscMaxLineLength;
  const char* newline = static_cast<const char*>(std::memchr(cur_, '\n', limit));
  if (newline != nullptr) {
    line = std::string_view(cur_, static_cast<size_t>(newline - cur_));
    cur_ = newline + 1;
  } else {
    line = std::string_view(cur_, limit);
    cur_ += limit;
  }
  ++linesRead_;
  return true;
}

uint64_t AscLineBound(const char* data, size_t size) {
  // Every line ends at a '\n', after 2047 characters or at the end of the data, so the lines
  // number at most the newlines plus the forced breaks plus an unterminated last line.
  uint64_t newlines = 0;
  size_t i = 0;
  constexpr uint64_t kLow7 = 0x7f7f7f7f7f7f7f7fULL;
  constexpr uint64_t kNewlines = 0x0a0a0a0a0a0a0a0aULL;
  for (; i + 8 <= size; i += 8) {
    uint64_t word;
    std::memcpy(&word, data + i, 8);
    const uint64_t x = word ^ kNewlines;  // zero bytes where the newlines are
    const uint64_t zeros = ~(((x & kLow7) + kLow7) | x | kLow7);
    newlines += static_cast<uint64_t>(__builtin_popcountll(zeros));
  }
  for (; i < size; ++i) newlines += data[i] == '\n';
  const bool unterminated = size > 0 && data[size - 1] != '\n';
  return newlines + size / kAscMaxLineLength + (unterminated ? 1 : 0);
}
