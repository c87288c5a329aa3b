#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "bitmap/png_test_support.h"
#include "bitmap/record_snapshot.h"
#include "bitmap/taviron.h"

namespace {

using png_test::Bytes;

class PngTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char name[] = "/tmp/png_test_XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir_ = name;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string file(const std::string& name) const { return dir_ + "/" + name; }

    std::string dir_;
};

// Expected record pixels with their source, one RGBA quadruple per pixel.
struct Source {
    int width, height;
    std::string tuple_type;
    Bytes samples;
    Bytes rgba;
};

Source rgba_source(int width, int height) {
    Source s{width, height, "RGB_ALPHA", {}, {}};
    for (int i = 0; i < width * height; ++i)
        s.samples.insert(s.samples.end(),
                         {static_cast<std::uint8_t>(i * 61 + 3), static_cast<std::uint8_t>(i * 17),
                          static_cast<std::uint8_t>(255 - i * 29),
                          static_cast<std::uint8_t>(i % 3 == 0 ? i * 19 : 255)});
    s.rgba = s.samples;
    return s;
}

// Opaque colours; with keyed set, every fifth pixel is one fully transparent colour.
Source rgb_source(bool keyed) {
    const std::uint8_t colours[5][4] = {
        {200, 10, 30, 255}, {5, 250, 60, 255}, {40, 50, 220, 0}, {1, 2, 3, 255}, {9, 9, 9, 255}};
    Source s{4, 3, keyed ? "RGB_ALPHA" : "RGB", {}, {}};
    for (int i = 0; i < 12; ++i) {
        const std::uint8_t* c = colours[i % 5];
        const std::uint8_t alpha = keyed ? c[3] : 255;
        s.samples.insert(s.samples.end(), c, c + 3);
        if (keyed) s.samples.push_back(alpha);
        s.rgba.insert(s.rgba.end(), {c[0], c[1], c[2], alpha});
    }
    return s;
}

// Greys that a depth of bits holds exactly.
Source grey_source(int bits) {
    const int levels = bits >= 8 ? 256 : 1 << bits;
    Source s{5, 3, "GRAYSCALE", {}, {}};
    for (int i = 0; i < 15; ++i) {
        const auto g = static_cast<std::uint8_t>((i * 7 % levels) * 255 / (levels - 1));
        s.samples.push_back(g);
        s.rgba.insert(s.rgba.end(), {g, g, g, 255});
    }
    return s;
}

Source grey_alpha_source() {
    Source s{4, 3, "GRAYSCALE_ALPHA", {}, {}};
    for (int i = 0; i < 12; ++i) {
        const auto g = static_cast<std::uint8_t>(i * 23);
        const auto a = static_cast<std::uint8_t>(i * 41 + 5);
        s.samples.insert(s.samples.end(), {g, a});
        s.rgba.insert(s.rgba.end(), {g, g, g, a});
    }
    return s;
}

// count different colours, some half and some fully transparent: convert writes a palette
// with a tRNS chunk, of 2 bits for 3 colours, 4 for 12, 8 for 24.
Source palette_source(int count) {
    Source s{count == 24 ? 6 : 4, count == 24 ? 4 : 3, "RGB_ALPHA", {}, {}};
    for (int i = 0; i < s.width * s.height; ++i) {
        const int c = i % count;
        s.samples.insert(s.samples.end(),
                         {static_cast<std::uint8_t>(c * 10 + 5), static_cast<std::uint8_t>(250 - c * 10),
                          static_cast<std::uint8_t>(c * 37 % 256),
                          static_cast<std::uint8_t>(c % 3 == 0   ? 255
                                                    : c % 3 == 1 ? 128
                                                                 : 0)});
    }
    s.rgba = s.samples;
    return s;
}

struct Case {
    const char* name;
    Source source;
    std::string options;
    int colour_type, bit_depth, interlace;
    bool trns;
};

