#include "bitmap/resample.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes resample(const Bytes& src, int sw, int sh, int dw, int dh) {
    Bytes dst(static_cast<size_t>(dw) * dh * 4, 0xCD);
    resample_area(src.data(), sw, sh, dst.data(), dw, dh);
    return dst;
}

TEST(ResampleArea, SameSizeKeepsEveryPixel) {
    Bytes src(5 * 3 * 4);
    for (size_t i = 0; i < src.size(); ++i)
        src[i] = static_cast<uint8_t>(i * 37 + 11);
    EXPECT_EQ(resample(src, 5, 3, 5, 3), src);
}

TEST(ResampleArea, HalvingAveragesEachPairAllFourChannels) {
    const Bytes src = {10, 20, 30, 0, 20, 40, 60, 255, 255, 255, 255, 255, 0, 0, 0, 0};
    EXPECT_EQ(resample(src, 4, 1, 2, 1), (Bytes{15, 30, 45, 128, 128, 128, 128, 128}));
}

TEST(ResampleArea, ShrinkingByThreeToTwoWeighsPartialPixelsByTheirShare) {
    // Target 0 covers all of source 0 and half of source 1; target 1 the other half and source 2.
    const Bytes src = {0, 0, 0, 0, 90, 90, 90, 90, 180, 180, 180, 180};
    EXPECT_EQ(resample(src, 3, 1, 2, 1), (Bytes{30, 30, 30, 30, 150, 150, 150, 150}));
}

TEST(ResampleArea, GrowingRepeatsOrSplitsSourcePixels) {
    const Bytes one = {1, 2, 3, 4};
    EXPECT_EQ(resample(one, 1, 1, 2, 3),
              (Bytes{1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4}));
    // 2 -> 3 across: the middle target pixel straddles both sources half and half.
    const Bytes two = {0, 0, 0, 0, 200, 100, 50, 255};
    EXPECT_EQ(resample(two, 2, 1, 3, 1), (Bytes{0, 0, 0, 0, 100, 50, 25, 128, 200, 100, 50, 255}));
}

TEST(ResampleArea, TwoDimensionsAndWholePictureMeanOnOnePixel) {
    // 2 x 2 down to 1 x 1 is the mean; columns and rows are weighed independently.
    const Bytes src = {0, 0, 0, 0, 100, 0, 0, 0, 0, 200, 0, 0, 100, 200, 40, 8};
    EXPECT_EQ(resample(src, 2, 2, 1, 1), (Bytes{50, 100, 10, 2}));
    // 2 x 2 -> 1 x 2 keeps the rows apart.
    EXPECT_EQ(resample(src, 2, 2, 1, 2), (Bytes{50, 0, 0, 0, 50, 200, 20, 4}));
}

TEST(ResampleArea, MeanOfABigShrinkStaysExact) {
    // 300 x 200 of a vertical ramp down to 3 x 2: every target averages 100 x 100 pixels.
    const int sw = 300, sh = 200;
    Bytes src(static_cast<size_t>(sw) * sh * 4);
    for (int y = 0; y < sh; ++y) {
        for (int x = 0; x < sw; ++x) {
            uint8_t* p = &src[(static_cast<size_t>(y) * sw + x) * 4];
            p[0] = static_cast<uint8_t>(y < 100 ? 10 : 250);
            p[1] = static_cast<uint8_t>(x % 2 ? 255 : 0);
            p[2] = static_cast<uint8_t>(x / 100 * 100);
            p[3] = 255;
        }
    }
    const Bytes dst = resample(src, sw, sh, 3, 2);
    EXPECT_EQ(dst, (Bytes{10,  128, 0, 255, 10,  128, 100, 255, 10,  128, 200, 255, //
                          250, 128, 0, 255, 250, 128, 100, 255, 250, 128, 200, 255}));
}

} // namespace
