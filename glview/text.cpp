#include "glview/text.h"

#include <GL/gl.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace glview {
namespace {

std::int32_t check(const ViewContext* context, const DisplayListSet* font, const char* format) {
    if (!view_has_context(context)) return VIEW_ERR_NO_CONTEXT;
    if (!format) return VIEW_ERR_NO_TEXT;
    if (!font) return VIEW_ERR_NO_LIST;
    return VIEW_OK;
}

// vsnprintf stops at the buffer's end, so longer text is cut to kTextBufferSize - 1 bytes.
std::size_t format_text(char (&buffer)[kTextBufferSize], const char* format, va_list args) {
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    if (n < 0) {
        buffer[0] = '\0';
        return 0;
    }
    return std::strlen(buffer);
}

enum class Placement { At, AtZoomed, Geometry };

std::int32_t print(const DisplayListSet* font, Placement placement, std::int32_t x, std::int32_t y,
                   const char* format, va_list args) {
    char buffer[kTextBufferSize];
    const std::size_t length = format_text(buffer, format, args);
    glPushAttrib(GL_LIST_BIT);
    glListBase(font->base);
    if (placement == Placement::AtZoomed) {
        glLoadIdentity();
        glPixelZoom(0.5f, 0.5f);
    }
    if (placement != Placement::Geometry) glRasterPos2i(x, y);
    glCallLists(static_cast<GLsizei>(length), GL_UNSIGNED_BYTE, buffer);
    glPopAttrib();
    return VIEW_OK;
}

} // namespace

std::int32_t text_print(ViewContext* context, const DisplayListSet* font, std::int32_t x, std::int32_t y,
                        const char* format, ...) {
    if (const std::int32_t status = check(context, font, format); status != VIEW_OK) return status;
    va_list args;
    va_start(args, format);
    const std::int32_t status = print(font, Placement::At, x, y, format, args);
    va_end(args);
    return status;
}

std::int32_t text_print_zoomed(ViewContext* context, const DisplayListSet* font, std::int32_t x,
                               std::int32_t y, const char* format, ...) {
    if (const std::int32_t status = check(context, font, format); status != VIEW_OK) return status;
    va_list args;
    va_start(args, format);
    const std::int32_t status = print(font, Placement::AtZoomed, x, y, format, args);
    va_end(args);
    return status;
}

std::int32_t text_print_outline(ViewContext* context, const DisplayListSet* font, const char* format, ...) {
    if (const std::int32_t status = check(context, font, format); status != VIEW_OK) return status;
    va_list args;
    va_start(args, format);
    const std::int32_t status = print(font, Placement::Geometry, 0, 0, format, args);
    va_end(args);
    return status;
}

} // namespace glview
