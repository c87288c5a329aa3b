// Speed of Taviron files: compressed save and load of a 1024 x 1024 bitmap beside raw save and
// load, in MB/s of pixel data (1 MB = 2^20 bytes), each load beside a plain read of the same file
// (in MB/s of the file's bytes). Prints one line per measurement.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bitmap/taviron.h"

namespace {

constexpr int kSide = 1024;
constexpr double kMegabytes = kSide * kSide * 4.0 / (1024.0 * 1024.0);

// A picture-like image: smooth gradients with a little noise, opaque, so zlib has real work.
void paint(Taviron& bitmap) {
    unsigned noise = 12345;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            noise = noise * 1103515245u + 12345u;
            std::uint8_t* p = bitmap.pixels + (static_cast<std::size_t>(y) * kSide + x) * 4;
            const int jitter = static_cast<int>((noise >> 16) & 7);
            p[0] = static_cast<std::uint8_t>((x / 4 + jitter) & 0xFF);
            p[1] = static_cast<std::uint8_t>((y / 4 + jitter) & 0xFF);
            p[2] = static_cast<std::uint8_t>(((x + y) / 8) & 0xFF);
            p[3] = 255;
        }
}

// Best of several runs, so that a busy machine disturbs the figure as little as possible.
double best_seconds(int runs, const std::function<bool()>& step) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (!step()) {
            std::fprintf(stderr, "bench_taviron: an operation failed\n");
            std::exit(1);
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

void report(const char* what, double seconds) {
    std::printf("%-34s %9.1f MB/s  (%.2f ms)\n", what, kMegabytes / seconds, seconds * 1000.0);
}

// Reads the whole file into a new buffer with stdio: the floor under any load of it.
bool read_whole(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(std::filesystem::file_size(path)));
    const bool ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    std::fclose(file);
    return ok;
}

void report_read(const char* what, const std::string& path, double seconds) {
    const double megabytes = static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
    std::printf("%-34s %9.1f MB/s  (%.2f ms, file bytes)\n", what, megabytes / seconds, seconds * 1000.0);
}

} // namespace

int main() {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("bench_taviron_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string raw = (dir / "raw.taviron").string();
    const std::string packed = (dir / "packed.taviron").string();

    Taviron bitmap(kSide, kSide);
    paint(bitmap);
    Taviron reader;

    std::printf("Taviron files, %d x %d bitmap (%.0f MB of pixels)\n", kSide, kSide, kMegabytes);
    report("save (raw)", best_seconds(5, [&] { return bitmap.save(raw.c_str()) == TAV_OK; }));
    report("load (raw)", best_seconds(10, [&] { return reader.load(raw.c_str()) == TAV_OK; }));
    report_read("  plain read of the same file", raw, best_seconds(10, [&] { return read_whole(raw); }));
    report("save_compressed (zlib level 9)",
           best_seconds(3, [&] { return bitmap.save_compressed(packed.c_str()) == TAV_OK; }));
    report("load (compressed)", best_seconds(10, [&] { return reader.load(packed.c_str()) == TAV_OK; }));
    report_read("  plain read of the same file", packed,
                best_seconds(10, [&] { return read_whole(packed); }));
    std::printf("compressed file: %ju bytes (%.1f%% of raw)\n",
                static_cast<std::uintmax_t>(fs::file_size(packed)),
                100.0 * static_cast<double>(fs::file_size(packed)) / static_cast<double>(fs::file_size(raw)));

    fs::remove_all(dir);
    return 0;
}
