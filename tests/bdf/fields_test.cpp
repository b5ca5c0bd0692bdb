#include "fields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Split {
    bdf_list list{};
    std::string line;
    ~Split() { bdf_list_free(&list); }
    std::vector<std::string> operator()(const char *separators, const std::string &text) {
        line = text;
        EXPECT_TRUE(bdf_split(separators, line.data(), (uint32_t)line.size(), &list));
        return fields();
    }
    std::vector<std::string> fields() const {
        std::vector<std::string> out;
        for (uint32_t i = 0; i < list.used; i++)
            out.push_back(list.field[i]);
        EXPECT_EQ(list.used ? list.field[list.used] : nullptr, nullptr);
        return out;
    }
};

using Fields = std::vector<std::string>;

TEST(Fields, SplitOnBlanksCollapsesRuns) {
    Split split;
    EXPECT_EQ(split(" +", "BBX 8 16 0 -4"), (Fields{"BBX", "8", "16", "0", "-4"}));
    EXPECT_EQ(split(" +", "BBX   8  16"), (Fields{"BBX", "8", "16"}));
    /* A trailing run gives one empty field. */
    EXPECT_EQ(split(" +", "SIZE 16 75 75   "), (Fields{"SIZE", "16", "75", "75", ""}));
    /* Tabs are no separators here. */
    EXPECT_EQ(split(" +", "A\tB C"), (Fields{"A\tB", "C"}));
    EXPECT_EQ(split(" +", ""), Fields{});
    EXPECT_EQ(split(" +", "one"), Fields{"one"});
    EXPECT_EQ(split(" +", " lead"), (Fields{"", "lead"}));
    EXPECT_EQ(split(" \t+", "PIXEL_SIZE\t 16"), (Fields{"PIXEL_SIZE", "16"}));
}

TEST(Fields, SplitOnDashesKeepsEmptyFields) {
    Split split;
    EXPECT_EQ(split("-", "-Misc-Fixed-Medium-R-Normal--15-140-75-75-C-90-ISO10646-1"),
              (Fields{"", "Misc", "Fixed", "Medium", "R", "Normal", "", "15", "140", "75", "75", "C", "90",
                      "ISO10646", "1"}));
    EXPECT_EQ(split("-", "a--b-"), (Fields{"a", "", "b", ""}));
    /* A NUL ends the line. */
    EXPECT_EQ(split(" +", std::string("A B\0C D", 7)), (Fields{"A", "B"}));
}

TEST(Fields, ShiftAndJoin) {
    Split split;
    split(" +", "STARTCHAR  Latin   capital A");
    bdf_shift(1, &split.list);
    EXPECT_EQ(split.fields(), (Fields{"Latin", "capital", "A"}));
    uint32_t length = 0;
    EXPECT_STREQ(bdf_join(' ', &split.list, &length), "Latin capital A");
    EXPECT_EQ(length, 15u);

    split(" +", "FONT a ");
    bdf_shift(1, &split.list);
    EXPECT_STREQ(bdf_join(' ', &split.list, nullptr), "a ");

    split(" +", "FONT");
    bdf_shift(1, &split.list);
    EXPECT_EQ(split.list.used, 0u);
    EXPECT_EQ(bdf_join(' ', &split.list, &length), nullptr);
    EXPECT_EQ(length, 0u);

    split(" +", "A B");
    bdf_shift(5, &split.list);
    EXPECT_EQ(split.list.used, 0u);

    /* Joining after a leading empty field stays inside the line. */
    split(" +", " x y");
    EXPECT_STREQ(bdf_join('-', &split.list, nullptr), "-x-y");
}

TEST(Fields, ManyFieldsGrowTheList) {
    Split split;
    std::string text;
    for (int i = 0; i < 10000; i++)
        text += std::to_string(i) + " ";
    Fields fields = split(" +", text);
    ASSERT_EQ(fields.size(), 10001u);
    EXPECT_EQ(fields[9999], "9999");
    EXPECT_EQ(fields[10000], "");
}

} // namespace
