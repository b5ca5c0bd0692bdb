#include "strtoul32.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(Strtoul32, FollowsTheCLibraryRulesWithThirtyTwoBits) {
    // Text, base, value. "0x" is the number 0 before an x; one sign only; overflow saturates, never wraps.
    const std::tuple<const char *, int, uint32_t> cases[] = {
        {"41", 16, 65}, {"0x41", 16, 65}, {"0X41", 16, 65}, {"FFFF", 16, 65535}, {"ffff", 16, 65535}, {"0x", 16, 0},
        {"10000", 16, 65536}, {"0xg", 16, 0}, {"0x41", 10, 0}, {"65535", 10, 65535}, {"12abc", 10, 12}, {"abc", 10, 0},
        {" ", 10, 0}, {" \t\n\v\f\r7", 10, 7}, {"+7", 10, 7}, {"-5", 10, 0xFFFFFFFB}, {"-0", 10, 0}, {"--5", 10, 0},
        {"4294967295", 10, 0xFFFFFFFF}, {"4294967296", 10, 0xFFFFFFFF}, {"99999999999999999999", 10, 0xFFFFFFFF},
        {"-99999999999", 10, 0xFFFFFFFF}};
    for (const auto &[text, base, value] : cases)
        EXPECT_EQ(strtoul32(text, base), value) << '"' << text << "\" in base " << base;
}
