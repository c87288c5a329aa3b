#pragma once
// Fonts as 256 display lists, one per byte: bitmap glyphs for flat text at a raster position,
// outline glyphs as geometry. Every creator returns null when the context has no GL context;
// the set belongs to the caller and is freed with font_free in the same GL context.
#include "glview/display_list_set.h"
#include "glview/font_description.h"
#include "glview/view_context.h"

#include <cstdint>

namespace glview {

// Bitmap font of the given cell height and default width, in window units (pixels at scale 1;
// the glyphs are rasterised at the view's pixelRatio). weight 0 is normal,
// italic non-zero asks for italic, charset is ignored (bytes 128 to 255 are Windows-1252),
// pitchAndFamily picks a generic family when the face is not installed. Fills charWidth.
DisplayListSet* font_create_bitmap(ViewContext* context, std::int32_t height, std::int32_t weight,
                                   std::int32_t italic, std::int32_t charset, std::int32_t pitchAndFamily,
                                   const char* face);
// As font_create_bitmap with an average character width in pixels (0: from the height).
DisplayListSet* font_create_bitmap_sized(ViewContext* context, std::int32_t height, std::int32_t weight,
                                         std::int32_t italic, std::int32_t charset,
                                         std::int32_t pitchAndFamily, const char* face, std::int32_t width);
// As font_create_bitmap at twice the height.
DisplayListSet* font_create_bitmap_double(ViewContext* context, std::int32_t height, std::int32_t weight,
                                          std::int32_t italic, std::int32_t charset,
                                          std::int32_t pitchAndFamily, const char* face);
// Bitmap font from a description the caller keeps.
DisplayListSet* font_from_handle(ViewContext* context, const FontDescription& font);
// Outline font: glyphs one em tall as one unit, curves cut to `deviation` em (0: finest),
// extruded along -z by `extrusion` (0: flat). charWidth stays 0.
DisplayListSet* font_create_outline(ViewContext* context, std::int32_t height, std::int32_t weight,
                                    float deviation, float extrusion, std::int32_t italic,
                                    std::int32_t charset, std::int32_t pitchAndFamily, const char* face);
// Deletes the set's lists and frees it (fonts and images alike). VIEW_ERR_NO_LIST for a null set.
std::int32_t font_free(ViewContext* context, DisplayListSet* set);

} // namespace glview
