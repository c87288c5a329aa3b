#include "platform/ticks.h"

#include <gtest/gtest.h>

TEST(Ticks, SleepAdvancesTheClockByAtLeastTheRequestedTime) {
    std::uint32_t before = platform::tick_count();
    platform::sleep_ms(20);
    std::uint32_t elapsed = platform::tick_count() - before; // unsigned difference survives a wrap
    EXPECT_GE(elapsed, 20u);
    EXPECT_LT(elapsed, 5000u);
}
