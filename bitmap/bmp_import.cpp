#include "bitmap/taviron.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "bitmap/bmp_decode.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
struct BlockFree {
    void operator()(std::uint8_t* p) const { std::free(p); }
};

} // namespace

std::int32_t Taviron::import_bmp(const char* path) {
    if (path == nullptr) return TAV_ERR_FAILED;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
    if (!file) return TAV_ERR_FAILED;
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0)
        return TAV_ERR_FAILED;
    const auto size = static_cast<std::size_t>(info.st_size);
    // The whole file is read at once: the decoder works on bytes in memory.
    std::unique_ptr<std::uint8_t, BlockFree> data(
        static_cast<std::uint8_t*>(std::malloc(size > 0 ? size : 1)));
    if (!data) return TAV_ERR_MEMORY;
    if (std::fread(data.get(), 1, size, file.get()) != size) return TAV_ERR_FAILED;
    return import_bmp_memory(data.get(), size);
}

std::int32_t Taviron::import_bmp_memory(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr) return TAV_ERR_FAILED;
    BmpHeader header;
    switch (bmp_read_header(data, size, header)) {
    case BmpStatus::ok:
        break;
    case BmpStatus::not_bmp:
        return TAV_ERR_MAGIC;
    case BmpStatus::unsupported:
        return TAV_ERR_ARGUMENT;
    case BmpStatus::truncated:
        return TAV_ERR_SIZE;
    }
    // Plain rows cannot fail once the headers passed, so a same-sized picture is decoded
    // into the present block; run-length data may still end early and is decoded aside first.
    const bool run_length = header.compression == 1 || header.compression == 2;
    const bool same_size = pixels != nullptr && header.width == width && header.height == height;
    if (!run_length && same_size) {
        bmp_decode_pixels(data, size, header, pixels);
        return TAV_OK;
    }
    bool ok = false;
    std::uint8_t* block = allocate_pixels(header.width, header.height, ok);
    if (!ok) return TAV_ERR_MEMORY;
    if (bmp_decode_pixels(data, size, header, block) != BmpStatus::ok) {
        std::free(block);
        return TAV_ERR_SIZE;
    }
    if (same_size) {
        // The record keeps its own block for a picture of its size.
        std::memcpy(pixels, block, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
        std::free(block);
        return TAV_OK;
    }
    adopt_pixels(block, header.width, header.height);
    return TAV_OK;
}
