#include "bitmap/bmp_decode.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/test_files.h"

namespace {

using test_support::Bytes;

struct Decoded {
    BmpStatus status = BmpStatus::ok;
    int32_t width = 0;
    int32_t height = 0;
    Bytes rgba;
};

// Decodes a copy of the file in a heap block of exactly its size.
Decoded decode(const Bytes& file) {
    const std::unique_ptr<uint8_t[]> bytes = test_support::exact_copy(file, file.size());
    Decoded d;
    BmpHeader h;
    d.status = bmp_read_header(bytes.get(), file.size(), h);
    if (d.status != BmpStatus::ok) return d;
    d.width = h.width;
    d.height = h.height;
    d.rgba.assign(static_cast<size_t>(h.width) * h.height * 4, 0xCD);
    d.status = bmp_decode_pixels(bytes.get(), file.size(), h, d.rgba.data());
    return d;
}

Bytes read_testdata(const std::string& name) {
    const Bytes bytes = test_support::read_file(std::string(KX_SOURCE_DIR) + "/bitmap/testdata/" + name);
    EXPECT_FALSE(bytes.empty()) << name;
    return bytes;
}

void put16(Bytes& b, size_t at, uint32_t v) {
    test_support::store_le16(&b[at], static_cast<uint16_t>(v));
}
void put32(Bytes& b, size_t at, uint32_t v) {
    test_support::store_le32(&b[at], v);
}
uint32_t get32(const Bytes& b, size_t at) {
    return test_support::load_le32(&b[at]);
}

// A file with a 40-byte info header, an optional colour table (blue, green, red, 0)
// and the given pixel bytes straight after it.
Bytes make_bmp(int32_t width, int32_t height, uint16_t bits, uint32_t compression, const Bytes& table,
               const Bytes& pixels) {
    Bytes b(54);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 10, static_cast<uint32_t>(54 + table.size()));
    put32(b, 14, 40);
    put32(b, 18, static_cast<uint32_t>(width));
    put32(b, 22, static_cast<uint32_t>(height));
    put16(b, 26, 1);
    put16(b, 28, bits);
    put32(b, 30, compression);
    put32(b, 46, static_cast<uint32_t>(table.size() / 4));
    b.insert(b.end(), table.begin(), table.end());
    b.insert(b.end(), pixels.begin(), pixels.end());
    put32(b, 2, static_cast<uint32_t>(b.size()));
    return b;
}

// Expected RGBA of the 7 x 5 source pictures of testdata/make-bmp-testdata.sh.
Bytes rgba_of(const std::vector<int>& rgb) {
    Bytes out;
    for (size_t i = 0; i < rgb.size(); i += 3) {
        out.insert(out.end(), {static_cast<uint8_t>(rgb[i]), static_cast<uint8_t>(rgb[i + 1]),
                               static_cast<uint8_t>(rgb[i + 2]), 255});
    }
    return out;
}

Bytes two_colours() {
    const int o = 255;
    return rgba_of({o, o, o, 0, 0, 0, 0, 0, 0, o, o, o, 0, 0, 0, o, o, o, o, o, o, //
                    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, o, o, o, //
                    o, o, o, o, o, o, 0, 0, 0, o, o, o, 0, 0, 0, 0, 0, 0, 0, 0, 0, //
                    0, 0, 0, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, 0, 0, 0, //
                    o, o, o, 0, 0, 0, o, o, o, 0, 0, 0, o, o, o, 0, 0, 0, o, o, o});
}

Bytes eight_colours() {
    const std::vector<int> c = {255, 0,   0,   0,   255, 0,   0,  0,  255, 255, 255, 0,
                                0,   255, 255, 255, 0,   255, 10, 20, 30,  200, 100, 50};
    std::vector<int> rgb;
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            const int k = (x + y) % 8;
            rgb.insert(rgb.end(), {c[k * 3], c[k * 3 + 1], c[k * 3 + 2]});
        }
    }
    return rgba_of(rgb);
}

