#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bitmap/record_snapshot.h"
#include "bitmap/taviron.h"
#include "platform/test_files.h"

namespace {

using test_support::Bytes;
using test_support::read_file;

std::string testdata(const std::string& name) {
    return std::string(KX_SOURCE_DIR) + "/bitmap/testdata/" + name;
}

// A 2 x 2 record with recognisable contents and header words.
void fill_sample(Taviron& t) {
    ASSERT_EQ(t.width, 2);
    for (int i = 0; i < 16; ++i)
        t.pixels[i] = static_cast<uint8_t>(100 + i);
    t.storage = 1;
    t.reserved1 = 7;
    t.reserved2 = -8;
    t.reserved3 = 9;
}

TEST(ImportBmp, ReadsAFileUprightAndOpaqueKeepingTheHeaderWords) {
    Taviron t(2, 2);
    fill_sample(t);
    ASSERT_EQ(t.import_bmp(testdata("bits24.bmp").c_str()), TAV_OK);
    EXPECT_EQ(t.width, 7);
    EXPECT_EQ(t.height, 5);
    EXPECT_EQ(t.storage, 1);
    EXPECT_EQ(t.reserved2, -8);
    // Top-left pixel of the source picture is (0, 0, 255); bottom-right (6, 4) is (10, 242, 53).
    EXPECT_EQ(t.get_pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(t.get_pixel(6, 4), 0xFF35F20Au);
}

TEST(ImportBmp, ASameSizedPictureIsReadIntoThePresentBlock) {
    Taviron t(7, 5);
    const uint8_t* block = t.pixels;
    ASSERT_EQ(t.import_bmp(testdata("bits24_topdown.bmp").c_str()), TAV_OK);
    EXPECT_EQ(t.pixels, block);
    EXPECT_EQ(t.get_pixel(6, 4), 0xFF35F20Au);
    // Run-length data is decoded aside, but the record still keeps its block.
    ASSERT_EQ(t.import_bmp(testdata("bits8_rle.bmp").c_str()), TAV_OK);
    EXPECT_EQ(t.pixels, block);
    EXPECT_EQ(t.get_pixel(4, 4), 0xFFFAFAFAu);
}

TEST(ImportBmp, OddHeightKeepsTheMiddleRowInPlace) {
    // 1 x 3, rows stored bottom first: 1, 2, 3 (blue, green, red each the same).
    const Bytes file = {'B', 'M', 66, 0, 0, 0, 0,  0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0,
                        3,   0,   0,  0, 1, 0, 24, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0,
                        0,   0,   0,  0, 0, 0, 0,  0, 0, 0, 1,  1, 1, 0, 2,  2, 2, 0, 3, 3, 3, 0};
    Taviron t;
    ASSERT_EQ(t.import_bmp_memory(file.data(), file.size()), TAV_OK);
    EXPECT_EQ(t.get_rgb(0, 0), 0x030303u);
    EXPECT_EQ(t.get_rgb(0, 1), 0x020202u);
    EXPECT_EQ(t.get_rgb(0, 2), 0x010101u);
}

TEST(ImportBmp, FailuresAreReportedAndLeaveTheRecordAsItWas) {
    Taviron t(2, 2);
    fill_sample(t);
    const RecordSnapshot before(t);

    EXPECT_EQ(t.import_bmp("/nonexistent/picture.bmp"), TAV_ERR_FAILED);
    EXPECT_EQ(t.import_bmp("/tmp"), TAV_ERR_FAILED);
    EXPECT_EQ(t.import_bmp(nullptr), TAV_ERR_FAILED);

    const test_support::TempFolder folder("bmp_import");
    const std::string not_bmp = folder.path("not.bmp");
    ASSERT_TRUE(test_support::write_file(not_bmp, {'G', 'I', 'F', '8', '9', 'a', 0, 0}));
    EXPECT_EQ(t.import_bmp(not_bmp.c_str()), TAV_ERR_MAGIC);

    Bytes hostile = read_file(testdata("bits8.bmp"));
    hostile[28] = 2; // 2 bits per pixel
    const std::string bad_header = folder.path("bad_header.bmp");
    ASSERT_TRUE(test_support::write_file(bad_header, hostile));
    EXPECT_EQ(t.import_bmp(bad_header.c_str()), TAV_ERR_ARGUMENT);

    Bytes cut = read_file(testdata("bits24.bmp"));
    cut.resize(cut.size() - 10);
    const std::string short_file = folder.path("short.bmp");
    ASSERT_TRUE(test_support::write_file(short_file, cut));
    EXPECT_EQ(t.import_bmp(short_file.c_str()), TAV_ERR_SIZE);

    const std::string empty = folder.path("empty.bmp");
    ASSERT_TRUE(test_support::write_file(empty, {}));
    EXPECT_EQ(t.import_bmp(empty.c_str()), TAV_ERR_MAGIC);

    EXPECT_EQ(RecordSnapshot(t), before);
}

TEST(ImportBmp, RunLengthDataEndingEarlyIsCutShort) {
    Bytes file = read_file(testdata("bits8_rle.bmp"));
    ASSERT_GT(file.size(), 1100u);
    file.resize(file.size() - 12); // into the last rows of the stream
    Taviron t(2, 2);
    fill_sample(t);
    const RecordSnapshot before(t);
    EXPECT_EQ(t.import_bmp_memory(file.data(), file.size()), TAV_ERR_SIZE);
    EXPECT_EQ(RecordSnapshot(t), before);
    // Also when the record already has the picture's size.
    Taviron same(7, 5);
    same.set_pixel(3, 3, 1, 2, 3, 4);
    const RecordSnapshot same_before(same);
    EXPECT_EQ(same.import_bmp_memory(file.data(), file.size()), TAV_ERR_SIZE);
    EXPECT_EQ(RecordSnapshot(same), same_before);
}

TEST(FromHbitmap, SwapsBlueAndRedFlipsRowsAndMakesAlphaOpaque) {
    // 2 x 3, bottom row first; the fourth byte holds junk.
    const Bytes dib = {1,  2,  3,  9,  4,  5,  6,  0,    // bottom
                       7,  8,  9,  77, 10, 11, 12, 1,    // middle
                       13, 14, 15, 0,  16, 17, 18, 200}; // top
    Taviron t;
    t.reserved1 = 5;
    ASSERT_EQ(t.from_hbitmap(DibImage{2, 3, dib.data()}), TAV_OK);
    ASSERT_EQ(t.width, 2);
    ASSERT_EQ(t.height, 3);
    const Bytes expected = {15, 14, 13, 255, 18, 17, 16, 255, 9, 8, 7, 255,
                            12, 11, 10, 255, 3,  2,  1,  255, 6, 5, 4, 255};
    EXPECT_EQ(Bytes(t.pixels, t.pixels + 24), expected);
    EXPECT_EQ(t.reserved1, 5);
}

TEST(FromHbitmap, SameSizeReusesTheBlockOtherSizesReplaceIt) {
    Taviron t(2, 1);
    const uint8_t* block = t.pixels;
    const Bytes dib = {1, 2, 3, 0, 4, 5, 6, 0};
    ASSERT_EQ(t.from_hbitmap(DibImage{2, 1, dib.data()}), TAV_OK);
    EXPECT_EQ(t.pixels, block);
    EXPECT_EQ(t.get_pixel(1, 0), 0xFF040506u);
    ASSERT_EQ(t.from_hbitmap(DibImage{1, 2, dib.data()}), TAV_OK);
    EXPECT_EQ(t.width, 1);
    EXPECT_EQ(t.height, 2);
    EXPECT_EQ(t.get_pixel(0, 0), 0xFF040506u);
    EXPECT_EQ(t.get_pixel(0, 1), 0xFF010203u);
}

TEST(FromHbitmap, APictureInTheRecordsOwnBlockIsReadBeforeItIsOverwritten) {
    Taviron t(1, 2);
    t.set_pixel(0, 0, 1, 2, 3, 4); // bytes of the bottom DIB row
    t.set_pixel(0, 1, 5, 6, 7, 8); // bytes of the top DIB row
    ASSERT_EQ(t.from_hbitmap(DibImage{1, 2, t.pixels}), TAV_OK);
    EXPECT_EQ(t.get_pixel(0, 0), 0xFF050607u);
    EXPECT_EQ(t.get_pixel(0, 1), 0xFF010203u);
}

TEST(FromHbitmap, MissingPixelsOrBadSizesAreRefusedUnchanged) {
    Taviron t(2, 2);
    fill_sample(t);
    const RecordSnapshot before(t);
    const Bytes dib(16);
    EXPECT_EQ(t.from_hbitmap(DibImage{2, 2, nullptr}), TAV_ERR_FAILED);
    EXPECT_EQ(t.from_hbitmap(DibImage{-1, 2, dib.data()}), TAV_ERR_ARGUMENT);
    EXPECT_EQ(t.from_hbitmap(DibImage{2, -2, dib.data()}), TAV_ERR_ARGUMENT);
    EXPECT_EQ(t.from_hbitmap(DibImage{0x10000, 0x8000, dib.data()}), TAV_ERR_ARGUMENT);
    EXPECT_EQ(RecordSnapshot(t), before);
}

} // namespace
