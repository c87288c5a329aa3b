#pragma once
// Windows-1252: the character set behind the bytes 128 to 255 of every printed text.
#include <cstdint>

namespace glview {

// Unicode code point of byte b under Windows-1252. The five bytes that the set leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control code of the same value.
std::uint32_t cp1252_to_unicode(std::uint8_t b);

} // namespace glview
