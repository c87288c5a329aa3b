#include "bitmap/taviron.h"

#include <cmath>
#include <cstdlib>
#include <memory>

#include "bitmap/canvas.h"

namespace {

struct BlockFree {
    void operator()(std::uint8_t* p) const { std::free(p); }
};

std::uint32_t channel(std::uint32_t colour, int shift) {
    return (colour >> shift) & 0xFF;
}

} // namespace

std::int32_t Taviron::blend_to_dc(Canvas& canvas, std::int32_t x, std::int32_t y, float opacity) {
    if (!(opacity == opacity)) return TAV_OK; // NaN draws nothing
    opacity = std::fmax(-1.0f, std::fmin(1.0f, opacity));
    const std::uint32_t face = canvas.face_colour();
    if (width == 0 || height == 0 || pixels == nullptr || opacity == 0.0f) return TAV_OK;
    // A negative opacity blends by its magnitude onto the face colour instead of the canvas,
    // so the weight stays within 0..255 and so does every channel.
    const bool onto_face = opacity < 0.0f;
    const float magnitude = std::fabs(opacity);
    for (std::int32_t j = 0; j < height; ++j) {
        const std::int64_t cy = std::int64_t{y} + j;
        if (cy > INT32_MAX) break;
        for (std::int32_t i = 0; i < width; ++i) {
            const std::int64_t cx = std::int64_t{x} + i;
            if (cx > INT32_MAX) break;
            const std::uint8_t* s =
                pixels + (static_cast<std::size_t>(j) * static_cast<std::size_t>(width) + i) * 4;
            const std::uint32_t d =
                onto_face ? face
                          : canvas.get_pixel(static_cast<std::int32_t>(cx), static_cast<std::int32_t>(cy));
            const auto a = static_cast<std::uint32_t>(static_cast<float>(s[3]) * magnitude);
            std::uint32_t out = 0;
            for (int c = 0; c < 3; ++c) {
                out |= ((((255 - a) * channel(d, c * 8)) >> 8) + ((s[c] * a) >> 8)) << (c * 8);
            }
            canvas.set_pixel(static_cast<std::int32_t>(cx), static_cast<std::int32_t>(cy), out);
        }
    }
    return TAV_OK;
}

std::int32_t Taviron::draw_to_dc(Canvas& canvas, std::int32_t x, std::int32_t y) {
    if (width == 0 || height == 0 || pixels == nullptr) return TAV_OK;
    const std::size_t row_bytes = static_cast<std::size_t>(width) * 4;
    std::unique_ptr<std::uint8_t, BlockFree> dib(
        static_cast<std::uint8_t*>(std::malloc(row_bytes * static_cast<std::size_t>(height))));
    if (!dib) return TAV_ERR_MEMORY;
    // Blue, green, red, 0, bottom row first: the bitmap's row 0 becomes the picture's top row.
    for (std::int32_t row = 0; row < height; ++row) {
        const std::uint8_t* s = pixels + static_cast<std::size_t>(row) * row_bytes;
        std::uint8_t* d = dib.get() + static_cast<std::size_t>(height - 1 - row) * row_bytes;
        for (std::int32_t i = 0; i < width; ++i) {
            d[i * 4] = s[i * 4 + 2];
            d[i * 4 + 1] = s[i * 4 + 1];
            d[i * 4 + 2] = s[i * 4];
            d[i * 4 + 3] = 0;
        }
    }
    canvas.put_image(x, y, DibImage{width, height, dib.get()});
    return TAV_OK;
}
