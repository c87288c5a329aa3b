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
  // Newlines are counted 16 bytes at a time in byte lanes, which are summed before they can
  // overflow.
  typedef unsigned char Lanes __attribute__((vector_size(16)));
  uint64_t newlines = 0;
  size_t i = 0;
  const Lanes newline = {'\n', '\n', '\n', '\n', '\n', '\n', '\n', '\n',
                         '\n', '\n', '\n', '\n', '\n', '\n', '\n', '\n'};
  while (i + 16 <= size) {
    Lanes counts = {};
    for (int round = 0; round < 255 && i + 16 <= size; ++round, i += 16) {
      Lanes chunk;
      std::memcpy(&chunk, data + i, 16);
      counts -= static_cast<Lanes>(chunk == newline);  // a match is all ones, that is -1
    }
    for (int lane = 0; lane < 16; ++lane) newlines += counts[lane];
  }
  for (; i < size; ++i) newlines += data[i] == '\n';
  const bool unterminated = size > 0 && data[size - 1] != '\n';
  return newlines + size / kAscMaxLineLength + (unterminated ? 1 : 0);
}
