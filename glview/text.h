#pragma once
// printf-style text through a font's display lists. The formatted text is cut to 2,047
// characters; each byte b draws list base + b. VIEW_ERR_NO_CONTEXT without a GL context,
// VIEW_ERR_NO_TEXT for a null format, VIEW_ERR_NO_LIST for a null font; nothing drawn then.
#include "glview/display_list_set.h"
#include "glview/view_context.h"

#include <cstddef>
#include <cstdint>

namespace glview {

// Size of the buffer the text is formatted into, terminating zero included.
constexpr std::size_t kTextBufferSize = 2048;

// Bitmap text with the first glyph's origin at (x, y) under the current transform; the
// list base in force before the call is in force after it.
std::int32_t text_print(ViewContext* context, const DisplayListSet* font, std::int32_t x, std::int32_t y,
                        const char* format, ...) __attribute__((format(printf, 5, 6)));
// As text_print after loading the identity matrix and setting the pixel zoom to 0.5 x 0.5,
// which stays in force after the call.
std::int32_t text_print_zoomed(ViewContext* context, const DisplayListSet* font, std::int32_t x,
                               std::int32_t y, const char* format, ...) __attribute__((format(printf, 5, 6)));
// Outline text as geometry at the current modelview transform, which is left advanced past
// the text.
std::int32_t text_print_outline(ViewContext* context, const DisplayListSet* font, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

} // namespace glview