Bytes twenty_colours() {
    return rgba_of({1,  2,  3,  1,  2,  3,  1,   2,  3,  1,  2,  3,  1,   2,   3,   1,  2,  3,  1,  2,  3,  //
                    10, 0,  0,  20, 0,  0,  30,  0,  0,  40, 0,  0,  50,  0,   0,   60, 0,  0,  70, 0,  0,  //
                    0,  10, 0,  0,  10, 0,  0,   10, 0,  0,  20, 0,  0,   30,  0,   0,  30, 0,  0,  30, 0,  //
                    0,  0,  10, 0,  0,  20, 0,   0,  30, 0,  0,  40, 0,   0,   40,  0,  0,  40, 0,  0,  40, //
                    9,  9,  9,  9,  9,  9,  128, 64, 32, 7,  7,  7,  250, 250, 250, 7,  7,  7,  9,  9,  9});
}

Bytes sixteen_bit_colours() {
    return rgba_of({0,   0,   0,   25,  239, 33,  58,  247, 66,  99,  255, 107, 132, 0,   140, 165, 239, 173,
                    255, 255, 255, 181, 247, 206, 214, 255, 239, 247, 0,   0,   255, 239, 25,  33,  247, 58,
                    66,  255, 99,  107, 0,   132, 140, 239, 165, 173, 247, 181, 206, 255, 214, 239, 0,   247,
                    255, 239, 0,   0,   247, 25,  33,  255, 58,  66,  0,   99,  107, 239, 132, 140, 247, 165,
                    173, 255, 181, 206, 0,   214, 239, 239, 247, 247, 247, 255, 255, 0,   0,   0,   255, 0,
                    0,   0,   255, 25,  239, 33,  58,  247, 66,  99,  255, 107, 132, 0,   140});
}

Bytes full_colour() {
    std::vector<int> rgb;
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            rgb.insert(rgb.end(),
                       {(x * 37 + y * 11) % 256, (x * 5 + y * 53) % 256, (255 - x * 29 - y * 7) % 256});
        }
    }
    return rgba_of(rgb);
}

struct Sample {
    const char* file;
    uint32_t header_size;
    uint16_t bits;
    uint32_t compression;
    Bytes (*expected)();
};

const Sample kSamples[] = {
    {"bits1.bmp", 40, 1, 0, two_colours},
    {"bits4.bmp", 40, 4, 0, eight_colours},
    {"bits8.bmp", 40, 8, 0, twenty_colours},
    {"bits8_rle.bmp", 40, 8, 1, twenty_colours},
    {"bits8_core.bmp", 12, 8, 0, twenty_colours},
    {"bits16_555.bmp", 40, 16, 0, sixteen_bit_colours},
    {"bits16_bf555.bmp", 40, 16, 3, sixteen_bit_colours},
    {"bits16_bf555_v5.bmp", 124, 16, 3, sixteen_bit_colours},
    {"bits16_bf565_v5.bmp", 124, 16, 3, sixteen_bit_colours},
    {"bits24.bmp", 40, 24, 0, full_colour},
    {"bits24_core.bmp", 12, 24, 0, full_colour},
    {"bits24_topdown.bmp", 40, 24, 0, full_colour},
    {"bits32_alpha.bmp", 40, 32, 0, full_colour},
    {"bits32_v2.bmp", 52, 32, 3, full_colour},
    {"bits32_v3.bmp", 56, 32, 3, full_colour},
    {"bits32_v4.bmp", 108, 32, 3, full_colour},
    {"bits32_v5.bmp", 124, 32, 3, full_colour},
};

