#pragma once
// The 0x00BBGGRR colour value of the toolkit's arguments.
#include <cstdint>

namespace glview {

// Primitives keep the current colour when given this value.
constexpr std::uint32_t kKeepColour = 0xFF000000u;

constexpr float colour_red(std::uint32_t c) {
    return float(double(c & 0xFFu) / 255.0);
}
constexpr float colour_green(std::uint32_t c) {
    return float(double((c >> 8) & 0xFFu) / 255.0);
}
constexpr float colour_blue(std::uint32_t c) {
    return float(double((c >> 16) & 0xFFu) / 255.0);
}

} // namespace glview
