#pragma once
// Offscreen view for the toolkit's GL tests: an EGL surface with a view record made on it,
// pixels read back top row first, and the picture saved when a test fails.
#include "glview/view_context.h"
#include "platform/egl_surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace glview::testing {

struct Rgba {
    int r = 0, g = 0, b = 0, a = 0;
    bool lit() const { return r + g + b > 0; }
};

class OffscreenView : public ::testing::Test {
  protected:
    static constexpr std::int32_t kWidth = 160;
    static constexpr std::int32_t kHeight = 120;

    OffscreenView(std::int32_t width = kWidth, std::int32_t height = kHeight, std::uint32_t background = 0)
        : surface(width, height, background) {}

    void SetUp() override;
    void TearDown() override;

    // Pixel (x, y) counted from the top-left corner, read at the time of the call.
    Rgba pixel(int x, int y);
    // The whole picture, top row first.
    const std::vector<std::uint8_t>& grab();
    Rgba at(const std::vector<std::uint8_t>& image, int x, int y) const;

    platform::EglSurface surface;
    ViewContext* view = nullptr;
};

// A matrix of the GL state as 16 floats, column by column.
std::vector<float> gl_matrix(unsigned which);

} // namespace glview::testing
