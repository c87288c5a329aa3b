#include "glview/primitives.h"

#include <GL/gl.h>

namespace glview {
namespace {

void colour_unless_kept(std::uint32_t colour) {
    if (colour != kKeepColour) glColor3f(colour_red(colour), colour_green(colour), colour_blue(colour));
}

void begin_lines(float width) {
    glPushAttrib(GL_CURRENT_BIT | GL_LINE_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
    if (width != 1.0f) glEnable(GL_LINE_SMOOTH);
    glLineWidth(width);
}

} // namespace

std::int32_t draw_point(ViewContext* context, std::int32_t x, std::int32_t y, float size,
                        std::uint32_t colour) {
    if (!view_has_context(context)) return VIEW_ERR_NO_CONTEXT;
    glPushAttrib(GL_CURRENT_BIT | GL_POINT_BIT | GL_ENABLE_BIT);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_BLEND);
    glPointSize(size);
    glBegin(GL_POINTS);
    colour_unless_kept(colour);
    glVertex2i(x, y);
    glEnd();
    glPopAttrib();
    return VIEW_OK;
}

std::int32_t draw_line(ViewContext* context, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                       std::int32_t y2, float width, std::uint32_t colour1, std::uint32_t colour2) {
    if (!view_has_context(context)) return VIEW_ERR_NO_CONTEXT;
    begin_lines(width);
    glBegin(GL_LINES);
    colour_unless_kept(colour1);
    glVertex2i(x1, y1);
    colour_unless_kept(colour2);
    glVertex2i(x2, y2);
    glEnd();
    glPopAttrib();
    return VIEW_OK;
}

std::int32_t draw_rect(ViewContext* context, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                       std::int32_t y2, float width, std::uint32_t colour1, std::uint32_t colour2,
                       std::uint32_t colour3, std::uint32_t colour4) {
    if (!view_has_context(context)) return VIEW_ERR_NO_CONTEXT;
    begin_lines(width);
    glBegin(GL_LINE_LOOP);
    colour_unless_kept(colour1);
    glVertex2i(x1, y1);
    colour_unless_kept(colour2);
    glVertex2i(x2, y1);
    colour_unless_kept(colour3);
    glVertex2i(x2, y2);
    colour_unless_kept(colour4);
    glVertex2i(x1, y2);
    glEnd();
    glPopAttrib();
    return VIEW_OK;
}

} // namespace glview
