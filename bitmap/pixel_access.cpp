#include "bitmap/taviron.h"

#include <cstring>

namespace {

bool inside(const Taviron& t, std::int32_t x, std::int32_t y) {
    return t.pixels != nullptr && x >= 0 && y >= 0 && x < t.width && y < t.height;
}

// Byte offset of a pixel that is inside.
std::size_t offset(const Taviron& t, std::int32_t x, std::int32_t y) {
    return (static_cast<std::size_t>(y) * static_cast<std::size_t>(t.width) + static_cast<std::size_t>(x)) *
           4;
}

} // namespace

std::int32_t Taviron::set_pixel(std::int32_t x, std::int32_t y, std::int32_t red, std::int32_t green,
                                std::int32_t blue, std::int32_t alpha) {
    if (!inside(*this, x, y)) return TAV_ERR_FAILED;
    std::uint8_t* p = pixels + offset(*this, x, y);
    p[0] = static_cast<std::uint8_t>(red);
    p[1] = static_cast<std::uint8_t>(green);
    p[2] = static_cast<std::uint8_t>(blue);
    p[3] = static_cast<std::uint8_t>(alpha);
    return TAV_OK;
}

std::uint32_t Taviron::get_pixel(std::int32_t x, std::int32_t y) const {
    if (!inside(*this, x, y)) return 0;
    const std::uint8_t* p = pixels + offset(*this, x, y);
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint32_t Taviron::get_rgb(std::int32_t x, std::int32_t y) const {
    if (!inside(*this, x, y)) return 0;
    const std::uint8_t* p = pixels + offset(*this, x, y);
    return p[0] | p[1] << 8 | p[2] << 16;
}

std::int32_t Taviron::get_alpha(std::int32_t x, std::int32_t y) const {
    if (!inside(*this, x, y)) return -1;
    return pixels[offset(*this, x, y) + 3];
}

std::int32_t Taviron::set_data(const void* source, std::int32_t count, std::int32_t row_width) {
    if (source == nullptr || count == 0 || row_width == 0) return TAV_ERR_FAILED;
    if (count < 0 || row_width < 0) return TAV_ERR_ARGUMENT;
    const std::int32_t rows = count / row_width + (count % row_width != 0 ? 1 : 0);
    if (!size_fits(row_width, rows)) return TAV_ERR_ARGUMENT;
    if (row_width != width || rows != height) {
        bool ok = false;
        std::uint8_t* block = allocate_pixels(row_width, rows, ok);
        if (!ok) return TAV_ERR_MEMORY;
        adopt_pixels(block, row_width, rows);
    }
    std::memcpy(pixels, source, static_cast<std::size_t>(row_width) * static_cast<std::size_t>(rows) * 4);
    return TAV_OK;
}
