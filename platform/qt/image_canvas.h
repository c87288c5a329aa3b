#pragma once
// A Canvas that draws into a QImage, for putting bitmaps onto Qt pictures and widgets.
#include <QImage>

#include "bitmap/canvas.h"

namespace platform {

class ImageCanvas : public Canvas {
  public:
    // Draws into `image`, which must outlive the canvas; it is converted to 32-bit RGB if it is not.
    // `face_colour` is the 3D-face colour, 0x00BBGGRR.
    explicit ImageCanvas(QImage& image, std::uint32_t face_colour = 0xF0F0F0);

    std::uint32_t get_pixel(std::int32_t x, std::int32_t y) const override;
    void set_pixel(std::int32_t x, std::int32_t y, std::uint32_t colour) override;
    void put_image(std::int32_t x, std::int32_t y, const DibImage& image) override;
    std::uint32_t face_colour() const override;

  private:
    bool inside(std::int32_t x, std::int32_t y) const;

    QImage& image_;
    std::uint32_t face_;
};

} // namespace platform
