#include "bitmap/taviron.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr char kMagic[8] = {'T', 'a', 'v', 'i', 'r', 'o', 'n', '\0'};

} // namespace

Taviron::Taviron()
    : width(0), height(0), storage(0), reserved1(0), reserved2(0), reserved3(0), pixels(nullptr) {
    std::memcpy(magic, kMagic, sizeof magic);
}

Taviron::Taviron(std::int32_t new_width, std::int32_t new_height) : Taviron() {
    bool ok = false;
    std::uint8_t* block = allocate_pixels(new_width, new_height, ok);
    if (ok) adopt_pixels(block, new_width, new_height);
}

Taviron::~Taviron() {
    std::free(pixels);
}

std::int32_t Taviron::get_width() const {
    return width;
}

std::int32_t Taviron::get_height() const {
    return height;
}

bool Taviron::size_fits(std::int64_t w, std::int64_t h) {
    if (w < 0 || h < 0) return false;
    constexpr std::int64_t kMaxBytes = 0x7FFFFFFF;
    if (w == 0 || h == 0) return true;
    return w <= kMaxBytes / 4 / h;
}

std::uint8_t* Taviron::allocate_pixels(std::int32_t w, std::int32_t h, bool& ok) {
    if (!size_fits(w, h)) {
        ok = false;
        return nullptr;
    }
    const std::size_t bytes = static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4;
    if (bytes == 0) {
        ok = true;
        return nullptr;
    }
    auto* block = static_cast<std::uint8_t*>(std::calloc(bytes, 1));
    ok = block != nullptr;
    return block;
}

void Taviron::adopt_pixels(std::uint8_t* block, std::int32_t w, std::int32_t h) {
    if (block != pixels) std::free(pixels);
    pixels = block;
    width = w;
    height = h;
}
