#include "glview/font_lists.h"

#include "glview/outline_tessellator.h"

#include <GL/gl.h>

#include <cmath>

namespace glview {

void build_bitmap_lists(GlyphSource& glyphs, std::uint32_t base) {
    // glBitmap reads its pixels at compile time under the client unpack state: make the
    // tightly packed rows of GlyphBitmap read as they are, whatever the caller had set.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
    for (int code = 0; code < 256; ++code) {
        const GlyphBitmap g = glyphs.bitmap(static_cast<std::uint8_t>(code));
        glNewList(base + code, GL_COMPILE);
        static const GLubyte none = 0;
        glBitmap(g.width, g.rows, GLfloat(-g.left), GLfloat(g.rows - g.top), GLfloat(g.advance), 0.0f,
                 g.bits.empty() ? &none : g.bits.data());
        glEndList();
    }
    glPopClientAttrib();
}

namespace {

void emit_side_walls(const GlyphOutline& outline, double depth) {
    glBegin(GL_QUADS);
    for (const auto& contour : outline.contours) {
        const std::size_t n = contour.size();
        for (std::size_t i = 0; i < n; ++i) {
            const auto& p = contour[i];
            const auto& q = contour[(i + 1) % n];
            const double dx = q.first - p.first, dy = q.second - p.second;
            const double len = std::hypot(dx, dy);
            if (len == 0.0) continue;
            // Outward is away from the filled side of the contour.
            double nx = -dy / len, ny = dx / len; // left of the direction
            if (!outline.fillRight) {
                nx = -nx;
                ny = -ny;
            }
            glNormal3d(nx, ny, 0.0);
            // Corners ordered counter-clockwise seen from outside: (q-p) x (-z) must point along n.
            const bool forward = (dy * -1.0) * nx + (-dx * -1.0) * ny > 0; // ((dx,dy,0) x (0,0,-1)) . n
            if (forward) {
                glVertex3d(p.first, p.second, 0.0);
                glVertex3d(q.first, q.second, 0.0);
                glVertex3d(q.first, q.second, -depth);
                glVertex3d(p.first, p.second, -depth);
            } else {
                glVertex3d(p.first, p.second, 0.0);
                glVertex3d(p.first, p.second, -depth);
                glVertex3d(q.first, q.second, -depth);
                glVertex3d(q.first, q.second, 0.0);
            }
        }
    }
    glEnd();
}

} // namespace

void build_outline_lists(GlyphSource& glyphs, std::uint32_t base, float deviation, float extrusion) {
    for (int code = 0; code < 256; ++code) {
        const GlyphOutline outline = glyphs.outline(static_cast<std::uint8_t>(code), deviation);
        const auto triangles = tessellate_outline(outline);
        glNewList(base + code, GL_COMPILE);
        if (!triangles.empty()) {
            glBegin(GL_TRIANGLES);
            glNormal3f(0.0f, 0.0f, 1.0f);
            for (const auto& p : triangles)
                glVertex3d(p[0], p[1], 0.0);
            glEnd();
            if (extrusion != 0.0f) {
                glBegin(GL_TRIANGLES);
                glNormal3f(0.0f, 0.0f, -1.0f);
                for (std::size_t i = triangles.size(); i-- > 0;)
                    glVertex3d(triangles[i][0], triangles[i][1], -double(extrusion));
                glEnd();
                emit_side_walls(outline, extrusion);
            }
        }
        glTranslated(outline.advance, 0.0, 0.0);
        glEndList();
    }
}

} // namespace glview
