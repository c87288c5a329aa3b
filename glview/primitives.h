#pragma once
// Points, lines and rectangle outlines in window pixels (under the flat projection).
// Colours are 0x00BBGGRR; kKeepColour (0xFF000000) keeps the current colour. The current
// colour, point, line and enable state are restored afterwards; the blend function is left
// at source alpha, one minus source alpha. VIEW_ERR_NO_CONTEXT without a GL context.
#include "glview/colour_ref.h"
#include "glview/view_context.h"

#include <cstdint>

namespace glview {

// A smooth, blended point of `size` pixels at (x, y).
std::int32_t draw_point(ViewContext* context, std::int32_t x, std::int32_t y, float size,
                        std::uint32_t colour);
// A line from (x1, y1) in colour1 to (x2, y2) in colour2; smoothed unless width is exactly 1.
std::int32_t draw_line(ViewContext* context, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                       std::int32_t y2, float width, std::uint32_t colour1, std::uint32_t colour2);
// The outline through (x1, y1), (x2, y1), (x2, y2), (x1, y2), each corner in its own colour.
std::int32_t draw_rect(ViewContext* context, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                       std::int32_t y2, float width, std::uint32_t colour1, std::uint32_t colour2,
                       std::uint32_t colour3, std::uint32_t colour4);

} // namespace glview
