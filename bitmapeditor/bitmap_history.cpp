#include "bitmapeditor/bitmap_history.h"

#include <cstring>

namespace bmpedit {
namespace {

std::size_t pixel_bytes(const Taviron* bitmap) {
    if (!bitmap || !bitmap->pixels) return 0;
    return std::size_t(bitmap->width) * std::size_t(bitmap->height) * 4;
}

void copy_header(const Taviron& source, Taviron& target) {
    target.storage = source.storage;
    target.reserved1 = source.reserved1;
    target.reserved2 = source.reserved2;
    target.reserved3 = source.reserved3;
}

std::uint32_t read_pixel(const Taviron& bitmap, std::uint32_t index) {
    std::uint32_t value;
    std::memcpy(&value, bitmap.pixels + std::size_t(index) * 4, 4);
    return value;
}

} // namespace

std::size_t BitmapStep::bytes() const {
    return sizeof(*this) + indices.size() * 8 + pixel_bytes(bitmap.get()) + fileSwap.file.path.size();
}

std::unique_ptr<Taviron> copy_bitmap(const Taviron& source) {
    auto copy =
        source.pixels ? std::make_unique<Taviron>(source.width, source.height) : std::make_unique<Taviron>();
    if (source.pixels) {
        if (!copy->pixels) return nullptr;
        std::memcpy(copy->pixels, source.pixels, pixel_bytes(&source));
    }
    copy_header(source, *copy);
    return copy;
}

std::unique_ptr<Taviron> empty_like(const Taviron& source) {
    auto empty = std::make_unique<Taviron>();
    copy_header(source, *empty);
    return empty;
}

BitmapHistory::BitmapHistory(std::size_t limitBytes) : steps_(limitBytes) {}

void BitmapHistory::touch(const Taviron& bitmap, std::int32_t x, std::int32_t y) {
    if (!bitmap.pixels || x < 0 || y < 0 || x >= bitmap.width || y >= bitmap.height) return;
    if (!stroke_) {
        stroke_ = std::make_unique<BitmapStep>();
        stroke_->width = bitmap.width;
        stroke_->height = bitmap.height;
        touched_.clear();
    }
    const std::uint32_t index = std::uint32_t(y) * std::uint32_t(bitmap.width) + std::uint32_t(x);
    if (!touched_.insert(index).second) return;
    stroke_->indices.push_back(index);
    stroke_->values.push_back(read_pixel(bitmap, index));
}

void BitmapHistory::end_stroke(const Taviron* bitmap) {
    if (!stroke_) return;
    std::unique_ptr<BitmapStep> step = std::move(stroke_);
    touched_.clear();
    if (!bitmap || !bitmap->pixels || bitmap->width != step->width || bitmap->height != step->height) return;
    // Only the pixels the stroke really changed are kept.
    std::size_t kept = 0;
    for (std::size_t k = 0; k < step->indices.size(); ++k) {
        if (read_pixel(*bitmap, step->indices[k]) == step->values[k]) continue;
        step->indices[kept] = step->indices[k];
        step->values[kept] = step->values[k];
        ++kept;
    }
    if (kept == 0) return;
    step->indices.resize(kept);
    step->values.resize(kept);
    step->indices.shrink_to_fit();
    step->values.shrink_to_fit();
    steps_.push(std::move(*step));
}

void BitmapHistory::replaced(std::unique_ptr<Taviron> previous, bool newFile, const BitmapFile& file) {
    stroke_.reset();
    BitmapStep step;
    step.bitmap = std::move(previous);
    if (newFile) step.fileSwap = steps_.file_swap();
    steps_.push(std::move(step));
    if (newFile) saved_as(file);
}

bool BitmapHistory::apply(BitmapStep& step, std::unique_ptr<Taviron>& bitmap) {
    if (step.bitmap) {
        std::swap(step.bitmap, bitmap);
    } else {
        if (!bitmap || !bitmap->pixels || bitmap->width != step.width || bitmap->height != step.height)
            return false;
        for (std::size_t k = 0; k < step.indices.size(); ++k) {
            std::uint8_t* pixel = bitmap->pixels + std::size_t(step.indices[k]) * 4;
            std::uint32_t present;
            std::memcpy(&present, pixel, 4);
            std::memcpy(pixel, &step.values[k], 4);
            step.values[k] = present;
        }
    }
    return true;
}

bool BitmapHistory::undo(std::unique_ptr<Taviron>& bitmap) {
    end_stroke(bitmap.get());
    return steps_.undo([&](BitmapStep& step) { return apply(step, bitmap); });
}

bool BitmapHistory::redo(std::unique_ptr<Taviron>& bitmap) {
    end_stroke(bitmap.get());
    return steps_.redo([&](BitmapStep& step) { return apply(step, bitmap); });
}

void BitmapHistory::reset(const BitmapFile& file) {
    stroke_.reset();
    touched_.clear();
    steps_.reset(file);
}

} // namespace bmpedit
