// Fuzzes the PNG import, into a record of its own that a failed import must leave alone. Each
// input is tried twice: as it is, and with every chunk's CRC made right, so that mutations reach
// the chunk parsers, zlib and the row filters instead of stopping at the first checksum.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bitmap/taviron.h"
#include "fuzz/taviron_fuzz_check.h"

namespace {

// A copy of data with the CRC of every whole chunk after the signature recomputed.
std::vector<std::uint8_t> with_crcs_fixed(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> copy(data, data + size);
    std::size_t at = 8;
    while (at + 12 <= copy.size()) {
        const std::uint64_t length = std::uint64_t{copy[at]} << 24 | std::uint64_t{copy[at + 1]} << 16 |
                                     std::uint64_t{copy[at + 2]} << 8 | copy[at + 3];
        if (length > copy.size() - at - 12) break;
        const auto body = static_cast<std::size_t>(length) + 4;
        const auto crc = static_cast<std::uint32_t>(crc32(0, &copy[at + 4], static_cast<uInt>(body)));
        for (int i = 0; i < 4; ++i)
            copy[at + 4 + body + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        at += body + 8;
    }
    return copy;
}

void import_and_check(const std::uint8_t* data, std::size_t size) {
    taviron_fuzz::Guarded guarded;
    const std::int32_t status = guarded.record.import_png_memory(data, size);
    guarded.check(status);
    if (status == TAV_OK) {
        if (guarded.record.width < 1 || guarded.record.height < 1) std::abort();
        // Importing the same bytes again goes through the same-size path and must agree.
        const std::size_t bytes = static_cast<std::size_t>(guarded.record.width) *
                                  static_cast<std::size_t>(guarded.record.height) * 4;
        const std::vector<std::uint8_t> first(guarded.record.pixels, guarded.record.pixels + bytes);
        const std::uint8_t* block = guarded.record.pixels;
        if (guarded.record.import_png_memory(data, size) != TAV_OK || guarded.record.pixels != block ||
            std::memcmp(block, first.data(), bytes) != 0)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    import_and_check(data, size);
    if (size > 8) {
        const std::vector<std::uint8_t> fixed = with_crcs_fixed(data, size);
        if (std::memcmp(fixed.data(), data, size) != 0) import_and_check(fixed.data(), fixed.size());
    }
    return 0;
}