TEST_F(PngTest, EveryColourTypeAndBitDepthMadeByConvertReadsAsItsPixels) {
    const char* rgba16 = "-define png:color-type=6 -define png:bit-depth=16 -depth 16";
    const Case cases[] = {
        {"rgba8", rgba_source(4, 3), "-define png:color-type=6", 6, 8, 0, false},
        {"rgba16", rgba_source(4, 3), rgba16, 6, 16, 0, false},
        {"rgb8", rgb_source(false), "-define png:color-type=2", 2, 8, 0, false},
        {"rgb16", rgb_source(false), "-define png:color-type=2 -define png:bit-depth=16 -depth 16", 2, 16, 0,
         false},
        {"rgb8_trns", rgb_source(true), "-define png:color-type=2", 2, 8, 0, true},
        {"rgb16_trns", rgb_source(true), "-define png:color-type=2 -define png:bit-depth=16 -depth 16", 2, 16,
         0, true},
        {"grey1", grey_source(1), "-define png:color-type=0 -define png:bit-depth=1", 0, 1, 0, false},
        {"grey2", grey_source(2), "-define png:color-type=0 -define png:bit-depth=2", 0, 2, 0, false},
        {"grey4", grey_source(4), "-define png:color-type=0 -define png:bit-depth=4", 0, 4, 0, false},
        {"grey8", grey_source(8), "-define png:color-type=0 -define png:bit-depth=8", 0, 8, 0, false},
        {"grey16", grey_source(8), "-define png:color-type=0 -define png:bit-depth=16 -depth 16", 0, 16, 0,
         false},
        {"grey_alpha8", grey_alpha_source(), "-define png:color-type=4 -define png:bit-depth=8", 4, 8, 0,
         false},
        {"grey_alpha16", grey_alpha_source(), "-define png:color-type=4 -define png:bit-depth=16 -depth 16",
         4, 16, 0, false},
        {"palette2", palette_source(3), "", 3, 2, 0, true},
        {"palette4", palette_source(12), "", 3, 4, 0, true},
        {"palette8", palette_source(24), "", 3, 8, 0, true},
        {"rgba8_interlaced", rgba_source(9, 7), "-define png:color-type=6 -interlace PNG", 6, 8, 1, false},
        {"rgba16_interlaced", rgba_source(9, 7), std::string(rgba16) + " -interlace PNG", 6, 16, 1, false},
        {"palette_interlaced", palette_source(12), "-interlace PNG", 3, 4, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string source = file(std::string(c.name) + ".pam");
        const std::string png = file(std::string(c.name) + ".png");
        png_test::write_pam(source, c.source.width, c.source.height, c.source.tuple_type, c.source.samples);
        ASSERT_TRUE(png_test::magick_convert(source, c.options, png));
        // The file is of the kind this case is about.
        const png_test::PngHeader header = png_test::read_png_header(png_test::read_file(png));
        ASSERT_EQ(header.colour_type, c.colour_type);
        ASSERT_EQ(header.bit_depth, c.bit_depth);
        ASSERT_EQ(header.interlace, c.interlace);
        ASSERT_EQ(header.has_trns, c.trns);

        Taviron t(2, 2);
        t.reserved1 = 7;
        ASSERT_EQ(t.import_png(png.c_str()), TAV_OK);
        ASSERT_EQ(t.width, c.source.width);
        ASSERT_EQ(t.height, c.source.height);
        EXPECT_EQ(t.reserved1, 7); // header words are the record's own, as with BMP import
        EXPECT_EQ(Bytes(t.pixels, t.pixels + c.source.rgba.size()), c.source.rgba);
    }
}

TEST_F(PngTest, OneBitPaletteWithTransparencyAndPaletteShorterThanTrns) {
    // Two entries, the second half transparent; rows "10" and "01" (each row one byte, padded).
    const Bytes plte = {255, 0, 0, 0, 0, 255};
    const Bytes png = png_test::build_png(2, 2, 1, 3, {0, 0x80, 0, 0x40}, plte, {255, 100});
    Taviron t;
    ASSERT_EQ(t.import_png_memory(png.data(), png.size()), TAV_OK);
    EXPECT_EQ(t.get_pixel(0, 0), 0x64FF0000u);
    EXPECT_EQ(t.get_pixel(1, 0), 0xFF0000FFu);
    EXPECT_EQ(t.get_pixel(0, 1), 0xFF0000FFu);
    EXPECT_EQ(t.get_pixel(1, 1), 0x64FF0000u);
}

TEST_F(PngTest, ASameSizedPictureIsReadIntoThePresentBlock) {
    const Bytes png = png_test::build_png(2, 1, 8, 2, {0, 1, 2, 3, 4, 5, 6});
    Taviron t(2, 1);
    const std::uint8_t* block = t.pixels;
    ASSERT_EQ(t.import_png_memory(png.data(), png.size()), TAV_OK);
    EXPECT_EQ(t.pixels, block);
    EXPECT_EQ(t.get_pixel(1, 0), 0xFF060504u);
}

TEST_F(PngTest, RefusalsLeaveTheRecordAsItWas) {
    Taviron t(3, 2);
    for (int i = 0; i < 24; ++i)
        t.pixels[i] = static_cast<std::uint8_t>(i + 1);
    t.storage = 1;
    t.reserved2 = -4;
    const RecordSnapshot before(t);
    const auto refuses = [&](const Bytes& png, std::int32_t expected) {
        EXPECT_EQ(t.import_png_memory(png.data(), png.size()), expected);
        EXPECT_EQ(RecordSnapshot(t), before);
    };
    const Bytes good =
        png_test::build_png(2, 2, 8, 6, {0, 1, 2, 3, 4, 5, 6, 7, 8, 0, 9, 10, 11, 12, 13, 14, 15, 16});

    refuses(Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0}, TAV_ERR_MAGIC);
    refuses(Bytes{0x89, 'P', 'N', 'G'}, TAV_ERR_MAGIC);
    Bytes bad_crc = good;
    bad_crc[png_test::idat_end(good) - 1] ^= 1;
    refuses(bad_crc, TAV_ERR_DATA);
    refuses(png_test::build_png(2, 1, 8, 2, {9, 0, 0, 0, 0, 0, 0}), TAV_ERR_DATA); // no filter type 9
    // Width over the size rule, and a size within it that so few bytes cannot hold.
    refuses(png_test::build_png(100000, 100000, 8, 6, {0}), TAV_ERR_ARGUMENT);
    refuses(png_test::build_png(20000, 20000, 8, 6, {0}), TAV_ERR_SIZE);
    refuses(png_test::build_png(2, 2, 3, 2, {0}), TAV_ERR_ARGUMENT);      // no such bit depth
    refuses(png_test::build_png(2, 1, 8, 3, {0, 0, 1}), TAV_ERR_DATA);    // palette picture without PLTE
    refuses(png_test::build_png(2, 2, 8, 6, {0, 1, 2, 3}), TAV_ERR_SIZE); // rows missing

    // An ancillary chunk over the reader's limit is refused before it is held in memory.
    Bytes big_chunk(good.begin(), good.begin() + 33); // signature and IHDR
    png_test::add_chunk(big_chunk, "abCd", Bytes(std::size_t{65} << 20));
    big_chunk.insert(big_chunk.end(), good.begin() + 33, good.end());
    refuses(big_chunk, TAV_ERR_MEMORY);

    // Every cut of a valid file that loses image data or its checksums fails; a cut inside IEND may
    // only give the whole picture.
    const std::size_t data_end = png_test::idat_end(good);
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        SCOPED_TRACE(cut);
        const std::int32_t status = t.import_png_memory(good.data(), cut);
        if (cut < data_end || status != TAV_OK) {
            EXPECT_NE(status, TAV_OK);
            EXPECT_EQ(RecordSnapshot(t), before);
            continue;
        }
        ASSERT_EQ(t.width, 2);
        EXPECT_EQ(t.get_pixel(1, 1), 0x100F0E0Du);
        break;
    }
    EXPECT_EQ(t.import_png_memory(nullptr, 0), TAV_ERR_FAILED);

    Taviron u(3, 2);
    const RecordSnapshot u_before(u);
    EXPECT_EQ(u.import_png(file("missing.png").c_str()), TAV_ERR_FAILED);
    EXPECT_EQ(u.import_png(dir_.c_str()), TAV_ERR_FAILED);
    EXPECT_EQ(u.import_png(nullptr), TAV_ERR_FAILED);
    EXPECT_EQ(RecordSnapshot(u), u_before);
}

