#pragma once
// Millisecond clock and sleep, standing in for the old tick counter.
#include <cstdint>

namespace platform {

// Milliseconds since an arbitrary start on a steady clock; wraps like a 32-bit counter.
std::uint32_t tick_count();

// Blocks the calling thread for at least ms milliseconds.
void sleep_ms(std::uint32_t ms);

} // namespace platform
