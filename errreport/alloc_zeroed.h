#pragma once
// Zero-filled allocation.
#include <cstddef>

namespace errreport {

// A block of `size` zero bytes, to be released with std::free (or resized with std::realloc);
// null if the allocation fails.
void* alloc_zeroed(std::size_t size);

} // namespace errreport
