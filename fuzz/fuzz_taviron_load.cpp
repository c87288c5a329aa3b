// Fuzzes the Taviron reader behind load (raw and zlib storage), into an empty record and into
// a record of its own that a failed load must leave alone.
#include <cstddef>
#include <cstdint>

#include "bitmap/taviron.h"
#include "fuzz/taviron_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    taviron_fuzz::Guarded guarded;
    guarded.check(guarded.record.load_memory(data, size));

    Taviron empty;
    const std::int32_t status = empty.load_memory(data, size);
    if (status == TAV_OK) {
        // Loading the same bytes again goes through the same-size path and must agree.
        const std::uint8_t* block = empty.pixels;
        if (empty.load_memory(data, size) != TAV_OK || empty.pixels != block) __builtin_trap();
    }
    return 0;
}
