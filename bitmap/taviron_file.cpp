// Taviron files on disk: the file reader hands the bytes to the in-memory reader; the writers
// build the file and replace the target atomically.
#include "bitmap/taviron.h"

#include <zlib.h>

#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/read_file.h"

namespace {

// Longest file worth reading: a raw image of the largest size with room to spare, or its zlib
// stream at the writer's worst-case expansion.
constexpr std::int64_t kMaxFileLength = TAV_HEADER_SIZE + 0x7FFFFFFFll + 0x7FFFFFFFll / 500 + 64;

void put_i32(std::uint8_t* at, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    at[0] = static_cast<std::uint8_t>(bits);
    at[1] = static_cast<std::uint8_t>(bits >> 8);
    at[2] = static_cast<std::uint8_t>(bits >> 16);
    at[3] = static_cast<std::uint8_t>(bits >> 24);
}

// The 32-byte header as the record holds it, with the storage word the file will have.
void make_header(const Taviron& record, std::int32_t storage, std::uint8_t* header) {
    std::memcpy(header, record.magic, sizeof record.magic);
    put_i32(header + 8, record.width);
    put_i32(header + 12, record.height);
    put_i32(header + 16, storage);
    put_i32(header + 20, record.reserved1);
    put_i32(header + 24, record.reserved2);
    put_i32(header + 28, record.reserved3);
}

bool writable(const Taviron& record) {
    return Taviron::size_fits(record.width, record.height) &&
           (record.pixels != nullptr || record.width == 0 || record.height == 0);
}

std::size_t pixel_bytes(const Taviron& record) {
    return static_cast<std::size_t>(record.width) * static_cast<std::size_t>(record.height) * 4;
}

} // namespace

std::int64_t Taviron::file_length(std::FILE* file) {
    if (file == nullptr) return -1;
    const off_t position = ftello(file);
    if (position < 0 || fseeko(file, 0, SEEK_END) != 0) return -1;
    const off_t length = ftello(file);
    if (fseeko(file, position, SEEK_SET) != 0) return -1;
    return length;
}

std::int32_t Taviron::load(const char* path) {
    std::vector<std::uint8_t> bytes;
    switch (platform::read_regular_file(path, bytes, kMaxFileLength, TAV_HEADER_SIZE)) {
    case platform::ReadStatus::ok:
        return load_memory(bytes.data(), bytes.size());
    case platform::ReadStatus::too_long: // no Taviron file is this long; still say whether it is one at all
        return bytes.size() >= sizeof magic && std::memcmp(bytes.data(), magic, sizeof magic) == 0
                   ? TAV_ERR_SIZE
                   : TAV_ERR_MAGIC;
    case platform::ReadStatus::no_memory:
        return TAV_ERR_MEMORY;
    case platform::ReadStatus::failed:
        break;
    }
    return TAV_ERR_FAILED;
}

std::int32_t Taviron::save(const char* path) {
    if (!writable(*this)) return TAV_ERR_ARGUMENT;
    std::uint8_t header[TAV_HEADER_SIZE];
    make_header(*this, 0, header);
    if (!platform::write_file_atomically(path, {std::span<const std::uint8_t>(header, sizeof header),
                                                std::span<const std::uint8_t>(pixels, pixel_bytes(*this))}))
        return TAV_ERR_FAILED;
    storage = 0;
    return TAV_OK;
}

std::int32_t Taviron::save_compressed(const char* path) {
    if (!writable(*this)) return TAV_ERR_ARGUMENT;
    const auto n = static_cast<std::uint32_t>(pixel_bytes(*this));
    // Room as the format's writer has always given it: trunc(n * 1.001) + 32 bytes, which is more
    // than zlib's own bound for every n.
    const auto room = static_cast<uLongf>(std::trunc(static_cast<double>(n) * 1.001)) + 32;
    std::vector<Bytef> packed;
    try {
        packed.resize(room);
    } catch (const std::bad_alloc&) {
        return TAV_ERR_MEMORY;
    }
    uLongf packed_size = room;
    const Bytef spare = 0;
    const int status = compress2(packed.data(), &packed_size, pixels ? pixels : &spare, n, 9);
    switch (status) {
    case Z_OK:
        break;
    case Z_MEM_ERROR:
        return TAV_ERR_MEMORY;
    case Z_BUF_ERROR:
        return TAV_ERR_BUFFER;
    case Z_STREAM_ERROR:
        return TAV_ERR_LEVEL;
    default:
        return TAV_ERR_FAILED;
    }
    std::uint8_t header[TAV_HEADER_SIZE];
    make_header(*this, 1, header);
    if (!platform::write_file_atomically(path, {std::span<const std::uint8_t>(header, sizeof header),
                                                std::span<const std::uint8_t>(packed.data(), packed_size)}))
        return TAV_ERR_FAILED;
    storage = 1;
    return TAV_OK;
}
