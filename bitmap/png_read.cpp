// PNG import through libspng: every colour type and bit depth decoded to 8-bit RGBA. Memory is
// bounded before decoding (size rule, the most pixels the input can hold, chunk and cache limits)
// and the pixels are decoded into new storage, so a failed read leaves the record as it was.
#include "bitmap/taviron.h"

#include <spng.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// Deflate expands a stream at most 1032 times, and the sparsest PNG (1-bit grey) holds eight
// pixels a byte, each of which becomes four bytes here: n input bytes never justify more than
// n * 1032 * 32 output bytes. The slack covers headers of tiny files.
constexpr std::uint64_t kMaxOutputPerInputByte = 1032ull * 32;
constexpr std::uint64_t kOutputSlack = 4096;

// Largest side the size rule allows (width * height * 4 < 2^31 with the other side 1).
constexpr std::uint32_t kMaxSide = 0x1FFFFFFF;
// One ancillary chunk and all the ancillary chunks kept (text, profiles, ...) together; none of
// them is used here, so the limits only stop a file from holding memory it does not need.
constexpr std::size_t kChunkSizeLimit = std::size_t{64} << 20;
constexpr std::size_t kChunkCacheLimit = std::size_t{64} << 20;

// Longest file worth reading: a 16-bit RGBA image of the largest size stored without
// compression, with room for its row filters, zlib blocks and chunk headers.
constexpr std::int64_t kMaxFileLength = (std::int64_t{1} << 32) + (std::int64_t{1} << 29);

struct ContextFree {
    void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
struct BlockFree {
    void operator()(std::uint8_t* p) const { std::free(p); }
};

std::int32_t map_decode_status(int status) {
    switch (status) {
    case SPNG_ESIGNATURE:
        return TAV_ERR_MAGIC;
    case SPNG_IO_EOF:
    case SPNG_IO_ERROR:
    case SPNG_EOF:
    case SPNG_EIDAT_TOO_SHORT:
        return TAV_ERR_SIZE;
    case SPNG_EMEM:
    case SPNG_ECHUNK_LIMITS:
        return TAV_ERR_MEMORY;
    case SPNG_EOVERFLOW:
    case SPNG_EWIDTH:
    case SPNG_EHEIGHT:
    case SPNG_EUSER_WIDTH:
    case SPNG_EUSER_HEIGHT:
    case SPNG_EBIT_DEPTH:
    case SPNG_ECOLOR_TYPE:
    case SPNG_ECOMPRESSION_METHOD:
    case SPNG_EFILTER_METHOD:
    case SPNG_EINTERLACE_METHOD:
    case SPNG_EIHDR_SIZE:
    case SPNG_ENOIHDR:
        return TAV_ERR_ARGUMENT;
    default:
        return TAV_ERR_DATA;
    }
}

} // namespace

std::int32_t Taviron::import_png(const char* path) {
    if (path == nullptr) return TAV_ERR_FAILED;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
    if (!file) return TAV_ERR_FAILED;
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0)
        return TAV_ERR_FAILED;
    if (info.st_size > kMaxFileLength) return TAV_ERR_ARGUMENT;
    const auto size = static_cast<std::size_t>(info.st_size);
    std::unique_ptr<std::uint8_t, BlockFree> data(
        static_cast<std::uint8_t*>(std::malloc(size > 0 ? size : 1)));
    if (!data) return TAV_ERR_MEMORY;
    if (std::fread(data.get(), 1, size, file.get()) != size) return TAV_ERR_FAILED;
    return import_png_memory(data.get(), size);
}

std::int32_t Taviron::import_png_memory(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr) return TAV_ERR_FAILED;
    std::unique_ptr<spng_ctx, ContextFree> ctx(spng_ctx_new(0));
    if (!ctx) return TAV_ERR_MEMORY;
    if (spng_set_image_limits(ctx.get(), kMaxSide, kMaxSide) != 0 ||
        spng_set_chunk_limits(ctx.get(), kChunkSizeLimit, kChunkCacheLimit) != 0)
        return TAV_ERR_FAILED;
    int status = spng_set_png_buffer(ctx.get(), data, size);
    if (status != 0) return map_decode_status(status);

    spng_ihdr header{};
    status = spng_get_ihdr(ctx.get(), &header);
    if (status != 0) return map_decode_status(status);
    if (!size_fits(header.width, header.height) || header.width == 0 || header.height == 0)
        return TAV_ERR_ARGUMENT;
    const auto new_width = static_cast<std::int32_t>(header.width);
    const auto new_height = static_cast<std::int32_t>(header.height);
    const std::size_t bytes = static_cast<std::size_t>(new_width) * static_cast<std::size_t>(new_height) * 4;
    // A picture larger than its data can hold fails during decoding anyway; refusing it here
    // keeps a small file from making us allocate a large block first.
    if (bytes > kOutputSlack && (bytes - kOutputSlack - 1) / kMaxOutputPerInputByte >= size)
        return TAV_ERR_SIZE;
    std::size_t decoded = 0;
    status = spng_decoded_image_size(ctx.get(), SPNG_FMT_RGBA8, &decoded);
    if (status != 0) return map_decode_status(status);
    if (decoded != bytes) return TAV_ERR_ARGUMENT;

    bool ok = false;
    std::unique_ptr<std::uint8_t, BlockFree> block(allocate_pixels(new_width, new_height, ok));
    if (!ok) return TAV_ERR_MEMORY;
    // No gamma: the samples are taken as they are stored, so a picture written by save_png comes
    // back byte for byte.
    status = spng_decode_image(ctx.get(), block.get(), bytes, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS);
    if (status != 0) return map_decode_status(status);

    if (pixels != nullptr && new_width == width && new_height == height) {
        // The record keeps its own block for a picture of its size.
        std::memcpy(pixels, block.get(), bytes);
        return TAV_OK;
    }
    adopt_pixels(block.release(), new_width, new_height);
    return TAV_OK;
}
