// Runs the errtest program with standard input closed and checks its whole output.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

TEST(ErrtestProgram, PrintsTheFourLinesOfTheStackAndEndsWithThePrompt) {
    FILE* pipe = popen("'" KX_BINARY_DIR "/errreport/errtest' <&-", "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buf[512];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
        out.append(buf, n);
    int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status)) << out;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(out, "0; 1; 2; 3; 4; 5; 6; 7; 8; 9; \n"
                   "9; 9; 9; 9; 9; 9; 9; 9; 9; 9; \n"
                   "9; 8; 7; 6; 5; 4; 3; 2; 1; 0; \n"
                   "0; 0; 0; 0; 0; 0; 0; 0; 0; 0; "
                   "Press any key to continue . . . ");
}
