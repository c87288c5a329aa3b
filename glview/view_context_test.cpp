#include "glview/view_context.h"

#include "glview/font.h"
#include "glview/gl_test_support.h"
#include "glview/image.h"
#include "glview/lighting.h"
#include "glview/primitives.h"
#include "glview/text.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace glview {
namespace {

using testing::OffscreenView;

// A window that never gets a GL context.
class NoGlWindow final : public platform::GlSurface {
  public:
    bool create_context() override { return false; }
    void destroy_context() override {}
    bool has_context() const override { return false; }
    bool make_current() override { return false; }
    void release_current() override {}
    void swap_buffers() override { ++swaps; }
    std::int32_t width() const override { return 10; }
    std::int32_t height() const override { return 10; }
    std::uint32_t background_colour() const override { return 0; }
    int swaps = 0;
};

TEST(ViewWithoutContext, CreateLeavesRcNullAndEveryOperationFailsWithoutTouchingTheRecord) {
    NoGlWindow window;
    ViewContext* view = view_create(&window);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->dc, &window);
    EXPECT_EQ(view->rc, nullptr);
    EXPECT_EQ(view->zNear, 1.0f);
    EXPECT_EQ(view->zFar, 64.0f);
    EXPECT_EQ(view->fovY, 45.0f);
    view->width = 33;
    view->height = 44;

    EXPECT_EQ(view_resize(view, 640, 480), VIEW_ERR_NO_CONTEXT);
    EXPECT_EQ(view->width, 33u);
    EXPECT_EQ(view->height, 44u);
    EXPECT_EQ(view_clear(view), VIEW_ERR_NO_CONTEXT);
    EXPECT_EQ(view_current_clear(view), VIEW_ERR_NO_CONTEXT);
    EXPECT_EQ(view_make_current(view), VIEW_ERR_NO_CONTEXT);
    EXPECT_EQ(view_swap(&window, view), VIEW_ERR_NO_CONTEXT);
    EXPECT_EQ(window.swaps, 0);
    EXPECT_EQ(view_begin(view), VIEW_ERR_NO_CONTEXT);
    EXPECT_EQ(view_end(view), VIEW_ERR_NO_CONTEXT);
    EXPECT_EQ(view_set_ortho(view), VIEW_ERR_NO_CONTEXT);
    EXPECT_EQ(view_set_perspective(view), VIEW_ERR_NO_CONTEXT);
    EXPECT_EQ(view_set_clear_color(view, 0xFF, 1.0f), VIEW_ERR_NO_CONTEXT);

    EXPECT_EQ(font_create_bitmap(view, 14, 0, 0, 0, 0, "Verdana"), nullptr);
    EXPECT_EQ(font_create_bitmap_sized(view, 14, 0, 0, 0, 0, "Verdana", 6), nullptr);
    EXPECT_EQ(font_create_bitmap_double(view, 14, 0, 0, 0, 0, "Verdana"), nullptr);
    EXPECT_EQ(font_from_handle(view, FontDescription{"Verdana", 14, 0, 0}), nullptr);
    EXPECT_EQ(font_create_outline(view, 14, 0, 0.0f, 0.0f, 0, 0, 0, "Verdana"), nullptr);
    DisplayListSet set{1, 256, 0, 0, 0};
    EXPECT_EQ(font_free(view, &set), VIEW_ERR_NO_CONTEXT);
    EXPECT_EQ(text_print(view, &set, 0, 0, "x"), VIEW_ERR_NO_CONTEXT);
    EXPECT_EQ(text_print_zoomed(view, &set, 0, 0, "x"), VIEW_ERR_NO_CONTEXT);
    EXPECT_EQ(text_print_outline(view, &set, "x"), VIEW_ERR_NO_CONTEXT);
    // The context is checked before the format.
    EXPECT_EQ(text_print(view, &set, 0, 0, nullptr), VIEW_ERR_NO_CONTEXT);

