// Feeds arbitrary bytes to the BMP import. Besides the sanitizers it checks that a
// refused file leaves the record as it was and an accepted one is fully opaque.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "bitmap/taviron.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Taviron t(1, 1);
    const std::uint8_t marker[4] = {1, 2, 3, 4};
    std::memcpy(t.pixels, marker, 4);
    const std::int32_t status = t.import_bmp_memory(data, size);
    if (status != TAV_OK) {
        if (t.width != 1 || t.height != 1 || std::memcmp(t.pixels, marker, 4) != 0) std::abort();
        if (status != TAV_ERR_MAGIC && status != TAV_ERR_ARGUMENT && status != TAV_ERR_SIZE) std::abort();
        return 0;
    }
    const std::size_t bytes = static_cast<std::size_t>(t.width) * static_cast<std::size_t>(t.height) * 4;
    if (t.width < 1 || t.height < 1 || t.pixels == nullptr) std::abort();
    for (std::size_t i = 3; i < bytes; i += 4) {
        if (t.pixels[i] != 255) std::abort();
    }
    return 0;
}
