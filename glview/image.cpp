#include "glview/image.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace glview {
namespace {

// The icon's pixels bottom row first, red-green-blue-alpha, alpha from the mask when the
// colour pixels carry none.
std::vector<std::uint8_t> icon_pixels(const IconImage& icon, std::int32_t n) {
    const std::size_t edge = static_cast<std::size_t>(n);
    const std::size_t count = edge * edge;
    std::vector<std::uint8_t> pixels(count * 4, 0);
    std::vector<std::uint8_t> mask(count * 4, 0);
    // Buffers of another size are not read; the image stays fully transparent.
    if (icon.size != n || icon.bgra.size() != count * 4) return pixels;
    for (std::size_t r = 0; r < edge; ++r)
        std::copy_n(icon.bgra.begin() + std::ptrdiff_t((edge - 1 - r) * edge * 4), edge * 4,
                    pixels.begin() + std::ptrdiff_t(r * edge * 4));
    if (icon.mask.size() == count)
        for (std::size_t r = 0; r < edge; ++r)
            for (std::size_t c = 0; c < edge; ++c) {
                const std::uint8_t m = icon.mask[(edge - 1 - r) * edge + c];
                std::uint8_t* px = &mask[(r * edge + c) * 4];
                px[0] = px[1] = px[2] = m;
            }
    bool hasAlpha = false;
    for (std::size_t i = 0; i < count; ++i) {
        std::swap(pixels[i * 4], pixels[i * 4 + 2]);
        hasAlpha = hasAlpha || pixels[i * 4 + 3] != 0;
    }
    if (!hasAlpha)
        for (std::size_t i = 0; i < count; ++i)
            pixels[i * 4 + 3] = std::uint8_t(255 - mask[i * 4 + 2]);
    return pixels;
}

} // namespace

DisplayListSet* image_from_icon(ViewContext* context, const IconImage& icon, std::int32_t n) {
    if (!view_has_context(context) || n < 1 || n > kMaxIconSize) return nullptr;
    auto* set = new DisplayListSet{};
    const std::vector<std::uint8_t> pixels = icon_pixels(icon, n);

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA8, n, n, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());

    const GLuint list = glGenLists(1);
    glLoadIdentity();
    glNewList(list, GL_COMPILE);
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_LIST_BIT);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2i(0, 0);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2i(0, n);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2i(n, n);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2i(n, 0);
    glEnd();
    glPopAttrib();
    glEndList();

    set->base = list;
    set->count = 1;
    set->width = n;
    set->height = n;
    return set;
}

std::int32_t image_draw(ViewContext* context, const DisplayListSet* image, std::int32_t x, std::int32_t y) {
    if (!view_has_context(context)) return VIEW_ERR_NO_CONTEXT;
    if (!image) return VIEW_ERR_NO_LIST;
    glTranslatef(GLfloat(x), GLfloat(y), 0.0f);
    glCallList(image->base);
    return VIEW_OK;
}

std::int32_t image_draw_scaled(ViewContext* context, const DisplayListSet* image, std::int32_t x,
                               std::int32_t y, std::int32_t w, std::int32_t h) {
    if (!view_has_context(context)) return VIEW_ERR_NO_CONTEXT;
    if (!image) return VIEW_ERR_NO_LIST;
    if (w == 0) w = image->width;
    if (h == 0) h = image->height;
    glTranslatef(GLfloat(x), GLfloat(y), 0.0f);
    glScalef(GLfloat(w), GLfloat(h), 1.0f);
    glCallList(image->base);
    return VIEW_OK;
}

} // namespace glview
