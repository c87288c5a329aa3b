// Textures and display lists made from a bitmap. Every operation needs a current GL context.
#include "bitmap/taviron.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>
#include <cstring>

namespace {

// Texture side for a bitmap side: the first of 16 .. 512 that holds it, else 1024.
GLsizei padded_side(std::int32_t side) {
    for (GLsizei candidate = 16; candidate <= 512; candidate *= 2)
        if (side <= candidate) return candidate;
    return TAV_MAX_TEXTURE_SIDE;
}

// What the texture operations can take: a non-empty bitmap with its pixels, no side above 1024.
bool uploadable(const Taviron& bitmap) {
    return bitmap.pixels != nullptr && bitmap.width > 0 && bitmap.height > 0 &&
           bitmap.width <= TAV_MAX_TEXTURE_SIDE && bitmap.height <= TAV_MAX_TEXTURE_SIDE;
}

} // namespace

std::uint32_t Taviron::make_texture() {
    if (!uploadable(*this)) return 0;
    const GLsizei texture_width = padded_side(width);
    const GLsizei texture_height = padded_side(height);
    const std::size_t row = static_cast<std::size_t>(texture_width) * 4;
    auto* staging =
        static_cast<std::uint8_t*>(std::calloc(row * static_cast<std::size_t>(texture_height), 1));
    if (staging == nullptr) return 0;

    GLuint name = 0;
    glGenTextures(1, &name);
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    // The bitmap sits in the top-left corner; the padding stays transparent black.
    const std::size_t bitmap_row = static_cast<std::size_t>(width) * 4;
    for (std::int32_t y = 0; y < height; ++y)
        std::memcpy(staging + static_cast<std::size_t>(y) * row,
                    pixels + static_cast<std::size_t>(y) * bitmap_row, bitmap_row);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, texture_width, texture_height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 staging);
    std::free(staging);
    return name;
}

std::uint32_t Taviron::make_texture_mipmapped() {
    if (!uploadable(*this)) return 0;
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA8, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    return name;
}

std::uint32_t Taviron::make_quad_list() {
    if (!uploadable(*this)) return 0;
    const GLuint list = glGenLists(1);
    if (list == 0) return 0;
    const GLuint texture = make_texture();
    if (texture == 0) {
        glDeleteLists(list, 1);
        return 0;
    }
    const float right = static_cast<float>(width) / static_cast<float>(padded_side(width));
    const float bottom = static_cast<float>(height) / static_cast<float>(padded_side(height));

    glLoadIdentity();
    glNewList(list, GL_COMPILE);
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2i(0, 0);
    glTexCoord2f(0.0f, bottom);
    glVertex2i(0, 1);
    glTexCoord2f(right, bottom);
    glVertex2i(1, 1);
    glTexCoord2f(right, 0.0f);
    glVertex2i(1, 0);
    glEnd();
    glPopAttrib();
    glEndList();
    return list;
}
