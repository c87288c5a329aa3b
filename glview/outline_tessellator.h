#pragma once
// Fills flattened glyph outlines with triangles through the GLU tessellator.
#include "glview/glyph_source.h"

#include <array>
#include <vector>

namespace glview {

// Triangles covering the filled area of `outline` under its fill rule, three points each,
// every triangle counter-clockwise seen from +z. Empty when the outline encloses nothing
// or the tessellator reports an error.
std::vector<std::array<double, 2>> tessellate_outline(const GlyphOutline& outline);

} // namespace glview