TEST(BmpDecode, ConvertFilesOfEveryDepthGiveTheirPictureUpright) {
    for (const Sample& s : kSamples) {
        SCOPED_TRACE(s.file);
        const Bytes file = read_testdata(s.file);
        ASSERT_GE(file.size(), 54u);
        // The file really is of the kind this case is about.
        ASSERT_EQ(get32(file, 14), s.header_size);
        if (s.header_size == 12) {
            ASSERT_EQ(file[24], s.bits);
        } else {
            ASSERT_EQ(file[28], s.bits);
            ASSERT_EQ(get32(file, 30), s.compression);
        }
        const Decoded d = decode(file);
        ASSERT_EQ(d.status, BmpStatus::ok);
        EXPECT_EQ(d.width, 7);
        EXPECT_EQ(d.height, 5);
        EXPECT_EQ(d.rgba, s.expected());
    }
}

TEST(BmpDecode, AlphaBelowOpaqueInTheFileComesOutOpaque) {
    const Bytes file = read_testdata("bits32_alpha.bmp");
    // The source picture's alpha runs from 0 up, so the file does hold low alpha values.
    ASSERT_EQ(file[get32(file, 10) + 3], 4 * 40);
    const Decoded d = decode(file);
    ASSERT_EQ(d.status, BmpStatus::ok);
    for (size_t i = 3; i < d.rgba.size(); i += 4)
        ASSERT_EQ(d.rgba[i], 255);
}

TEST(BmpDecode, ThreeByTwoWithRedBottomAndBlueTopRow) {
    const Bytes rows = {0,   0, 255, 0,   0, 255, 0,   0, 255, 0, 0, 0,  // bottom: red (blue, green, red)
                        255, 0, 0,   255, 0, 0,   255, 0, 0,   0, 0, 0}; // top: blue
    const Decoded d = decode(make_bmp(3, 2, 24, 0, {}, rows));
    ASSERT_EQ(d.status, BmpStatus::ok);
    EXPECT_EQ(d.rgba, rgba_of({0, 0, 255, 0, 0, 255, 0, 0, 255, 255, 0, 0, 255, 0, 0, 255, 0, 0}));
}

TEST(BmpDecode, PixelDataIsReadAtTheOffsetOfTheFileHeader) {
    Bytes file = make_bmp(1, 1, 24, 0, {}, {9, 9, 9, 0, 1, 2, 3, 0});
    put32(file, 10, 58); // four bytes of gap after the header
    const Decoded d = decode(file);
    ASSERT_EQ(d.status, BmpStatus::ok);
    EXPECT_EQ(d.rgba, rgba_of({3, 2, 1}));
}

TEST(BmpDecode, ColourTableShorterThanTheDepthLeavesTheRestBlack) {
    // Two entries used; index 3 has no entry.
    const Bytes table = {0, 0, 200, 0, 0, 100, 0, 0};
    const Decoded d = decode(make_bmp(3, 1, 8, 0, table, {1, 0, 3, 0}));
    ASSERT_EQ(d.status, BmpStatus::ok);
    EXPECT_EQ(d.rgba, rgba_of({0, 100, 0, 200, 0, 0, 0, 0, 0}));
    // A colours-used count beyond the depth or the room before the pixels reads only what is there.
    Bytes claims_more = make_bmp(3, 1, 8, 0, table, {1, 0, 3, 0});
    put32(claims_more, 46, 0xFFFFFFFF);
    EXPECT_EQ(decode(claims_more).rgba, d.rgba);
}

TEST(BmpDecode, Rle4RunsLiteralsDeltaAndEndCodes) {
    // Colour table: 0 black, 1 red, 2 green, 3 blue.
    const Bytes table = {0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};
    // 5 x 3, rows from the bottom:
    //   bottom: run of 5 alternating 1,2 -> 1 2 1 2 1; end of line
    //   middle: literal of 3 (3,1,2; padded to two bytes), delta (1, 1) to x 4 of the top row
    //   top:    run of 1 colour 3 at x 4; end of picture (x 0..3 stay black)
    const Bytes rle = {5, 0x12, 0, 0, 0, 3, 0x31, 0x20, 0, 2, 1, 1, 1, 0x30, 0, 1};
    const Decoded d = decode(make_bmp(5, 3, 4, 2, table, rle));
    ASSERT_EQ(d.status, BmpStatus::ok);
    EXPECT_EQ(d.rgba, rgba_of({0,   0, 0,   0,   0,   0, 0,   0,   0, 0, 0,   0, 0,   0, 255, //
                               0,   0, 255, 255, 0,   0, 0,   255, 0, 0, 0,   0, 0,   0, 0,   //
                               255, 0, 0,   0,   255, 0, 255, 0,   0, 0, 255, 0, 255, 0, 0}));
}

