#include "bitmap/bmp_decode.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kPlain = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kAlphaBitFields = 6;
// Most pixels one byte of run-length data may stand for (end-of-line, delta and
// end-of-bitmap codes skip pixels); close to the most zlib's deflate can expand.
constexpr uint64_t kRlePixelsPerByte = 1024;
constexpr uint64_t kMaxBlockBytes = 0x7FFFFFFF;

uint16_t u16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t u32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
int32_t i32(const uint8_t* p) {
    return static_cast<int32_t>(u32(p));
}

bool known_header_size(uint32_t size) {
    return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool depth_fits_compression(uint16_t bits, uint32_t compression, bool top_down) {
    switch (compression) {
    case kPlain:
        return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kRle8:
        return bits == 8 && !top_down;
    case kRle4:
        return bits == 4 && !top_down;
    case kBitFields:
    case kAlphaBitFields:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}

// Bytes one stored row takes, padding included.
uint64_t row_stride(uint32_t width, uint16_t bits) {
    return (uint64_t{width} * bits + 31) / 32 * 4;
}

// Scales the bits of one mask to 0..255, rounding to the nearest value.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint64_t max = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (mask == 0) return;
        while (((mask >> shift) & 1u) == 0)
            ++shift;
        max = mask >> shift;
    }
    uint8_t operator()(uint32_t pixel) const {
        if (max == 0) return 0;
        const uint64_t v = (pixel & mask) >> shift;
        return static_cast<uint8_t>((v * 255 + max / 2) / max);
    }
};

void put(uint8_t* out, const uint8_t* rgb) {
    out[0] = rgb[0];
    out[1] = rgb[1];
    out[2] = rgb[2];
    out[3] = 255;
}

// One pixel of a bit-field row: each channel taken through its mask.
void put_masked(uint8_t* out, const Channel* ch, uint32_t pixel) {
    out[0] = ch[0](pixel);
    out[1] = ch[1](pixel);
    out[2] = ch[2](pixel);
    out[3] = 255;
}

void decode_plain_row(const uint8_t* src, const BmpHeader& h, const Channel* ch, uint8_t* out) {
    const int32_t w = h.width;
    switch (h.bit_count) {
    case 1:
        for (int32_t x = 0; x < w; ++x)
            put(out + x * 4, h.palette[(src[x >> 3] >> (7 - (x & 7))) & 1]);
        break;
    case 4:
        for (int32_t x = 0; x < w; ++x)
            put(out + x * 4, h.palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15]);
        break;
    case 8:
        for (int32_t x = 0; x < w; ++x)
            put(out + x * 4, h.palette[src[x]]);
        break;
    case 16:
        for (int32_t x = 0; x < w; ++x)
            put_masked(out + x * 4, ch, u16(src + x * 2));
        break;
    case 24:
        // One 32-bit store a pixel (red in the low byte, as the bytes lie in memory on
        // little-endian machines) lets the compiler vectorise the row.
        for (int32_t x = 0; x < w; ++x) {
            const uint8_t* s = src + x * 3;
            const uint32_t v = s[2] | s[1] << 8 | s[0] << 16 | 0xFF000000u;
            std::memcpy(out + x * 4, &v, 4);
        }
        break;
    case 32:
        if (h.compression == kPlain) {
            for (int32_t x = 0; x < w; ++x) {
                const uint8_t* s = src + x * 4;
                uint8_t* o = out + x * 4;
                o[0] = s[2];
                o[1] = s[1];
                o[2] = s[0];
                o[3] = 255;
            }
        } else {
            for (int32_t x = 0; x < w; ++x)
                put_masked(out + x * 4, ch, u32(src + x * 4));
        }
        break;
    default:
        break;
    }
}

// Run-length data: pairs (count, value) give a run; (0, 0) ends a row, (0, 1)
// ends the picture, (0, 2, dx, dy) moves right and up, (0, n >= 3) is followed
// by n literal pixels padded to an even byte count. Rows count from the bottom.
BmpStatus decode_rle(const uint8_t* p, const uint8_t* end, const BmpHeader& h, uint8_t* rgba) {
    const bool four = h.compression == kRle4;
    const int64_t w = h.width;
    const int64_t height = h.height;
    static const uint8_t black[3] = {0, 0, 0};
    for (int64_t i = 0; i < w * height; ++i)
        put(rgba + i * 4, black);
    int64_t x = 0;
    int64_t y = 0;
    auto plot = [&](uint8_t index) {
        if (x < w) put(rgba + ((height - 1 - y) * w + x) * 4, h.palette[index]);
        ++x;
    };
    while (end - p >= 2) {
        const uint8_t count = p[0];
        const uint8_t value = p[1];
        p += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                plot(four ? ((i & 1) ? value & 15 : value >> 4) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            if (++y >= height) return BmpStatus::ok;
        } else if (value == 1) {
            return BmpStatus::ok;
        } else if (value == 2) {
            if (end - p < 2) return BmpStatus::truncated;
            x += p[0];
            y += p[1];
            p += 2;
            if (y >= height) return BmpStatus::ok;
        } else {
            const int64_t bytes = four ? (value + 1) / 2 : value;
            const int64_t padded = (bytes + 1) & ~int64_t{1};
            if (end - p < bytes) return BmpStatus::truncated;
            for (int i = 0; i < value; ++i)
                plot(four ? ((i & 1) ? p[i / 2] & 15 : p[i / 2] >> 4) : p[i]);
            p += std::min<int64_t>(padded, end - p);
        }
    }
    return BmpStatus::truncated;
}

} // namespace

