#pragma once
// A run of display lists with the metrics of what they draw: a font (256 lists) or an image (1).
#include <cstdint>

namespace glview {

struct DisplayListSet {
    std::uint32_t base = 0;     // first list; a font's list for byte c is base + c
    std::int32_t count = 0;     // 256 for fonts, 1 for images
    std::int32_t width = 0;     // images: width in pixels
    std::int32_t height = 0;    // images: height in pixels
    std::int32_t charWidth = 0; // bitmap fonts: advance of "A" in window units (pixels at scale 1)
};
static_assert(sizeof(DisplayListSet) == 20);

} // namespace glview
