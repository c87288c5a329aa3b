#include "model/interchange_float.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

// The reader takes at most this many decimals after the point and scales them by this table.
constexpr unsigned kReaderDecimals = 15;
constexpr double kReaderScale[16] = {0.0,
                                     0.1,
                                     0.01,
                                     0.001,
                                     0.0001,
                                     0.00001,
                                     0.000001,
                                     1e-7,
                                     0.00000001,
                                     0.000000001,
                                     0.0000000001,
                                     0.00000000001,
                                     0.000000000001,
                                     0.0000000000001,
                                     0.00000000000001,
                                     0.000000000000001};

uint64_t ReadDigits(const char*& c, unsigned maxDigits, unsigned* taken) {
    uint64_t value = 0;
    unsigned n = 0;
    while (*c >= '0' && *c <= '9') {
        if (n < maxDigits) {
            value = value * 10 + uint64_t(*c - '0');
            ++n;
        }
        ++c;
    }
    if (taken) *taken = n;
    return value;
}

// Fixed notation with `decimals` digits after the point, trailing zeros of the fraction removed.
std::string Fixed(float magnitude, int decimals) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, double(magnitude));
    std::string s = buf;
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    return s;
}

// A fixed-notation text of magnitude (> 0) that reads back exactly, or empty.
std::string ExactFixed(float magnitude) {
    if (double(magnitude) >= 1e19) return {}; // the integer part would not fit the reader's 64 bits
    const int lead = int(std::floor(std::log10(double(magnitude))));
    int first = 8 - lead; // nine significant digits
    if (first < 0) first = 0;
    for (int decimals = first; decimals <= int(kReaderDecimals); ++decimals) {
        std::string s = Fixed(magnitude, decimals);
        if (ReadLikeModelReader(s.c_str()) == magnitude) return s;
    }
    return {};
}

} // namespace

float ReadLikeModelReader(const char* c) {
    const bool negative = *c == '-';
    if (negative || *c == '+') ++c;
    float f = 0;
    if (*c != '.') f = static_cast<float>(ReadDigits(c, 64, nullptr));
    if (*c == '.' && c[1] >= '0' && c[1] <= '9') {
        ++c;
        unsigned taken = 0;
        const double fraction = double(ReadDigits(c, kReaderDecimals, &taken)) * kReaderScale[taken];
        f += static_cast<float>(fraction);
    }
    if (*c == 'e' || *c == 'E') {
        ++c;
        const bool negativeExp = *c == '-';
        if (negativeExp || *c == '+') ++c;
        float exponent = static_cast<float>(ReadDigits(c, 64, nullptr));
        if (negativeExp) exponent = -exponent;
        f *= std::pow(10.0f, exponent);
    }
    return negative ? -f : f;
}

void AppendExactFloat(std::string& out, float value) {
    if (std::isnan(value)) {
        out += "nan";
        return;
    }
    if (std::signbit(value)) out += '-';
    const float magnitude = std::fabs(value);
    if (std::isinf(magnitude)) {
        out += "inf";
        return;
    }
    if (magnitude == 0) {
        out += '0';
        return;
    }
    std::string fixed = ExactFixed(magnitude);
    if (!fixed.empty()) {
        out += fixed;
        return;
    }
    // A mantissa m that reads exactly, times the reader's own power of ten, rounded in single
    // precision: look for an m near magnitude / 10^e whose product lands on the value.
    const int lead = int(std::floor(std::log10(double(magnitude))));
    for (int shift : {0, 1, -1, 2, -2, 3, -3}) {
        const int exponent = lead - 4 + shift;
        const float power = std::pow(10.0f, float(exponent));
        if (power == 0 || std::isinf(power)) continue;
        const float guess = float(double(magnitude) / double(power));
        float m = guess;
        for (int i = 0; i < 4; ++i)
            m = std::nextafter(m, 0.0f);
        for (int i = 0; i < 9; ++i, m = std::nextafter(m, std::numeric_limits<float>::infinity())) {
            if (m * power != magnitude) continue;
            std::string mantissa = ExactFixed(m);
            if (mantissa.empty()) continue;
            out += mantissa;
            out += 'e';
            out += std::to_string(exponent);
            return;
        }
    }
    // Nothing reads back exactly (some subnormals): the nearest nine-digit text.
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", double(magnitude));
    out += buf;
}
