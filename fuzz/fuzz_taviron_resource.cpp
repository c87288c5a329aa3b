// Fuzzes the reader behind load_resource with the bytes of a resource.
#include <cstddef>
#include <cstdint>

#include "bitmap/taviron.h"
#include "fuzz/taviron_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    taviron_fuzz::Guarded guarded;
    const std::int32_t status = guarded.record.load_resource_memory(data, size);
    if (size < TAV_HEADER_SIZE && status != TAV_ERR_BUFFER) __builtin_trap();
    guarded.check(status);
    return 0;
}
