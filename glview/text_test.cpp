#include "glview/text.h"

#include "glview/cp1252.h"
#include "glview/font.h"
#include "glview/gl_test_support.h"
#include "glview/glyph_source.h"
#include "glview/outline_tessellator.h"

#include <GL/gl.h>

#include <string>

namespace glview {
namespace {

using testing::OffscreenView;

TEST(Cp1252, HighBytesAreWindows1252Characters) {
    EXPECT_EQ(cp1252_to_unicode('A'), 0x41u);
    EXPECT_EQ(cp1252_to_unicode(0x80), 0x20ACu); // euro sign
    EXPECT_EQ(cp1252_to_unicode(0x96), 0x2013u); // en dash
    EXPECT_EQ(cp1252_to_unicode(0x9F), 0x0178u);
    EXPECT_EQ(cp1252_to_unicode(0x81), 0x81u); // undefined in the set
    EXPECT_EQ(cp1252_to_unicode(0xA0), 0xA0u);
    EXPECT_EQ(cp1252_to_unicode(0xE9), 0xE9u); // e acute
}

TEST(GlyphSource, MissingFaceFallsBackToAnInstalledSansAtTheCellHeight) {
    GlyphSource verdana({"Verdana", 14});
    ASSERT_TRUE(verdana.ok());
    EXPECT_FALSE(verdana.file().empty());
    GlyphSource twice({"Verdana", 28});
    const int a14 = verdana.advance_pixels('A');
    const int a28 = twice.advance_pixels('A');
    EXPECT_GT(a14, 4);
    EXPECT_LT(a14, 14);
    EXPECT_NEAR(a28, 2 * a14, 2);

    // A glyph of a 14-pixel cell fits in the cell: 'A' stands on the base line.
    const GlyphBitmap a = verdana.bitmap('A');
    EXPECT_GT(a.width, 0);
    EXPECT_LE(a.rows, 14);
    EXPECT_EQ(a.top, a.rows);
    EXPECT_EQ(a.bits.size(), std::size_t((a.width + 7) / 8 * a.rows));
    // The euro sign of Windows-1252 byte 0x80 exists in the fallback face.
    EXPECT_GT(verdana.bitmap(0x80).rows, 0);
}

// Area of a run of triangles, each counted positive when counter-clockwise.
double signed_area(const std::vector<std::array<double, 2>>& t) {
    double sum = 0;
    for (std::size_t i = 0; i + 2 < t.size(); i += 3)
        sum += ((t[i + 1][0] - t[i][0]) * (t[i + 2][1] - t[i][1]) -
                (t[i + 1][1] - t[i][1]) * (t[i + 2][0] - t[i][0])) /
               2;
    return sum;
}

TEST(OutlineTessellator, FillsASquareWithAHoleCounterClockwise) {
    GlyphOutline square;
    // Outer contour clockwise, inner counter-clockwise: the non-zero rule leaves a hole.
    square.contours = {{{0, 0}, {0, 1}, {1, 1}, {1, 0}},
                       {{0.25, 0.25}, {0.75, 0.25}, {0.75, 0.75}, {0.25, 0.75}}};
    const auto triangles = tessellate_outline(square);
    ASSERT_FALSE(triangles.empty());
    EXPECT_NEAR(signed_area(triangles), 0.75, 1e-9);
    for (std::size_t i = 0; i < triangles.size(); i += 3) {
        std::vector<std::array<double, 2>> one(triangles.begin() + std::ptrdiff_t(i),
                                               triangles.begin() + std::ptrdiff_t(i) + 3);
        EXPECT_GE(signed_area(one), 0.0);
    }
    // Both contours the same way round: non-zero fills the inner square too, even-odd does not.
    square.contours[1] = {{0.25, 0.25}, {0.25, 0.75}, {0.75, 0.75}, {0.75, 0.25}};
    EXPECT_NEAR(signed_area(tessellate_outline(square)), 1.0, 1e-9);
    square.evenOdd = true;
    EXPECT_NEAR(signed_area(tessellate_outline(square)), 0.75, 1e-9);
}

TEST(GlyphSource, OutlinesAreInEmUnitsWithFlattenedCurves) {
    GlyphSource source({"Verdana", 14});
    const GlyphOutline o = source.outline('O', 0.0);
    ASSERT_EQ(o.contours.size(), 2u); // outer ring and counter
    EXPECT_GT(o.contours[0].size(), 16u);
    EXPECT_GT(o.advance, 0.4);
    EXPECT_LT(o.advance, 1.0);
    for (const auto& c : o.contours)
        for (const auto& p : c) {
            EXPECT_GT(p.second, -0.3);
            EXPECT_LT(p.second, 1.0);
        }
    // A coarse deviation cuts the curves into fewer chords.
    const GlyphOutline coarse = source.outline('O', 0.05f);
    EXPECT_LT(coarse.contours[0].size(), o.contours[0].size());
    EXPECT_GT(signed_area(tessellate_outline(o)), 0.1);
}

class TextTest : public OffscreenView {
  protected:
    // 256 lists that each move the modelview matrix 1 unit along x, except byte 0xE9 (1000).
    void make_counting_lists() {
        counting.base = glGenLists(256);
        counting.count = 256;
        for (int c = 0; c < 256; ++c) {
            glNewList(counting.base + c, GL_COMPILE);
            glTranslatef(c == 0xE9 ? 1000.0f : 1.0f, 0, 0);
            glEndList();
        }
        glLoadIdentity();
    }
    float x_offset() { return testing::gl_matrix(GL_MODELVIEW_MATRIX)[12]; }

