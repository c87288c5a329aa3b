#pragma once
// The drawing surface that a bitmap is put onto: the programs implement it on their windows,
// tests on a plain buffer. Colours are platform colour values 0x00BBGGRR (red in the low byte).
#include <cstdint>

#include "bitmap/dib_image.h"

class Canvas {
  public:
    virtual ~Canvas() = default;

    // The colour at (x, y); positions outside the surface give 0.
    virtual std::uint32_t get_pixel(std::int32_t x, std::int32_t y) const = 0;

    // Sets the colour at (x, y); positions outside the surface are ignored.
    virtual void set_pixel(std::int32_t x, std::int32_t y, std::uint32_t colour) = 0;

    // Copies a whole 32-bit picture with its top-left corner at (x, y), clipped to the surface;
    // the unused fourth byte of each pixel is ignored.
    virtual void put_image(std::int32_t x, std::int32_t y, const DibImage& image) = 0;

    // The colour of the faces of three-dimensional controls, the background of blended drawing.
    virtual std::uint32_t face_colour() const = 0;
};
