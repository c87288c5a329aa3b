#include "errreport/int_stack.h"

#include <gtest/gtest.h>

#include <climits>

using errreport::IntStack;

TEST(IntStack, GrowsWhenAPushWouldFillTheLastSlot) {
    IntStack s;
    EXPECT_EQ(s.capacity, 4);
    EXPECT_EQ(s.count, 0);
    for (int i = 0; i < 3; ++i)
        s.push(i);
    EXPECT_EQ(s.capacity, 4);
    s.push(3);
    EXPECT_EQ(s.capacity, 8);
    EXPECT_EQ(s.count, 4);
    for (int i = 4; i < 8; ++i)
        s.push(i);
    EXPECT_EQ(s.capacity, 16);
    EXPECT_EQ(s.count, 8);
    for (int i = 8; i < 1000; ++i)
        s.push(i * 3);
    EXPECT_EQ(s.capacity, 1024);
    EXPECT_LT(s.count, s.capacity);

    // Every value survived the moves of the block.
    for (int i = 999; i >= 8; --i) {
        ASSERT_EQ(s.top(), i * 3);
        s.pop();
    }
    for (int i = 7; i >= 0; --i) {
        ASSERT_EQ(s.top(), i);
        s.pop();
    }
    EXPECT_EQ(s.count, 0);
    EXPECT_EQ(s.capacity, 1024); // never shrinks
}

TEST(IntStack, EmptyStackAnswersZeroAndPopDoesNothing) {
    IntStack s;
    EXPECT_EQ(s.top(), 0);
    s.pop();
    EXPECT_EQ(s.count, 0);
    s.push(-5);
    s.push(0);
    EXPECT_EQ(s.top(), 0); // a zero on top looks like an empty stack
    s.pop();
    EXPECT_EQ(s.top(), -5);
    s.pop();
    s.pop();
    EXPECT_EQ(s.count, 0);
    s.push(INT_MIN);
    EXPECT_EQ(s.top(), INT_MIN);
}

TEST(IntStack, AFailedGrowthDropsTheValueAndKeepsTheCapacity) {
    IntStack s;
    s.push(1);
    s.push(2);
    // A stack so large that doubling cannot be represented: growing must fail without touching the block.
    const std::int32_t real_capacity = s.capacity, real_count = s.count;
    s.capacity = INT_MAX / 2 + 1;
    s.count = s.capacity - 1;
    s.push(99);
    EXPECT_EQ(s.capacity, INT_MAX / 2 + 1);
    EXPECT_EQ(s.count, INT_MAX / 2);
    s.capacity = real_capacity;
    s.count = real_count;
    EXPECT_EQ(s.top(), 2);
}
