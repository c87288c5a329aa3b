#pragma once
// Rectangles and colour values of the bitmap editor's window, in client pixels.
#include <cstdint>

namespace bmpedit {

// Platform colour value 0x00BBGGRR, red in the low byte.
using Colour = std::uint32_t;

constexpr Colour rgb(int red, int green, int blue) {
    return static_cast<Colour>(red & 0xFF) | static_cast<Colour>(green & 0xFF) << 8 |
           static_cast<Colour>(blue & 0xFF) << 16;
}
constexpr int red_of(Colour c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int green_of(Colour c) {
    return static_cast<int>(c >> 8 & 0xFF);
}
constexpr int blue_of(Colour c) {
    return static_cast<int>(c >> 16 & 0xFF);
}

// Left and top inside, right and bottom outside the rectangle.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

} // namespace bmpedit
