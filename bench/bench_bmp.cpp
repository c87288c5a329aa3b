// BMP import speed: a 4096 x 4096 24-bit file read by import_bmp, beside the plain
// read speed of the same file, the decode alone on bytes already in memory, and an
// import into a record that already has a block of the picture's size.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bitmap/taviron.h"

namespace {

constexpr int kSide = 4096;
constexpr int kRuns = 5;

void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::vector<std::uint8_t> make_file() {
    const std::size_t stride = kSide * 3; // already a multiple of 4
    std::vector<std::uint8_t> b(54 + stride * kSide);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, static_cast<std::uint32_t>(b.size()));
    put32(b, 10, 54);
    put32(b, 14, 40);
    put32(b, 18, kSide);
    put32(b, 22, kSide);
    b[26] = 1;
    b[28] = 24;
    for (std::size_t i = 54; i < b.size(); ++i)
        b[i] = static_cast<std::uint8_t>(i * 2654435761u >> 13);
    return b;
}

template <typename F> double best_seconds(F&& run) {
    double best = 1e30;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (took.count() < best) best = took.count();
    }
    return best;
}

} // namespace

int main() {
    const std::vector<std::uint8_t> file = make_file();
    const std::string path = "/tmp/bench_bmp_4096.bmp";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr || std::fwrite(file.data(), 1, file.size(), out) != file.size() ||
        std::fclose(out) != 0) {
        std::fprintf(stderr, "bench_bmp: %s: cannot write\n", path.c_str());
        return 1;
    }
    const double mb = static_cast<double>(file.size()) / 1e6;

    std::vector<std::uint8_t> buffer(file.size());
    const double read_s = best_seconds([&] {
        std::FILE* in = std::fopen(path.c_str(), "rb");
        if (in == nullptr || std::fread(buffer.data(), 1, buffer.size(), in) != buffer.size()) std::abort();
        std::fclose(in);
    });

    const double import_s = best_seconds([&] {
        Taviron t;
        if (t.import_bmp(path.c_str()) != TAV_OK || t.width != kSide) std::abort();
    });

    const double decode_s = best_seconds([&] {
        Taviron t;
        if (t.import_bmp_memory(file.data(), file.size()) != TAV_OK) std::abort();
    });
    // Repeated imports of same-sized pictures decode into the block the record already has.
    Taviron reused;
    if (reused.import_bmp(path.c_str()) != TAV_OK) std::abort();
    const double reuse_s = best_seconds([&] {
        if (reused.import_bmp(path.c_str()) != TAV_OK) std::abort();
    });
    std::remove(path.c_str());

    std::printf("BMP import, %d x %d 24-bit file (%.1f MB), best of %d runs:\n", kSide, kSide, mb, kRuns);
    std::printf("  raw read of the file   %8.1f MB/s  (%.1f ms)\n", mb / read_s, read_s * 1e3);
    std::printf("  import_bmp (file)      %8.1f MB/s  (%.1f ms)\n", mb / import_s, import_s * 1e3);
    std::printf("  import_bmp_memory      %8.1f MB/s  (%.1f ms)\n", mb / decode_s, decode_s * 1e3);
    std::printf("  import_bmp, same size  %8.1f MB/s  (%.1f ms)\n", mb / reuse_s, reuse_s * 1e3);
    return 0;
}
