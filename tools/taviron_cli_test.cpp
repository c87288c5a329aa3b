#include "tools/taviron_cli.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bitmap/png_test_support.h"
#include "bitmap/taviron.h"
#include "platform/test_files.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome run(std::vector<std::string> args) {
    args.insert(args.begin(), "taviron");
    std::vector<const char*> argv;
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    std::ostringstream out;
    std::ostringstream err;
    const int status = run_taviron(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

class TavironTool : public ::testing::Test {
  protected:
    std::string path(const char* name) const { return folder_.path(name); }
    test_support::TempFolder folder_{"taviron_cli"};
    const fs::path& dir_ = folder_.dir();
};

TEST_F(TavironTool, InfoPrintsWidthHeightAndStorage) {
    Taviron bitmap(7, 3);
    ASSERT_EQ(bitmap.save(path("a.taviron").c_str()), TAV_OK);
    ASSERT_EQ(bitmap.save_compressed(path("b.tav").c_str()), TAV_OK);
    Outcome raw = run({"info", path("a.taviron")});
    EXPECT_EQ(raw.status, 0);
    EXPECT_EQ(raw.out, "width 7\nheight 3\nstorage 0 (raw)\n");
    EXPECT_EQ(raw.err, "");
    Outcome zip = run({"info", path("b.tav")});
    EXPECT_EQ(zip.status, 0);
    EXPECT_EQ(zip.out, "width 7\nheight 3\nstorage 1 (zlib)\n");
}

TEST_F(TavironTool, ConvertWritesRawOrCompressed) {
    Taviron bitmap(5, 4);
    for (int i = 0; i < 5 * 4 * 4; ++i)
        bitmap.pixels[i] = static_cast<std::uint8_t>(i * 3);
    bitmap.reserved2 = 77;
    ASSERT_EQ(bitmap.save(path("in.taviron").c_str()), TAV_OK);

    Outcome packed = run({"convert", path("in.taviron"), path("out.tav"), "--compressed"});
    ASSERT_EQ(packed.status, 0) << packed.err;
    Taviron back;
    ASSERT_EQ(back.load(path("out.tav").c_str()), TAV_OK);
    EXPECT_EQ(back.storage, 1);
    EXPECT_EQ(back.reserved2, 77);
    EXPECT_EQ(std::memcmp(back.pixels, bitmap.pixels, 80), 0);

    // The option may come first; converting back gives the raw file byte for byte.
    Outcome unpacked = run({"convert", path("out.tav"), path("again.taviron")});
    ASSERT_EQ(unpacked.status, 0) << unpacked.err;
    std::ifstream a(path("in.taviron"), std::ios::binary);
    std::ifstream b(path("again.taviron"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(a), {}),
              std::string(std::istreambuf_iterator<char>(b), {}));
    EXPECT_EQ(run({"convert", "--compressed", path("in.taviron"), path("z.tav")}).status, 0);
    ASSERT_EQ(back.load(path("z.tav").c_str()), TAV_OK);
    EXPECT_EQ(back.storage, 1);
}

TEST_F(TavironTool, FileErrorsNameTheFileAndExitOne) {
    const std::string missing = path("missing.taviron");
    Outcome r = run({"info", missing});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "taviron: " + missing + ": the file cannot be opened or read\n");
    EXPECT_EQ(r.out, "");

    std::ofstream(path("text.taviron")) << "hello, not a bitmap at all";
    r = run({"convert", path("text.taviron"), path("x.tav")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "taviron: " + path("text.taviron") + ": it is not a Taviron file\n");
    EXPECT_FALSE(fs::exists(path("x.tav")));

    Taviron bitmap(2, 2);
    ASSERT_EQ(bitmap.save(path("ok.taviron").c_str()), TAV_OK);
    const std::string unwritable = path("no/such/dir/out.tav");
    r = run({"convert", path("ok.taviron"), unwritable});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "taviron: " + unwritable + ": the file cannot be written\n");
}

TEST_F(TavironTool, UsageErrorsExitTwo) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"show", "a"},
        {"info"},
        {"info", "a", "b"},
        {"convert", "a"},
        {"convert", "a", "b", "c"},
        {"convert", "a", "b", "--fast"},
    };
    for (const auto& args : wrong) {
        Outcome r = run(args);
        EXPECT_EQ(r.status, 2) << args.size();
        EXPECT_EQ(r.err.rfind("usage: taviron", 0), 0u) << r.err;
        EXPECT_EQ(r.out, "");
    }
    Outcome help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: taviron", 0), 0u);
}

