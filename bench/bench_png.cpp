// PNG import speed beside libspng's own decode of the same file. Two 2048 x 2048 pictures with
// gradients and noise (so that they compress like photographs, not like flat colour): 8-bit RGBA
// as save_png writes it, and 8-bit palette with tRNS. For each, in the same run and on the same
// bytes:
//   - baseline from memory: spng_ctx_new, spng_set_png_buffer, spng_decode_image to RGBA8 with
//     tRNS into a new buffer, spng_ctx_free; beside import_png_memory into a new record;
//   - baseline from the file: the same after one fread of the whole file into a new buffer;
//     beside import_png on the path.
// Times are the best of kRounds rounds in CPU time of this thread (user plus system), baseline and
// import taking turns, so that other load on a shared machine skews them as little as possible.
#include <spng.h>
#include <zlib.h>

#include <time.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bitmap/taviron.h"

namespace {

constexpr int kSide = 2048;
constexpr int kRounds = 11;

double thread_seconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

std::uint32_t noise(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    return x;
}

std::vector<std::uint8_t> read_whole(const std::string& path) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr) std::abort();
    std::fseek(in, 0, SEEK_END);
    const long length = std::ftell(in);
    std::fseek(in, 0, SEEK_SET);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    if (std::fread(bytes.data(), 1, bytes.size(), in) != bytes.size()) std::abort();
    std::fclose(in);
    return bytes;
}

// libspng alone: what a program that decodes this PNG to RGBA with libspng does.
void spng_decode(const std::uint8_t* data, std::size_t size) {
    spng_ctx* ctx = spng_ctx_new(0);
    if (ctx == nullptr || spng_set_png_buffer(ctx, data, size) != 0) std::abort();
    std::size_t length = 0;
    if (spng_decoded_image_size(ctx, SPNG_FMT_RGBA8, &length) != 0) std::abort();
    auto* out = static_cast<std::uint8_t*>(std::malloc(length));
    if (out == nullptr || spng_decode_image(ctx, out, length, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS) != 0)
        std::abort();
    volatile std::uint8_t sink = out[length - 1];
    (void)sink;
    std::free(out);
    spng_ctx_free(ctx);
}

// An 8-bit palette PNG of the picture's colours cut to 256 entries, some of them transparent.
std::vector<std::uint8_t> palette_png() {
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr header{};
    header.width = kSide;
    header.height = kSide;
    header.bit_depth = 8;
    header.color_type = SPNG_COLOR_TYPE_INDEXED;
    spng_set_ihdr(ctx, &header);
    spng_plte plte{};
    spng_trns trns{};
    plte.n_entries = 256;
    trns.n_type3_entries = 256;
    for (std::uint32_t i = 0; i < 256; ++i) {
        plte.entries[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                           static_cast<std::uint8_t>(i * 7), 0};
        trns.type3_alpha[i] = static_cast<std::uint8_t>(i < 32 ? i * 8 : 255);
    }
    spng_set_plte(ctx, &plte);
    spng_set_trns(ctx, &trns);
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(kSide) * kSide);
    for (std::size_t y = 0; y < kSide; ++y)
        for (std::size_t x = 0; x < kSide; ++x)
            indices[y * kSide + x] =
                static_cast<std::uint8_t>((x + y) / 16 + (noise(std::uint32_t(y * kSide + x)) & 7));
    if (spng_encode_image(ctx, indices.data(), indices.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) != 0)
        std::abort();
    std::size_t length = 0;
    int error = 0;
    auto* png = static_cast<std::uint8_t*>(spng_get_png_buffer(ctx, &length, &error));
    if (png == nullptr) std::abort();
    std::vector<std::uint8_t> bytes(png, png + length);
    std::free(png);
    spng_ctx_free(ctx);
    return bytes;
}

struct Figures {
    double spng_memory = 1e30, import_memory = 1e30, spng_file = 1e30, import_file = 1e30;
};

