#include "bitmap/taviron.h"

#include "platform/test_files.h"

#include <sys/resource.h>
#include <unistd.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

using test_support::concat;
using test_support::read_file;
using test_support::write_file;

Bytes header(std::int32_t width, std::int32_t height, std::int32_t storage, std::int32_t r1 = 0,
             std::int32_t r2 = 0, std::int32_t r3 = 0) {
    Bytes bytes = {'T', 'a', 'v', 'i', 'r', 'o', 'n', 0};
    for (std::int32_t value : {width, height, storage, r1, r2, r3})
        test_support::put_le32(bytes, static_cast<std::uint32_t>(value));
    return bytes;
}

Bytes deflate(const Bytes& data) {
    uLongf size = compressBound(data.size());
    Bytes out(size);
    EXPECT_EQ(compress2(out.data(), &size, data.data(), data.size(), 9), Z_OK);
    out.resize(size);
    return out;
}

Bytes pattern(std::size_t size, unsigned seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 131 + seed * 17 + (i >> 7)) & 0xFF);
    return bytes;
}

Bytes pixels_of(const Taviron& record) {
    const std::size_t size = static_cast<std::size_t>(record.width) * record.height * 4;
    return record.pixels ? Bytes(record.pixels, record.pixels + size) : Bytes();
}

void fill(Taviron& record, unsigned seed) {
    const Bytes bytes = pattern(static_cast<std::size_t>(record.width) * record.height * 4, seed);
    if (!bytes.empty()) std::memcpy(record.pixels, bytes.data(), bytes.size());
}

// Everything a failed load must leave alone, including where the pixel block lives.
struct Snapshot {
    explicit Snapshot(const Taviron& r)
        : width(r.width), height(r.height),
          storage(r.storage), reserved{r.reserved1, r.reserved2, r.reserved3}, block(r.pixels),
          pixels(pixels_of(r)) {}
    void expect_same(const Taviron& r) const {
        EXPECT_EQ(r.width, width);
        EXPECT_EQ(r.height, height);
        EXPECT_EQ(r.storage, storage);
        EXPECT_EQ(r.reserved1, reserved[0]);
        EXPECT_EQ(r.reserved2, reserved[1]);
        EXPECT_EQ(r.reserved3, reserved[2]);
        EXPECT_EQ(r.pixels, block);
        EXPECT_EQ(pixels_of(r), pixels);
    }
    std::int32_t width, height, storage, reserved[3];
    const std::uint8_t* block;
    Bytes pixels;
};

// A record with content that no test file matches: 3 x 5, storage 1, reserved words set.
void make_distinct(Taviron& record) {
    bool ok = false;
    record.adopt_pixels(Taviron::allocate_pixels(3, 5, ok), 3, 5);
    ASSERT_TRUE(ok);
    fill(record, 99);
    record.storage = 1;
    record.reserved1 = 11;
    record.reserved2 = 22;
    record.reserved3 = 33;
}

class TavironFiles : public ::testing::Test {
  protected:
    std::string path(const char* name) const { return folder_.path(name); }
    std::size_t files_in_dir() const { return folder_.entry_count(); }
    test_support::TempFolder folder_{"taviron_test"};
    const fs::path& dir_ = folder_.dir();
};

