#include "strtoul32.h"

#include <gtest/gtest.h>

TEST(Strtoul32, FollowsTheCLibraryRulesWithThirtyTwoBits) {
    EXPECT_EQ(strtoul32("41", 16), 65u);
    EXPECT_EQ(strtoul32("0x41", 16), 65u);
    EXPECT_EQ(strtoul32("0X41", 16), 65u);
    EXPECT_EQ(strtoul32("FFFF", 16), 65535u);
    EXPECT_EQ(strtoul32("ffff", 16), 65535u);
    EXPECT_EQ(strtoul32("10000", 16), 65536u);
    EXPECT_EQ(strtoul32("0x", 16), 0u) << "the 0 before x is the number";
    EXPECT_EQ(strtoul32("0xg", 16), 0u);
    EXPECT_EQ(strtoul32("0x41", 10), 0u) << "no prefix in base 10";
    EXPECT_EQ(strtoul32("65535", 10), 65535u);
    EXPECT_EQ(strtoul32("12abc", 10), 12u);
    EXPECT_EQ(strtoul32("abc", 10), 0u);
    EXPECT_EQ(strtoul32(" ", 10), 0u);
    EXPECT_EQ(strtoul32(" \t\n 7", 10), 7u);
    EXPECT_EQ(strtoul32("+7", 10), 7u);
    EXPECT_EQ(strtoul32("-5", 10), 0xFFFFFFFBu);
    EXPECT_EQ(int32_t(strtoul32("-5", 10)), -5);
    EXPECT_EQ(strtoul32("-0", 10), 0u);
    EXPECT_EQ(strtoul32("--5", 10), 0u) << "one sign only";
    EXPECT_EQ(strtoul32("4294967295", 10), 0xFFFFFFFFu);
    EXPECT_EQ(strtoul32("4294967296", 10), 0xFFFFFFFFu) << "overflow saturates, never wraps to 0";
    EXPECT_EQ(strtoul32("99999999999999999999999", 10), 0xFFFFFFFFu);
    EXPECT_EQ(strtoul32("-99999999999", 10), 0xFFFFFFFFu);
    EXPECT_EQ(strtoul32("1 2", 10), 1u);
}
