// Runs the cachetest program with standard input closed and checks its whole output.
#include "cache/drabel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <sys/wait.h>

#include "platform/test_process.h"

namespace {

const std::string kHead = "start:\n"
                          "0> 123 [0]: 0\n"
                          "1> 354 [0]: 0\n"
                          "2> 456 [0]: 0\n"
                          "3> 900 [0]: 0\n"
                          "\n"
                          "0> 123 [3]: 0\n"
                          "1> 354 [-7]: 0\n"
                          "2> 456 [8]: 0\n"
                          "3> 900 [3]: 0\n"
                          "Free 354\n"
                          "0> 100 [4]: 0\n"
                          "1> 123 [2]: 0\n"
                          "2> 456 [7]: 0\n"
                          "3> 900 [2]: 0\n";
const std::string kPrompt = "Press any key to continue . . . ";

// The second add ties 123 and 900 at score 2; either may go.
const std::string kEvict900 = "Free 900\n"
                              "0> 100 [3]: 0\n"
                              "1> 123 [1]: 0\n"
                              "2> 200 [4]: 0\n"
                              "3> 456 [6]: 0\n"
                              "Free 100\nFree 123\nFree 200\nFree 456\n";
const std::string kEvict123 = "Free 123\n"
                              "0> 100 [3]: 0\n"
                              "1> 200 [4]: 0\n"
                              "2> 456 [6]: 0\n"
                              "3> 900 [1]: 0\n"
                              "Free 100\nFree 200\nFree 456\nFree 900\n";

int comparisons = 0;
int counting_compare(const void* a, const void* b) {
    ++comparisons;
    return compare_entry_keys(a, b);
}

// The program's sequence again, counting the key comparisons it makes.
int comparisons_of_the_sequence() {
    Drabel d(4);
    d.compare = counting_compare;
    comparisons = 0;
    for (int k : {123, 456, 354, 900})
        d.add(k);
    for (int i = 0; i < 3; ++i)
        d.get(456, 0);
    for (int i = 0; i < 2; ++i)
        d.get(123, 0);
    for (int i = 0; i < 2; ++i)
        d.get(900, 0);
    d.add(100);
    d.add(200);
    d.clear();
    return comparisons;
}

} // namespace

TEST(CachetestProgram, PrintsTheWholeSequenceAndEndsWithThePrompt) {
    platform::ProgramRun run = platform::run_with_stdin_closed(KX_BINARY_DIR "/cache/cachetest");
    ASSERT_TRUE(WIFEXITED(run.status)) << run.out;
    EXPECT_EQ(WEXITSTATUS(run.status), 0);

    std::string text = run.out;
    long dots = std::erase(text, '.') - 3; // the prompt's own three dots
    EXPECT_TRUE(text == kHead + kEvict900 + "Press any key to continue    " ||
                text == kHead + kEvict123 + "Press any key to continue    ")
        << text;
    EXPECT_TRUE(run.out.ends_with(kPrompt)) << run.out;
    EXPECT_EQ(dots, comparisons_of_the_sequence());
}
