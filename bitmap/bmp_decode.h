#pragma once
// Decoder for Windows BMP files held in memory.
//
// File layout, all numbers little-endian:
//   0   2  "BM"
//   2   4  file size (not trusted)
//   6   4  two reserved words
//   10  4  offset of the pixel data from the start of the file
//   14  4  size of the info header that starts here: 12 (core), 40, 52, 56, 108 or 124
// Core header (12): width u16, height u16, planes u16, bit count u16; colour table
// entries of 3 bytes (blue, green, red); rows always bottom first.
// Info headers (40 and larger): width i32, height i32 (negative: rows top first),
// planes u16, bit count u16, compression u32, image size u32, two resolutions,
// colours used u32, colours important u32; the 52-byte and larger headers go on
// with the red, green and blue masks (56 and larger: an alpha mask as well).
// With a 40-byte header and bit-field compression the masks follow the header.
// Colour table entries of 4 bytes (blue, green, red, unused) follow the header
// and masks. Rows are padded to a multiple of 4 bytes.
//
// Supported: 1-, 4- and 8-bit with colour table (8-bit also run-length coded,
// 4-bit also run-length coded), 16-bit (5-5-5 or bit fields), 24-bit,
// 32-bit (blue, green, red, unused, or bit fields).

#include <cstddef>
#include <cstdint>

// What the decoder found in its input.
enum class BmpStatus {
    ok,
    not_bmp,     // does not start with "BM"
    unsupported, // headers that cannot be decoded (kind, size, depth, compression)
    truncated,   // the data ends before what the headers call for
};

// Everything the pixel decoder needs, taken from the headers.
struct BmpHeader {
    int32_t width = 0;        // at least 1
    int32_t height = 0;       // at least 1 (the file's sign is in top_down)
    bool top_down = false;    // rows stored top row first
    uint16_t bit_count = 0;   // 1, 4, 8, 16, 24 or 32
    uint32_t compression = 0; // 0 plain, 1 run-length 8-bit, 2 run-length 4-bit, 3 or 6 bit fields
    uint32_t masks[3] = {};   // red, green, blue masks for 16- and 32-bit pixels
    uint32_t pixel_offset = 0;
    uint8_t palette[256][3] = {}; // red, green, blue; entries the file lacks stay black
};

// Reads and checks the headers of the BMP file in `data`. On `ok` the file holds
// the headers, colour table and (for plain rows) every row the picture needs,
// and width * height * 4 fits in 31 bits; run-length data must be at least one
// byte per 1024 pixels, so a tiny file cannot demand a huge picture.
BmpStatus bmp_read_header(const uint8_t* data, size_t size, BmpHeader& header);

// Decodes the pixels of a file whose headers bmp_read_header accepted into
// `rgba` (width * height * 4 bytes: red, green, blue, alpha 255, top row first).
// Returns `truncated` when run-length data ends before its end marker and before
// its last row; pixels a run-length stream skips are opaque black.
BmpStatus bmp_decode_pixels(const uint8_t* data, size_t size, const BmpHeader& header, uint8_t* rgba);
