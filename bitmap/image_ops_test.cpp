#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "bitmap/record_snapshot.h"
#include "bitmap/taviron.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes pixels_of(const Taviron& t) {
    return Bytes(t.pixels, t.pixels + static_cast<size_t>(t.width) * t.height * 4);
}

// A record of the given size whose pixel bytes are value(i) in order.
void fill(Taviron& t, uint8_t (*value)(size_t)) {
    for (size_t i = 0; i < static_cast<size_t>(t.width) * t.height * 4; ++i)
        t.pixels[i] = value(i);
}
uint8_t ramp(size_t i) {
    return static_cast<uint8_t>(i * 7 + 3);
}

TEST(PixelAccess, InsideReadsAndWritesOnePixelOutsideChangesNothing) {
    Taviron t(3, 2);
    fill(t, ramp);
    const Bytes before = pixels_of(t);
    for (auto [x, y] :
         {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 2}, {std::numeric_limits<int32_t>::min(), 0}}) {
        SCOPED_TRACE(x);
        EXPECT_EQ(t.get_alpha(x, y), -1);
        EXPECT_EQ(t.get_rgb(x, y), 0u);
        EXPECT_EQ(t.get_pixel(x, y), 0u);
        EXPECT_EQ(t.set_pixel(x, y, 1, 2, 3, 4), TAV_ERR_FAILED);
    }
    EXPECT_EQ(pixels_of(t), before);

    ASSERT_EQ(t.set_pixel(2, 1, 300, -1, 0x1FF, 128), TAV_OK); // low bytes: 44, 255, 255
    EXPECT_EQ(t.get_pixel(2, 1), 0x80FFFF2Cu);
    EXPECT_EQ(t.get_rgb(2, 1), 0x00FFFF2Cu);
    EXPECT_EQ(t.get_alpha(2, 1), 128);
    Bytes expected = before;
    expected[20] = 44;
    expected[21] = 255;
    expected[22] = 255;
    expected[23] = 128;
    EXPECT_EQ(pixels_of(t), expected);

    Taviron empty;
    EXPECT_EQ(empty.get_alpha(0, 0), -1);
    EXPECT_EQ(empty.set_pixel(0, 0, 1, 1, 1, 1), TAV_ERR_FAILED);
}

TEST(SetData, CountsAPartRowAsWholeAndReusesASameSizedBlock) {
    Bytes source(24);
    for (size_t i = 0; i < source.size(); ++i)
        source[i] = static_cast<uint8_t>(i + 1);
    Taviron t;
    ASSERT_EQ(t.set_data(source.data(), 5, 2), TAV_OK);
    EXPECT_EQ(t.width, 2);
    EXPECT_EQ(t.height, 3);
    EXPECT_EQ(pixels_of(t), source);

    const uint8_t* block = t.pixels;
    source[0] = 99;
    ASSERT_EQ(t.set_data(source.data(), 6, 2), TAV_OK);
    EXPECT_EQ(t.pixels, block);
    EXPECT_EQ(t.pixels[0], 99);

    const RecordSnapshot before(t);
    EXPECT_EQ(t.set_data(nullptr, 4, 2), TAV_ERR_FAILED);
    EXPECT_EQ(t.set_data(source.data(), 0, 2), TAV_ERR_FAILED);
    EXPECT_EQ(t.set_data(source.data(), 4, 0), TAV_ERR_FAILED);
    EXPECT_EQ(t.set_data(source.data(), -4, 2), TAV_ERR_ARGUMENT);
    EXPECT_EQ(t.set_data(source.data(), 4, -2), TAV_ERR_ARGUMENT);
    EXPECT_EQ(RecordSnapshot(t), before);
}

TEST(Blur, MeansOverTheSquareInsideTheBitmap) {
    Taviron one(1, 1);
    ASSERT_EQ(one.set_pixel(0, 0, 10, 20, 30, 40), TAV_OK);
    ASSERT_EQ(one.blur(1), TAV_OK);
    EXPECT_EQ(one.get_pixel(0, 0), 0x281E140Au);

    // 3 x 3 with red 0..8 and alpha 90 only in the centre.
    Taviron t(3, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x)
            t.set_pixel(x, y, y * 3 + x, 0, 0, x == 1 && y == 1 ? 90 : 0);
    }
    const uint8_t* old_block = t.pixels;
    ASSERT_EQ(t.blur(1), TAV_OK);
    EXPECT_NE(t.pixels, old_block);
    EXPECT_EQ(t.get_pixel(1, 1), (90u / 9) << 24 | 4u); // (0 + ... + 8) / 9, 90 / 9
    EXPECT_EQ(t.get_pixel(0, 0), (90u / 4) << 24 | 2u); // (0 + 1 + 3 + 4) / 4
    EXPECT_EQ(t.get_pixel(2, 1), (90u / 6) << 24 | 4u); // (1 + 2 + 4 + 5 + 7 + 8) / 6 = 4.5, truncated
}

