#pragma once
// Dialog units: a template's coordinates scaled by its font. The horizontal base unit is the
// average width of the 52 letters A-Z and a-z, the vertical one the font height; x maps to
// x * base width / 4 and y to y * base height / 8, rounded to the nearest pixel.
#include <QFont>
#include <QRect>
#include <string>

namespace platform {

struct DialogBaseUnits {
    int x = 0; // average letter width, pixels
    int y = 0; // font height, pixels
};

// a * b / c rounded to the nearest integer, halves away from zero; c must not be 0.
int mul_div(int a, int b, int c);

// The font a template names at `points`, sized for the logical resolution of the primary screen.
QFont dialog_font(const std::string& name, int points);

// The base units of `font`: (letters' width / 26 + 1) / 2 and the font's height.
DialogBaseUnits dialog_base_units(const QFont& font);

// Converts a rectangle in dialog units to pixels.
QRect map_dialog_rect(const QRect& units, const DialogBaseUnits& base);

} // namespace platform
