#include "bitmap/resample.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

// A source pixel and how much of one target pixel it covers.
struct Tap {
    int64_t source;
    uint64_t weight;
};

// Lays source pixel i over [i * dst, (i + 1) * dst) and target pixel t over
// [t * src, (t + 1) * src); their overlaps are whole numbers that add up to src
// for every target pixel, so the arithmetic stays exact.
std::vector<std::vector<Tap>> taps_for(int64_t src, int64_t dst) {
    std::vector<std::vector<Tap>> taps(static_cast<size_t>(dst));
    for (int64_t t = 0; t < dst; ++t) {
        const int64_t lo = t * src;
        const int64_t hi = lo + src;
        for (int64_t i = lo / dst; i * dst < hi; ++i) {
            const int64_t a = i * dst > lo ? i * dst : lo;
            const int64_t b = (i + 1) * dst < hi ? (i + 1) * dst : hi;
            if (b > a) taps[static_cast<size_t>(t)].push_back({i, static_cast<uint64_t>(b - a)});
        }
    }
    return taps;
}

} // namespace

void resample_area(const uint8_t* src, int32_t src_width, int32_t src_height, uint8_t* dst, int32_t dst_width,
                   int32_t dst_height) {
    const auto columns = taps_for(src_width, dst_width);
    const auto rows = taps_for(src_height, dst_height);
    const uint64_t total = uint64_t{static_cast<uint32_t>(src_width)} * static_cast<uint32_t>(src_height);
    const size_t src_stride = static_cast<size_t>(src_width) * 4;
    std::vector<uint64_t> row_sum(src_stride);
    for (int32_t ty = 0; ty < dst_height; ++ty) {
        std::fill(row_sum.begin(), row_sum.end(), 0);
        for (const Tap& r : rows[static_cast<size_t>(ty)]) {
            const uint8_t* line = src + static_cast<size_t>(r.source) * src_stride;
            for (size_t i = 0; i < src_stride; ++i)
                row_sum[i] += r.weight * line[i];
        }
        uint8_t* out = dst + static_cast<size_t>(ty) * dst_width * 4;
        for (int32_t tx = 0; tx < dst_width; ++tx) {
            uint64_t sum[4] = {0, 0, 0, 0};
            for (const Tap& c : columns[static_cast<size_t>(tx)]) {
                const uint64_t* px = row_sum.data() + c.source * 4;
                for (int k = 0; k < 4; ++k)
                    sum[k] += c.weight * px[k];
            }
            for (int k = 0; k < 4; ++k)
                out[tx * 4 + k] = static_cast<uint8_t>((sum[k] + total / 2) / total);
        }
    }
}
