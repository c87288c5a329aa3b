#include "bitmap/taviron.h"
#include "glview/font.h"
#include "glview/gl_test_support.h"
#include "glview/image.h"
#include "glview/lighting.h"
#include "glview/primitives.h"

#include <GL/gl.h>

namespace glview {
namespace {

using testing::OffscreenView;
using LightingTest = OffscreenView;

TEST_F(LightingTest, LightingSwitchLightAndMaterialReachGl) {
    ASSERT_EQ(view_set_lighting(view, 1), VIEW_OK);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    ASSERT_EQ(view_set_lighting(view, 0), VIEW_OK);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));

    // The position goes through the modelview matrix in force and is always positional.
    glTranslatef(10, 0, 0);
    ASSERT_EQ(view_set_light(view, 1, 1, 1, 2, 3, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f),
              VIEW_OK);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    GLfloat v[4] = {};
    glGetLightfv(GL_LIGHT1, GL_POSITION, v);
    EXPECT_FLOAT_EQ(v[0], 11.0f);
    EXPECT_FLOAT_EQ(v[1], 2.0f);
    EXPECT_FLOAT_EQ(v[2], 3.0f);
    EXPECT_FLOAT_EQ(v[3], 1.0f);
    glGetLightfv(GL_LIGHT1, GL_AMBIENT, v);
    EXPECT_FLOAT_EQ(v[0], 0.1f);
    EXPECT_FLOAT_EQ(v[3], 1.0f);
    glGetLightfv(GL_LIGHT1, GL_DIFFUSE, v);
    EXPECT_FLOAT_EQ(v[2], 0.6f);
    EXPECT_FLOAT_EQ(v[3], 1.0f);
    glGetLightfv(GL_LIGHT1, GL_SPECULAR, v);
    EXPECT_FLOAT_EQ(v[1], 0.8f);
    EXPECT_FLOAT_EQ(v[3], 1.0f);
    ASSERT_EQ(view_set_light(view, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), VIEW_OK);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));

    ASSERT_EQ(view_set_material(view, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f, 1.0f, 0.11f,
                                0.12f, 0.13f, 0.14f, 0.15f, 0.16f, 77),
              VIEW_OK);
    for (GLenum face : {GL_FRONT, GL_BACK}) {
        glGetMaterialfv(face, GL_AMBIENT, v);
        EXPECT_FLOAT_EQ(v[3], 0.4f);
        glGetMaterialfv(face, GL_DIFFUSE, v);
        EXPECT_FLOAT_EQ(v[0], 0.5f);
        glGetMaterialfv(face, GL_SPECULAR, v);
        EXPECT_FLOAT_EQ(v[2], 0.11f);
        glGetMaterialfv(face, GL_EMISSION, v);
        EXPECT_FLOAT_EQ(v[3], 0.16f);
        glGetMaterialfv(face, GL_SHININESS, v);
        EXPECT_FLOAT_EQ(v[0], 77.0f);
    }
}

class PrimitivesTest : public OffscreenView {
  protected:
    void SetUp() override {
        OffscreenView::SetUp();
        view_set_clear_color(view, 0, 1.0f);
        view_clear(view);
    }
    // Brightest pixel of a 3 x 3 block, which absorbs where rasterisation puts a line on a
    // pixel boundary.
    testing::Rgba near(const std::vector<std::uint8_t>& image, int x, int y) {
        testing::Rgba best;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const auto p = at(image, x + dx, y + dy);
                if (p.r + p.g + p.b > best.r + best.g + best.b) best = p;
            }
        return best;
    }
};

TEST_F(PrimitivesTest, PointTakesItsColourOrKeepsTheCurrentOneAndRestoresState) {
    glColor3f(0, 0, 1);
    glPointSize(3.0f);
    ASSERT_EQ(draw_point(view, 20, 20, 6.0f, 0x0000FF00), VIEW_OK);
    ASSERT_EQ(draw_point(view, 60, 20, 6.0f, kKeepColour), VIEW_OK);
    const auto& image = grab();
    const auto green = at(image, 20, 20);
    EXPECT_EQ(green.r, 0);
    EXPECT_EQ(green.g, 255);
    EXPECT_EQ(green.b, 0);
    const auto blue = at(image, 60, 20);
    EXPECT_EQ(blue.b, 255);
    EXPECT_EQ(blue.g, 0);
    EXPECT_TRUE(at(image, 62, 21).lit()); // six pixels wide
    EXPECT_FALSE(at(image, 66, 20).lit());

    GLfloat size = 0, colour[4] = {};
    glGetFloatv(GL_POINT_SIZE, &size);
    EXPECT_EQ(size, 3.0f);
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[1], 0.0f);
    EXPECT_EQ(colour[2], 1.0f);
    EXPECT_FALSE(glIsEnabled(GL_POINT_SMOOTH));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint src = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    EXPECT_EQ(src, GL_SRC_ALPHA); // the blend function is not saved and stays set
}

