#include "platform/dialog_window.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(ParseItemInt, DecimalWithSpacesAndSignOnlyWhenSigned) {
    bool ok = false;
    EXPECT_EQ(parse_item_int(" 12 ", &ok, false), 12u);
    EXPECT_TRUE(ok);
    EXPECT_EQ(parse_item_int("4294967295", &ok, false), 4294967295u);
    EXPECT_TRUE(ok);
    EXPECT_EQ(parse_item_int("4294967296", &ok, false), 0u);
    EXPECT_FALSE(ok);
    EXPECT_EQ(parse_item_int("2147483648", &ok, true), 0u);
    EXPECT_FALSE(ok);
    EXPECT_EQ(parse_item_int("-2147483648", &ok, true), 0x80000000u);
    EXPECT_TRUE(ok);
    for (const char* bad : {"", " ", "-", "12abc", "1 2", "abc", "+3", "-5"}) {
        EXPECT_EQ(parse_item_int(bad, &ok, false), 0u) << bad;
        EXPECT_FALSE(ok) << bad;
    }
    EXPECT_EQ(parse_item_int("-5", nullptr, true), std::uint32_t(-5));
}

} // namespace
} // namespace platform
