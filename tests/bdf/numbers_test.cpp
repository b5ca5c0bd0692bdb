#include "numbers.h"

#include <gtest/gtest.h>

namespace {

TEST(Numbers, UnsignedParser) {
    EXPECT_EQ(bdf_parse_unsigned("75", nullptr, 10), 75u);
    EXPECT_EQ(bdf_parse_unsigned("0x1F", nullptr, 10), 31u);
    EXPECT_EQ(bdf_parse_unsigned("0X1f", nullptr, 10), 31u);
    EXPECT_EQ(bdf_parse_unsigned("U+0041", nullptr, 10), 65u);
    EXPECT_EQ(bdf_parse_unsigned("u-0041", nullptr, 10), 65u);
    EXPECT_EQ(bdf_parse_unsigned("-12", nullptr, 10), 0u);
    EXPECT_EQ(bdf_parse_unsigned(" 12", nullptr, 10), 0u);
    EXPECT_EQ(bdf_parse_unsigned("+12", nullptr, 10), 0u);
    EXPECT_EQ(bdf_parse_unsigned("", nullptr, 10), 0u);
    EXPECT_EQ(bdf_parse_unsigned(nullptr, nullptr, 10), 0u);
    EXPECT_EQ(bdf_parse_unsigned("4294967295", nullptr, 10), 4294967295u);
    EXPECT_EQ(bdf_parse_unsigned("4294967296", nullptr, 10), 0u); /* wraps */
    EXPECT_EQ(bdf_parse_unsigned("17", nullptr, 8), 15u);
    EXPECT_EQ(bdf_parse_unsigned("19", nullptr, 8), 1u);
    EXPECT_EQ(bdf_parse_unsigned("ff", nullptr, 16), 255u);
    EXPECT_EQ(bdf_parse_unsigned("ff", nullptr, 7), 0u); /* any other base is 10 */
    const char *text = "123abc";
    const char *end = nullptr;
    EXPECT_EQ(bdf_parse_unsigned(text, &end, 10), 123u);
    EXPECT_EQ(end, text + 3);
}

TEST(Numbers, SignedParser) {
    EXPECT_EQ(bdf_parse_signed("-12", nullptr, 10), -12);
    EXPECT_EQ(bdf_parse_signed("12", nullptr, 10), 12);
    EXPECT_EQ(bdf_parse_signed("U+0041", nullptr, 10), 65);
    EXPECT_EQ(bdf_parse_signed("-0x10", nullptr, 10), -16);
    EXPECT_EQ(bdf_parse_signed(" -1", nullptr, 10), 0);
    EXPECT_EQ(bdf_parse_signed("4294967295", nullptr, 10), -1);
    EXPECT_EQ(bdf_parse_signed("", nullptr, 10), 0);
    EXPECT_EQ(bdf_parse_signed(nullptr, nullptr, 10), 0);
    const char *text = "-7 8";
    const char *end = nullptr;
    EXPECT_EQ(bdf_parse_signed(text, &end, 10), -7);
    EXPECT_EQ(end, text + 2);
}

TEST(Numbers, ShortParser) {
    EXPECT_EQ(bdf_parse_short("-12", nullptr, 10), -12);
    EXPECT_EQ(bdf_parse_short("U+0041", nullptr, 10), 0);
    EXPECT_EQ(bdf_parse_short("0x7fff", nullptr, 10), 32767);
    EXPECT_EQ(bdf_parse_short("65535", nullptr, 10), -1);
    EXPECT_EQ(bdf_parse_short("65536", nullptr, 10), 0);
    EXPECT_EQ(bdf_parse_short("70000", nullptr, 10), 4464);
    EXPECT_EQ(bdf_parse_short(" 5", nullptr, 10), 0);
    EXPECT_EQ(bdf_parse_short(nullptr, nullptr, 10), 0);
}

} // namespace
