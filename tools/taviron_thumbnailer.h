#pragma once
// Thumbnails of Taviron bitmaps: the picture scaled to fit a square, keeping its aspect and alpha.
#include <cstddef>
#include <cstdint>
#include <string>

class Taviron;

// Largest bitmap, in pixels, that a thumbnail is made of (a raw file of 256 MiB).
inline constexpr std::int64_t kTavironThumbnailMaxPixels = 64ll << 20;

// The size a width x height picture gets when scaled to fit a side x side square: the longer
// edge becomes side, the shorter one its share of it, rounded, at least 1.
void taviron_thumbnail_size(std::int32_t width, std::int32_t height, std::int32_t side,
                            std::int32_t& out_width, std::int32_t& out_height);

// Scales source to fit side x side: area averaging over premultiplied colours when shrinking,
// whole source pixels when enlarging (a small bitmap keeps its crisp cells). False for an empty
// source or a failed allocation; picture is unchanged then.
bool taviron_thumbnail_scale(const Taviron& source, std::int32_t side, Taviron& picture);

// Reads a Taviron file image held in memory and scales it as above. Refuses, with reason set,
// anything the Taviron reader refuses, an empty bitmap and one over kTavironThumbnailMaxPixels
// (checked on the header before anything is inflated).
bool taviron_thumbnail(const std::uint8_t* data, std::size_t size, std::int32_t side, Taviron& picture,
                       std::string& reason);
