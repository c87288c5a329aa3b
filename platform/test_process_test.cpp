#include "platform/test_process.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

namespace {

TEST(RunWithStdinClosed, GivesTheOutputAndTheExitStatus) {
    const platform::ProgramRun hello =
        platform::run_with_stdin_closed(KX_SOURCE_DIR "/platform/testdata/print_hello.sh");
    ASSERT_TRUE(WIFEXITED(hello.status)) << hello.out;
    EXPECT_EQ(WEXITSTATUS(hello.status), 3);
    EXPECT_EQ(hello.out, "hello\nno input\n");

    const platform::ProgramRun missing =
        platform::run_with_stdin_closed(KX_SOURCE_DIR "/platform/testdata/absent");
    ASSERT_TRUE(WIFEXITED(missing.status));
    EXPECT_EQ(WEXITSTATUS(missing.status), 127); // the shell could not find it
    EXPECT_EQ(missing.out, "");
}

} // namespace