TEST_F(PrimitivesTest, LineShadesBetweenItsColoursAndSmoothsOnlyWhenWide) {
    ASSERT_EQ(draw_line(view, 10, 50, 150, 50, 1.0f, 0x000000FF, 0x00FF0000), VIEW_OK);
    const auto& image = grab();
    const auto start = near(image, 12, 50), end = near(image, 148, 50);
    EXPECT_GT(start.r, 200);
    EXPECT_LT(start.b, 50);
    EXPECT_GT(end.b, 200);
    EXPECT_LT(end.r, 50);
    EXPECT_FALSE(near(image, 80, 60).lit());
    EXPECT_FALSE(glIsEnabled(GL_LINE_SMOOTH));

    glEnable(GL_LINE_SMOOTH);
    glLineWidth(4.0f);
    ASSERT_EQ(draw_line(view, 0, 0, 10, 10, 1.0f, kKeepColour, kKeepColour), VIEW_OK);
    EXPECT_TRUE(glIsEnabled(GL_LINE_SMOOTH));
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 4.0f);
    glDisable(GL_LINE_SMOOTH);
    ASSERT_EQ(draw_line(view, 0, 0, 10, 10, 2.0f, kKeepColour, kKeepColour), VIEW_OK);
    EXPECT_FALSE(glIsEnabled(GL_LINE_SMOOTH));
}

TEST_F(PrimitivesTest, RectVisitsItsCornersInOrderWithTheirColours) {
    ASSERT_EQ(draw_rect(view, 10, 20, 110, 70, 1.0f, 0x000000FF, 0x0000FF00, 0x00FF0000, 0x00FFFFFF),
              VIEW_OK);
    const auto& image = grab();
    const auto c1 = near(image, 11, 21), c2 = near(image, 109, 21), c3 = near(image, 109, 69),
               c4 = near(image, 11, 69);
    EXPECT_GT(c1.r, 200);
    EXPECT_LT(c1.g + c1.b, 60);
    EXPECT_GT(c2.g, 200);
    EXPECT_LT(c2.r + c2.b, 60);
    EXPECT_GT(c3.b, 200);
    EXPECT_LT(c3.r + c3.g, 60);
    EXPECT_GT(c4.r + c4.g + c4.b, 600);
    EXPECT_TRUE(near(image, 60, 20).lit());
    EXPECT_TRUE(near(image, 10, 45).lit());
    EXPECT_FALSE(near(image, 60, 45).lit());
}

class ImageTest : public PrimitivesTest {};

// An 8 x 8 icon: red, its top row green; the mask makes the left half transparent.
IconImage test_icon(std::uint8_t alpha) {
    IconImage icon;
    icon.size = 8;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool top = y == 0;
            icon.bgra.insert(icon.bgra.end(),
                             {0, std::uint8_t(top ? 255 : 0), std::uint8_t(top ? 0 : 255), alpha});
            icon.mask.push_back(x < 4 ? 255 : 0);
        }
    return icon;
}

TEST_F(ImageTest, IconWithoutAlphaTakesItsTransparencyFromTheMaskAndStandsUpright) {
    DisplayListSet* image = image_from_icon(view, test_icon(0), 8);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->count, 1);
    EXPECT_EQ(image->width, 8);
    EXPECT_EQ(image->height, 8);
    glColor3f(1, 1, 1);
    ASSERT_EQ(image_draw(view, image, 10, 10), VIEW_OK);
    const auto& picture = grab();
    EXPECT_FALSE(at(picture, 11, 14).lit()); // white mask: transparent
    EXPECT_EQ(at(picture, 15, 14).r, 255);   // black mask: opaque red
    EXPECT_EQ(at(picture, 15, 10).g, 255);   // top row at the top
    EXPECT_EQ(at(picture, 15, 10).r, 0);
    EXPECT_FALSE(at(picture, 18, 14).lit()); // 8 pixels wide
    EXPECT_FALSE(at(picture, 15, 18).lit());
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)); // the list restores what it enabled

    // The translation stays: a second draw at (10, 10) lands at (20, 20).
    ASSERT_EQ(image_draw(view, image, 10, 10), VIEW_OK);
    EXPECT_EQ(pixel(25, 24).r, 255);
    EXPECT_EQ(font_free(view, image), VIEW_OK);
}

