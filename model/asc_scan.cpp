#include "model/asc_scan.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Runs f on a NUL-terminated copy of [begin, end). Tokens come from lines of at most 2047
// characters, so the stack buffer nearly always serves; longer ones get a heap copy.
// Kept out of line: its buffer would otherwise enlarge the frames of the hot readers.
template <typename F> [[gnu::noinline]] bool WithTerminatedCopy(const char* begin, const char* end, F&& f) {
    const size_t n = static_cast<size_t>(end - begin);
    char local[4096];
    char* text = local;
    if (n >= sizeof local) {
        text = static_cast<char*>(std::malloc(n + 1));
        if (text == nullptr) return false;
    }
    std::memcpy(text, begin, n);
    text[n] = '\0';
    const bool ok = f(text, n);
    if (text != local) std::free(text);
    return ok;
}

// Whether the characters at p, case-insensitively, spell word (all of it).
bool MatchesWord(const char* p, const char* end, const char* word) {
    for (; *word != '\0'; ++p, ++word) {
        if (p == end || Lower(*p) != *word) return false;
    }
    return true;
}

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The common plain decimal, [digits][.digits] behind an optional sign, converted without
// from_chars when that is exact: with at most 2^53 as the digits and at most 22 decimals, both
// numbers are exact doubles and their quotient is the correctly rounded double. Rounding that
// double to float gives the correctly rounded float unless it lies exactly halfway between two
// floats, which is left to the general path. Returns null when the general path must decide
// (also when the characters behind could still belong to the number).
const char* ReadPlainDecimal(const char* p, const char* end, bool negative, float* out) {
    uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    bool dot = false;
    for (; p != end; ++p) {
        const char c = *p;
        if (IsDigit(c)) {
            if (digits < 19) mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
            ++digits;
            decimals += dot;
        } else if (c == '.' && !dot) {
            dot = true;
        } else {
            break;
        }
    }
    if (digits == 0 || digits > 19 || decimals > 22 || mantissa > (uint64_t{1} << 53)) return nullptr;
    if (p != end && (Lower(*p) == 'e' || Lower(*p) == 'x')) return nullptr;
    const double value = static_cast<double>(mantissa) / kPowersOfTen[decimals];
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    constexpr uint64_t kBelowFloat = (uint64_t{1} << 29) - 1; // double bits a float drops
    if ((bits & kBelowFloat) == (uint64_t{1} << 28)) return nullptr;
    const float rounded = static_cast<float>(value);
    *out = negative ? -rounded : rounded;
    return p;
}

[[gnu::always_inline]] inline const char* ReadInt(const char* p, const char* end, int32_t* out) {
    const char* const start = p;
    bool negative = false;
    if (p != end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    const char* const digits = p;
    uint64_t value = 0;
    while (p != end && IsDigit(*p)) {
        value = value * 10 + static_cast<uint64_t>(*p - '0'); // exact for up to 19 digits
        ++p;
    }
    if (p == digits) return nullptr;
    long number;
    if (p - digits <= 18) {
        number = negative ? -static_cast<long>(value) : static_cast<long>(value);
    } else {
        // Too long to be exact above: let strtol saturate the way %d does.
        number = 0;
        if (!WithTerminatedCopy(start, p, [&](const char* text, size_t) {
                number = std::strtol(text, nullptr, 10);
                return true;
            })) {
            return nullptr;
        }
    }
    // %d stores the long that strtol gave into an int: modulo 2^32.
    *out = static_cast<int32_t>(static_cast<uint32_t>(static_cast<unsigned long>(number)));
    return p;
}

[[gnu::always_inline]] inline const char* ReadFloat(const char* p, const char* end, float* out) {
    const char* const start = p;
    bool sign = false;
    bool plus = false;
    if (p != end && (*p == '-' || *p == '+')) {
        sign = true;
        plus = *p == '+';
        ++p;
        if (p == end) return nullptr;
    }
    if (p == end) return nullptr;

    if (!plus && (IsDigit(*p) || *p == '.')) {
        if (const char* next = ReadPlainDecimal(p, end, sign, out)) return next;
    }

    bool special = false; // inf, infinity or nan
    bool hex = false;
    if (Lower(*p) == 'n') {
        if (!MatchesWord(p, end, "nan")) return nullptr;
        p += 3;
        special = true;
    } else if (Lower(*p) == 'i') {
        if (!MatchesWord(p, end, "inf")) return nullptr;
        p += 3;
        // After "inf" an 'i' commits to "infinity": a partial spelling fails the field.
        if (p != end && Lower(*p) == 'i') {
            if (!MatchesWord(p, end, "inity")) return nullptr;
            p += 5;
        }
        special = true;
    } else {
        char expChar = 'e';
        bool gotDigit = false, gotDot = false, gotE = false;
        if (*p == '0') {
            ++p;
            if (p != end && Lower(*p) == 'x') {
                hex = true;
                expChar = 'p';
                ++p;
            } else {
                gotDigit = true;
            }
        }
        for (; p != end; ++p) {
            const char c = *p;
            if (IsDigit(c)) {
                gotDigit = true;
            } else if (!gotE && hex && IsHexDigit(c)) {
                gotDigit = true;
            } else if (gotE && Lower(p[-1]) == expChar && (c == '-' || c == '+')) {
                // sign of the exponent
            } else if (gotDigit && !gotE && Lower(c) == expChar) {
                gotE = gotDot = true;
            } else if (!gotDot && c == '.') {
                gotDot = true;
            } else {
                break;
            }
        }
        const ptrdiff_t consumed = p - start;
        if (consumed == (sign ? 1 : 0) || (hex && consumed == 2 + (sign ? 1 : 0))) return nullptr;
    }

    if (!special && !hex && !plus) {
        float value;
        const auto result = std::from_chars(start, p, value, std::chars_format::general);
        if (result.ec == std::errc() && result.ptr == p) {
            *out = value;
            return p;
        }
    }
    // Everything from_chars does not take whole (a '+', hexadecimal, inf, nan, out of range, a
    // dangling exponent such as "1e") is converted by strtof, which %f uses; it stores a value
    // whenever strtof takes at least one character.
    bool stored = false;
    WithTerminatedCopy(start, p, [&](const char* text, size_t) {
        char* stop = nullptr;
        const int savedErrno = errno;
        const float value = std::strtof(text, &stop);
        errno = savedErrno;
        if (stop != text) {
            *out = value;
            stored = true;
        }
        return true;
    });
    return stored ? p : nullptr;
}

} // namespace

