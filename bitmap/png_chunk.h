#pragma once
// The private PNG chunk that carries a Taviron record's three header words (reserved1 to
// reserved3, big-endian 32-bit each, 12 bytes): ancillary, private, safe to copy.
#include <cstdint>

inline constexpr std::uint8_t kHeaderWordsChunk[4] = {'t', 'v', 'R', 's'};
