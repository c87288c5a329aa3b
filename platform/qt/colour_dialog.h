#pragma once
// The colour chooser with a program's 16 custom colours.
#include <array>
#include <cstdint>

class QWidget;

namespace platform {

// Colour values as the old platform packs them: 0x00BBGGRR, red in the low byte.
using ColourRef = std::uint32_t;

constexpr ColourRef rgb(int red, int green, int blue) {
    return static_cast<ColourRef>(red & 0xFF) | static_cast<ColourRef>(green & 0xFF) << 8 |
           static_cast<ColourRef>(blue & 0xFF) << 16;
}
constexpr int red_of(ColourRef c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int green_of(ColourRef c) {
    return static_cast<int>(c >> 8 & 0xFF);
}
constexpr int blue_of(ColourRef c) {
    return static_cast<int>(c >> 16 & 0xFF);
}

// Shows a modal colour chooser owned by `owner`, with `colour` preselected and `custom` as its custom
// colours. On OK stores the choice in `colour` and returns true; on cancel leaves `colour` as it was. Either
// way `custom` receives the custom colours as the user left them.
bool choose_colour(QWidget* owner, ColourRef& colour, std::array<ColourRef, 16>& custom);

} // namespace platform
