// Speed of Korvex loads and saves on a model of 1,000,000 faces and 500,000 vertices.
// Every figure is printed beside its baseline measured in the same run on the same bytes:
// loads and saves beside a raw read of the same file, the compressed load also beside zlib's
// uncompress alone on the same stream. Each figure is the best of several rounds.
//
// usage: bench_korvex [FOLDER]   (files are written to FOLDER, default /tmp)

#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/korvex_file.h"
#include "model/model.h"

namespace {

constexpr int kVertices = 500000;
constexpr int kFaces = 1000000;
constexpr int kRounds = 5;
// Level-9 deflate of the whole model takes seconds; fewer rounds keep the run short.
constexpr int kSlowRounds = 2;

double BestSeconds(const std::function<void()>& work, int rounds = kRounds) {
    double best = 1e30;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (took.count() < best) best = took.count();
    }
    return best;
}

double MegabytesPerSecond(double bytes, double seconds) {
    return bytes / seconds / 1e6;
}

long FileSize(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return -1;
    std::fseek(f, 0, SEEK_END);
    const long n = std::ftell(f);
    std::fclose(f);
    return n;
}

// Reads the whole file into a new, uninitialised buffer: the raw speed the loader is compared
// with. Returns the number of bytes read.
size_t ReadWhole(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return 0;
    std::fseek(f, 0, SEEK_END);
    const size_t n = static_cast<size_t>(std::ftell(f));
    std::fseek(f, 0, SEEK_SET);
    std::unique_ptr<unsigned char[]> bytes(new unsigned char[n]);
    const size_t got = std::fread(bytes.get(), 1, n, f);
    std::fclose(f);
    return got == n ? n : 0;
}

std::vector<unsigned char> FileBytes(const std::string& path) {
    std::vector<unsigned char> bytes(static_cast<size_t>(FileSize(path)));
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f || std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
    std::fclose(f);
    return bytes;
}

// A bumpy grid of vertices with faces between neighbours: compresses like real geometry,
// not like zeros.
void MakeModel(Model* m) {
    ResizeVertices(m, kVertices);
    ResizeFaces(m, kFaces);
    const int side = 1000;
    for (int i = 0; i < kVertices; ++i) {
        const float x = static_cast<float>(i % side) * 0.1f;
        const float z = static_cast<float>(i / side) * 0.1f;
        SetVertex(m, i, x, std::sin(x * 0.7f) * std::cos(z * 0.3f) * 5.0f, z, 0);
    }
    for (int f = 0; f < kFaces; ++f) {
        const int cell = (f / 2) % (kVertices - side - 1);
        const int a = cell, b = cell + 1, c = cell + side, d = cell + side + 1;
        if (f % 2 == 0) {
            SetFace(m, f, a, c, b, f % 7);
        } else {
            SetFace(m, f, b, c, d, f % 7);
        }
        const float s = static_cast<float>(cell % side) / side, t = static_cast<float>(cell / side) / 500;
        const float coords[6] = {s, t, s + 0.001f, t, s, t + 0.002f};
        SetFaceTexCoords(m, f, coords);
    }
    for (int i = 0; i < 16; ++i)
        AddDummy(m, i, static_cast<float>(i), 0, 0);
    for (int i = 0; i < 7; ++i)
        AddDefaultMaterial(m, ("mat" + std::to_string(i)).c_str());
}

// One operation beside its baseline; the ratio is baseline time / operation time, so above 1
// means faster than the baseline on the same bytes.
void Row(const char* what, double bytes, double seconds, const char* baseName, double baseBytes,
         double baseSeconds) {
    std::printf("%-16s %8.1f ms %8.1f MB/s | %-22s %8.1f ms %8.1f MB/s | ratio %.2f\n", what, seconds * 1e3,
                MegabytesPerSecond(bytes, seconds), baseName, baseSeconds * 1e3,
                MegabytesPerSecond(baseBytes, baseSeconds), baseSeconds / seconds);
}

} // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "/tmp";
    const std::string plainPath = folder + "/bench_korvex_plain.Korvex";
    const std::string packedPath = folder + "/bench_korvex_packed.Korvex";

    Model model;
    ModelInit(&model);
    MakeModel(&model);

    const double saveSeconds = BestSeconds([&] {
        if (ModelSave(&model, plainPath.c_str()) != 0) std::abort();
    });
    const double packSeconds = BestSeconds(
        [&] {
            if (ModelSaveCompressed(&model, packedPath.c_str()) != 0) std::abort();
        },
        kSlowRounds);
    const double plainBytes = static_cast<double>(FileSize(plainPath));
    const double packedBytes = static_cast<double>(FileSize(packedPath));

    Model loaded;
    ModelInit(&loaded);
    const double rawPlain = BestSeconds([&] {
        if (ReadWhole(plainPath) == 0) std::abort();
    });
    const double loadSeconds = BestSeconds([&] {
        if (ModelLoad(&loaded, plainPath.c_str()) != 0) std::abort();
    });
    const double rawPacked = BestSeconds([&] {
        if (ReadWhole(packedPath) == 0) std::abort();
    });
    const double unpackSeconds = BestSeconds([&] {
        if (ModelLoad(&loaded, packedPath.c_str()) != 0) std::abort();
    });

    // zlib alone on the same stream, already in memory, into a fresh body buffer.
    const std::vector<unsigned char> packed = FileBytes(packedPath);
    const uLong body = static_cast<uLong>(plainBytes) - 32;
    const double inflateSeconds = BestSeconds([&] {
        std::unique_ptr<unsigned char[]> out(new unsigned char[body]);
        uLongf n = body;
        if (uncompress(out.get(), &n, packed.data() + 32, packed.size() - 32) != Z_OK || n != body) {
            std::abort();
        }
    });

    std::printf("model: %d vertices, %d faces; plain file %.1f MB, compressed file %.1f MB\n", kVertices,
                kFaces, plainBytes / 1e6, packedBytes / 1e6);
    std::printf("MB/s of model bytes (the plain file's size) for loads, saves and uncompress;\n"
                "of the file's own bytes for raw reads. Best of %d rounds (%d for compressed\n"
                "save); saves include fsync.\n",
                kRounds, kSlowRounds);
    Row("plain load", plainBytes, loadSeconds, "raw read, plain file", plainBytes, rawPlain);
    Row("plain save", plainBytes, saveSeconds, "raw read, plain file", plainBytes, rawPlain);
    Row("compressed load", plainBytes, unpackSeconds, "raw read, compr. file", packedBytes, rawPacked);
    Row("compressed save", plainBytes, packSeconds, "raw read, compr. file", packedBytes, rawPacked);
    Row("compressed load", plainBytes, unpackSeconds, "uncompress alone", plainBytes, inflateSeconds);
    std::printf("goals: plain load >= 0.5 x raw read; compressed load >= 0.9 x uncompress alone\n");

    ModelRelease(&loaded);
    ModelRelease(&model);
    unlink(plainPath.c_str());
    unlink(packedPath.c_str());
    return 0;
}