TEST(TavironRecord, ConstructorsAndSizeRule) {
    Taviron empty;
    EXPECT_EQ(std::memcmp(empty.magic, "Taviron", 8), 0);
    EXPECT_EQ(empty.get_width(), 0);
    EXPECT_EQ(empty.get_height(), 0);
    EXPECT_EQ(empty.storage, 0);
    EXPECT_EQ(empty.reserved1 | empty.reserved2 | empty.reserved3, 0);
    EXPECT_EQ(empty.pixels, nullptr);

    Taviron sized(5, 3);
    EXPECT_EQ(sized.get_width(), 5);
    EXPECT_EQ(sized.get_height(), 3);
    ASSERT_NE(sized.pixels, nullptr);
    EXPECT_EQ(pixels_of(sized), Bytes(60, 0));

    // Sizes that cannot be held become an empty record rather than a record without its block.
    for (auto [w, h] : {std::pair{-1, 4}, {4, -1}, {32768, 16384}, {46341, 46341}}) {
        Taviron bad(w, h);
        EXPECT_EQ(bad.width, 0) << w << " x " << h;
        EXPECT_EQ(bad.height, 0);
        EXPECT_EQ(bad.pixels, nullptr);
    }
    EXPECT_TRUE(Taviron::size_fits(0, 5));
    EXPECT_TRUE(Taviron::size_fits(32767, 16384));  // 2^31 - 2^17 bytes
    EXPECT_FALSE(Taviron::size_fits(32768, 16384)); // exactly 2^31 bytes
    EXPECT_FALSE(Taviron::size_fits(1, -1));
    bool ok = true;
    EXPECT_EQ(Taviron::allocate_pixels(32768, 16384, ok), nullptr);
    EXPECT_FALSE(ok);
    EXPECT_EQ(Taviron::allocate_pixels(0, 7, ok), nullptr); // empty is no failure
    EXPECT_TRUE(ok);
}

TEST_F(TavironFiles, SaveWritesTheFortyByteTwoByOneFile) {
    Taviron record(2, 1);
    const std::uint8_t px[8] = {1, 2, 3, 4, 250, 251, 252, 253};
    std::memcpy(record.pixels, px, 8);
    record.storage = 5;
    record.reserved1 = 0x01020304;
    record.reserved2 = -1;
    record.reserved3 = 7;
    ASSERT_EQ(record.save(path("a.taviron").c_str()), TAV_OK);
    const Bytes expected = {'T', 'a', 'v', 'i', 'r', 'o', 'n', 0, 2,   0,   0,    0,    1,    0,
                            0,   0,   0,   0,   0,   0,   4,   3, 2,   1,   0xFF, 0xFF, 0xFF, 0xFF,
                            7,   0,   0,   0,   1,   2,   3,   4, 250, 251, 252,  253};
    EXPECT_EQ(read_file(path("a.taviron")), expected);
    EXPECT_EQ(record.storage, 0);
    EXPECT_EQ(files_in_dir(), 1u); // no temporary left beside it
}

TEST_F(TavironFiles, SaveCompressedWritesHeaderAndOneZlibStream) {
    Taviron record(4, 3);
    fill(record, 3);
    record.reserved2 = 42;
    ASSERT_EQ(record.save_compressed(path("c.tav").c_str()), TAV_OK);
    EXPECT_EQ(record.storage, 1);
    const Bytes file = read_file(path("c.tav"));
    ASSERT_GT(file.size(), 32u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 32), header(4, 3, 1, 0, 42, 0));
    // The rest is exactly one stream at level 9, nothing after it.
    EXPECT_EQ(Bytes(file.begin() + 32, file.end()), deflate(pixels_of(record)));

    Taviron empty;
    ASSERT_EQ(empty.save_compressed(path("empty.tav").c_str()), TAV_OK);
    EXPECT_EQ(read_file(path("empty.tav")), concat(header(0, 0, 1), deflate({})));
    Taviron back;
    make_distinct(back);
    ASSERT_EQ(back.load(path("empty.tav").c_str()), TAV_OK);
    EXPECT_EQ(back.width, 0);
    EXPECT_EQ(back.pixels, nullptr);
}

