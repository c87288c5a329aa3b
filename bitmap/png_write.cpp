// PNG export through libspng: the record as one 8-bit RGBA picture, encoded in memory and
// written over the target atomically.
#include "bitmap/taviron.h"

#include <spng.h>

#include <cstdlib>
#include <memory>

#include "platform/atomic_file.h"

namespace {

struct ContextFree {
    void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};
struct BufferFree {
    void operator()(void* p) const { std::free(p); }
};

std::int32_t map_encode_status(int status) {
    return status == SPNG_EMEM ? TAV_ERR_MEMORY : TAV_ERR_FAILED;
}

} // namespace

std::int32_t Taviron::save_png(const char* path) const {
    // A PNG has at least one pixel each way.
    if (!size_fits(width, height) || width == 0 || height == 0 || pixels == nullptr) return TAV_ERR_ARGUMENT;
    if (path == nullptr) return TAV_ERR_FAILED;
    std::unique_ptr<spng_ctx, ContextFree> ctx(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!ctx) return TAV_ERR_MEMORY;
    int status = spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1);
    if (status != 0) return map_encode_status(status);
    spng_ihdr header{};
    header.width = static_cast<std::uint32_t>(width);
    header.height = static_cast<std::uint32_t>(height);
    header.bit_depth = 8;
    header.color_type = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
    status = spng_set_ihdr(ctx.get(), &header);
    if (status != 0) return map_encode_status(status);
    const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    status = spng_encode_image(ctx.get(), pixels, bytes, SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    if (status != 0) return map_encode_status(status);
    std::size_t length = 0;
    int error = 0;
    std::unique_ptr<void, BufferFree> png(spng_get_png_buffer(ctx.get(), &length, &error));
    if (!png) return map_encode_status(error != 0 ? error : SPNG_EMEM);
    if (!platform::write_file_atomically(
            path, {std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(png.get()), length)}))
        return TAV_ERR_FAILED;
    return TAV_OK;
}
