#include "errreport/alloc_zeroed.h"

#include <cstdlib>

namespace errreport {

void* alloc_zeroed(std::size_t size) {
    return std::calloc(1, size);
}

} // namespace errreport
