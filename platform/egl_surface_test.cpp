#include "platform/egl_surface.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using platform::EglSurface;

// RGBA of pixel (x, y) counted from the top-left corner of the surface.
std::uint32_t pixel_at(EglSurface& surface, int x, int y) {
    const auto image = surface.read_pixels();
    const std::size_t at = (static_cast<std::size_t>(y) * surface.width() + x) * 4;
    std::uint32_t value = 0;
    std::memcpy(&value, image.data() + at, 4);
    return value;
}

TEST(EglSurface, GivesADesktopCompatibilityContextWithDepth) {
    EglSurface surface(64, 48, 0x00336699);
    ASSERT_TRUE(surface.create_context()) << surface.last_error();
    EXPECT_TRUE(surface.has_context());
    EXPECT_EQ(surface.width(), 64);
    EXPECT_EQ(surface.height(), 48);

    const std::string version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    EXPECT_EQ(version.find("OpenGL ES"), std::string::npos) << version;
    GLint bits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &bits);
    EXPECT_EQ(bits, 24);
    for (GLenum channel : {GL_RED_BITS, GL_GREEN_BITS, GL_BLUE_BITS}) {
        glGetIntegerv(channel, &bits);
        EXPECT_EQ(bits, 8);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(EglSurface, FirstClearUsesTheBackgroundColour) {
    EglSurface surface(8, 8, 0x00336699); // red 0x99, green 0x66, blue 0x33
    ASSERT_TRUE(surface.create_context()) << surface.last_error();
    glClear(GL_COLOR_BUFFER_BIT);
    surface.swap_buffers();
    EXPECT_EQ(surface.background_colour(), 0x00336699u);
    EXPECT_EQ(pixel_at(surface, 3, 5), 0xFF336699u);
}

TEST(EglSurface, LegacyDrawingDisplayListsAndGluWork) {
    EglSurface surface(40, 20);
    ASSERT_TRUE(surface.create_context()) << surface.last_error();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, 40, 20, 0); // y grows downwards, origin top-left
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    const GLuint list = glGenLists(1);
    ASSERT_NE(list, 0u);
    glNewList(list, GL_COMPILE);
    glColor3f(1, 0, 0);
    glBegin(GL_QUADS);
    glVertex2i(0, 0);
    glVertex2i(0, 10);
    glVertex2i(20, 10);
    glVertex2i(20, 0);
    glEnd();
    glEndList();
    glCallList(list);
    surface.swap_buffers();

    EXPECT_EQ(pixel_at(surface, 5, 5), 0xFF0000FFu);   // inside the red quad at the top left
    EXPECT_EQ(pixel_at(surface, 30, 15), 0xFF000000u); // cleared black elsewhere
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDeleteLists(list, 1);
}

TEST(EglSurface, DepthBufferHidesFartherFragments) {
    EglSurface surface(4, 4);
    ASSERT_TRUE(surface.create_context()) << surface.last_error();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    auto full_quad = [](float z, float r, float g) {
        glColor3f(r, g, 0);
        glBegin(GL_QUADS);
        glVertex3f(-1, -1, z);
        glVertex3f(1, -1, z);
        glVertex3f(1, 1, z);
        glVertex3f(-1, 1, z);
        glEnd();
    };
    full_quad(-0.5f, 0, 1); // near, green
    full_quad(0.5f, 1, 0);  // far, red: must be hidden
    surface.swap_buffers();
    EXPECT_EQ(pixel_at(surface, 2, 2), 0xFF00FF00u);
}

TEST(EglSurface, ResizeKeepsTheContextAndChangesTheDrawable) {
    EglSurface surface(16, 16);
    ASSERT_TRUE(surface.create_context()) << surface.last_error();
    const GLuint list = glGenLists(1);
    ASSERT_TRUE(surface.resize(100, 30)) << surface.last_error();
    EXPECT_EQ(surface.width(), 100);
    EXPECT_EQ(surface.height(), 30);
    EXPECT_TRUE(glIsList(list)); // same context, its objects survive
    glViewport(0, 0, 100, 30);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(surface.read_pixels().size(), 100u * 30u * 4u);
    EXPECT_EQ(pixel_at(surface, 99, 29), 0xFFFF0000u);
}

TEST(EglSurface, TwoSurfacesKeepTheirOwnContexts) {
    EglSurface first(4, 4, 0x000000FF);
    EglSurface second(4, 4, 0x0000FF00);
    ASSERT_TRUE(first.create_context()) << first.last_error();
    ASSERT_TRUE(second.create_context()) << second.last_error();
    ASSERT_TRUE(first.make_current());
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(second.make_current());
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(pixel_at(first, 0, 0), 0xFF0000FFu);
    EXPECT_EQ(pixel_at(second, 0, 0), 0xFF00FF00u);
    second.destroy_context();
    EXPECT_FALSE(second.has_context());
    EXPECT_FALSE(second.make_current());
    EXPECT_TRUE(first.make_current());
}

} // namespace
