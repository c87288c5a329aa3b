// Reading Taviron images from bytes in memory: the file reader and the resource reader both end here.
#include "bitmap/taviron.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>

#include "platform/resource.h"

namespace {

// Deflate cannot expand a stream by more than this factor (258-byte matches coded in about two
// bits each), so a stream of n bytes never inflates to more than n * this. It bounds the pixel
// block that compressed data may make us allocate.
constexpr std::uint64_t kMaxInflateRatio = 1032;

std::int32_t read_i32(const std::uint8_t* at) {
    const std::uint32_t value = static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
                                static_cast<std::uint32_t>(at[2]) << 16 |
                                static_cast<std::uint32_t>(at[3]) << 24;
    return static_cast<std::int32_t>(value);
}

std::int32_t map_inflate_status(int status) {
    switch (status) {
    case Z_MEM_ERROR:
        return TAV_ERR_MEMORY;
    case Z_BUF_ERROR:
        return TAV_ERR_BUFFER;
    default:
        return TAV_ERR_DATA;
    }
}

// The reader behind load_memory and load_resource_memory. header_short is the code for data that
// holds the magic but not the whole header. Validates everything and decodes into new storage
// before it touches the record.
std::int32_t read_image(Taviron& record, const std::uint8_t* data, std::size_t size,
                        std::int32_t header_short) {
    if (data == nullptr) size = 0;
    if (size < sizeof record.magic || std::memcmp(data, record.magic, sizeof record.magic) != 0)
        return TAV_ERR_MAGIC;
    if (size < TAV_HEADER_SIZE) return header_short;

    const std::int32_t width = read_i32(data + 8);
    const std::int32_t height = read_i32(data + 12);
    const std::int32_t storage = read_i32(data + 16);
    if (!Taviron::size_fits(width, height)) return TAV_ERR_ARGUMENT;
    if (storage != 0 && storage != 1) return TAV_ERR_STORAGE;

    const std::uint8_t* body = data + TAV_HEADER_SIZE;
    const std::uint64_t body_size = size - TAV_HEADER_SIZE;
    const std::uint64_t expected = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 4;
    const bool same_size =
        width == record.width && height == record.height && (record.pixels || expected == 0);

    std::uint8_t* fresh = nullptr;
    if (storage == 0) {
        if (body_size < expected) return TAV_ERR_SIZE;
        if (!same_size) {
            bool ok = false;
            fresh = Taviron::allocate_pixels(width, height, ok);
            if (!ok) return TAV_ERR_MEMORY;
            if (expected > 0) std::memcpy(fresh, body, expected);
        } else if (expected > 0) {
            std::memcpy(record.pixels, body, expected);
        }
    } else {
        if (expected > body_size * kMaxInflateRatio) return TAV_ERR_SIZE;
        bool ok = false;
        fresh = Taviron::allocate_pixels(width, height, ok);
        if (!ok) return TAV_ERR_MEMORY;
        Bytef spare = 0; // zlib wants somewhere to write even when nothing is expected
        uLongf produced = static_cast<uLongf>(expected);
        const int status = uncompress(fresh ? fresh : &spare, &produced, body, static_cast<uLong>(body_size));
        std::int32_t result = TAV_OK;
        if (status != Z_OK)
            result = map_inflate_status(status);
        else if (produced != expected)
            result = TAV_ERR_SIZE;
        if (result != TAV_OK) {
            std::free(fresh);
            return result;
        }
        if (same_size) {
            // The stream was inflated aside so that a bad one could not spoil the record; the record
            // keeps its own block all the same.
            if (expected > 0) std::memcpy(record.pixels, fresh, expected);
            std::free(fresh);
            fresh = nullptr;
        }
    }

    if (!same_size) record.adopt_pixels(fresh, width, height);
    record.storage = storage;
    record.reserved1 = read_i32(data + 20);
    record.reserved2 = read_i32(data + 24);
    record.reserved3 = read_i32(data + 28);
    return TAV_OK;
}

} // namespace

std::int32_t Taviron::load_memory(const std::uint8_t* data, std::size_t size) {
    return read_image(*this, data, size, TAV_ERR_SIZE);
}

std::int32_t Taviron::load_resource_memory(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size < TAV_HEADER_SIZE) return TAV_ERR_BUFFER;
    return read_image(*this, data, size, TAV_ERR_BUFFER);
}

std::int32_t Taviron::load_resource(const char* name) {
    const platform::Resource* resource = platform::find_resource("Taviron", name);
    if (resource == nullptr) return TAV_ERR_ARGUMENT;
    return load_resource_memory(resource->data, resource->size);
}