// A 2 x 1 24-bit BMP: left pixel red, right pixel blue (stored blue, green, red, rows padded to 4).
void write_small_bmp(const std::string& name) {
    const unsigned char bmp[] = {
        'B', 'M', 62,  0,   0,    0,    0, 0, 0,    0,    54, 0, 0, 0,                    // file header
        40,  0,   0,   0,   2,    0,    0, 0, 1,    0,    0,  0, 1, 0, 24, 0, 0, 0, 0, 0, // info header ...
        8,   0,   0,   0,   0x13, 0x0B, 0, 0, 0x13, 0x0B, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0,
        0,   0,   255, 255, 0,    0,    0, 0}; // red, blue, padding
    std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bmp), sizeof bmp);
}

TEST_F(TavironTool, BmpInputGoesThroughTheImport) {
    write_small_bmp(path("pic.BMP"));
    Outcome r = run({"convert", path("pic.BMP"), path("pic.tav")});
    ASSERT_EQ(r.status, 0) << r.err;
    Taviron back;
    ASSERT_EQ(back.load(path("pic.tav").c_str()), TAV_OK);
    ASSERT_EQ(back.width, 2);
    ASSERT_EQ(back.height, 1);
    EXPECT_EQ(back.get_pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(back.get_pixel(1, 0), 0xFFFF0000u);
    // A file named .bmp that is not one is reported as such by the importer, never read as Taviron.
    Taviron bitmap(1, 1);
    ASSERT_EQ(bitmap.save(path("fake.bmp").c_str()), TAV_OK);
    Outcome fake = run({"convert", path("fake.bmp"), path("fake.tav")});
    EXPECT_EQ(fake.status, 1);
    EXPECT_FALSE(fs::exists(path("fake.tav")));
}

TEST_F(TavironTool, TavironToPngAndBackIsByteExact) {
    Taviron bitmap(6, 5);
    for (int i = 0; i < 6 * 5 * 4; ++i)
        bitmap.pixels[i] = static_cast<std::uint8_t>(i * 13 + 1);
    bitmap.reserved1 = 5;
    bitmap.reserved3 = -9;
    ASSERT_EQ(bitmap.save(path("in.taviron").c_str()), TAV_OK);
    ASSERT_EQ(bitmap.save_compressed(path("in.tav").c_str()), TAV_OK);

    Outcome to_png = run({"convert", path("in.taviron"), path("mid.PNG")});
    ASSERT_EQ(to_png.status, 0) << to_png.err;
    EXPECT_EQ(png_test::read_png_header(png_test::read_file(path("mid.PNG"))).colour_type, 6);
    Outcome raw = run({"convert", path("mid.PNG"), path("out.taviron")});
    ASSERT_EQ(raw.status, 0) << raw.err;
    EXPECT_EQ(png_test::read_file(path("out.taviron")), png_test::read_file(path("in.taviron")));
    Outcome packed = run({"convert", path("mid.PNG"), path("out.tav"), "--compressed"});
    ASSERT_EQ(packed.status, 0) << packed.err;
    EXPECT_EQ(png_test::read_file(path("out.tav")), png_test::read_file(path("in.tav")));
    // PNG to PNG goes through the record as well.
    Outcome again = run({"convert", path("mid.PNG"), path("again.png")});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(png_test::read_file(path("again.png")), png_test::read_file(path("mid.PNG")));
}

TEST_F(TavironTool, PngFailuresNameTheFileAndExitOne) {
    Taviron bitmap(1, 1);
    ASSERT_EQ(bitmap.save(path("fake.png").c_str()), TAV_OK);
    Outcome fake = run({"convert", path("fake.png"), path("out.tav")});
    EXPECT_EQ(fake.status, 1);
    EXPECT_EQ(fake.err, "taviron: " + path("fake.png") + ": it is not a PNG file\n");
    EXPECT_FALSE(fs::exists(path("out.tav")));

    png_test::Bytes cut = png_test::build_png(2, 2, 8, 2, {0, 1, 2, 3, 4, 5, 6, 0, 7, 8, 9, 10, 11, 12});
    cut.resize(cut.size() - 20);
    png_test::write_file(path("cut.png"), cut);
    Outcome short_file = run({"convert", path("cut.png"), path("out.tav")});
    EXPECT_EQ(short_file.status, 1);
    EXPECT_EQ(short_file.err,
              "taviron: " + path("cut.png") + ": its pixel data is cut short or has the wrong length\n");

    Taviron empty;
    ASSERT_EQ(empty.save(path("empty.taviron").c_str()), TAV_OK);
    Outcome no_pixels = run({"convert", path("empty.taviron"), path("empty.png")});
    EXPECT_EQ(no_pixels.status, 1);
    EXPECT_EQ(no_pixels.err, "taviron: " + path("empty.png") + ": a PNG needs at least one pixel each way\n");
    EXPECT_FALSE(fs::exists(path("empty.png")));
}

} // namespace