    DisplayListSet counting;
};

TEST_F(TextTest, FormatsPrintfTextCutTo2047BytesOneListPerByte) {
    make_counting_lists();
    EXPECT_EQ(text_print_outline(view, &counting, "%d-%s", 12345, "ab"), VIEW_OK);
    EXPECT_EQ(x_offset(), 8.0f);
    glLoadIdentity();
    EXPECT_EQ(text_print_outline(view, &counting, "%s", ""), VIEW_OK);
    EXPECT_EQ(x_offset(), 0.0f);
    EXPECT_EQ(text_print_outline(view, &counting, "\xE9"), VIEW_OK); // base + 233
    EXPECT_EQ(x_offset(), 1000.0f);
    glLoadIdentity();
    const std::string longText(3000, 'x');
    EXPECT_EQ(text_print_outline(view, &counting, "%s", longText.c_str()), VIEW_OK);
    EXPECT_EQ(x_offset(), 2047.0f);

    glLoadIdentity();
    EXPECT_EQ(text_print_outline(view, &counting, nullptr), VIEW_ERR_NO_TEXT);
    EXPECT_EQ(text_print(view, &counting, 0, 0, nullptr), VIEW_ERR_NO_TEXT);
    EXPECT_EQ(text_print_zoomed(view, &counting, 0, 0, nullptr), VIEW_ERR_NO_TEXT);
    EXPECT_EQ(text_print(view, nullptr, 0, 0, "x"), VIEW_ERR_NO_LIST);
    EXPECT_EQ(x_offset(), 0.0f);
    glDeleteLists(counting.base, 256);
}

TEST_F(TextTest, PrintsKeepTheListBaseAndZoomedSetsHalfPixelZoom) {
    make_counting_lists();
    glListBase(77);
    EXPECT_EQ(text_print(view, &counting, 10, 10, "ab"), VIEW_OK);
    GLint base = 0;
    glGetIntegerv(GL_LIST_BASE, &base);
    EXPECT_EQ(base, 77);
    EXPECT_EQ(x_offset(), 2.0f); // the lists ran, through the font's base

    glTranslatef(30, 40, 0);
    EXPECT_EQ(text_print_zoomed(view, &counting, 10, 10, "a"), VIEW_OK);
    glGetIntegerv(GL_LIST_BASE, &base);
    EXPECT_EQ(base, 77);
    EXPECT_EQ(x_offset(), 1.0f); // identity loaded before the list ran
    GLfloat zoom = 0;
    glGetFloatv(GL_ZOOM_X, &zoom);
    EXPECT_EQ(zoom, 0.5f);
    glGetFloatv(GL_ZOOM_Y, &zoom);
    EXPECT_EQ(zoom, 0.5f);
    glDeleteLists(counting.base, 256);
}

TEST_F(TextTest, BitmapFontDrawsAOnTheBaseLineAtTheRasterPosition) {
    DisplayListSet* font = font_create_bitmap(view, 14, 0, 0, 0, 0, "Verdana");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->count, 256);
    EXPECT_NE(font->base, 0u);
    EXPECT_TRUE(glIsList(font->base + 255));
    EXPECT_GT(font->charWidth, 4);
    EXPECT_LT(font->charWidth, 14);

