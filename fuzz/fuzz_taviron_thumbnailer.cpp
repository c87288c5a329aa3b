// Fuzzes taviron-thumbnailer's work on a file nobody vetted: the header check, the Taviron reader
// and the scaling, both shrinking and enlarging, of whatever it accepts.
#include <cstddef>
#include <cstdint>
#include <string>

#include "bitmap/taviron.h"
#include "tools/taviron_thumbnailer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const std::int32_t side : {7, 96}) {
        Taviron picture;
        std::string reason;
        if (taviron_thumbnail(data, size, side, picture, reason)) {
            // The longer edge is the side, the other one fits inside it.
            const std::int32_t longer = picture.width > picture.height ? picture.width : picture.height;
            if (longer != side || picture.width < 1 || picture.height < 1 || picture.pixels == nullptr)
                __builtin_trap();
        } else if (picture.pixels != nullptr || reason.empty()) {
            __builtin_trap();
        }
    }
    return 0;
}