    EXPECT_EQ(view_set_lighting(view, 1), VIEW_ERR_NO_CONTEXT);
    EXPECT_EQ(view_set_light(view, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), VIEW_ERR_NO_CONTEXT);
    EXPECT_EQ(view_set_material(view, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
              VIEW_ERR_NO_CONTEXT);
    IconImage icon{2, std::vector<std::uint8_t>(16, 0), {}};
    EXPECT_EQ(image_from_icon(view, icon, 2), nullptr);
    EXPECT_EQ(image_from_bitmap(view, nullptr), nullptr);
    EXPECT_EQ(image_draw(view, &set, 0, 0), VIEW_ERR_NO_CONTEXT);
    EXPECT_EQ(image_draw_scaled(view, &set, 0, 0, 0, 0), VIEW_ERR_NO_CONTEXT);
    EXPECT_EQ(draw_point(view, 0, 0, 1.0f, 0), VIEW_ERR_NO_CONTEXT);
    EXPECT_EQ(draw_line(view, 0, 0, 1, 1, 1.0f, 0, 0), VIEW_ERR_NO_CONTEXT);
    EXPECT_EQ(draw_rect(view, 0, 0, 1, 1, 1.0f, 0, 0, 0, 0), VIEW_ERR_NO_CONTEXT);

    EXPECT_EQ(view_release(&window, view), VIEW_OK);
    // A record that never existed is no context either.
    EXPECT_EQ(view_clear(nullptr), VIEW_ERR_NO_CONTEXT);
    EXPECT_EQ(view_release(nullptr, nullptr), VIEW_OK);
}

class ViewContextTest : public OffscreenView {
  protected:
    ViewContextTest() : OffscreenView(640, 480, 0x00336699) {}
};

TEST_F(ViewContextTest, CreateMakesACurrentContextClearingToTheWindowBackground) {
    EXPECT_EQ(view->dc, &surface);
    EXPECT_EQ(view->zNear, 1.0f);
    EXPECT_EQ(view->zFar, 64.0f);
    EXPECT_EQ(view->fovY, 45.0f);
    EXPECT_EQ(view->width, 640u);
    EXPECT_EQ(view->height, 480u);
    ASSERT_EQ(view_clear(view), VIEW_OK);
    const auto p = pixel(5, 7);
    EXPECT_EQ(p.r, 0x99);
    EXPECT_EQ(p.g, 0x66);
    EXPECT_EQ(p.b, 0x33);
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(ViewContextTest, ClearColoursAreColourRefsWithTheAlphaClamped) {
    ASSERT_EQ(view_set_clear_color(view, 0x000000FF, 1.0f), VIEW_OK);
    ASSERT_EQ(view_clear(view), VIEW_OK);
    auto p = pixel(100, 100);
    EXPECT_EQ(p.r, 255);
    EXPECT_EQ(p.g, 0);
    EXPECT_EQ(p.b, 0);

    ASSERT_EQ(view_set_clear_color(view, 0x00FF0000, 1.0f), VIEW_OK);
    ASSERT_EQ(view_clear(view), VIEW_OK);
    p = pixel(100, 100);
    EXPECT_EQ(p.r, 0);
    EXPECT_EQ(p.g, 0);
    EXPECT_EQ(p.b, 255);

    const auto clearAlpha = [] {
        GLfloat c[4] = {};
        glGetFloatv(GL_COLOR_CLEAR_VALUE, c);
        return c[3];
    };
    view_set_clear_color(view, 0, 1.5f);
    EXPECT_EQ(clearAlpha(), 1.0f);
    view_set_clear_color(view, 0, -0.2f);
    EXPECT_EQ(clearAlpha(), 1.0f);
    view_set_clear_color(view, 0, 0.0f);
    EXPECT_EQ(clearAlpha(), 0.0f);
    view_set_clear_color(view, 0, 0.1f);
    EXPECT_FLOAT_EQ(clearAlpha(), 0.1f);
    view_set_clear_color(view, 0, 1.0f);
    EXPECT_EQ(clearAlpha(), 1.0f);
}

TEST_F(ViewContextTest, FlatProjectionPutsTheOriginTopLeftWithoutDepthTest) {
    glEnable(GL_DEPTH_TEST);
    ASSERT_EQ(view_resize(view, 640, 480), VIEW_OK);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    const auto m = testing::gl_matrix(GL_PROJECTION_MATRIX);
    EXPECT_FLOAT_EQ(m[0], 2.0f / 640);
    EXPECT_FLOAT_EQ(m[5], -2.0f / 480);
    EXPECT_FLOAT_EQ(m[10], 1.0f); // near 1, far -1
    EXPECT_FLOAT_EQ(m[12], -1.0f);
    EXPECT_FLOAT_EQ(m[13], 1.0f);

    view_set_clear_color(view, 0, 1.0f);
    view_clear(view);
    glBegin(GL_POINTS);
    glColor3f(1, 0, 0);
    glVertex2f(0.5f, 0.5f);
    glColor3f(0, 1, 0);
    glVertex2f(639.5f, 479.5f);
    // Depth test off: the later, farther point still wins.
    glColor3f(0, 0, 1);
    glVertex3f(320.5f, 240.5f, 0.5f);
    glColor3f(1, 1, 1);
    glVertex3f(320.5f, 240.5f, -0.5f);
    glEnd();
    const auto& image = grab();
    EXPECT_EQ(at(image, 0, 0).r, 255);
    EXPECT_EQ(at(image, 639, 479).g, 255);
    const auto centre = at(image, 320, 240);
    EXPECT_EQ(centre.r + centre.g + centre.b, 3 * 255);
}

TEST_F(ViewContextTest, PerspectiveUsesFovAspectAndPlanesWithDepthTest) {
    ASSERT_EQ(view_set_perspective(view), VIEW_OK);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    auto m = testing::gl_matrix(GL_PROJECTION_MATRIX);
    const float f = float(1.0 / std::tan(22.5 * M_PI / 180.0));
    EXPECT_NEAR(m[5], f, 1e-5);
    EXPECT_NEAR(m[0], f / (640.0f / 480.0f), 1e-5);
    EXPECT_NEAR(m[10], (64.0f + 1.0f) / (1.0f - 64.0f), 1e-5);

    view_set_clear_color(view, 0, 1.0f);
    view_clear(view);
    // Red in front, then green behind it: the depth test keeps red.
    glBegin(GL_QUADS);
    glColor3f(1, 0, 0);
    glVertex3f(-0.5f, -0.5f, -3.0f);
    glVertex3f(0.5f, -0.5f, -3.0f);
    glVertex3f(0.5f, 0.5f, -3.0f);
    glVertex3f(-0.5f, 0.5f, -3.0f);
    glColor3f(0, 1, 0);
    glVertex3f(-2, -2, -6.0f);
    glVertex3f(2, -2, -6.0f);
    glVertex3f(2, 2, -6.0f);
    glVertex3f(-2, 2, -6.0f);
    glEnd();
    const auto& image = grab();
    EXPECT_EQ(at(image, 320, 240).r, 255);
    EXPECT_EQ(at(image, 320, 240).g, 0);
    EXPECT_EQ(at(image, 320, 100).g, 255); // green around it

    // Callers change the planes directly; a height of 0 counts as 1 for the aspect.
    view->zNear = 0.01f;
    view->zFar = 5.0f;
    view->height = 0;
    ASSERT_EQ(view_set_perspective(view), VIEW_OK);
    m = testing::gl_matrix(GL_PROJECTION_MATRIX);
    EXPECT_TRUE(std::isfinite(m[0]));
    EXPECT_NEAR(m[0], f / 640.0f, 1e-6);
    EXPECT_NEAR(m[10], (5.0f + 0.01f) / (0.01f - 5.0f), 1e-5);
}

TEST_F(ViewContextTest, DrawingGuardIsOneFlagThatASecondBeginFindsTaken) {
    surface.release_current();
    ASSERT_EQ(view_begin(view), VIEW_OK);
    // view_begin made the context current again.
    view_set_clear_color(view, 0x0000FF00, 1.0f);
    view_clear(view);
    EXPECT_EQ(pixel(1, 1).g, 255);
    EXPECT_EQ(view_begin(view), VIEW_BUSY);
    // One flag for all records: another record finds it taken as well.
    ViewContext other;
    other.dc = other.rc = &surface;
    EXPECT_EQ(view_begin(&other), VIEW_BUSY);
    EXPECT_EQ(view_end(view), VIEW_OK);
    EXPECT_EQ(view_begin(view), VIEW_OK);
    EXPECT_EQ(view_end(view), VIEW_OK);
}

TEST_F(ViewContextTest, MakeCurrentAndCurrentClearBindTheContext) {
    glTranslatef(5, 6, 7);
    surface.release_current();
    ASSERT_EQ(view_make_current(view), VIEW_OK);
    const auto m = testing::gl_matrix(GL_MODELVIEW_MATRIX);
    EXPECT_EQ(m[12], 0.0f);
    EXPECT_EQ(m[13], 0.0f);

    view_set_clear_color(view, 0x00FF0000, 1.0f);
    surface.release_current();
    ASSERT_EQ(view_current_clear(view), VIEW_OK);
    ASSERT_EQ(view_swap(&surface, view), VIEW_OK);
    EXPECT_EQ(pixel(600, 400).b, 255);
}

// An offscreen drawable on a desktop of scale 2: its pixels are half a window unit wide.
class ScaledSurface final : public platform::GlSurface {
  public:
    ScaledSurface(std::int32_t width, std::int32_t height) : pixels(width, height) {}
    bool create_context() override { return pixels.create_context(); }
    void destroy_context() override { pixels.destroy_context(); }
    bool has_context() const override { return pixels.has_context(); }
    bool make_current() override { return pixels.make_current(); }
    void release_current() override { pixels.release_current(); }
    void swap_buffers() override { pixels.swap_buffers(); }
    std::int32_t width() const override { return pixels.width(); }
    std::int32_t height() const override { return pixels.height(); }
    std::uint32_t background_colour() const override { return 0; }
    double pixel_ratio() const override { return 2.0; }
    platform::EglSurface pixels;
};

// The lit rows and columns of a picture, top row first.
struct Extent {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
};
Extent lit_extent(const std::vector<std::uint8_t>& rgba, int width, int height) {
    Extent e;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t i = (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4;
            if (rgba[i] + rgba[i + 1] + rgba[i + 2] == 0) continue;
            e.left = std::min(e.left, x);
            e.right = std::max(e.right, x);
            e.top = std::min(e.top, y);
            e.bottom = std::max(e.bottom, y);
        }
    return e;
}

TEST(ViewAtScale2, FlatDrawingCountsInWindowUnitsAndTextKeepsItsSizeToTheWindow) {
    ScaledSurface surface(320, 240);
    ViewContext* view = view_create(&surface);
    ASSERT_TRUE(view_has_context(view)) << "no offscreen GL context: " << surface.pixels.last_error();
    EXPECT_EQ(view->pixelRatio, 2.0);
    ASSERT_EQ(view_resize(view, 320, 240), VIEW_OK);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 240);

    // The window is 160 x 120 units: a quad over all of them covers every pixel.
    view_set_clear_color(view, 0, 1.0f);
    view_clear(view);
    glColor3f(1, 1, 1);
    glRecti(0, 0, 160, 120);
    auto image = surface.pixels.read_pixels();
    const Extent all = lit_extent(image, 320, 240);
    EXPECT_EQ(all.left, 0);
    EXPECT_EQ(all.top, 0);
    EXPECT_EQ(all.right, 319);
    EXPECT_EQ(all.bottom, 239);

    // Text at (20, 40) units sits on device row 80 with glyphs twice as tall as at scale 1,
    // and its advance in window units is what it is at scale 1.
    DisplayListSet* font = font_create_bitmap(view, 14, 0, 0, 0, 0, "Verdana");
    ASSERT_NE(font, nullptr);
    view_clear(view);
    ASSERT_EQ(text_print(view, font, 20, 40, "A"), VIEW_OK);
    image = surface.pixels.read_pixels();
    const Extent a = lit_extent(image, 320, 240);
    ASSERT_GE(a.right, 0) << "nothing drawn";
    EXPECT_EQ(a.bottom, 79);
    EXPECT_GE(a.left, 38);
    EXPECT_GE(a.bottom - a.top + 1, 14) << "glyphs drawn at scale 1";
    EXPECT_LE(a.bottom - a.top + 1, 28);
    EXPECT_GT(font->charWidth, 4);
    EXPECT_LT(font->charWidth, 14);
    EXPECT_LE(a.right, 40 + 2 * font->charWidth);
    font_free(view, font);
    view_release(&surface, view);
}

} // namespace
} // namespace glview