    view_set_clear_color(view, 0, 1.0f);
    view_clear(view);
    glColor3f(1, 1, 1);
    const int x = 20, y = 40;
    ASSERT_EQ(text_print(view, font, x, y, "A"), VIEW_OK);
    const auto& image = grab();
    int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
    for (int py = 0; py < kHeight; ++py)
        for (int px = 0; px < kWidth; ++px)
            if (at(image, px, py).lit()) {
                minX = std::min(minX, px);
                maxX = std::max(maxX, px);
                minY = std::min(minY, py);
                maxY = std::max(maxY, py);
            }
    ASSERT_GE(maxX, 0) << "nothing drawn";
    EXPECT_EQ(maxY, y - 1); // the lowest row sits on the base line
    EXPECT_GE(minY, y - 14);
    EXPECT_GE(minX, x - 1);
    EXPECT_LE(maxX, x + font->charWidth);
    // Upright: two legs at the foot, one apex at the top.
    const auto runs = [&](int row) {
        int n = 0;
        for (int px = minX; px <= maxX + 1; ++px)
            n += at(image, px, row).lit() && !at(image, px - 1, row).lit();
        return n;
    };
    EXPECT_EQ(runs(maxY), 2);
    EXPECT_EQ(runs(minY), 1);

    // The second "A" of "AA" starts one advance further on.
    view_clear(view);
    ASSERT_EQ(text_print(view, font, x, y, "AA"), VIEW_OK);
    const auto& two = grab();
    int right = -1;
    for (int px = 0; px < kWidth; ++px)
        for (int py = 0; py < kHeight; ++py)
            if (at(two, px, py).lit()) right = px;
    EXPECT_EQ(right, maxX + font->charWidth);
    EXPECT_EQ(font_free(view, font), VIEW_OK);
    EXPECT_EQ(font_free(view, nullptr), VIEW_ERR_NO_LIST);
}

TEST_F(TextTest, DoubleAndDescribedFontsFollowTheHeight) {
    DisplayListSet* single = font_create_bitmap(view, 14, 0, 0, 0, 0, "Verdana");
    DisplayListSet* twice = font_create_bitmap_double(view, 14, 0, 0, 0, 0, "Verdana");
    DisplayListSet* described = font_from_handle(view, FontDescription{"Verdana", 28, 700, 0});
    DisplayListSet* narrow = font_create_bitmap_sized(view, 28, 0, 0, 0, 0, "Verdana", 5);
    ASSERT_TRUE(single && twice && described && narrow);
    EXPECT_NEAR(twice->charWidth, 2 * single->charWidth, 2);
    EXPECT_GE(described->charWidth, twice->charWidth); // bold is at least as wide
    EXPECT_LT(narrow->charWidth, twice->charWidth);
    for (auto* f : {single, twice, described, narrow})
        EXPECT_EQ(font_free(view, f), VIEW_OK);
}

TEST_F(TextTest, OutlineFontHasGlyphListsOneEmTallThatAdvance) {
    DisplayListSet* font = font_create_outline(view, 14, 0, 0.0f, 0.0f, 0, 0, 0, "Verdana");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->count, 256);
    EXPECT_EQ(font->charWidth, 0);
    EXPECT_TRUE(glIsList(font->base + 0xE9));

    view_set_clear_color(view, 0, 1.0f);
    view_clear(view);
    glColor3f(1, 1, 1);
    // One em becomes 80 pixels, y flipped back up.
    glTranslatef(10, 100, 0);
    glScalef(80, -80, 1);
    ASSERT_EQ(text_print_outline(view, font, "H"), VIEW_OK);
    const float advanced = testing::gl_matrix(GL_MODELVIEW_MATRIX)[12];
    EXPECT_GT(advanced, 10 + 0.5f * 80);
    EXPECT_LT(advanced, 10 + 1.0f * 80);
    const auto& image = grab();
    int lit = 0, top = 1000, bottom = -1;
    for (int py = 0; py < kHeight; ++py)
        for (int px = 0; px < kWidth; ++px)
            if (at(image, px, py).lit()) {
                ++lit;
                top = std::min(top, py);
                bottom = std::max(bottom, py);
            }
    EXPECT_GT(lit, 500);
    EXPECT_EQ(bottom, 99);                // stands on the base line
    EXPECT_NEAR(100 - top, 0.73 * 80, 6); // cap height of a sans face
    // Above the cross bar the two stems are lit and the space between them is not.
    const int row = 100 - int(0.6 * 80), middle = int((10 + advanced) / 2);
    EXPECT_FALSE(at(image, middle, row).lit());
    EXPECT_TRUE(at(image, 10 + 12, row).lit() || at(image, 10 + 16, row).lit());
    EXPECT_TRUE(at(image, int(advanced) - 12, row).lit() || at(image, int(advanced) - 16, row).lit());
    EXPECT_EQ(font_free(view, font), VIEW_OK);

    DisplayListSet* solid = font_create_outline(view, 14, 0, 0.01f, 0.2f, 0, 0, 0, "Verdana");
    ASSERT_NE(solid, nullptr);
    EXPECT_TRUE(glIsList(solid->base + 'H'));
    EXPECT_EQ(font_free(view, solid), VIEW_OK);
}

} // namespace
} // namespace glview
