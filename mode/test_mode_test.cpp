#include "mode/test_mode.h"

#include "mode/mode_codes.h"
#include "platform/ticks.h"

#include <gtest/gtest.h>

TEST(SampleMode, ReportsEachCallAndRenderTakesAboutATenthOfASecond) {
    test mode;
    testing::internal::CaptureStdout();
    EXPECT_EQ(mode.entry(), MODE_OK);
    EXPECT_EQ(mode.evaluate(-3), MODE_OK);
    std::uint32_t t0 = platform::tick_count();
    EXPECT_EQ(mode.render(), MODE_OK);
    std::uint32_t took = platform::tick_count() - t0;
    EXPECT_EQ(mode.close(), MODE_OK);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "virtual int test::entry()\n"
                                                      "virtual int test::evaluate(int) - -3\n"
                                                      "virtual int test::render()\n"
                                                      "virtual int test::close()\n");
    EXPECT_GE(took, 100u);
}
