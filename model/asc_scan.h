#pragma once
// Scan patterns for the lines of ASC files. A pattern is text with %d and %f fields and is
// applied to a line the way sscanf applies it with the C locale: a run of white space in the
// pattern matches any run of white space in the line, an empty one included; every other
// pattern character must equal the next line character; %d and %f skip white space and read
// a number exactly as sscanf's %d and %f read it. Scanning stops at the first mismatch, at a
// NUL byte or at the end of the line; fields it does not reach keep their previous values.

#include <cstdint>
#include <string_view>

class AscPattern {
  public:
    enum class Op : uint8_t { SkipSpace, Literal, Int, Float };
    struct Step {
        Op op;
        uint8_t length;  // Literal: number of characters
        uint16_t offset; // Literal: where they start in the pattern text
    };
    static constexpr int kMaxSteps = 32;
    static constexpr int kMaxFields = 8;

    // Compiles a pattern made of %d, %f, white space and other characters. The pattern must
    // outlive the AscPattern; its shape is fixed at compile time by the callers of this module.
    explicit AscPattern(std::string_view pattern);

    // Applies the pattern to line; fields[k] points at the int (%d) or float (%f) that receives
    // the k-th field. Returns the number of fields stored, as sscanf would (never EOF).
    int Scan(std::string_view line, void* const* fields) const;

    int fieldCount() const { return fieldCount_; }

  private:
    std::string_view text_;
    Step steps_[kMaxSteps];
    int stepCount_ = 0;
    int fieldCount_ = 0;
};

// Reads a %d field at p (white space already skipped). On success stores the value into *out
// and returns the position behind the number; returns null when %d would fail (no digits).
const char* AscReadInt(const char* p, const char* end, int32_t* out);

// Reads a %f field at p (white space already skipped): consumes exactly the characters that
// sscanf's %f consumes and converts them as strtof does. Returns null (and leaves *out alone)
// when %f would fail; otherwise the position behind the consumed characters.
const char* AscReadFloat(const char* p, const char* end, float* out);

// True for the characters isspace accepts in the C locale.
inline bool AscIsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