const char* AscReadInt(const char* p, const char* end, int32_t* out) {
    return ReadInt(p, end, out);
}

const char* AscReadFloat(const char* p, const char* end, float* out) {
    return ReadFloat(p, end, out);
}

AscPattern::AscPattern(std::string_view pattern) : text_(pattern) {
    size_t i = 0;
    auto push = [&](Op op, size_t offset, size_t length) {
        if (stepCount_ < kMaxSteps) {
            steps_[stepCount_++] = Step{op, static_cast<uint8_t>(length), static_cast<uint16_t>(offset)};
        }
    };
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (AscIsSpace(c)) {
            while (i < pattern.size() && AscIsSpace(pattern[i]))
                ++i;
            push(Op::SkipSpace, 0, 0);
        } else if (c == '%' && i + 1 < pattern.size() && (pattern[i + 1] == 'd' || pattern[i + 1] == 'f')) {
            if (fieldCount_ < kMaxFields) {
                push(pattern[i + 1] == 'd' ? Op::Int : Op::Float, 0, 0);
                ++fieldCount_;
            }
            i += 2;
        } else {
            const size_t begin = i;
            while (i < pattern.size() && i - begin < 255 && !AscIsSpace(pattern[i]) &&
                   !(pattern[i] == '%' && i + 1 < pattern.size() &&
                     (pattern[i + 1] == 'd' || pattern[i + 1] == 'f'))) {
                ++i;
            }
            push(Op::Literal, begin, i - begin);
        }
    }
}

int AscPattern::Scan(std::string_view line, void* const* fields) const {
    const char* p = line.data();
    const char* const end = p + line.size();
    int stored = 0;
    for (int s = 0; s < stepCount_; ++s) {
        const Step& step = steps_[s];
        switch (step.op) {
        case Op::SkipSpace:
            while (p != end && AscIsSpace(*p))
                ++p;
            break;
        case Op::Literal: {
            if (static_cast<size_t>(end - p) < step.length) return stored;
            const char* expected = text_.data() + step.offset;
            for (int k = 0; k < step.length; ++k) {
                if (p[k] != expected[k]) return stored;
            }
            p += step.length;
            break;
        }
        case Op::Int:
        case Op::Float: {
            while (p != end && AscIsSpace(*p))
                ++p;
            const char* next = step.op == Op::Int ? ReadInt(p, end, static_cast<int32_t*>(fields[stored]))
                                                  : ReadFloat(p, end, static_cast<float*>(fields[stored]));
            if (next == nullptr) return stored;
            p = next;
            ++stored;
            break;
        }
        }
    }
    return stored;
}