template <typename F> void keep_best(double& best, F&& run) {
    const double start = thread_seconds();
    run();
    const double took = thread_seconds() - start;
    if (took < best) best = took;
}

Figures measure(const std::string& path) {
    const std::vector<std::uint8_t> bytes = read_whole(path);
    Figures f;
    for (int round = 0; round < kRounds; ++round) {
        keep_best(f.spng_memory, [&] { spng_decode(bytes.data(), bytes.size()); });
        keep_best(f.import_memory, [&] {
            Taviron t;
            if (t.import_png_memory(bytes.data(), bytes.size()) != TAV_OK || t.width != kSide) std::abort();
        });
        keep_best(f.spng_file, [&] {
            const std::vector<std::uint8_t> file = read_whole(path);
            spng_decode(file.data(), file.size());
        });
        keep_best(f.import_file, [&] {
            Taviron t;
            if (t.import_png(path.c_str()) != TAV_OK || t.width != kSide) std::abort();
        });
    }
    return f;
}

void report(const char* name, const std::string& path, const Figures& f) {
    const double file_mb = static_cast<double>(read_whole(path).size()) / 1e6;
    const double pixel_mb = double(kSide) * kSide * 4 / 1e6;
    std::printf("%s: %d x %d, file %.1f MB, %.1f MB of RGBA, best of %d rounds (thread CPU time)\n", name,
                kSide, kSide, file_mb, pixel_mb, kRounds);
    std::printf("  libspng decode, memory  %8.1f ms  %7.1f MB/s of RGBA\n", f.spng_memory * 1e3,
                pixel_mb / f.spng_memory);
    std::printf("  import_png_memory       %8.1f ms  %7.1f MB/s   ratio %.2f\n", f.import_memory * 1e3,
                pixel_mb / f.import_memory, f.spng_memory / f.import_memory);
    std::printf("  fread + libspng decode  %8.1f ms  %7.1f MB/s of RGBA\n", f.spng_file * 1e3,
                pixel_mb / f.spng_file);
    std::printf("  import_png (file)       %8.1f ms  %7.1f MB/s   ratio %.2f\n", f.import_file * 1e3,
                pixel_mb / f.import_file, f.spng_file / f.import_file);
}

} // namespace

int main() {
    const std::string rgba_path = "/tmp/bench_png_rgba.png";
    const std::string palette_path = "/tmp/bench_png_palette.png";
    {
        Taviron picture(kSide, kSide);
        for (std::size_t y = 0; y < kSide; ++y)
            for (std::size_t x = 0; x < kSide; ++x) {
                std::uint8_t* p = picture.pixels + (y * kSide + x) * 4;
                const std::uint32_t n = noise(std::uint32_t(y * kSide + x));
                p[0] = static_cast<std::uint8_t>(x / 8 + (n & 15));
                p[1] = static_cast<std::uint8_t>(y / 8 + (n >> 8 & 15));
                p[2] = static_cast<std::uint8_t>((x + y) / 16 + (n >> 16 & 7));
                p[3] = static_cast<std::uint8_t>(x < 256 ? x : 255);
            }
        if (picture.save_png(rgba_path.c_str()) != TAV_OK) {
            std::fprintf(stderr, "bench_png: %s: cannot write\n", rgba_path.c_str());
            return 1;
        }
        const std::vector<std::uint8_t> palette = palette_png();
        std::FILE* out = std::fopen(palette_path.c_str(), "wb");
        if (out == nullptr || std::fwrite(palette.data(), 1, palette.size(), out) != palette.size() ||
            std::fclose(out) != 0) {
            std::fprintf(stderr, "bench_png: %s: cannot write\n", palette_path.c_str());
            return 1;
        }
    }
    const Figures rgba = measure(rgba_path);
    const Figures palette = measure(palette_path);
    report("PNG, 8-bit RGBA", rgba_path, rgba);
    report("PNG, 8-bit palette with tRNS", palette_path, palette);
    std::remove(rgba_path.c_str());
    std::remove(palette_path.c_str());
    return 0;
}
