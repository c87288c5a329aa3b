// File work with progress: the compressed stream is byte for byte the one-shot level-9 stream
// across many chunks, the counts reach the total, reads give the whole file or fail.
#include "platform/file_progress.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> Written(std::span<const std::uint8_t> header, std::span<const std::uint8_t> a,
                                  std::span<const std::uint8_t> b, bool compressed,
                                  platform::FileProgress& progress) {
    std::FILE* file = std::tmpfile();
    int zlibStatus = -1;
    EXPECT_TRUE(platform::write_pieces_with_progress(file, header, {a, b}, compressed, progress, zlibStatus));
    EXPECT_EQ(zlibStatus, 0);
    std::vector<std::uint8_t> out(std::size_t(std::ftell(file)));
    std::rewind(file);
    EXPECT_EQ(std::fread(out.data(), 1, out.size(), file), out.size());
    std::fclose(file);
    return out;
}

TEST(FileProgress, CompressedPiecesAreTheOneShotStreamByteForByte) {
    // Several chunks of data that compresses in part: runs, repeats and noise.
    std::vector<std::uint8_t> a(3 * 1024 * 1024 + 12345), b(777777);
    std::mt19937 random(7);
    for (std::size_t i = 0; i < a.size(); ++i)
        a[i] = (i / 4096) % 3 == 0 ? std::uint8_t(random()) : std::uint8_t(i % 251);
    for (std::size_t i = 0; i < b.size(); ++i)
        b[i] = std::uint8_t(random() % 7);
    std::vector<std::uint8_t> whole(a);
    whole.insert(whole.end(), b.begin(), b.end());
    uLongf size = compressBound(uLong(whole.size()));
    std::vector<std::uint8_t> expected(size);
    ASSERT_EQ(compress2(expected.data(), &size, whole.data(), uLong(whole.size()), 9), Z_OK);
    expected.resize(size);
    const std::uint8_t header[4] = {1, 2, 3, 4};
    expected.insert(expected.begin(), header, header + 4);

    platform::FileProgress progress;
    EXPECT_EQ(Written(header, a, b, true, progress), expected);
    EXPECT_EQ(progress.total.load(), whole.size());
    EXPECT_EQ(progress.done.load(), whole.size());

    // Plain: the header and the pieces as they are; nothing at all compresses to zlib's empty stream.
    platform::FileProgress plain;
    std::vector<std::uint8_t> raw(header, header + 4);
    raw.insert(raw.end(), whole.begin(), whole.end());
    EXPECT_EQ(Written(header, a, b, false, plain), raw);
    platform::FileProgress none;
    size = compressBound(0);
    std::vector<std::uint8_t> empty(size);
    ASSERT_EQ(compress2(empty.data(), &size, nullptr, 0, 9), Z_OK);
    empty.resize(size);
    empty.insert(empty.begin(), header, header + 4);
    EXPECT_EQ(Written(header, {}, {}, true, none), empty);
}

TEST(FileProgress, ReadsTheWholeFileOrFails) {
    const std::string path = ::testing::TempDir() + "file_progress_read.bin";
    std::vector<std::uint8_t> data(2 * 1024 * 1024 + 3);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = std::uint8_t(i * 7);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(data.data(), 1, data.size(), file);
    std::fclose(file);
    platform::FileProgress progress;
    std::vector<std::uint8_t> read;
    ASSERT_TRUE(platform::read_file_with_progress(path.c_str(), read, progress));
    EXPECT_EQ(read, data);
    EXPECT_EQ(progress.done.load(), data.size());
    EXPECT_EQ(progress.total.load(), data.size());
    std::remove(path.c_str());
    EXPECT_FALSE(platform::read_file_with_progress(path.c_str(), read, progress));
    EXPECT_TRUE(read.empty());
}

} // namespace
