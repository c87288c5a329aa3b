#pragma once
// Splits the bytes of an ASC file into lines the way fgets with a 2048-byte buffer does: a
// line ends behind its '\n', at the end of the data, or after 2047 characters, in which case
// the rest of the physical line is read as the next line.

#include <cstddef>
#include <cstdint>
#include <string_view>

inline constexpr size_t kAscMaxLineLength = 2047;

class AscLineReader {
 public:
  AscLineReader(const char* data, size_t size) : cur_(data), end_(data + size) {}

  // Gives the next line without its '\n'; false at the end of the data.
  bool Next(std::string_view& line);

  // Lines handed out so far.
  uint64_t linesRead() const { return linesRead_; }

 private:
  const char* cur_;
  const char* end_;
  uint64_t linesRead_ = 0;
};

// An upper bound of the number of lines AscLineReader gives for these bytes (never less).
uint64_t AscLineBound(const char* data, size_t size);

// Whether line begins with keyword (case-sensitive).
inline bool AscStartsWith(std::string_view line, std::string_view keyword) {
  return line.size() >= keyword.size() && line.compare(0, keyword.size(), keyword) == 0;
}

// A content line begins with an ASCII letter or digit; other lines are skipped wherever
// vertex or face lines are expected.
inline bool AscIsContentLine(std::string_view line) {
  if (line.empty()) return false;
  const unsigned char c = static_cast<unsigned char>(line[0]);
  return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}
