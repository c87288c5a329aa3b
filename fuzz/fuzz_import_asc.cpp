// Feeds arbitrary bytes to the simple ASC importer (see asc_fuzz_check.h for what is checked).

#include <cstddef>
#include <cstdint>

#include "fuzz/asc_fuzz_check.h"
#include "model/asc_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    asc_fuzz::Run(data, size, ImportAscFromMemory, false);
    return 0;
}
