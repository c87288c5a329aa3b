// The thumbnailer programs as a file manager runs them, and the drawing and scaling behind them.
// KX_THUMBNAILER_DIR, when set, names the folder of the programs to test (an installed bin/);
// otherwise the ones of this build are tested.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bitmap/taviron.h"
#include "model/korvex_file.h"
#include "platform/egl_surface.h"
#include "platform/test_files.h"
#include "tools/korvex_thumbnailer.h"
#include "tools/taviron_thumbnailer.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSource = KX_SOURCE_DIR;

std::string program(const char* name) {
    const char* dir = std::getenv("KX_THUMBNAILER_DIR");
    return (fs::path(dir && *dir ? dir : KX_THUMBNAILER_BUILD_DIR) / name).string();
}

// Runs `name -s side in out` and returns its exit status (-1 when it did not exit normally).
int run(const char* name, const std::string& side, const fs::path& in, const fs::path& out) {
    const std::string command = "'" + program(name) + "' -s " + side + " '" + in.string() + "' '" +
                                out.string() + "' </dev/null >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class Scratch : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("thumbnailer_test_" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

// Pictures agree when no channel of any pixel differs by more than 48 and the mean difference
// stays below 1.5: rasterisers may move an edge by a pixel, but not change what is drawn.
void expect_close(const Taviron& actual, const fs::path& reference_path, const fs::path& actual_path) {
    Taviron reference;
    ASSERT_EQ(reference.import_png(reference_path.c_str()), TAV_OK) << reference_path;
    ASSERT_EQ(actual.width, reference.width);
    ASSERT_EQ(actual.height, reference.height);
    const std::size_t n = static_cast<std::size_t>(actual.width) * actual.height * 4;
    double total = 0;
    std::size_t far = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const int d = std::abs(int(actual.pixels[i]) - int(reference.pixels[i]));
        total += d;
        if (d > 48) ++far;
    }
    const double mean = total / double(n);
    EXPECT_LT(mean, 1.5) << actual_path << " differs from " << reference_path;
    EXPECT_LE(far, n / 200) << actual_path << " differs from " << reference_path;
    if (::testing::Test::HasFailure()) {
        const fs::path kept = fs::path(KX_BINARY_DIR) / actual_path.filename();
        fs::copy_file(actual_path, kept, fs::copy_options::overwrite_existing);
        std::printf("picture kept as %s\n", kept.c_str());
    }
}

using ThumbnailerPrograms = Scratch;

TEST_F(ThumbnailerPrograms, ModelMatchesItsReference) {
    const fs::path out = dir / "sample-korvex-128.png";
    ASSERT_EQ(run("korvex-thumbnailer", "128", kSource / "examples/sample.Korvex", out), 0);
    Taviron picture;
    ASSERT_EQ(picture.import_png(out.c_str()), TAV_OK);
    EXPECT_EQ(picture.width, 128);
    EXPECT_EQ(picture.height, 128);
    // Transparent around the model, opaque on it.
    EXPECT_EQ(picture.get_alpha(0, 0), 0);
    EXPECT_EQ(picture.get_alpha(127, 127), 0);
    expect_close(picture, kSource / "tools/testdata/sample-korvex-128.png", out);
}

TEST_F(ThumbnailerPrograms, BitmapMatchesItsReferenceEnlargedAndShrunk) {
    // 64 x 40 keeps its aspect.
    struct Size {
        const char* side;
        int width, height;
    };
    for (const Size& size : {Size{"128", 128, 80}, Size{"32", 32, 20}}) {
        const fs::path out = dir / (std::string("sample-taviron-") + size.side + ".png");
        ASSERT_EQ(run("taviron-thumbnailer", size.side, kSource / "examples/sample.Taviron", out), 0);
        Taviron picture;
        ASSERT_EQ(picture.import_png(out.c_str()), TAV_OK);
        EXPECT_EQ(picture.width, size.width);
        EXPECT_EQ(picture.height, size.height);
        expect_close(picture, kSource / "tools/testdata" / out.filename(), out);
    }
}

