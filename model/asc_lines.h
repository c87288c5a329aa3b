#pragma once
// Splits the bytes of an ASC file into lines the way fgets with a 2048-byte buffer does: a
// line ends behind its '\n', at the end of the data, or after 2047 characters, in which case
// the rest of the physical line is read as the next line. The bytes come from memory or are
// streamed from an open file through a caller's buffer.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

inline constexpr size_t kAscMaxLineLength = 2047;

class AscLineReader {
  public:
    // Reads lines from bytes in memory.
    AscLineReader(const char* data, size_t size) : cur_(data), end_(data + size) {}
    // Reads lines from file through buffer (capacity at least 4096 bytes), from where it stands.
    AscLineReader(FILE* file, char* buffer, size_t capacity)
        : cur_(buffer), end_(buffer), file_(file), buffer_(buffer), capacity_(capacity), eof_(false) {}

    // Gives the next line without its '\n'; false at the end of the data. The line stays valid
    // until the next call.
    bool Next(std::string_view& line);

    // Lines handed out so far, and how many of them were content lines (AscIsContentLine).
    uint64_t linesRead() const { return linesRead_; }
    uint64_t contentLinesRead() const { return contentLinesRead_; }
    // Whether reading the file failed; the lines then ended early.
    bool failed() const { return failed_; }

  private:
    void Refill();

    const char* cur_;
    const char* end_;
    FILE* file_ = nullptr;
    char* buffer_ = nullptr;
    size_t capacity_ = 0;
    bool eof_ = true;
    bool failed_ = false;
    uint64_t linesRead_ = 0;
    uint64_t contentLinesRead_ = 0;
};

// Counts the content lines (AscIsContentLine) that AscLineReader gives for bytes given in
// pieces: only they can hold a vertex or a face, so blank lines and comments do not count.
class AscLineCounter {
  public:
    void Add(const char* data, size_t size);
    // Content lines among all bytes added, exactly as the reader splits them.
    uint64_t contentLines() const { return contentLines_; }

  private:
    uint64_t contentLines_ = 0;
    uint64_t column_ = 0; // bytes of the current physical line seen so far
};

// The content lines AscLineReader gives for these bytes.
uint64_t AscContentLines(const char* data, size_t size);

// Whether line begins with keyword (case-sensitive).
inline bool AscStartsWith(std::string_view line, std::string_view keyword) {
    return line.size() >= keyword.size() && (keyword.empty() || line[0] == keyword[0]) &&
           line.compare(0, keyword.size(), keyword) == 0;
}

// A content line begins with an ASCII letter or digit; other lines are skipped wherever
// vertex or face lines are expected.
inline bool AscIsContentLine(std::string_view line) {
    if (line.empty()) return false;
    const unsigned char c = static_cast<unsigned char>(line[0]);
    return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}
