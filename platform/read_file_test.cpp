#include "platform/read_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "platform/file_name.h"
#include "platform/test_files.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class ReadFile : public ::testing::Test {
  protected:
    std::string write(const std::string& name, const std::string& text) const {
        const std::string path = folder_.path(name);
        test_support::write_file(path, Bytes(text.begin(), text.end()));
        return path;
    }
    test_support::TempFolder folder_{"read_file_test"};
    const fs::path& dir_ = folder_.dir();
};

TEST_F(ReadFile, ReadsAWholeRegularFileAndRefusesOtherKinds) {
    Bytes bytes{9};
    EXPECT_EQ(platform::read_regular_file(write("a.bin", "abc").c_str(), bytes, 3), platform::ReadStatus::ok);
    EXPECT_EQ(bytes, (Bytes{'a', 'b', 'c'}));
    EXPECT_EQ(platform::read_regular_file(write("empty", "").c_str(), bytes, 3), platform::ReadStatus::ok);
    EXPECT_TRUE(bytes.empty());

    errno = 0;
    EXPECT_EQ(platform::read_regular_file(dir_.c_str(), bytes, 100), platform::ReadStatus::failed);
    EXPECT_EQ(errno, EISDIR);
    // A device is no regular file: refused, the length left alone.
    std::uint64_t length = 7;
    errno = 0;
    EXPECT_EQ(platform::open_regular_file("/dev/null", length), nullptr);
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(length, 7u);
    EXPECT_EQ(platform::read_regular_file((dir_ / "missing").c_str(), bytes, 100),
              platform::ReadStatus::failed);
    EXPECT_EQ(platform::read_regular_file(nullptr, bytes, 100), platform::ReadStatus::failed);
}

TEST_F(ReadFile, ATooLongFileGivesOnlyItsHead) {
    Bytes bytes;
    const std::string path = write("long.bin", "0123456789");
    EXPECT_EQ(platform::read_regular_file(path.c_str(), bytes, 9, 4), platform::ReadStatus::too_long);
    EXPECT_EQ(bytes, (Bytes{'0', '1', '2', '3'}));
    EXPECT_EQ(platform::read_regular_file(path.c_str(), bytes, 9), platform::ReadStatus::too_long);
    EXPECT_TRUE(bytes.empty());
    std::uint64_t length = 0;
    EXPECT_NE(platform::open_regular_file(path.c_str(), length), nullptr);
    EXPECT_EQ(length, 10u);
}

TEST(FileName, ExtensionsCompareWithoutCase) {
    EXPECT_TRUE(platform::has_extension("pic.bmp", ".bmp"));
    EXPECT_TRUE(platform::has_extension("/a/PIC.BmP", ".bmp"));
    EXPECT_TRUE(platform::has_extension("scene.ASC", ".asc"));
    EXPECT_FALSE(platform::has_extension("picbmp", ".bmp"));
    EXPECT_FALSE(platform::has_extension("bmp", ".bmp"));
    EXPECT_FALSE(platform::has_extension("pic.bmp.gz", ".bmp"));
    EXPECT_FALSE(platform::has_extension("pic.bnp", ".bmp"));
    EXPECT_TRUE(platform::has_extension(".bmp", ".bmp"));
}

} // namespace