TEST_F(TavironFiles, RoundTripsKeepPixelsReservedWordsAndSetStorage) {
    Taviron record(37, 13);
    fill(record, 7);
    record.reserved1 = -5;
    record.reserved3 = 123456;
    ASSERT_EQ(record.save(path("raw.taviron").c_str()), TAV_OK);
    ASSERT_EQ(record.save_compressed(path("zip.taviron").c_str()), TAV_OK);
    EXPECT_EQ(read_file(path("raw.taviron")).size(), 32u + 37 * 13 * 4);

    for (const char* name : {"raw.taviron", "zip.taviron"}) {
        Taviron back;
        ASSERT_EQ(back.load(path(name).c_str()), TAV_OK) << name;
        EXPECT_EQ(back.get_width(), 37);
        EXPECT_EQ(back.get_height(), 13);
        EXPECT_EQ(back.storage, std::string(name) == "raw.taviron" ? 0 : 1);
        EXPECT_EQ(back.reserved1, -5);
        EXPECT_EQ(back.reserved2, 0);
        EXPECT_EQ(back.reserved3, 123456);
        EXPECT_EQ(pixels_of(back), pixels_of(record));
        // Saving what was loaded writes the same reserved words back.
        ASSERT_EQ(back.save(path("again.taviron").c_str()), TAV_OK);
        EXPECT_EQ(read_file(path("again.taviron")), read_file(path("raw.taviron")));
    }
}

TEST(TavironRead, BytesAfterRawPixelsAreIgnored) {
    const Bytes px = pattern(8, 6);
    const Bytes file = concat(concat(header(2, 1, 0, 4, 5, 6), px), {'e', 'x', 't', 'r', 'a'});
    Taviron record;
    ASSERT_EQ(record.load_memory(file.data(), file.size()), TAV_OK);
    EXPECT_EQ(pixels_of(record), px);
    EXPECT_EQ(record.reserved3, 6);
}

TEST_F(TavironFiles, LoadOfTheSameSizeReusesTheBlock) {
    Taviron first(6, 4);
    fill(first, 1);
    ASSERT_EQ(first.save(path("raw.taviron").c_str()), TAV_OK);
    fill(first, 2);
    ASSERT_EQ(first.save_compressed(path("zip.taviron").c_str()), TAV_OK);

    Taviron record(6, 4);
    const std::uint8_t* block = record.pixels;
    ASSERT_EQ(record.load(path("raw.taviron").c_str()), TAV_OK);
    EXPECT_EQ(record.pixels, block);
    EXPECT_EQ(pixels_of(record), pattern(96, 1));
    ASSERT_EQ(record.load(path("zip.taviron").c_str()), TAV_OK);
    EXPECT_EQ(record.pixels, block);
    EXPECT_EQ(pixels_of(record), pattern(96, 2));
}

