#include "platform/qt/gl_window_surface.h"

#include <QApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Colour of the back buffer's bottom-left pixel as 0x00BBGGRR.
std::uint32_t back_pixel() {
    QOpenGLFunctions* f = QOpenGLContext::currentContext()->functions();
    unsigned char px[4] = {};
    f->glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
    return px[0] | (px[1] << 8) | (px[2] << 16);
}

class GlWindowSurfaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.resize(200, 150);
        surface.widget()->resize(200, 150);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host)) << "no display for the window";
        // A GUI test that cannot get its context fails; it never passes by skipping.
        ASSERT_TRUE(surface.create_context()) << "no GL context for a window";
    }
    QWidget host;
    platform::GlWindowSurface surface{&host, 0x00336699};
};

TEST_F(GlWindowSurfaceTest, ContextIsDesktopGlWithDepthAndClearsToTheBackground) {
    EXPECT_TRUE(surface.has_context());
    EXPECT_TRUE(surface.widget()->testAttribute(Qt::WA_NativeWindow));
    EXPECT_EQ(surface.widget()->parentWidget(), &host);
    QOpenGLContext* context = QOpenGLContext::currentContext();
    ASSERT_NE(context, nullptr);
    EXPECT_FALSE(context->isOpenGLES());
    EXPECT_EQ(context->format().swapBehavior(), QSurfaceFormat::DoubleBuffer);
    QOpenGLFunctions* f = context->functions();
    GLint bits = 0;
    f->glGetIntegerv(GL_DEPTH_BITS, &bits);
    EXPECT_GE(bits, 24); // the X server may give more than was asked for
    const QSurfaceFormat asked = surface.window()->requestedFormat();
    EXPECT_EQ(asked.profile(), QSurfaceFormat::CompatibilityProfile);
    EXPECT_EQ(asked.depthBufferSize(), 24);
    EXPECT_EQ(asked.redBufferSize() + asked.greenBufferSize() + asked.blueBufferSize(), 24);
    EXPECT_EQ(asked.alphaBufferSize(), 0);
    EXPECT_EQ(asked.stencilBufferSize(), 0);
    f->glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(back_pixel(), 0x00336699u);
    EXPECT_EQ(surface.background_colour(), 0x00336699u);
    EXPECT_EQ(surface.width(), 200);
    EXPECT_EQ(surface.height(), 150);

    surface.release_current();
    EXPECT_EQ(QOpenGLContext::currentContext(), nullptr);
    EXPECT_TRUE(surface.make_current());
    surface.destroy_context();
    EXPECT_FALSE(surface.has_context());
    EXPECT_FALSE(surface.make_current());
}

TEST_F(GlWindowSurfaceTest, PendingEraseRunsRightAfterTheSwapInTheWindowsContext) {
    std::vector<std::string> events;
    surface.set_erase_handler([&] {
        events.push_back("erase");
        QOpenGLFunctions* f = QOpenGLContext::currentContext()->functions();
        f->glClearColor(0, 1, 0, 1);
        f->glClear(GL_COLOR_BUFFER_BIT);
    });
    surface.swap_buffers();
    EXPECT_TRUE(events.empty()); // nothing pending: a plain swap

    surface.invalidate(false);
    EXPECT_FALSE(surface.erase_pending());
    surface.invalidate(true);
    EXPECT_TRUE(surface.erase_pending());
    surface.swap_buffers();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_FALSE(surface.erase_pending());
    EXPECT_EQ(back_pixel(), 0x0000FF00u); // the next frame starts cleared
    surface.swap_buffers();
    EXPECT_EQ(events.size(), 1u);
}

} // namespace