TEST_F(ThumbnailerPrograms, RefuseEveryTruncationWithoutWriting) {
    struct Case {
        const char* program;
        fs::path sample;
    };
    for (const Case& c : {Case{"korvex-thumbnailer", kSource / "examples/sample.Korvex"},
                          Case{"taviron-thumbnailer", kSource / "examples/sample.Taviron"}}) {
        const std::vector<std::uint8_t> whole = test_support::read_file(c.sample.string());
        ASSERT_GT(whole.size(), 64u);
        // Every cut inside the header, then cuts spread over the body, and the last byte.
        std::vector<std::size_t> cuts;
        for (std::size_t n = 0; n <= 40; ++n)
            cuts.push_back(n);
        for (std::size_t n = 41; n < whole.size(); n += whole.size() / 9)
            cuts.push_back(n);
        cuts.push_back(whole.size() - 1);
        for (const std::size_t cut : cuts) {
            const fs::path in = dir / "cut";
            const fs::path out = dir / "cut.png";
            test_support::write_file(in.string(), {whole.begin(), whole.begin() + std::ptrdiff_t(cut)});
            EXPECT_EQ(run(c.program, "64", in, out), 1) << c.program << " on " << cut << " bytes";
            EXPECT_FALSE(fs::exists(out)) << c.program << " wrote a picture for " << cut << " bytes";
        }
    }
}

