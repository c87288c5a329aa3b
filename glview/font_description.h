#pragma once
// A font as the programs describe it: what font_from_handle takes in place of a platform font.
#include <cstdint>
#include <string>

namespace glview {

struct FontDescription {
    std::string face;        // family name; fontconfig picks an installed face when it is missing
    std::int32_t height = 0; // > 0: cell height in pixels, < 0: em height in pixels, 0: default size
    std::int32_t weight = 0; // 0 default (400), else 100 (thin) to 900 (black)
    std::int32_t italic = 0; // non-zero asks for the italic style
};

} // namespace glview
