#include "tools/taviron_thumbnailer.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "bitmap/resample.h"
#include "bitmap/status_text.h"
#include "bitmap/taviron.h"

namespace {

std::int32_t read_le32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
        static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

// Shrinks by area averaging. Colours are averaged weighted by their alpha, so that transparent
// pixels (whose colour does not show) do not bleed into the edges of what is visible.
void shrink(const Taviron& source, Taviron& picture) {
    const std::size_t count =
        static_cast<std::size_t>(source.width) * static_cast<std::size_t>(source.height);
    std::vector<std::uint8_t> premultiplied(count * 4);
    for (std::size_t i = 0; i < count * 4; i += 4) {
        const unsigned alpha = source.pixels[i + 3];
        for (int c = 0; c < 3; ++c)
            premultiplied[i + c] = static_cast<std::uint8_t>((source.pixels[i + c] * alpha + 127) / 255);
        premultiplied[i + 3] = static_cast<std::uint8_t>(alpha);
    }
    resample_area(premultiplied.data(), source.width, source.height, picture.pixels, picture.width,
                  picture.height);
    const std::size_t out =
        static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 4;
    for (std::size_t i = 0; i < out; i += 4) {
        const unsigned alpha = picture.pixels[i + 3];
        for (int c = 0; c < 3; ++c)
            picture.pixels[i + c] =
                alpha == 0 ? 0
                           : static_cast<std::uint8_t>(
                                 std::min(255u, (picture.pixels[i + c] * 255u + alpha / 2) / alpha));
    }
}

// Enlarges (or keeps the size) by taking, for every target pixel, the source pixel under its centre.
void enlarge(const Taviron& source, Taviron& picture) {
    for (std::int32_t y = 0; y < picture.height; ++y) {
        const std::int64_t sy = (2 * static_cast<std::int64_t>(y) + 1) * source.height / (2 * picture.height);
        for (std::int32_t x = 0; x < picture.width; ++x) {
            const std::int64_t sx =
                (2 * static_cast<std::int64_t>(x) + 1) * source.width / (2 * picture.width);
            std::memcpy(picture.pixels + (static_cast<std::size_t>(y) * picture.width + x) * 4,
                        source.pixels + (static_cast<std::size_t>(sy) * source.width + sx) * 4, 4);
        }
    }
}

} // namespace

void taviron_thumbnail_size(std::int32_t width, std::int32_t height, std::int32_t side,
                            std::int32_t& out_width, std::int32_t& out_height) {
    const std::int64_t longer = std::max(width, height);
    const std::int64_t shorter = std::min(width, height);
    const auto scaled =
        static_cast<std::int32_t>(std::max<std::int64_t>(1, (shorter * side + longer / 2) / longer));
    out_width = width >= height ? side : scaled;
    out_height = width >= height ? scaled : side;
}

bool taviron_thumbnail_scale(const Taviron& source, std::int32_t side, Taviron& picture) {
    if (source.width < 1 || source.height < 1 || source.pixels == nullptr || side < 1) return false;
    std::int32_t width = 0, height = 0;
    taviron_thumbnail_size(source.width, source.height, side, width, height);
    bool ok = false;
    std::uint8_t* block = Taviron::allocate_pixels(width, height, ok);
    if (!ok) return false;
    Taviron scaled;
    scaled.adopt_pixels(block, width, height);
    if (width < source.width || height < source.height)
        shrink(source, scaled);
    else
        enlarge(source, scaled);
    picture.adopt_pixels(scaled.pixels, width, height);
    scaled.pixels = nullptr;
    return true;
}

bool taviron_thumbnail(const std::uint8_t* data, std::size_t size, std::int32_t side, Taviron& picture,
                       std::string& reason) {
    // The header alone tells how much memory the pixels take; look before inflating anything.
    if (size >= TAV_HEADER_SIZE && std::memcmp(data, "Taviron", 8) == 0) {
        const std::int64_t width = read_le32(data + 8), height = read_le32(data + 12);
        if (width > 0 && height > 0 && width * height > kTavironThumbnailMaxPixels) {
            reason = "image too large for a thumbnail";
            return false;
        }
        // zlib packs at most 1032 bytes into one, so a stream this short cannot hold the pixels:
        // refuse before the reader allocates them.
        const std::int32_t storage = read_le32(data + 16);
        if (storage == 1 && width > 0 && height > 0 &&
            static_cast<std::uint64_t>(width * height * 4) > (size - TAV_HEADER_SIZE + 1) * 1032) {
            reason = taviron_status_text(TAV_ERR_SIZE, TavironAccess::Load);
            return false;
        }
    }
    Taviron source;
    const std::int32_t status = source.load_memory(data, size);
    if (status != TAV_OK) {
        reason = taviron_status_text(status, TavironAccess::Load);
        return false;
    }
    if (source.width < 1 || source.height < 1) {
        reason = "empty image";
        return false;
    }
    if (!taviron_thumbnail_scale(source, side, picture)) {
        reason = "out of memory";
        return false;
    }
    return true;
}