BmpStatus bmp_read_header(const uint8_t* data, size_t size, BmpHeader& header) {
    if (size < 2 || data[0] != 'B' || data[1] != 'M') return BmpStatus::not_bmp;
    if (size < kFileHeaderSize + 4) return BmpStatus::truncated;
    const uint32_t offset = u32(data + 10);
    const uint32_t info_size = u32(data + 14);
    if (!known_header_size(info_size)) return BmpStatus::unsupported;
    if (size - kFileHeaderSize < info_size) return BmpStatus::truncated;
    const uint8_t* info = data + kFileHeaderSize;

    BmpHeader h;
    int64_t height = 0;
    uint32_t colours_used = 0;
    size_t entry_size = 4;
    if (info_size == 12) {
        h.width = u16(info + 4);
        height = u16(info + 6);
        h.bit_count = u16(info + 10);
        entry_size = 3;
        if (h.bit_count == 16 || h.bit_count == 32) return BmpStatus::unsupported;
    } else {
        h.width = i32(info + 4);
        height = i32(info + 8);
        h.bit_count = u16(info + 14);
        h.compression = u32(info + 16);
        colours_used = u32(info + 32);
    }
    h.top_down = height < 0;
    height = height < 0 ? -height : height;
    if (h.width < 1 || height < 1 || height > INT32_MAX) return BmpStatus::unsupported;
    h.height = static_cast<int32_t>(height);
    if (uint64_t{static_cast<uint32_t>(h.width)} * static_cast<uint32_t>(h.height) > kMaxBlockBytes / 4) {
        return BmpStatus::unsupported;
    }
    if (!depth_fits_compression(h.bit_count, h.compression, h.top_down)) return BmpStatus::unsupported;
    if (offset < kFileHeaderSize + info_size) return BmpStatus::unsupported;

    size_t table_start = kFileHeaderSize + info_size;
    if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
        const size_t mask_bytes = h.compression == kAlphaBitFields ? 16 : 12;
        const uint8_t* masks = info + 40;
        if (info_size == 40) {
            if (size - table_start < mask_bytes) return BmpStatus::truncated;
            table_start += mask_bytes;
            if (offset < table_start) return BmpStatus::unsupported;
        }
        h.masks[0] = u32(masks);
        h.masks[1] = u32(masks + 4);
        h.masks[2] = u32(masks + 8);
    } else if (h.bit_count == 16) {
        h.masks[0] = 0x7C00;
        h.masks[1] = 0x03E0;
        h.masks[2] = 0x001F;
    }

    if (h.bit_count <= 8) {
        const uint32_t full = 1u << h.bit_count;
        uint32_t entries = colours_used == 0 || colours_used > full ? full : colours_used;
        // Some writers put fewer entries before the pixel data than the header claims.
        entries = static_cast<uint32_t>(std::min<uint64_t>(entries, (offset - table_start) / entry_size));
        if ((size - table_start) / entry_size < entries) return BmpStatus::truncated;
        for (uint32_t i = 0; i < entries; ++i) {
            const uint8_t* e = data + table_start + i * entry_size;
            h.palette[i][0] = e[2];
            h.palette[i][1] = e[1];
            h.palette[i][2] = e[0];
        }
    }

    if (offset >= size) return BmpStatus::truncated;
    const uint64_t available = size - offset;
    if (h.compression == kRle8 || h.compression == kRle4) {
        const uint64_t pixels = uint64_t{static_cast<uint32_t>(h.width)} * static_cast<uint32_t>(h.height);
        if (pixels / kRlePixelsPerByte > available) return BmpStatus::truncated;
    } else {
        // The last row need not carry its padding.
        const uint64_t last_row = (uint64_t{static_cast<uint32_t>(h.width)} * h.bit_count + 7) / 8;
        const uint64_t stride = row_stride(static_cast<uint32_t>(h.width), h.bit_count);
        if (available < last_row || (available - last_row) / stride < static_cast<uint64_t>(h.height - 1)) {
            return BmpStatus::truncated;
        }
    }
    h.pixel_offset = offset;
    header = h;
    return BmpStatus::ok;
}

BmpStatus bmp_decode_pixels(const uint8_t* data, size_t size, const BmpHeader& h, uint8_t* rgba) {
    const uint8_t* pixels = data + h.pixel_offset;
    if (h.compression == kRle8 || h.compression == kRle4) return decode_rle(pixels, data + size, h, rgba);
    const Channel channels[3] = {Channel(h.masks[0]), Channel(h.masks[1]), Channel(h.masks[2])};
    const size_t stride = static_cast<size_t>(row_stride(static_cast<uint32_t>(h.width), h.bit_count));
    const size_t out_stride = static_cast<size_t>(h.width) * 4;
    for (int32_t row = 0; row < h.height; ++row) {
        const int32_t target = h.top_down ? row : h.height - 1 - row;
        decode_plain_row(pixels + row * stride, h, channels, rgba + target * out_stride);
    }
    return BmpStatus::ok;
}
