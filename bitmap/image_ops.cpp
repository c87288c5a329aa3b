#include "bitmap/taviron.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "bitmap/resample.h"

namespace {

std::size_t index_of(std::int64_t x, std::int64_t y, std::int64_t width) {
    return static_cast<std::size_t>((y * width + x) * 4);
}

} // namespace

std::int32_t Taviron::blur(std::int32_t radius) {
    if (radius < 1) return TAV_ERR_ARGUMENT;
    bool ok = false;
    std::uint8_t* block = allocate_pixels(width, height, ok);
    if (!ok) return TAV_ERR_MEMORY;
    const std::int64_t w = width;
    const std::int64_t h = height;
    const std::int64_t r = radius;
    // Sums over the rows of the square, per column and channel, slid down one row at a time;
    // each output row then slides a window across them.
    std::vector<std::uint64_t> column(static_cast<std::size_t>(w) * 4, 0);
    auto add_row = [&](std::int64_t row, bool add) {
        const std::uint8_t* p = pixels + index_of(0, row, w);
        for (std::size_t i = 0; i < column.size(); ++i)
            column[i] = add ? column[i] + p[i] : column[i] - p[i];
    };
    for (std::int64_t row = 0; row <= std::min(r, h - 1); ++row)
        add_row(row, true);
    for (std::int64_t y = 0; y < h; ++y) {
        if (y > 0) {
            if (y + r < h) add_row(y + r, true);
            if (y - r - 1 >= 0) add_row(y - r - 1, false);
        }
        const std::uint64_t rows =
            static_cast<std::uint64_t>(std::min(y + r, h - 1) - std::max<std::int64_t>(y - r, 0) + 1);
        std::uint64_t sum[4] = {0, 0, 0, 0};
        for (std::int64_t x = 0; x <= std::min(r, w - 1); ++x) {
            for (int c = 0; c < 4; ++c)
                sum[c] += column[static_cast<std::size_t>(x * 4 + c)];
        }
        for (std::int64_t x = 0; x < w; ++x) {
            if (x > 0) {
                if (x + r < w) {
                    for (int c = 0; c < 4; ++c)
                        sum[c] += column[static_cast<std::size_t>((x + r) * 4 + c)];
                }
                if (x - r - 1 >= 0) {
                    for (int c = 0; c < 4; ++c)
                        sum[c] -= column[static_cast<std::size_t>((x - r - 1) * 4 + c)];
                }
            }
            const std::uint64_t cols =
                static_cast<std::uint64_t>(std::min(x + r, w - 1) - std::max<std::int64_t>(x - r, 0) + 1);
            std::uint8_t* out = block + index_of(x, y, w);
            for (int c = 0; c < 4; ++c)
                out[c] = static_cast<std::uint8_t>(sum[c] / (rows * cols));
        }
    }
    adopt_pixels(block, width, height);
    return TAV_OK;
}

std::int32_t Taviron::blur_rows(std::int32_t radius, std::int32_t step) {
    if (radius < 1 || step < 1) return TAV_ERR_ARGUMENT;
    bool ok = false;
    std::uint8_t* block = allocate_pixels(width, height, ok);
    if (!ok) return TAV_ERR_MEMORY;
    const std::int64_t w = width;
    const std::int64_t r = radius;
    const std::uint64_t span = static_cast<std::uint64_t>(2 * r + 1); // outside the row counts as 0
    for (std::int64_t y = 0; y < height; y += step) {
        const std::uint8_t* row = pixels + index_of(0, y, w);
        std::uint64_t sum[4] = {0, 0, 0, 0};
        for (std::int64_t x = 0; x <= std::min(r, w - 1); ++x) {
            for (int c = 0; c < 4; ++c)
                sum[c] += row[x * 4 + c];
        }
        for (std::int64_t x = 0; x < w; ++x) {
            if (x > 0) {
                if (x + r < w) {
                    for (int c = 0; c < 4; ++c)
                        sum[c] += row[(x + r) * 4 + c];
                }
                if (x - r - 1 >= 0) {
                    for (int c = 0; c < 4; ++c)
                        sum[c] -= row[(x - r - 1) * 4 + c];
                }
            }
            std::uint8_t* out = block + index_of(x, y, w);
            for (int c = 0; c < 4; ++c)
                out[c] = static_cast<std::uint8_t>(sum[c] / span);
        }
    }
    adopt_pixels(block, width, height);
    return TAV_OK;
}

