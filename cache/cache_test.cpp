#include "cache/cache.h"

#include <gtest/gtest.h>

#include <string>

TEST(CacheClass, CapacityFourAndADotPerKeyComparison) {
    cache c;
    EXPECT_EQ(c.capacity, 4);
    EXPECT_EQ(c.compare, &compare_entry_keys_with_dot);

    testing::internal::CaptureStdout();
    EXPECT_EQ(c.get(1, 0), 0); // empty: no search
    c.add(5);                  // empty: no search, no insertion scan
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    testing::internal::CaptureStdout();
    c.add(3); // one comparison in the search of one entry, one in the insertion scan
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "..");

    CacheEntry a{-7, 0, {0, 0}}, b{9, 0, {0, 0}};
    testing::internal::CaptureStdout();
    int r = compare_entry_keys_with_dot(&a, &b);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), ".");
    EXPECT_LT(r, 0);
}

TEST(CacheClass, FreedEntriesArePrintedWithTheirKeys) {
    cache c;
    for (int k : {40, 10, 30, 20})
        c.add(k);
    c.get(10, 0);
    c.get(30, 0);
    c.get(40, 0); // 20 is now the least used

    testing::internal::CaptureStdout();
    c.add(-1);
    std::string out = testing::internal::GetCapturedStdout();
    std::erase(out, '.');
    EXPECT_EQ(out, "Free 20\n");

    testing::internal::CaptureStdout();
    c.clear();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Free -1\nFree 10\nFree 30\nFree 40\n");
}
