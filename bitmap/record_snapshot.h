#pragma once
// Test helper: everything of a Taviron record that a failed operation must leave as it was.
#include <cstdint>
#include <vector>

#include "bitmap/taviron.h"

struct RecordSnapshot {
    std::int32_t width, height, storage, reserved1, reserved2, reserved3;
    const std::uint8_t* block;
    std::vector<std::uint8_t> pixels;

    explicit RecordSnapshot(const Taviron& t)
        : width(t.width), height(t.height), storage(t.storage), reserved1(t.reserved1),
          reserved2(t.reserved2), reserved3(t.reserved3), block(t.pixels),
          pixels(t.pixels,
                 t.pixels + static_cast<std::size_t>(t.width) * static_cast<std::size_t>(t.height) * 4) {}
    bool operator==(const RecordSnapshot&) const = default;
};
