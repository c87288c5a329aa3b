#pragma once
// Fills display lists with the glyphs of a GlyphSource. Needs a current GL context.
#include "glview/glyph_source.h"

#include <cstdint>

namespace glview {

// Compiles lists base .. base + 255 with one glBitmap each: the glyph's origin at the raster
// position on the base line, the raster position advanced by the glyph's advance.
void build_bitmap_lists(GlyphSource& glyphs, std::uint32_t base);

// Compiles lists base .. base + 255 with the filled glyph outlines, one em tall as one unit,
// extruded from z = 0 to z = -extrusion when extrusion is not 0; each list ends by
// translating the modelview matrix by the glyph's advance along x.
void build_outline_lists(GlyphSource& glyphs, std::uint32_t base, float deviation, float extrusion);

} // namespace glview
