#include "platform/qt/image_canvas.h"

#include <cstddef>

namespace platform {

namespace {

std::uint32_t colour_ref(QRgb argb) {
    return static_cast<std::uint32_t>(qRed(argb)) | static_cast<std::uint32_t>(qGreen(argb)) << 8 |
           static_cast<std::uint32_t>(qBlue(argb)) << 16;
}

QRgb argb_of(std::uint32_t colour) {
    return qRgb(colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF);
}

} // namespace

ImageCanvas::ImageCanvas(QImage& image, std::uint32_t face_colour) : image_(image), face_(face_colour) {
    if (image_.format() != QImage::Format_RGB32) image_ = image_.convertToFormat(QImage::Format_RGB32);
}

bool ImageCanvas::inside(std::int32_t x, std::int32_t y) const {
    return x >= 0 && y >= 0 && x < image_.width() && y < image_.height();
}

std::uint32_t ImageCanvas::get_pixel(std::int32_t x, std::int32_t y) const {
    return inside(x, y) ? colour_ref(image_.pixel(x, y)) : 0;
}

void ImageCanvas::set_pixel(std::int32_t x, std::int32_t y, std::uint32_t colour) {
    if (inside(x, y)) image_.setPixel(x, y, argb_of(colour));
}

void ImageCanvas::put_image(std::int32_t x, std::int32_t y, const DibImage& image) {
    if (!image.pixels || image.width <= 0 || image.height <= 0) return;
    const auto width = static_cast<std::size_t>(image.width);
    for (std::int32_t row = 0; row < image.height; ++row) {
        const std::int32_t ty = y + row;
        // The picture's rows run from its bottom to its top.
        const std::uint8_t* src = image.pixels + static_cast<std::size_t>(image.height - 1 - row) * width * 4;
        if (ty < 0 || ty >= image_.height()) continue;
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(ty));
        for (std::int32_t column = 0; column < image.width; ++column) {
            const std::int32_t tx = x + column;
            if (tx < 0 || tx >= image_.width()) continue;
            const std::uint8_t* p = src + static_cast<std::size_t>(column) * 4;
            line[tx] = qRgb(p[2], p[1], p[0]);
        }
    }
}

std::uint32_t ImageCanvas::face_colour() const {
    return face_;
}

} // namespace platform