TEST_F(TavironFiles, RefusalsLeaveTheRecordAsItWas) {
    const Bytes px12 = pattern(12, 4); // 3 x 1 pixels
    const Bytes px_more = pattern(16, 4);
    Bytes damaged = deflate(px12);
    damaged[damaged.size() / 2] ^= 0x55;
    damaged.back() ^= 0xFF; // the checksum too
    Bytes bad_magic = concat(header(3, 1, 0), px12);
    bad_magic[7] = 'X';
    Bytes other_magic = concat(header(3, 1, 0), px12);
    other_magic[0] = 't';

    struct Case {
        const char* what;
        Bytes file;
        std::int32_t status;
    };
    const Bytes full_header = header(3, 1, 0);
    const std::vector<Case> cases = {
        {"empty file", {}, TAV_ERR_MAGIC},
        {"eighth magic byte not NUL", bad_magic, TAV_ERR_MAGIC},
        {"other magic", other_magic, TAV_ERR_MAGIC},
        {"header cut short", Bytes(full_header.begin(), full_header.begin() + 20), TAV_ERR_SIZE},
        {"storage 2", concat(header(3, 1, 2), px12), TAV_ERR_STORAGE},
        {"storage -1", concat(header(3, 1, -1), px12), TAV_ERR_STORAGE},
        {"negative width", concat(header(-3, 1, 0), px12), TAV_ERR_ARGUMENT},
        {"negative height", concat(header(3, -1, 0), px12), TAV_ERR_ARGUMENT},
        {"size over 31 bits", concat(header(65536, 8192, 0), px12), TAV_ERR_ARGUMENT},
        {"size wrapping 32 bits", concat(header(65536, 16384, 1), px12), TAV_ERR_ARGUMENT},
        {"raw pixels cut short", concat(header(3, 1, 0), Bytes(px12.begin(), px12.end() - 1)), TAV_ERR_SIZE},
        {"stream inflates short", concat(header(3, 1, 1), deflate(Bytes(8, 1))), TAV_ERR_SIZE},
        {"stream inflates long", concat(header(3, 1, 1), deflate(px_more)), TAV_ERR_BUFFER},
        {"stream damaged", concat(header(3, 1, 1), damaged), TAV_ERR_DATA},
        {"stream missing", header(3, 1, 1), TAV_ERR_SIZE},
        // 16000 x 16000 x 4 bytes cannot come out of a 20-byte stream: refused before allocating.
        {"size beyond the stream", concat(header(16000, 16000, 1), deflate(Bytes(8, 0))), TAV_ERR_SIZE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        write_file(path("bad.taviron"), c.file);
        Taviron record;
        make_distinct(record);
        const Snapshot before(record);
        EXPECT_EQ(record.load(path("bad.taviron").c_str()), c.status);
        before.expect_same(record);
        EXPECT_EQ(record.load_memory(c.file.data(), c.file.size()), c.status);
        before.expect_same(record);
    }

    Taviron record;
    make_distinct(record);
    const Snapshot before(record);
    EXPECT_EQ(record.load(path("missing.taviron").c_str()), TAV_ERR_FAILED);
    EXPECT_EQ(record.load(dir_.c_str()), TAV_ERR_FAILED); // a directory opens but cannot be read
    EXPECT_EQ(record.load(nullptr), TAV_ERR_FAILED);
    before.expect_same(record);
}

TEST_F(TavironFiles, EveryTruncationIsRefusedUnchanged) {
    Taviron source(5, 4);
    fill(source, 8);
    source.reserved1 = 3;
    ASSERT_EQ(source.save(path("raw.taviron").c_str()), TAV_OK);
    ASSERT_EQ(source.save_compressed(path("zip.taviron").c_str()), TAV_OK);
    for (const char* name : {"raw.taviron", "zip.taviron"}) {
        const Bytes whole = read_file(path(name));
        for (std::size_t length = 0; length < whole.size(); ++length) {
            SCOPED_TRACE(std::string(name) + " cut to " + std::to_string(length));
            Taviron record;
            make_distinct(record);
            const Snapshot before(record);
            const std::int32_t status = record.load_memory(whole.data(), length);
            EXPECT_NE(status, TAV_OK);
            before.expect_same(record);
            const std::int32_t as_resource = record.load_resource_memory(whole.data(), length);
            EXPECT_NE(as_resource, TAV_OK);
            if (length < 32) {
                EXPECT_EQ(as_resource, TAV_ERR_BUFFER);
            }
            before.expect_same(record);
        }
        Taviron record;
        ASSERT_EQ(record.load_memory(whole.data(), whole.size()), TAV_OK);
        EXPECT_EQ(pixels_of(record), pixels_of(source));
    }
}

// Runs a save under a file size limit of 100 bytes, as on a full disk: writing stops short.
template <typename Save> std::int32_t with_small_file_limit(Save save) {
    struct rlimit saved {};
    EXPECT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 100;
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::int32_t status = save();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    return status;
}

TEST_F(TavironFiles, FailedSavesLeaveTheOldFileAndNoTemporary) {
    const Bytes old_contents = {'o', 'l', 'd'};
    write_file(path("keep.taviron"), old_contents);
    Taviron record(64, 64);
    for (std::size_t i = 0; i < 64 * 64 * 4; ++i) // hardly compressible, so both forms pass 100 bytes
        record.pixels[i] = static_cast<std::uint8_t>((i * 2654435761u) >> 13);
    const std::string target = path("keep.taviron");

    record.storage = 1;
    EXPECT_EQ(with_small_file_limit([&] { return record.save(target.c_str()); }), TAV_ERR_FAILED);
    EXPECT_EQ(record.storage, 1); // a failed save changes nothing in the record
    EXPECT_EQ(read_file(target), old_contents);
    EXPECT_EQ(files_in_dir(), 1u);

    record.storage = 0;
    EXPECT_EQ(with_small_file_limit([&] { return record.save_compressed(target.c_str()); }), TAV_ERR_FAILED);
    EXPECT_EQ(record.storage, 0);
    EXPECT_EQ(read_file(target), old_contents);
    EXPECT_EQ(files_in_dir(), 1u);

    // Without the limit the same saves go through.
    ASSERT_EQ(record.save(target.c_str()), TAV_OK);
    EXPECT_EQ(read_file(target).size(), 32u + 64 * 64 * 4);

    EXPECT_EQ(record.save(path("no/such/dir/x.taviron").c_str()), TAV_ERR_FAILED);
    EXPECT_EQ(record.save_compressed(path("no/such/dir/x.taviron").c_str()), TAV_ERR_FAILED);
    EXPECT_EQ(record.save(nullptr), TAV_ERR_FAILED);
    EXPECT_EQ(files_in_dir(), 1u);
}

TEST_F(TavironFiles, SavesRefuseARecordThatBreaksTheSizeRule) {
    Taviron record;
    record.width = 4; // a size without its block
    record.height = 4;
    EXPECT_EQ(record.save(path("x.taviron").c_str()), TAV_ERR_ARGUMENT);
    EXPECT_EQ(record.save_compressed(path("x.taviron").c_str()), TAV_ERR_ARGUMENT);
    record.width = -4;
    EXPECT_EQ(record.save(path("x.taviron").c_str()), TAV_ERR_ARGUMENT);
    EXPECT_EQ(files_in_dir(), 0u);
}

TEST_F(TavironFiles, SaveKeepsTheModeOfAFileItReplaces) {
    write_file(path("mode.taviron"), {1});
    fs::permissions(path("mode.taviron"),
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    Taviron record(1, 1);
    ASSERT_EQ(record.save(path("mode.taviron").c_str()), TAV_OK);
    EXPECT_EQ(fs::status(path("mode.taviron")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(TavironFiles, FileLengthKeepsThePosition) {
    write_file(path("len"), pattern(1234, 0));
    std::FILE* file = std::fopen(path("len").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fseek(file, 100, SEEK_SET), 0);
    EXPECT_EQ(Taviron::file_length(file), 1234);
    EXPECT_EQ(std::ftell(file), 100);
    std::fclose(file);
    EXPECT_EQ(Taviron::file_length(nullptr), -1);
}

TEST(TavironResource, LoadsEmbeddedImagesByName) {
    Taviron record;
    ASSERT_EQ(record.load_resource("checker_2x2"), TAV_OK);
    EXPECT_EQ(record.width, 2);
    EXPECT_EQ(record.height, 2);
    EXPECT_EQ(record.storage, 0);
    EXPECT_EQ(record.reserved1, 7);
    EXPECT_EQ(record.reserved2, -8);
    EXPECT_EQ(record.reserved3, 9);
    EXPECT_EQ(pixels_of(record), (Bytes{255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 128}));

    // Names are found regardless of case, like the old platform's resource names.
    ASSERT_EQ(record.load_resource("RAMP_3X1"), TAV_OK);
    EXPECT_EQ(record.width, 3);
    EXPECT_EQ(record.storage, 1);
    EXPECT_EQ(pixels_of(record), (Bytes{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120}));

    const Snapshot before(record);
    EXPECT_EQ(record.load_resource("no_such_image"), TAV_ERR_ARGUMENT);
    EXPECT_EQ(record.load_resource(nullptr), TAV_ERR_ARGUMENT);
    EXPECT_EQ(record.load_resource("not_a_taviron_type"), TAV_ERR_ARGUMENT); // same name, other type
    EXPECT_EQ(record.load_resource("short_header"), TAV_ERR_BUFFER);
    before.expect_same(record);
}

} // namespace
