// Runs the modetest program with standard input closed and checks its whole output.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

TEST(ModetestProgram, PrintsTheWholeSequenceAndEndsWithThePrompt) {
    FILE* pipe = popen("'" KX_BINARY_DIR "/mode/modetest' <&-", "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buf[512];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
        out.append(buf, n);
    int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status)) << out;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(out, "-705\n"
                   "virtual int test::entry()\n"
                   "0\n"
                   "virtual int test::evaluate(int) - 1\n"
                   "virtual int test::render()\n"
                   "0\n"
                   "Press any key to continue . . . ");
}
