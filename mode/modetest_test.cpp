// Runs the modetest program with standard input closed and checks its whole output.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include "platform/test_process.h"

TEST(ModetestProgram, PrintsTheWholeSequenceAndEndsWithThePrompt) {
    const platform::ProgramRun run = platform::run_with_stdin_closed(KX_BINARY_DIR "/mode/modetest");
    ASSERT_TRUE(WIFEXITED(run.status)) << run.out;
    EXPECT_EQ(WEXITSTATUS(run.status), 0);
    EXPECT_EQ(run.out, "-705\n"
                       "virtual int test::entry()\n"
                       "0\n"
                       "virtual int test::evaluate(int) - 1\n"
                       "virtual int test::render()\n"
                       "0\n"
                       "Press any key to continue . . . ");
}