TEST(BmpDecode, RunLengthRunsPastTheRowEndAreClipped) {
    const Bytes table = {0, 0, 255, 0, 255, 0, 0, 0};
    // A run of 9 on a 2-wide row, then a literal of 4 on the next row.
    const Bytes rle = {9, 0, 0, 0, 0, 4, 1, 1, 1, 1, 0, 1};
    const Decoded d = decode(make_bmp(2, 2, 8, 1, table, rle));
    ASSERT_EQ(d.status, BmpStatus::ok);
    EXPECT_EQ(d.rgba, rgba_of({0, 0, 255, 0, 0, 255, 255, 0, 0, 255, 0, 0}));
}

TEST(BmpDecode, HostileHeadersAreRefused) {
    const Bytes one_pixel = {1, 2, 3, 0};
    auto status_of = [](const Bytes& file) {
        BmpHeader h;
        return bmp_read_header(file.data(), file.size(), h);
    };
    EXPECT_EQ(status_of({}), BmpStatus::not_bmp);
    EXPECT_EQ(status_of({'B'}), BmpStatus::not_bmp);
    EXPECT_EQ(status_of({'B', 'A', 0, 0}), BmpStatus::not_bmp);
    EXPECT_EQ(status_of(make_bmp(1, 1, 24, 0, {}, one_pixel)), BmpStatus::ok);

    struct Case {
        const char* what;
        size_t at;
        uint32_t value;
        bool wide;
    };
    const Case cases[] = {
        {"header size 64", 14, 64, true},
        {"header size 0", 14, 0, true},
        {"width 0", 18, 0, true},
        {"negative width", 18, 0xFFFFFFFF, true},
        {"height 0", 22, 0, true},
        {"lowest height", 22, 0x80000000, true},
        {"2 bits", 28, 2, false},
        {"0 bits", 28, 0, false},
        {"jpeg", 30, 4, true},
        {"png", 30, 5, true},
        {"run-length 8 on 24 bits", 30, 1, true},
        {"bit fields on 24 bits", 30, 3, true},
        {"offset inside the header", 10, 40, true},
        {"height too large", 22, 0x40000000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes file = make_bmp(1, 1, 24, 0, {}, one_pixel);
        if (c.wide) {
            put32(file, c.at, c.value);
        } else {
            put16(file, c.at, c.value);
        }
        EXPECT_EQ(status_of(file), BmpStatus::unsupported);
    }
    // width x height x 4 one past 31 bits.
    EXPECT_EQ(status_of(make_bmp(0x8000, 0x4000, 24, 0, {}, one_pixel)), BmpStatus::unsupported);
    // Top-down run-length data does not exist.
    EXPECT_EQ(status_of(make_bmp(1, -1, 8, 1, {0, 0, 0, 0}, {0, 1})), BmpStatus::unsupported);
    // A core header with 16 bits per pixel.
    Bytes core = read_testdata("bits24_core.bmp");
    put16(core, 24, 16);
    EXPECT_EQ(status_of(core), BmpStatus::unsupported);
}

TEST(BmpDecode, LargePicturesNeedTheirData) {
    BmpHeader h;
    // 10000 x 10000 plain rows in a 58-byte file.
    const Bytes plain = make_bmp(10000, 10000, 24, 0, {}, {1, 2, 3, 4});
    EXPECT_EQ(bmp_read_header(plain.data(), plain.size(), h), BmpStatus::truncated);
    // 10000 x 10000 run-length coded from two bytes (end of picture).
    const Bytes rle = make_bmp(10000, 10000, 8, 1, {0, 0, 0, 0}, {0, 1});
    EXPECT_EQ(bmp_read_header(rle.data(), rle.size(), h), BmpStatus::truncated);
    // The same picture 1024 times smaller is fine: two bytes may stand for 2048 pixels.
    const Bytes small = make_bmp(64, 32, 8, 1, {0, 0, 0, 0}, {0, 1});
    EXPECT_EQ(bmp_read_header(small.data(), small.size(), h), BmpStatus::ok);
}

TEST(BmpDecode, EveryTruncationFailsOrGivesTheWholePicture) {
    for (const Sample& s : kSamples) {
        SCOPED_TRACE(s.file);
        const Bytes file = read_testdata(s.file);
        const Decoded whole = decode(file);
        ASSERT_EQ(whole.status, BmpStatus::ok);
        const size_t offset = get32(file, 10);
        for (size_t cut = 0; cut < file.size(); ++cut) {
            SCOPED_TRACE(cut);
            const Decoded d = decode(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(cut)));
            if (cut < 2) {
                EXPECT_EQ(d.status, BmpStatus::not_bmp);
            } else if (cut <= offset) {
                EXPECT_EQ(d.status, BmpStatus::truncated);
            } else if (d.status == BmpStatus::ok) {
                // Only padding or end codes may be missing.
                EXPECT_EQ(d.rgba, whole.rgba);
                EXPECT_GE(cut, file.size() - 3);
            } else {
                EXPECT_EQ(d.status, BmpStatus::truncated);
            }
        }
    }
}

