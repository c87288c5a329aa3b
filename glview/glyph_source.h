#pragma once
// Glyphs of one font face through FreeType, with the face chosen by fontconfig.
// Character codes are bytes 0 to 255 under Windows-1252; no GL here.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace glview {

struct GlyphRequest {
    std::string face;                // family name, e.g. "Verdana"; empty picks by pitchAndFamily
    std::int32_t height = 0;         // > 0 cell height, < 0 em height, 0 default, pixels
    std::int32_t width = 0;          // average character width in pixels, 0 to follow the height
    std::int32_t weight = 0;         // 0 default, 100 to 900
    std::int32_t italic = 0;         // non-zero: italic
    std::int32_t pitchAndFamily = 0; // low bits 1 fixed pitch; 0x10 roman, 0x20 swiss, 0x30 modern, ...
};

// A one-bit glyph image laid out for glBitmap: rows bottom first, each row (width + 7) / 8
// bytes, leftmost pixel in the high bit. The origin is on the base line.
struct GlyphBitmap {
    std::int32_t width = 0;
    std::int32_t rows = 0;
    std::int32_t left = 0;    // from the origin to the left column
    std::int32_t top = 0;     // from the base line up to the top row
    std::int32_t advance = 0; // pixels to the next origin
    std::vector<std::uint8_t> bits;
};

// A glyph outline with its curves flattened, in em units (one em is 1.0), y up.
struct GlyphOutline {
    std::vector<std::vector<std::pair<double, double>>> contours; // closed, last point not repeated
    double advance = 0.0;
    bool evenOdd = false;  // fill rule of the face: even-odd, else non-zero
    bool fillRight = true; // filled area lies to the right of each contour's direction
};

class GlyphSource {
  public:
    // Opens the face that fontconfig matches for the request; ok() tells whether one was found.
    explicit GlyphSource(const GlyphRequest& request);
    ~GlyphSource();
    GlyphSource(const GlyphSource&) = delete;
    GlyphSource& operator=(const GlyphSource&) = delete;

    bool ok() const;
    // Path of the face file in use (empty when none).
    const std::string& file() const;

    // The glyph of byte `code` rendered in one bit per pixel at the requested size.
    GlyphBitmap bitmap(std::uint8_t code);
    // Advance of byte `code` in whole pixels at the requested size.
    std::int32_t advance_pixels(std::uint8_t code);
    // The outline of byte `code`, curves cut into chords no further than `deviation` em
    // from the curve (values at or below 0 use a fine fixed tolerance).
    GlyphOutline outline(std::uint8_t code, double deviation);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace glview
