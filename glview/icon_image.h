#pragma once
// A square icon as the programs keep it: colour pixels with an optional alpha channel and a
// transparency mask, both top row first.
#include <cstdint>
#include <vector>

namespace glview {

struct IconImage {
    std::int32_t size = 0;          // edge length n in pixels
    std::vector<std::uint8_t> bgra; // n * n * 4 bytes: blue, green, red, alpha
    std::vector<std::uint8_t> mask; // n * n bytes: 255 (white) transparent, 0 (black) opaque
};

} // namespace glview
