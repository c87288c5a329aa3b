#pragma once
// Images as one display list that draws a textured quad, kept in a DisplayListSet
// (count 1, width and height in pixels) and freed with font_free.
#include "glview/display_list_set.h"
#include "glview/icon_image.h"
#include "glview/view_context.h"

#include <cstdint>

class Taviron;

namespace glview {

// Largest icon edge accepted, in pixels.
constexpr std::int32_t kMaxIconSize = 4096;

// An n x n quad textured with the icon, drawn upright with its top-left corner at the current
// origin, blended by alpha, unlit, modulated by the current colour. When the icon has no
// alpha at all, alpha comes from the mask (white transparent). An icon whose buffers do not
// hold n x n pixels gives a fully transparent image. Null without a GL context or when n is
// outside 1 to kMaxIconSize.
DisplayListSet* image_from_icon(ViewContext* context, const IconImage& icon, std::int32_t n);
// A unit quad textured with the bitmap, in white; width and height are the bitmap's.
// Null without a GL context or without a bitmap.
DisplayListSet* image_from_bitmap(ViewContext* context, Taviron* bitmap);
// Translates the modelview matrix by (x, y) and calls the image's list; the translation stays.
// VIEW_ERR_NO_LIST for a null image.
std::int32_t image_draw(ViewContext* context, const DisplayListSet* image, std::int32_t x, std::int32_t y);
// As image_draw, then scales by (w, h); w or h 0 stands for the image's width or height.
std::int32_t image_draw_scaled(ViewContext* context, const DisplayListSet* image, std::int32_t x,
                               std::int32_t y, std::int32_t w, std::int32_t h);

} // namespace glview