TEST(Blur, RadiusLargerThanTheBitmapGivesTheMeanEverywhereAndBadRadiusIsRefused) {
    Taviron t(4, 2);
    fill(t, ramp);
    Bytes src = pixels_of(t);
    ASSERT_EQ(t.blur(std::numeric_limits<int32_t>::max()), TAV_OK);
    for (int c = 0; c < 4; ++c) {
        unsigned sum = 0;
        for (int p = 0; p < 8; ++p)
            sum += src[p * 4 + c];
        for (int p = 0; p < 8; ++p)
            EXPECT_EQ(t.pixels[p * 4 + c], sum / 8);
    }
    const RecordSnapshot before(t);
    EXPECT_EQ(t.blur(0), TAV_ERR_ARGUMENT);
    EXPECT_EQ(t.blur(-3), TAV_ERR_ARGUMENT);
    EXPECT_EQ(RecordSnapshot(t), before);
}

TEST(BlurRows, BlursEveryStepthRowWithZerosOutsideAndClearsTheRest) {
    Taviron t(3, 5);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 3; ++x)
            t.set_pixel(x, y, 90, 30, 3, 255);
    }
    ASSERT_EQ(t.blur_rows(1, 2), TAV_OK);
    for (int y = 0; y < 5; ++y) {
        SCOPED_TRACE(y);
        if (y % 2 == 1) {
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(t.get_pixel(x, y), 0u);
        } else {
            EXPECT_EQ(t.get_pixel(0, y), 170u << 24 | 2u << 16 | 20u << 8 | 60u); // two of three inside
            EXPECT_EQ(t.get_pixel(1, y), 255u << 24 | 3u << 16 | 30u << 8 | 90u);
            EXPECT_EQ(t.get_pixel(2, y), 170u << 24 | 2u << 16 | 20u << 8 | 60u);
        }
    }
}

TEST(BlurRows, BadRadiusOrStepIsRefusedUnchanged) {
    Taviron t(3, 3);
    fill(t, ramp);
    const RecordSnapshot before(t);
    EXPECT_EQ(t.blur_rows(0, 1), TAV_ERR_ARGUMENT);
    EXPECT_EQ(t.blur_rows(1, 0), TAV_ERR_ARGUMENT);
    EXPECT_EQ(t.blur_rows(1, -2), TAV_ERR_ARGUMENT);
    EXPECT_EQ(RecordSnapshot(t), before);
    // A radius far beyond the row: every pixel is the row's sum over 2r + 1.
    ASSERT_EQ(t.blur_rows(std::numeric_limits<int32_t>::max(), 1), TAV_OK);
    EXPECT_EQ(t.get_pixel(1, 1), 0u);
}

TEST(ScaleChannels, TruncatesCapsAndRefusesFactorsNotAboveZero) {
    Taviron t(2, 1);
    t.set_pixel(0, 0, 100, 200, 50, 255);
    t.set_pixel(1, 0, 3, 5, 7, 1);
    ASSERT_EQ(t.scale_channels(2.0f), TAV_OK);
    EXPECT_EQ(t.get_pixel(0, 0), 0xFF64FFC8u); // (200, 255, 100, 255)
    ASSERT_EQ(t.scale_channels(0.5f), TAV_OK);
    EXPECT_EQ(t.get_pixel(0, 0), 0x7F327F64u); // (100, 127, 50, 127)
    EXPECT_EQ(t.get_pixel(1, 0), 0x01070503u); // (6, 10, 14, 2) halved
    // An infinite factor caps every non-zero channel and leaves zero channels at 0.
    Taviron inf(1, 1);
    inf.set_pixel(0, 0, 0, 100, 255, 1);
    ASSERT_EQ(inf.scale_channels(std::numeric_limits<float>::infinity()), TAV_OK);
    EXPECT_EQ(inf.get_pixel(0, 0), 0xFFFFFF00u);
    const RecordSnapshot before(t);
    EXPECT_EQ(t.scale_channels(0.0f), TAV_ERR_ARGUMENT);
    EXPECT_EQ(t.scale_channels(-1.0f), TAV_ERR_ARGUMENT);
    EXPECT_EQ(t.scale_channels(std::nanf("")), TAV_ERR_ARGUMENT);
    EXPECT_EQ(RecordSnapshot(t), before);
}

TEST(AddBorder, SurroundsWithTheColourAndKeepsTheOldPixelsInside) {
    Taviron t(2, 2);
    fill(t, ramp);
    const Bytes old = pixels_of(t);
    ASSERT_EQ(t.add_border(1, 1, 1, 1, 0x44332211u), TAV_OK);
    ASSERT_EQ(t.width, 4);
    ASSERT_EQ(t.height, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            SCOPED_TRACE(y * 4 + x);
            if (x >= 1 && x <= 2 && y >= 1 && y <= 2) {
                const uint8_t* o = &old[((y - 1) * 2 + (x - 1)) * 4];
                EXPECT_EQ(t.get_pixel(x, y),
                          o[0] | o[1] << 8 | o[2] << 16 | static_cast<uint32_t>(o[3]) << 24);
            } else {
                EXPECT_EQ(t.get_pixel(x, y), 0x44332211u);
            }
        }
    }
    // Uneven margins: 2 left, none elsewhere.
    Taviron u(1, 1);
    u.set_pixel(0, 0, 9, 9, 9, 9);
    ASSERT_EQ(u.add_border(2, 0, 0, 0, 0), TAV_OK);
    EXPECT_EQ(u.width, 3);
    EXPECT_EQ(u.get_pixel(2, 0), 0x09090909u);
    EXPECT_EQ(u.get_pixel(0, 0), 0u);
}