std::int32_t Taviron::scale_channels(float factor) {
    if (!(factor > 0.0f)) return TAV_ERR_ARGUMENT;
    bool ok = false;
    std::uint8_t* block = allocate_pixels(width, height, ok);
    if (!ok) return TAV_ERR_MEMORY;
    const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    for (std::size_t i = 0; i < bytes; ++i) {
        const float v = static_cast<float>(pixels[i]) * factor;
        // An infinite factor makes 0 * f undefined (NaN); such a channel stays 0.
        block[i] = v >= 255.0f ? 255 : v > 0.0f ? static_cast<std::uint8_t>(v) : 0;
    }
    adopt_pixels(block, width, height);
    return TAV_OK;
}

std::int32_t Taviron::add_border(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                                 std::uint32_t colour) {
    if (left < 0 || top < 0 || right < 0 || bottom < 0) return TAV_ERR_ARGUMENT;
    const std::int64_t new_width = std::int64_t{left} + width + right;
    const std::int64_t new_height = std::int64_t{top} + height + bottom;
    if (!size_fits(new_width, new_height)) return TAV_ERR_ARGUMENT;
    const auto nw = static_cast<std::int32_t>(new_width);
    const auto nh = static_cast<std::int32_t>(new_height);
    bool ok = false;
    std::uint8_t* block = allocate_pixels(nw, nh, ok);
    if (!ok) return TAV_ERR_MEMORY;
    const std::uint8_t fill[4] = {static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8),
                                  static_cast<std::uint8_t>(colour >> 16),
                                  static_cast<std::uint8_t>(colour >> 24)};
    for (std::int64_t y = 0; y < nh; ++y) {
        for (std::int64_t x = 0; x < nw; ++x) {
            const bool inner = y >= top && y < top + height && x >= left && x < left + width;
            const std::uint8_t* s = inner ? pixels + index_of(x - left, y - top, width) : fill;
            std::copy(s, s + 4, block + index_of(x, y, nw));
        }
    }
    adopt_pixels(block, nw, nh);
    return TAV_OK;
}

std::int32_t Taviron::crop(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    if (left < 0 || top < 0 || right < 0 || bottom < 0) return TAV_ERR_ARGUMENT;
    const std::int64_t new_width = std::int64_t{width} - left - right;
    const std::int64_t new_height = std::int64_t{height} - top - bottom;
    if (new_width < 1 || new_height < 1) return TAV_ERR_ARGUMENT;
    const auto nw = static_cast<std::int32_t>(new_width);
    const auto nh = static_cast<std::int32_t>(new_height);
    bool ok = false;
    std::uint8_t* block = allocate_pixels(nw, nh, ok);
    if (!ok) return TAV_ERR_MEMORY;
    for (std::int64_t y = 0; y < nh; ++y) {
        const std::uint8_t* s = pixels + index_of(left, y + top, width);
        std::copy(s, s + static_cast<std::size_t>(nw) * 4, block + index_of(0, y, nw));
    }
    adopt_pixels(block, nw, nh);
    return TAV_OK;
}

std::int32_t Taviron::resize(std::int32_t new_width, std::int32_t new_height) {
    if (new_width < 1 || new_height < 1 || !size_fits(new_width, new_height)) return TAV_ERR_ARGUMENT;
    bool ok = false;
    std::uint8_t* block = allocate_pixels(new_width, new_height, ok);
    if (!ok) return TAV_ERR_MEMORY;
    // An empty bitmap has nothing to sample: the result stays transparent black.
    if (pixels != nullptr && width > 0 && height > 0) {
        resample_area(pixels, width, height, block, new_width, new_height);
    }
    adopt_pixels(block, new_width, new_height);
    return TAV_OK;
}
