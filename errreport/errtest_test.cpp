// Runs the errtest program with standard input closed and checks its whole output.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include "platform/test_process.h"

TEST(ErrtestProgram, PrintsTheFourLinesOfTheStackAndEndsWithThePrompt) {
    const platform::ProgramRun run = platform::run_with_stdin_closed(KX_BINARY_DIR "/errreport/errtest");
    ASSERT_TRUE(WIFEXITED(run.status)) << run.out;
    EXPECT_EQ(WEXITSTATUS(run.status), 0);
    EXPECT_EQ(run.out, "0; 1; 2; 3; 4; 5; 6; 7; 8; 9; \n"
                       "9; 9; 9; 9; 9; 9; 9; 9; 9; 9; \n"
                       "9; 8; 7; 6; 5; 4; 3; 2; 1; 0; \n"
                       "0; 0; 0; 0; 0; 0; 0; 0; 0; 0; "
                       "Press any key to continue . . . ");
}
