// The view toolkit on a desktop window surface (run under Xvfb when there is no display).
#include "glview/view_context.h"
#include "platform/qt/gl_window_surface.h"

#include <GL/gl.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace glview {
namespace {

// Colour of a back-buffer pixel, counted from the bottom-left, as 0x00BBGGRR.
std::uint32_t back_pixel(int x, int y) {
    unsigned char px[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
    return px[0] | (px[1] << 8) | (px[2] << 16);
}

TEST(ViewOnWindow, ClearsToTheWindowBackgroundAndErasesAfterEachSwap) {
    QWidget host;
    host.resize(120, 90);
    platform::GlWindowSurface surface(&host, 0x000000FF);
    surface.widget()->resize(120, 90);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host)) << "no display for the window";

    ViewContext* view = view_create(&surface);
    ASSERT_NE(view, nullptr);
    // A GUI test that cannot get its context fails; it never passes by skipping.
    ASSERT_NE(view->rc, nullptr) << "no GL context for the window";
    ASSERT_EQ(view_resize(view, 120, 90), VIEW_OK);
    ASSERT_EQ(view_clear(view), VIEW_OK);
    EXPECT_EQ(back_pixel(5, 5), 0x000000FFu); // the window's background: pure red

    int erases = 0;
    surface.set_erase_handler([&] {
        ++erases;
        view_current_clear(view);
    });
    ASSERT_EQ(view_set_clear_color(view, 0x0000FF00, 1.0f), VIEW_OK);
    glColor3f(0, 0, 1);
    glRecti(0, 0, 120, 90);
    surface.invalidate(true);
    ASSERT_EQ(view_swap(&surface, view), VIEW_OK);
    EXPECT_EQ(erases, 1);
    EXPECT_EQ(back_pixel(60, 45), 0x0000FF00u); // the next frame starts cleared
    ASSERT_EQ(view_swap(&surface, view), VIEW_OK);
    EXPECT_EQ(erases, 1);

    EXPECT_EQ(view_release(&surface, view), VIEW_OK);
    EXPECT_FALSE(surface.has_context());
}

} // namespace
} // namespace glview