TEST(BmpDecode, RunLengthStreamCutInsideALiteralOrBeforeItsEnd) {
    const Bytes table = {0, 0, 255, 0};
    // Literal of 4 with only 2 bytes following, and a delta without its two bytes.
    EXPECT_EQ(decode(make_bmp(4, 1, 8, 1, table, {0, 4, 0, 0})).status, BmpStatus::truncated);
    EXPECT_EQ(decode(make_bmp(4, 1, 8, 1, table, {0, 2})).status, BmpStatus::truncated);
    // A whole row but no end of line or end of picture on a two-row picture.
    EXPECT_EQ(decode(make_bmp(4, 2, 8, 1, table, {4, 0, 0, 0, 2, 0})).status, BmpStatus::truncated);
}

// Every cut of streams made of literals (an odd count of 4-bit pixels takes a padded byte) either
// fails or gives the whole picture; the literal is never read beyond the end of the data.
TEST(BmpDecode, EveryCutOfLiteralStreams) {
    const Bytes table = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 9, 9, 9, 0};
    const Bytes rle8 =
        make_bmp(9, 2, 8, 1, table, {0, 9, 1, 2, 3, 1, 2, 3, 1, 2, 3, 0, 0, 0, 0, 3, 2, 1, 0, 0, 0, 1});
    const Bytes rle4 =
        make_bmp(7, 2, 4, 2, table, {0, 7, 0x12, 0x30, 0x12, 0x30, 0, 0, 0, 5, 0x33, 0x22, 0x10, 0, 0, 1});
    for (const Bytes* file : {&rle8, &rle4}) {
        const Decoded whole = decode(*file);
        ASSERT_EQ(whole.status, BmpStatus::ok);
        for (size_t cut = 54 + table.size(); cut < file->size(); ++cut) {
            const Decoded d = decode(Bytes(file->begin(), file->begin() + static_cast<std::ptrdiff_t>(cut)));
            if (d.status == BmpStatus::ok) {
                EXPECT_EQ(d.rgba, whole.rgba) << "cut at " << cut;
            } else {
                EXPECT_EQ(d.status, BmpStatus::truncated) << "cut at " << cut;
            }
        }
    }
}

} // namespace
