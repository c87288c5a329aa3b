#pragma once
// Checks shared by the Taviron fuzzers: what a load must leave behind, whatever the input.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bitmap/taviron.h"

namespace taviron_fuzz {

// A record with content that no input can reproduce by accident, and the means to see whether
// a failed load touched it.
struct Guarded {
    Taviron record{3, 2};
    std::vector<std::uint8_t> before;
    const std::uint8_t* block = nullptr;

    Guarded() {
        for (int i = 0; i < 3 * 2 * 4; ++i)
            record.pixels[i] = static_cast<std::uint8_t>(0xA5 ^ i);
        record.storage = 1;
        record.reserved1 = 0x11111111;
        record.reserved2 = 0x22222222;
        record.reserved3 = 0x33333333;
        before.assign(record.pixels, record.pixels + 24);
        block = record.pixels;
    }

    void check(std::int32_t status) const {
        if (status != TAV_OK) {
            if (record.width != 3 || record.height != 2 || record.storage != 1 ||
                record.reserved1 != 0x11111111 || record.reserved2 != 0x22222222 ||
                record.reserved3 != 0x33333333 || record.pixels != block ||
                std::memcmp(record.pixels, before.data(), before.size()) != 0)
                std::abort(); // a failed load changed the record
            return;
        }
        if (!Taviron::size_fits(record.width, record.height) || (record.storage != 0 && record.storage != 1))
            std::abort();
        const std::size_t bytes =
            static_cast<std::size_t>(record.width) * static_cast<std::size_t>(record.height) * 4;
        if ((bytes == 0) != (record.pixels == nullptr)) std::abort();
        // Touch every byte so that a block shorter than its size shows up under the address sanitizer.
        unsigned sum = 0;
        for (std::size_t i = 0; i < bytes; ++i)
            sum += record.pixels[i];
        volatile unsigned sink = sum;
        (void)sink;
    }
};

} // namespace taviron_fuzz
