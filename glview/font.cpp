#include "glview/font.h"

#include "glview/font_lists.h"
#include "glview/glyph_source.h"

#include <GL/gl.h>

#include <cmath>

namespace glview {
namespace {

// Glyphs are drawn in device pixels; a font asked for in window units is rasterised at the
// view's scale so that text keeps its size relative to the window.
std::int32_t scaled(std::int32_t size, const ViewContext* context) {
    return std::int32_t(std::lround(size * context->pixelRatio));
}

DisplayListSet* make_bitmap_font(GlyphRequest request, const ViewContext* context) {
    auto* set = new DisplayListSet{};
    glLoadIdentity();
    set->base = glGenLists(256);
    set->count = 256;
    request.height = scaled(request.height, context);
    request.width = scaled(request.width, context);
    GlyphSource glyphs(request);
    set->charWidth = std::int32_t(std::lround(glyphs.advance_pixels('A') / context->pixelRatio));
    // A face that cannot be found still yields 256 lists; they draw nothing.
    if (set->base != 0) build_bitmap_lists(glyphs, set->base);
    return set;
}

} // namespace

DisplayListSet* font_create_bitmap(ViewContext* context, std::int32_t height, std::int32_t weight,
                                   std::int32_t italic, std::int32_t charset, std::int32_t pitchAndFamily,
                                   const char* face) {
    return font_create_bitmap_sized(context, height, weight, italic, charset, pitchAndFamily, face, 0);
}

DisplayListSet* font_create_bitmap_sized(ViewContext* context, std::int32_t height, std::int32_t weight,
                                         std::int32_t italic, std::int32_t /*charset*/,
                                         std::int32_t pitchAndFamily, const char* face, std::int32_t width) {
    if (!view_has_context(context)) return nullptr;
    GlyphRequest request;
    request.face = face ? face : "";
    request.height = height;
    request.width = width;
    request.weight = weight;
    request.italic = italic;
    request.pitchAndFamily = pitchAndFamily;
    return make_bitmap_font(request, context);
}

DisplayListSet* font_create_bitmap_double(ViewContext* context, std::int32_t height, std::int32_t weight,
                                          std::int32_t italic, std::int32_t charset,
                                          std::int32_t pitchAndFamily, const char* face) {
    return font_create_bitmap_sized(context, 2 * height, weight, italic, charset, pitchAndFamily, face, 0);
}

DisplayListSet* font_from_handle(ViewContext* context, const FontDescription& font) {
    if (!view_has_context(context)) return nullptr;
    GlyphRequest request;
    request.face = font.face;
    request.height = font.height;
    request.weight = font.weight;
    request.italic = font.italic;
    return make_bitmap_font(request, context);
}

DisplayListSet* font_create_outline(ViewContext* context, std::int32_t height, std::int32_t weight,
                                    float deviation, float extrusion, std::int32_t italic,
                                    std::int32_t /*charset*/, std::int32_t pitchAndFamily, const char* face) {
    if (!view_has_context(context)) return nullptr;
    auto* set = new DisplayListSet{};
    glLoadIdentity();
    set->base = glGenLists(256);
    set->count = 256;
    GlyphRequest request;
    request.face = face ? face : "";
    request.height = height;
    request.weight = weight;
    request.italic = italic;
    request.pitchAndFamily = pitchAndFamily;
    GlyphSource glyphs(request);
    if (set->base != 0) build_outline_lists(glyphs, set->base, deviation, extrusion);
    return set;
}

std::int32_t font_free(ViewContext* context, DisplayListSet* set) {
    if (!view_has_context(context)) return VIEW_ERR_NO_CONTEXT;
    if (!set) return VIEW_ERR_NO_LIST;
    if (set->base != 0 && set->count > 0) glDeleteLists(set->base, set->count);
    delete set;
    return VIEW_OK;
}

} // namespace glview