TEST_F(ThumbnailerPrograms, RefusalLeavesAnExistingOutputAndNoTemporary) {
    const fs::path out = dir / "old.png";
    test_support::write_file(out.string(), {'o', 'l', 'd'});
    EXPECT_EQ(run("korvex-thumbnailer", "64", kSource / "examples/sample.Taviron", out), 1);
    EXPECT_EQ(run("taviron-thumbnailer", "64", kSource / "examples/sample.Korvex", out), 1);
    EXPECT_EQ(run("taviron-thumbnailer", "64", dir / "missing.Taviron", out), 1);
    EXPECT_EQ(test_support::read_file(out.string()).size(), 3u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(ThumbnailerPrograms, UsageErrorsExitTwo) {
    const fs::path in = kSource / "examples/sample.Taviron";
    for (const char* side : {"0", "1025", "12x", "-3", ""})
        EXPECT_EQ(run("taviron-thumbnailer", side, in, dir / "x.png"), 2) << "size '" << side << "'";
    const std::string bare = "'" + program("korvex-thumbnailer") + "' >/dev/null 2>&1";
    const int status = std::system(bare.c_str());
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_FALSE(fs::exists(dir / "x.png"));
}

// --- The drawing and scaling, in process ---

std::vector<std::uint8_t> model_file(std::int32_t vertices, std::int32_t faces, const std::vector<Vertex>& v,
                                     const std::vector<Face>& f) {
    std::vector<std::uint8_t> file(kModelHeaderSize);
    std::memcpy(file.data(), "Korvex", 7);
    const std::int32_t header[6] = {vertices, faces, 0, 0, 0, 0};
    std::memcpy(file.data() + 8, header, sizeof header);
    const auto* pv = reinterpret_cast<const std::uint8_t*>(v.data());
    const auto* pf = reinterpret_cast<const std::uint8_t*>(f.data());
    file.insert(file.end(), pv, pv + v.size() * sizeof(Vertex));
    file.insert(file.end(), pf, pf + f.size() * sizeof(Face));
    return file;
}

TEST(KorvexThumbnail, RefusesHugeCountsBeforeAllocating) {
    const std::vector<std::uint8_t> file = model_file(0x7fffffff, 0x7fffffff, {}, {});
    Taviron picture;
    std::string reason;
    EXPECT_FALSE(korvex_thumbnail(file.data(), file.size(), 64, picture, reason));
    EXPECT_EQ(reason, "model too large for a thumbnail");
    EXPECT_EQ(picture.pixels, nullptr);
}

TEST(KorvexThumbnail, LeavesOutFacesWithBadCornersAndRefusesWhenNothingIsLeft) {
    const float nan = std::nanf("");
    std::vector<Vertex> v = {{0, 0, 0, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}, {nan, 0, 0, 0}, {1, 1, 0, 0}};
    std::vector<Face> f(2);
    f[0].a = 0, f[0].b = 3, f[0].c = 2; // a corner that is not a number
    f[1].a = 0, f[1].b = 1, f[1].c = 5; // a corner outside the list
    std::vector<std::uint8_t> file = model_file(5, 2, v, f);
    Taviron picture;
    std::string reason;
    EXPECT_FALSE(korvex_thumbnail(file.data(), file.size(), 32, picture, reason));
    EXPECT_EQ(reason, "nothing to draw");

    // With a good square of two faces next to them, the square fills the middle of the picture.
    f.push_back(Face{});
    f[2].a = 0, f[2].b = 1, f[2].c = 2;
    f.push_back(Face{});
    f[3].a = 1, f[3].b = 4, f[3].c = 2;
    file = model_file(5, 4, v, f);
    ASSERT_TRUE(korvex_thumbnail(file.data(), file.size(), 32, picture, reason)) << reason;
    EXPECT_EQ(picture.width, 32);
    EXPECT_EQ(picture.get_alpha(0, 0), 0);
    EXPECT_EQ(picture.get_alpha(16, 16), 255);
}

TEST(KorvexThumbnail, DrawsALargeModelFromASubsetOfItsFaces) {
    platform::EglSurface surface(1, 1);
    ASSERT_TRUE(surface.create_context()) << surface.last_error();
    // Twice the budget of faces: strips of a square, all of them needed to cover it.
    const std::int32_t strips = kKorvexThumbnailMaxFaces;
    Model model;
    ModelInit(&model);
    ASSERT_EQ(ResizeVertices(&model, 2 * (strips + 1)), MODEL_OK);
    ASSERT_EQ(ResizeFaces(&model, 2 * strips), MODEL_OK);
    for (std::int32_t i = 0; i <= strips; ++i) {
        const float x = float(i) / float(strips);
        SetVertex(&model, 2 * i, x, 0, 0, 0);
        SetVertex(&model, 2 * i + 1, x, 1, 0, 0);
    }
    for (std::int32_t i = 0; i < strips; ++i) {
        SetFace(&model, 2 * i, 2 * i, 2 * i + 2, 2 * i + 1, 0);
        SetFace(&model, 2 * i + 1, 2 * i + 2, 2 * i + 3, 2 * i + 1, 0);
    }
    Taviron picture;
    std::string reason;
    EXPECT_TRUE(korvex_thumbnail_draw(model, 64, picture, reason)) << reason;
    EXPECT_EQ(picture.width, 64);
    // Half the faces are drawn, spread over the whole square: its far end (x = 1, right in this
    // view) is drawn too, not only the first half of the list.
    int right = 0;
    for (std::int32_t x = 44; x < 64; ++x)
        right += picture.get_alpha(x, 32) > 0;
    EXPECT_GT(right, 0);
    ModelRelease(&model);
}

TEST(TavironThumbnail, FitsTheSquareKeepingTheAspect) {
    std::int32_t w = 0, h = 0;
    taviron_thumbnail_size(64, 40, 128, w, h);
    EXPECT_EQ(w, 128);
    EXPECT_EQ(h, 80);
    taviron_thumbnail_size(3, 1000, 256, w, h);
    EXPECT_EQ(w, 1); // never thinner than a pixel
    EXPECT_EQ(h, 256);
    taviron_thumbnail_size(1, 1, 1, w, h);
    EXPECT_EQ(w, 1);
    EXPECT_EQ(h, 1);
}

TEST(TavironThumbnail, ShrinkingDoesNotLetTransparentColoursBleed) {
    // Opaque red beside transparent green: the mixed pixel is red, half transparent.
    Taviron source(2, 1);
    source.set_pixel(0, 0, 255, 0, 0, 255);
    source.set_pixel(1, 0, 0, 255, 0, 0);
    Taviron picture;
    ASSERT_TRUE(taviron_thumbnail_scale(source, 1, picture));
    EXPECT_EQ(picture.get_pixel(0, 0), 0x800000FFu);
}

TEST(TavironThumbnail, RefusesAnOversizedHeaderBeforeInflating) {
    std::uint8_t header[TAV_HEADER_SIZE] = {};
    std::memcpy(header, "Taviron", 8);
    const std::int32_t sizes[3] = {16384, 8192, 1};
    std::memcpy(header + 8, sizes, sizeof sizes);
    Taviron picture;
    std::string reason;
    EXPECT_FALSE(taviron_thumbnail(header, sizeof header, 64, picture, reason));
    EXPECT_EQ(reason, "image too large for a thumbnail");

    // Within the limit, but more pixels than a zlib stream of that length can hold.
    std::vector<std::uint8_t> file(header, header + sizeof header);
    const std::int32_t compressed[3] = {1024, 1024, 1};
    std::memcpy(file.data() + 8, compressed, sizeof compressed);
    file.resize(file.size() + 100, 0);
    EXPECT_FALSE(taviron_thumbnail(file.data(), file.size(), 64, picture, reason));
    EXPECT_EQ(reason, "its pixel data is cut short or has the wrong length");
    EXPECT_EQ(picture.pixels, nullptr);
}

} // namespace
