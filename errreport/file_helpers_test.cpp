#include "errreport/file_helpers.h"

#include "errreport/alloc_zeroed.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

using errreport::file_length;
using errreport::file_step_back;

namespace {

// A temporary file holding bytes 0, 1, 2, ... n - 1 (mod 256), removed when closed.
std::FILE* numbered_file(int n) {
    std::FILE* f = std::tmpfile();
    if (f == nullptr) return nullptr;
    for (int i = 0; i < n; ++i)
        std::fputc(i & 0xFF, f);
    std::fflush(f);
    return f;
}

} // namespace

TEST(FileHelpers, LengthLeavesThePositionWhereItWas) {
    std::FILE* f = numbered_file(100);
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fseek(f, 10, SEEK_SET), 0);
    EXPECT_EQ(file_length(f), 100);
    EXPECT_EQ(std::ftell(f), 10);
    EXPECT_EQ(std::fgetc(f), 10);
    std::fclose(f);

    std::FILE* empty = numbered_file(0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(file_length(empty), 0);
    std::fclose(empty);
}

TEST(FileHelpers, LengthOfAStreamThatCannotSeekIsMinusOne) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::FILE* f = fdopen(fds[0], "rb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(file_length(f), -1);
    EXPECT_EQ(file_length(nullptr), -1);
    std::fclose(f);
    close(fds[1]);
}

TEST(FileHelpers, StepBackRereadsTheLastByte) {
    std::FILE* f = numbered_file(20);
    ASSERT_NE(f, nullptr);
    std::rewind(f);
    EXPECT_EQ(std::fgetc(f), 0);
    EXPECT_EQ(std::fgetc(f), 1);
    file_step_back(f);
    EXPECT_EQ(std::ftell(f), 1);
    EXPECT_EQ(std::fgetc(f), 1);

    std::rewind(f);
    file_step_back(f); // nothing before the start
    EXPECT_EQ(std::ftell(f), 0);
    EXPECT_EQ(std::fgetc(f), 0);
    std::fclose(f);
}

TEST(AllocZeroed, BlocksComeZeroFilled) {
    // Dirty some memory first so that a reused block would show old bytes.
    for (int round = 0; round < 4; ++round) {
        auto* dirty = static_cast<unsigned char*>(std::malloc(4096));
        ASSERT_NE(dirty, nullptr);
        for (int i = 0; i < 4096; ++i)
            dirty[i] = 0xA5;
        std::free(dirty);
        auto* block = static_cast<unsigned char*>(errreport::alloc_zeroed(4096));
        ASSERT_NE(block, nullptr);
        int nonzero = 0;
        for (int i = 0; i < 4096; ++i)
            nonzero += block[i] != 0;
        EXPECT_EQ(nonzero, 0);
        std::free(block);
    }
}
