#include "bitmap/taviron.h"

#include <cstdint>
#include <cstdlib>

std::int32_t Taviron::from_hbitmap(const DibImage& bitmap) {
    if (!size_fits(bitmap.width, bitmap.height)) return TAV_ERR_ARGUMENT;
    const std::size_t row_bytes = static_cast<std::size_t>(bitmap.width) * 4;
    if (bitmap.pixels == nullptr && row_bytes * static_cast<std::size_t>(bitmap.height) > 0)
        return TAV_ERR_FAILED;

    // A same-sized picture is written into the present block (nothing can fail after this
    // point), unless it lies in that block: rows are read in the opposite order.
    const std::size_t bytes = row_bytes * static_cast<std::size_t>(bitmap.height);
    const auto src = reinterpret_cast<std::uintptr_t>(bitmap.pixels);
    const auto own = reinterpret_cast<std::uintptr_t>(pixels);
    const bool overlaps = pixels != nullptr && bytes > 0 && src < own + bytes && own < src + bytes;
    std::uint8_t* block = pixels;
    if (bitmap.width != width || bitmap.height != height || overlaps) {
        bool ok = false;
        block = allocate_pixels(bitmap.width, bitmap.height, ok);
        if (!ok) return TAV_ERR_MEMORY;
    }
    // Bottom row first in the source, top row first here; blue and red change places and
    // alpha becomes opaque, whatever the fourth byte held.
    for (std::int32_t y = 0; y < bitmap.height; ++y) {
        const std::uint8_t* src = bitmap.pixels + static_cast<std::size_t>(bitmap.height - 1 - y) * row_bytes;
        std::uint8_t* out = block + static_cast<std::size_t>(y) * row_bytes;
        for (std::int32_t x = 0; x < bitmap.width; ++x) {
            out[x * 4] = src[x * 4 + 2];
            out[x * 4 + 1] = src[x * 4 + 1];
            out[x * 4 + 2] = src[x * 4];
            out[x * 4 + 3] = 255;
        }
    }
    if (block != pixels) adopt_pixels(block, bitmap.width, bitmap.height);
    return TAV_OK;
}
