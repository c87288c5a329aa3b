#pragma once
#include <cstdint>

// Scales an RGBA picture (4 bytes a pixel, rows top first, no padding) from
// src_width x src_height to dst_width x dst_height by area averaging: every
// target pixel is the mean of the source pixels under it, each weighted by the
// share of the target pixel it covers, rounded to the nearest value. All four
// channels are treated alike. Sizes must be at least 1; src and dst must not overlap.
void resample_area(const uint8_t* src, int32_t src_width, int32_t src_height, uint8_t* dst, int32_t dst_width,
                   int32_t dst_height);
