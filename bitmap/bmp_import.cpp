#include "bitmap/taviron.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bitmap/bmp_decode.h"
#include "platform/read_file.h"

namespace {

// Stands in for the bytes of an empty file: the decoder refuses a null pointer outright.
constexpr std::uint8_t kNoBytes = 0;

} // namespace

std::int32_t Taviron::import_bmp(const char* path) {
    // The whole file is read at once: the decoder works on bytes in memory.
    std::vector<std::uint8_t> bytes;
    switch (platform::read_regular_file(path, bytes, UINT64_MAX)) {
    case platform::ReadStatus::ok:
        return import_bmp_memory(bytes.data() != nullptr ? bytes.data() : &kNoBytes, bytes.size());
    case platform::ReadStatus::no_memory:
        return TAV_ERR_MEMORY;
    case platform::ReadStatus::too_long:
    case platform::ReadStatus::failed:
        break;
    }
    return TAV_ERR_FAILED;
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
