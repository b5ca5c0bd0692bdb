#include "numbers.h"

#include <gtest/gtest.h>

namespace {

template <typename T> struct Case {
    const char *text;
    int base;
    T value;
};

TEST(Numbers, UnsignedParser) {
    /* Prefixes 0x and U+ (any case) are hexadecimal; a sign or a blank ends the number;
     * any base but 8 and 16 is 10; values wrap modulo 2^32. */
    for (auto c : std::initializer_list<Case<uint32_t>>{
             {"75", 10, 75}, {"0x1F", 10, 31}, {"0X1f", 10, 31}, {"U+0041", 10, 65}, {"u-0041", 10, 65},
             {"-12", 10, 0}, {" 12", 10, 0}, {"+12", 10, 0}, {"", 10, 0}, {nullptr, 10, 0},
             {"4294967295", 10, 4294967295u}, {"4294967296", 10, 0},
             {"17", 8, 15}, {"19", 8, 1}, {"ff", 16, 255}, {"ff", 7, 0}})
        EXPECT_EQ(bdf_parse_unsigned(c.text, nullptr, c.base), c.value) << c.text << " base " << c.base;
    const char *text = "123abc";
    const char *end = nullptr;
    EXPECT_EQ(bdf_parse_unsigned(text, &end, 10), 123u);
    EXPECT_EQ(end, text + 3);
}

TEST(Numbers, SignedParser) {
    for (auto c : std::initializer_list<Case<int32_t>>{
             {"-12", 10, -12}, {"12", 10, 12}, {"U+0041", 10, 65}, {"-0x10", 10, -16}, {" -1", 10, 0},
             {"4294967295", 10, -1}, {"", 10, 0}, {nullptr, 10, 0}})
        EXPECT_EQ(bdf_parse_signed(c.text, nullptr, c.base), c.value) << c.text;
    const char *text = "-7 8";
    const char *end = nullptr;
    EXPECT_EQ(bdf_parse_signed(text, &end, 10), -7);
    EXPECT_EQ(end, text + 2);
}

TEST(Numbers, ShortParser) {
    /* No U+ prefix here; values wrap modulo 2^16. */
    for (auto c : std::initializer_list<Case<int16_t>>{
             {"-12", 10, -12}, {"U+0041", 10, 0}, {"0x7fff", 10, 32767}, {"65535", 10, -1},
             {"65536", 10, 0}, {"70000", 10, 4464}, {" 5", 10, 0}, {nullptr, 10, 0}})
        EXPECT_EQ(bdf_parse_short(c.text, nullptr, c.base), c.value) << c.text;
}

} // namespace
