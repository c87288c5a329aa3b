#pragma once
// Test helpers for PNG files: pictures made by ImageMagick's convert from sources written here,
// PNG files put together chunk by chunk (for shapes convert does not write, and hostile ones),
// and a look at the header of a file.
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace png_test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void write_file(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Writes a PAM picture (tuple type RGB_ALPHA, GRAYSCALE_ALPHA, RGB or GRAYSCALE) of 8-bit samples.
inline void write_pam(const std::string& path, int width, int height, const std::string& tuple_type,
                      const Bytes& samples) {
    const int depth = tuple_type == "RGB_ALPHA"   ? 4
                      : tuple_type == "RGB"       ? 3
                      : tuple_type == "GRAYSCALE" ? 1
                                                  : 2;
    std::string head = "P7\nWIDTH " + std::to_string(width) + "\nHEIGHT " + std::to_string(height) +
                       "\nDEPTH " + std::to_string(depth) + "\nMAXVAL 255\nTUPLTYPE " + tuple_type +
                       "\nENDHDR\n";
    Bytes bytes(head.begin(), head.end());
    bytes.insert(bytes.end(), samples.begin(), samples.end());
    write_file(path, bytes);
}

// Runs "convert IN OPTIONS OUT"; true when it succeeded.
inline bool magick_convert(const std::string& in, const std::string& options, const std::string& out) {
    const std::string command = "convert '" + in + "' " + options + " '" + out + "' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

struct PngHeader {
    std::uint32_t width = 0, height = 0;
    int bit_depth = -1, colour_type = -1, interlace = -1;
    bool has_trns = false;
};

inline std::uint32_t be32(const std::uint8_t* at) {
    return std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 | at[3];
}

// The IHDR fields of a PNG file and whether it has a tRNS chunk; defaults when it is no PNG.
inline PngHeader read_png_header(const Bytes& png) {
    PngHeader h;
    if (png.size() < 33) return h;
    h.width = be32(&png[16]);
    h.height = be32(&png[20]);
    h.bit_depth = png[24];
    h.colour_type = png[25];
    h.interlace = png[28];
    for (std::size_t at = 8; at + 8 <= png.size();) {
        const std::uint32_t length = be32(&png[at]);
        if (std::string(png.begin() + static_cast<long>(at) + 4, png.begin() + static_cast<long>(at) + 8) ==
            "tRNS")
            h.has_trns = true;
        at += 12 + std::size_t{length};
    }
    return h;
}

// Offset just past the last byte of the last IDAT chunk (its CRC included); 0 when there is none.
inline std::size_t idat_end(const Bytes& png) {
    std::size_t end = 0;
    for (std::size_t at = 8; at + 8 <= png.size();) {
        const std::uint32_t length = be32(&png[at]);
        const std::size_t next = at + 12 + std::size_t{length};
        if (std::string(png.begin() + static_cast<long>(at) + 4, png.begin() + static_cast<long>(at) + 8) ==
            "IDAT")
            end = next;
        at = next;
    }
    return end;
}

inline void put_be32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

// One chunk: length, type, data, CRC of type and data.
inline void add_chunk(Bytes& out, const char* type, const Bytes& data) {
    put_be32(out, static_cast<std::uint32_t>(data.size()));
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    put_be32(out, static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

// A PNG with the given header, optional PLTE and tRNS, and scanlines (each with its filter byte)
// compressed into one IDAT.
inline Bytes build_png(std::uint32_t width, std::uint32_t height, int bit_depth, int colour_type,
                       const Bytes& scanlines, const Bytes& plte = {}, const Bytes& trns = {}) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    put_be32(ihdr, width);
    put_be32(ihdr, height);
    ihdr.insert(ihdr.end(),
                {static_cast<std::uint8_t>(bit_depth), static_cast<std::uint8_t>(colour_type), 0, 0, 0});
    add_chunk(png, "IHDR", ihdr);
    if (!plte.empty()) add_chunk(png, "PLTE", plte);
    if (!trns.empty()) add_chunk(png, "tRNS", trns);
    uLongf room = compressBound(static_cast<uLong>(scanlines.size()));
    Bytes packed(room);
    compress2(packed.data(), &room, scanlines.data(), static_cast<uLong>(scanlines.size()), 9);
    packed.resize(room);
    add_chunk(png, "IDAT", packed);
    add_chunk(png, "IEND", {});
    return png;
}

} // namespace png_test
