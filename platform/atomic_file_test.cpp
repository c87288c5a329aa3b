#include "platform/atomic_file.h"

#include "platform/test_files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class AtomicFile : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const { return folder_.path(name); }
    std::size_t files_in_dir() const { return folder_.entry_count(); }
    static Bytes read_file(const std::string& name) { return test_support::read_file(name); }
    static bool write(const std::string& name, const Bytes& bytes) {
        return platform::write_file_atomically(name.c_str(), {std::span<const std::uint8_t>(bytes)});
    }
    static unsigned mode_of(const std::string& name) {
        struct stat st {};
        EXPECT_EQ(::stat(name.c_str(), &st), 0);
        return st.st_mode & 07777;
    }

    test_support::TempFolder folder_{"atomic_file_test"};
    const fs::path& dir_ = folder_.dir();
};

TEST_F(AtomicFile, WritesTheWholeContentsAndKeepsTheModeOfAReplacedFile) {
    const std::string target = path("out.bin");
    const Bytes head = {1, 2, 3}, body = {4, 5};
    ASSERT_TRUE(platform::write_file_atomically(
        target.c_str(), {std::span<const std::uint8_t>(head), {}, std::span<const std::uint8_t>(body)}));
    EXPECT_EQ(read_file(target), (Bytes{1, 2, 3, 4, 5}));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(mode_of(target), 0666u & ~mask); // a new file gets what the umask allows

    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ASSERT_TRUE(write(target, {9}));
    EXPECT_EQ(read_file(target), Bytes{9});
    EXPECT_EQ(mode_of(target), 0640u);
    EXPECT_EQ(files_in_dir(), 1u);
}

TEST_F(AtomicFile, AFailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    const std::string target = path("keep.bin");
    ASSERT_TRUE(write(target, {'o', 'l', 'd'}));

    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 100;
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = write(target, Bytes(5000, 0x5A));
    const int error = errno;
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(written);
    EXPECT_EQ(error, EFBIG);
    EXPECT_EQ(read_file(target), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(files_in_dir(), 1u);
}

TEST_F(AtomicFile, AWriterThatGivesUpKeepsTheOldFileAndItsError) {
    const std::string target = path("keep.bin");
    ASSERT_TRUE(write(target, {'o', 'l', 'd'}));
    const bool written = platform::write_file_atomically(target.c_str(), [](std::FILE* file) {
        std::fputs("partial", file);
        errno = ENOSPC;
        return false;
    });
    EXPECT_EQ(errno, ENOSPC);
    EXPECT_FALSE(written);
    EXPECT_EQ(read_file(target), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(files_in_dir(), 1u);
}

TEST_F(AtomicFile, AMissingFolderOrADirectoryTargetFails) {
    EXPECT_FALSE(write(path("none/out.bin"), {1}));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(files_in_dir(), 0u);

    const std::string sub = path("sub");
    ASSERT_TRUE(fs::create_directory(sub));
    EXPECT_FALSE(write(sub, {1}));
    EXPECT_TRUE(fs::is_directory(sub));
    EXPECT_TRUE(fs::is_empty(sub));
    EXPECT_EQ(files_in_dir(), 1u); // no temporary beside the directory either
}

TEST_F(AtomicFile, ADirectoryIsNotReplaceableButAnAbsentOrWritableFileIs) {
    EXPECT_TRUE(platform::replaceable_file(path("absent").c_str()));
    ASSERT_TRUE(write(path("present"), {1}));
    EXPECT_TRUE(platform::replaceable_file(path("present").c_str()));
    errno = 0;
    EXPECT_FALSE(platform::replaceable_file(dir_.c_str()));
    EXPECT_EQ(errno, EISDIR);
}

} // namespace