TEST(AddBorder, NegativeOrOversizedMarginsAreRefusedUnchanged) {
    Taviron t(2, 2);
    fill(t, ramp);
    const RecordSnapshot before(t);
    EXPECT_EQ(t.add_border(-1, 0, 0, 0, 0), TAV_ERR_ARGUMENT);
    EXPECT_EQ(t.add_border(0, 0, 0, -1, 0), TAV_ERR_ARGUMENT);
    const int32_t big = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(t.add_border(big, 0, big, 0, 0), TAV_ERR_ARGUMENT);
    EXPECT_EQ(t.add_border(0x8000, 0x4000, 0, 0, 0), TAV_ERR_ARGUMENT);
    EXPECT_EQ(RecordSnapshot(t), before);
}

TEST(Crop, KeepsTheInnerPixelsAndRefusesMarginsLeavingNothing) {
    Taviron line(3, 1);
    fill(line, ramp);
    const Bytes old = pixels_of(line);
    ASSERT_EQ(line.crop(1, 0, 0, 0), TAV_OK);
    EXPECT_EQ(line.width, 2);
    EXPECT_EQ(pixels_of(line), Bytes(old.begin() + 4, old.end()));

    Taviron t(4, 3);
    fill(t, ramp);
    const Bytes whole = pixels_of(t);
    ASSERT_EQ(t.crop(1, 1, 2, 1), TAV_OK);
    ASSERT_EQ(t.width, 1);
    ASSERT_EQ(t.height, 1);
    EXPECT_EQ(pixels_of(t), Bytes(whole.begin() + (4 + 1) * 4, whole.begin() + (4 + 2) * 4));

    Taviron u(3, 3);
    fill(u, ramp);
    const RecordSnapshot before(u);
    const int32_t big = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(u.crop(-1, 0, 0, 0), TAV_ERR_ARGUMENT);
    EXPECT_EQ(u.crop(0, 0, 0, -1), TAV_ERR_ARGUMENT);
    EXPECT_EQ(u.crop(2, 0, 1, 0), TAV_ERR_ARGUMENT); // no column left
    EXPECT_EQ(u.crop(0, 3, 0, 0), TAV_ERR_ARGUMENT); // no row left
    EXPECT_EQ(u.crop(big, 0, big, 0), TAV_ERR_ARGUMENT);
    EXPECT_EQ(u.crop(0, big, 0, 1), TAV_ERR_ARGUMENT);
    EXPECT_EQ(RecordSnapshot(u), before);
}

TEST(Resize, AreaAveragesAllFourChannelsIntoANewBlock) {
    Taviron t(4, 2);
    for (int x = 0; x < 4; ++x) {
        t.set_pixel(x, 0, x * 60, 100, 0, x < 2 ? 255 : 0);
        t.set_pixel(x, 1, x * 60, 0, 200, x < 2 ? 255 : 0);
    }
    ASSERT_EQ(t.resize(2, 1), TAV_OK);
    ASSERT_EQ(t.width, 2);
    ASSERT_EQ(t.height, 1);
    EXPECT_EQ(t.get_pixel(0, 0), 0xFF64321Eu); // red (0 + 60) / 2, green 50, blue 100, alpha 255
    EXPECT_EQ(t.get_pixel(1, 0), 0x00643296u); // red (120 + 180) / 2 = 150, alpha 0
}

TEST(Resize, SameSizeStillMakesANewBlockWithTheSamePixels) {
    Taviron t(3, 2);
    fill(t, ramp);
    const Bytes old = pixels_of(t);
    const uint8_t* old_block = t.pixels;
    ASSERT_EQ(t.resize(3, 2), TAV_OK);
    EXPECT_NE(t.pixels, old_block);
    EXPECT_EQ(pixels_of(t), old);
}

TEST(Resize, BadSizesAreRefusedUnchanged) {
    Taviron t(32, 32);
    fill(t, ramp);
    const RecordSnapshot before(t);
    EXPECT_EQ(t.resize(0, 5), TAV_ERR_ARGUMENT);
    EXPECT_EQ(t.resize(5, 0), TAV_ERR_ARGUMENT);
    EXPECT_EQ(t.resize(-1, 5), TAV_ERR_ARGUMENT);
    EXPECT_EQ(t.resize(0x8000, 0x4000), TAV_ERR_ARGUMENT);
    EXPECT_EQ(RecordSnapshot(t), before);
}

TEST(Resize, EmptyBitmapGrowsTransparentBlack) {
    Taviron t;
    ASSERT_EQ(t.resize(2, 2), TAV_OK);
    EXPECT_EQ(pixels_of(t), Bytes(16, 0));
}

} // namespace
