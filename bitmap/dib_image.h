#pragma once
// A device-independent 32-bit picture as the old platform hands bitmaps out and takes them in:
// width x height pixels of 4 bytes blue, green, red and one unused byte, bottom row first,
// no padding between rows.
#include <cstdint>

struct DibImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    // width * height * 4 bytes, rows from the bottom of the picture to its top; not owned.
    const std::uint8_t* pixels = nullptr;
};