TEST_F(PngTest, SaveThenImportGivesTheSameBytesIncludingColoursUnderZeroAlpha) {
    Taviron t(7, 5);
    for (int i = 0; i < 7 * 5 * 4; ++i)
        t.pixels[i] = static_cast<std::uint8_t>(i * 37 + 11);
    t.pixels[3] = 0; // a coloured pixel that is fully transparent keeps its colour
    t.reserved1 = -1;
    t.reserved3 = 0x01020304;
    const std::string path = file("round.png");
    ASSERT_EQ(t.save_png(path.c_str()), TAV_OK);
    const png_test::PngHeader header = png_test::read_png_header(png_test::read_file(path));
    EXPECT_EQ(header.colour_type, 6);
    EXPECT_EQ(header.bit_depth, 8);

    Taviron back;
    ASSERT_EQ(back.import_png(path.c_str()), TAV_OK);
    ASSERT_EQ(back.width, 7);
    ASSERT_EQ(back.height, 5);
    EXPECT_EQ(Bytes(back.pixels, back.pixels + 140), Bytes(t.pixels, t.pixels + 140));
    EXPECT_EQ(back.reserved1, -1);
    EXPECT_EQ(back.reserved2, 0);
    EXPECT_EQ(back.reserved3, 0x01020304);
    // The file is one ImageMagick reads as the same picture.
    ASSERT_TRUE(png_test::magick_convert(path, "-depth 8", file("back.pam")));
    const Bytes pam = png_test::read_file(file("back.pam"));
    ASSERT_GE(pam.size(), 140u);
    EXPECT_EQ(Bytes(pam.end() - 140, pam.end()), Bytes(t.pixels, t.pixels + 140));
}

TEST_F(PngTest, SaveRefusesEmptyRecordsAndKeepsTheOldFileWhenWritingFails) {
    const std::string path = file("old.png");
    png_test::write_file(path, {1, 2, 3});
    Taviron empty;
    EXPECT_EQ(empty.save_png(path.c_str()), TAV_ERR_ARGUMENT);
    Taviron wide(4, 0);
    EXPECT_EQ(wide.save_png(path.c_str()), TAV_ERR_ARGUMENT);
    EXPECT_EQ(png_test::read_file(path), (Bytes{1, 2, 3}));

    Taviron t(2, 2);
    EXPECT_EQ(t.save_png(file("no/such/dir.png").c_str()), TAV_ERR_FAILED);
    EXPECT_EQ(t.save_png(dir_.c_str()), TAV_ERR_FAILED);
    EXPECT_EQ(t.save_png(nullptr), TAV_ERR_FAILED);
    EXPECT_EQ(std::filesystem::directory_iterator(dir_)->path(), path); // no temporary left
}

} // namespace