TEST_F(ImageTest, IconWithAlphaKeepsItAndBadIconsAreRefused) {
    DisplayListSet* image = image_from_icon(view, test_icon(255), 8);
    ASSERT_NE(image, nullptr);
    glColor3f(1, 1, 1);
    image_draw(view, image, 10, 10);
    EXPECT_EQ(pixel(11, 14).r, 255); // the mask plays no part
    font_free(view, image);

    EXPECT_EQ(image_from_icon(view, test_icon(0), 0), nullptr);
    EXPECT_EQ(image_from_icon(view, test_icon(0), kMaxIconSize + 1), nullptr);
    // Buffers that do not hold n x n pixels are not read: the image is fully transparent, so
    // a white background shows through it.
    glLoadIdentity();
    view_set_clear_color(view, 0x00FFFFFF, 1.0f);
    view_clear(view);
    image = image_from_icon(view, test_icon(0), 16);
    ASSERT_NE(image, nullptr);
    image_draw(view, image, 10, 10);
    const auto behind = pixel(15, 15);
    EXPECT_EQ(behind.r + behind.g + behind.b, 3 * 255);
    font_free(view, image);
    EXPECT_EQ(image_draw(view, nullptr, 0, 0), VIEW_ERR_NO_LIST);
    EXPECT_EQ(image_draw_scaled(view, nullptr, 0, 0, 0, 0), VIEW_ERR_NO_LIST);
}

TEST_F(ImageTest, ScaledDrawOfAUnitQuadCoversTheNaturalOrGivenSize) {
    DisplayListSet unit{glGenLists(1), 1, 100, 50, 0};
    glNewList(unit.base, GL_COMPILE);
    glColor3f(1, 1, 1);
    glRecti(0, 0, 1, 1);
    glEndList();
    ASSERT_EQ(image_draw_scaled(view, &unit, 5, 6, 0, 0), VIEW_OK);
    auto covered = [&](const std::vector<std::uint8_t>& image) {
        int w = 0, h = 0;
        for (int x = 0; x < kWidth; ++x)
            w += at(image, x, 30).lit();
        for (int y = 0; y < kHeight; ++y)
            h += at(image, 50, y).lit();
        return std::pair{w, h};
    };
    EXPECT_EQ(covered(grab()), (std::pair{100, 50}));
    EXPECT_TRUE(at(grab(), 5, 6).lit());
    EXPECT_FALSE(at(grab(), 4, 6).lit());

    glLoadIdentity();
    view_clear(view);
    ASSERT_EQ(image_draw_scaled(view, &unit, 0, 0, 20, 0), VIEW_OK);
    int w = 0;
    for (int x = 0; x < kWidth; ++x)
        w += pixel(x, 10).lit();
    EXPECT_EQ(w, 20);
    glDeleteLists(unit.base, 1);
}

TEST_F(ImageTest, BitmapImageCoversItsPixelSizeWhenDrawnScaledByZero) {
    Taviron bitmap(100, 50);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) {
            std::uint8_t* px = bitmap.pixels + (y * 100 + x) * 4;
            px[0] = y < 25 ? 255 : 0;
            px[1] = y < 25 ? 0 : 255;
            px[2] = 0;
            px[3] = 255;
        }
    DisplayListSet* image = image_from_bitmap(view, &bitmap);
    ASSERT_NE(image, nullptr);
    EXPECT_NE(image->base, 0u);
    EXPECT_EQ(image->count, 1);
    EXPECT_EQ(image->width, 100);
    EXPECT_EQ(image->height, 50);
    ASSERT_EQ(image_draw_scaled(view, image, 10, 20, 0, 0), VIEW_OK);
    const auto& picture = grab();
    int w = 0, h = 0;
    for (int x = 0; x < kWidth; ++x)
        w += at(picture, x, 40).lit();
    for (int y = 0; y < kHeight; ++y)
        h += at(picture, 50, y).lit();
    EXPECT_EQ(w, 100);
    EXPECT_EQ(h, 50);
    EXPECT_GT(at(picture, 12, 22).r, 200); // top half red, upright
    EXPECT_GT(at(picture, 12, 66).g, 200);
    EXPECT_EQ(font_free(view, image), VIEW_OK);
}

} // namespace
} // namespace glview
