#include <gtest/gtest.h>

#include <vector>

#include "bitmap/canvas.h"
#include "bitmap/taviron.h"

namespace {

// A canvas on a plain buffer of colour values 0x00BBGGRR.
class BufferCanvas : public Canvas {
  public:
    BufferCanvas(int32_t w, int32_t h, uint32_t background, uint32_t face)
        : width_(w), height_(h), face_(face), cells_(static_cast<size_t>(w) * h, background) {}

    uint32_t get_pixel(int32_t x, int32_t y) const override { return inside(x, y) ? cells_[index(x, y)] : 0; }
    void set_pixel(int32_t x, int32_t y, uint32_t colour) override {
        ++writes;
        if (inside(x, y)) cells_[index(x, y)] = colour;
    }
    void put_image(int32_t x, int32_t y, const DibImage& image) override {
        for (int32_t j = 0; j < image.height; ++j) {
            // DIB rows run from the bottom of the picture.
            const uint8_t* row = image.pixels + static_cast<size_t>(image.height - 1 - j) * image.width * 4;
            for (int32_t i = 0; i < image.width; ++i) {
                if (inside(x + i, y + j)) {
                    cells_[index(x + i, y + j)] = row[i * 4 + 2] | row[i * 4 + 1] << 8 | row[i * 4] << 16;
                }
            }
        }
    }
    uint32_t face_colour() const override { return face_; }
    uint32_t at(int32_t x, int32_t y) const { return cells_[index(x, y)]; }

    int writes = 0;

  private:
    bool inside(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    size_t index(int32_t x, int32_t y) const { return static_cast<size_t>(y) * width_ + x; }
    int32_t width_, height_;
    uint32_t face_;
    std::vector<uint32_t> cells_;
};

TEST(BlendToDc, FullOpacityOfAnOpaquePixelIsOneStepDarkerAndLandsAtTheOffset) {
    Taviron t(2, 1);
    t.set_pixel(0, 0, 255, 0, 128, 255);
    t.set_pixel(1, 0, 10, 20, 30, 0); // transparent: the canvas shows through, darkened by the shift
    BufferCanvas c(4, 3, 0x00C8C8C8, 0);
    ASSERT_EQ(t.blend_to_dc(c, 1, 2, 1.0f), TAV_OK);
    EXPECT_EQ(c.at(1, 2), 0x007F00FEu); // 255 -> 254, 128 -> 127, 0 -> 0
    EXPECT_EQ(c.at(2, 2), 0x00C7C7C7u); // (255 * 200) >> 8 = 199
    EXPECT_EQ(c.at(0, 2), 0x00C8C8C8u);
    EXPECT_EQ(c.at(1, 1), 0x00C8C8C8u);
}

TEST(BlendToDc, HalfOpacityWeighsByTruncatedAlphaTimesOpacity) {
    Taviron t(1, 1);
    t.set_pixel(0, 0, 200, 100, 0, 201); // a = trunc(201 * 0.5) = 100
    BufferCanvas c(1, 1, 0x00000064, 0); // red 100
    ASSERT_EQ(t.blend_to_dc(c, 0, 0, 0.5f), TAV_OK);
    // red: (155 * 100) >> 8 + (200 * 100) >> 8 = 60 + 78; green: 0 + 39; blue 0.
    EXPECT_EQ(c.at(0, 0), 0x0000278Au);
}

TEST(BlendToDc, OpacityIsClampedAndZeroOrEmptyDrawsNothing) {
    Taviron t(1, 1);
    t.set_pixel(0, 0, 255, 255, 255, 255);
    BufferCanvas once(1, 1, 0, 0), clamped(1, 1, 0, 0);
    t.blend_to_dc(once, 0, 0, 1.0f);
    t.blend_to_dc(clamped, 0, 0, 7.5f);
    EXPECT_EQ(clamped.at(0, 0), once.at(0, 0));

    BufferCanvas untouched(1, 1, 0x123456, 0);
    EXPECT_EQ(t.blend_to_dc(untouched, 0, 0, 0.0f), TAV_OK);
    Taviron empty;
    EXPECT_EQ(empty.blend_to_dc(untouched, 0, 0, 1.0f), TAV_OK);
    EXPECT_EQ(untouched.writes, 0);
}

TEST(BlendToDc, NegativeOpacityBlendsItsMagnitudeOntoTheFaceColourWithinRange) {
    Taviron t(2, 1);
    t.set_pixel(0, 0, 255, 255, 255, 255);
    t.set_pixel(1, 0, 0, 0, 0, 255);
    // The canvas itself is ignored: its colour must not show in the result.
    BufferCanvas c(2, 1, 0x00FFFFFF, 0x00C0A080);
    ASSERT_EQ(t.blend_to_dc(c, 0, 0, -1.0f), TAV_OK);
    EXPECT_EQ(c.at(0, 0), 0x00FEFEFEu);
    EXPECT_EQ(c.at(1, 0), 0x00000000u);
    // Half: a = 127; red of the face 0x80: (128 * 128) >> 8 + (255 * 127) >> 8 = 64 + 126.
    BufferCanvas half(2, 1, 0x00FFFFFF, 0x00C0A080);
    ASSERT_EQ(t.blend_to_dc(half, 0, 0, -0.5f), TAV_OK);
    EXPECT_EQ(half.at(0, 0) & 0xFF, 190u);
    EXPECT_EQ(half.at(1, 0) & 0xFF, 64u);
    // Every channel of every result stays a byte: nothing spills into the neighbouring channel.
    for (uint32_t v : {half.at(0, 0), half.at(1, 0), c.at(0, 0)})
        EXPECT_EQ(v >> 24, 0u);
    EXPECT_EQ((half.at(1, 0) >> 16) & 0xFF, (192u * 128) >> 8);
}

TEST(DrawToDc, CopiesTheColoursUprightAtTheOffsetIgnoringAlpha) {
    Taviron t(2, 2);
    t.set_pixel(0, 0, 1, 2, 3, 0);
    t.set_pixel(1, 0, 4, 5, 6, 255);
    t.set_pixel(0, 1, 7, 8, 9, 10);
    t.set_pixel(1, 1, 10, 11, 12, 0);
    BufferCanvas c(4, 4, 0x00ABCDEF, 0);
    ASSERT_EQ(t.draw_to_dc(c, 2, 1), TAV_OK);
    EXPECT_EQ(c.at(2, 1), 0x030201u);
    EXPECT_EQ(c.at(3, 1), 0x060504u);
    EXPECT_EQ(c.at(2, 2), 0x090807u);
    EXPECT_EQ(c.at(3, 2), 0x0C0B0Au);
    EXPECT_EQ(c.at(1, 1), 0x00ABCDEFu);
    EXPECT_EQ(c.at(2, 3), 0x00ABCDEFu);
}

} // namespace
