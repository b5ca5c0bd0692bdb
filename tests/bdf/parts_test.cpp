/* The library's parts below the reader: options, the property registry, a
 * font's property list, the string table and number parsing. */
#include "hash.h"
#include "numbers.h"
#include "reader_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

/* The registry is process-wide: set up once for the whole test program. */
class RegistryEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { bdf_setup(); }
    void TearDown() override { bdf_cleanup(); }
};
const auto *const registry_environment = ::testing::AddGlobalTestEnvironment(new RegistryEnvironment);

FontPtr empty_font() {
    return load_font("STARTFONT 2.1\nFONT x\nSIZE 1 1 1\nFONTBOUNDINGBOX 1 1 0 0\nSTARTPROPERTIES 0\n"
                     "ENDPROPERTIES\nCHARS 0\nENDFONT\n");
}

TEST(Options, DefaultsAreTheTwelveWordsInOrderAndTheGlobalRecordHasThem) {
    bdf_options options;
    memset(&options, 0x55, sizeof options);
    bdf_default_options(&options);
    const int32_t expected[12] = {0, 1, 1, 1, 1, 8, 12, 0, 0, 1, 1, 3};
    EXPECT_EQ(memcmp(&options, expected, sizeof expected), 0);
    bdf_default_options(nullptr);
    EXPECT_EQ(memcmp(&bdf_global_options, expected, sizeof expected), 0);
}

TEST(Registry, NamesKeepTheFormatTheyWereFirstRegisteredWith) {
    for (auto [name, format] : {std::pair{"FONT", BDF_PROP_ATOM}, {"_MULE_RELATIVE_COMPOSE", BDF_PROP_INTEGER}}) {
        bdf_property *prop = bdf_get_property(name);
        ASSERT_NE(prop, nullptr) << name;
        EXPECT_STREQ(prop->name, name);
        EXPECT_EQ(prop->format, format) << name;
        EXPECT_EQ(prop->builtin, 1);
    }
    for (const char *missing : {(const char *)nullptr, "", "NO_SUCH_NAME_ANYWHERE"})
        EXPECT_EQ(bdf_get_property(missing), nullptr);
    bdf_create_property(nullptr, BDF_PROP_ATOM);
    bdf_create_property("", BDF_PROP_ATOM);
    std::string name = "REGISTRY_TEST_COPY"; /* the registry keeps its own copy of the name */
    bdf_create_property(name.c_str(), BDF_PROP_CARDINAL);
    EXPECT_NE(bdf_get_property("REGISTRY_TEST_COPY")->name, name.c_str());
    EXPECT_EQ(bdf_get_property("REGISTRY_TEST_COPY")->builtin, 0);
    bdf_create_property("REGISTRY_TEST_COPY", BDF_PROP_ATOM);
    EXPECT_EQ(bdf_get_property("REGISTRY_TEST_COPY")->format, BDF_PROP_CARDINAL);
    bdf_create_property("FONT_ASCENT", BDF_PROP_ATOM);
    EXPECT_EQ(bdf_get_property("FONT_ASCENT")->format, BDF_PROP_INTEGER);
    for (int i = 0; i < 2000; i++)
        bdf_create_property(("REGISTRY_TEST_MANY_" + std::to_string(i)).c_str(), 1 + i % 3);
    for (int i = 0; i < 2000; i++) {
        bdf_property *p = bdf_get_property(("REGISTRY_TEST_MANY_" + std::to_string(i)).c_str());
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->format, 1 + i % 3);
    }
}

TEST(FontProperty, AddSetsValuesByFormatAndTheFieldsOfSpecialNamesOnce) {
    FontPtr font = empty_font();
    auto add = [&](const char *name, const char *value) { bdf_add_font_property(font.get(), name, value); };
    auto prop = [&](const char *name) { return bdf_get_font_property(font.get(), name); };
    add("FOUNDRY", "Misc");
    add("RESOLUTION_X", "75");
    EXPECT_STREQ(prop("FOUNDRY")->value.atom, "Misc");
    EXPECT_EQ(prop("RESOLUTION_X")->value.card32, 75u);
    EXPECT_EQ(prop("FOUNDRY")->name, bdf_get_property("FOUNDRY")->name);
    add("FOUNDRY", "");
    EXPECT_EQ(prop("FOUNDRY")->value.atom, nullptr);
    /* The load added FONT_ASCENT from the box; a second value replaces the
     * property but not the field. */
    EXPECT_EQ(font->font_ascent, 1);
    add("FONT_ASCENT", "20");
    EXPECT_EQ(prop("FONT_ASCENT")->value.int32, 20);
    EXPECT_EQ(font->font_ascent, 1);
    /* Unknown names become atoms, even with a number. */
    add("FONT_PROPERTY_TEST_NEW", "42");
    EXPECT_EQ(prop("FONT_PROPERTY_TEST_NEW")->format, BDF_PROP_ATOM);
    EXPECT_STREQ(prop("FONT_PROPERTY_TEST_NEW")->value.atom, "42");
    EXPECT_EQ(bdf_get_property("FONT_PROPERTY_TEST_NEW")->format, BDF_PROP_ATOM);
    /* Null and empty names, and no font, add and find nothing. */
    uint32_t used = font->props_used;
    add("", "x");
    add(nullptr, "x");
    bdf_add_font_property(nullptr, "FOUNDRY", "x");
    EXPECT_EQ(font->props_used, used);
    EXPECT_EQ(prop(""), nullptr);
    EXPECT_EQ(bdf_get_font_property(nullptr, "FONT_ASCENT"), nullptr);
    /* The list and its index grow together. */
    for (int i = 0; i < 500; i++)
        add(("FONT_PROPERTY_TEST_" + std::to_string(i)).c_str(), std::to_string(i).c_str());
    for (int i = 0; i < 500; i++)
        EXPECT_STREQ(prop(("FONT_PROPERTY_TEST_" + std::to_string(i)).c_str())->value.atom, std::to_string(i).c_str());
    /* A font record made by hand (zero-filled) gets its index on first use. */
    FontPtr bare((bdf_font *)calloc(1, sizeof(bdf_font)));
    bdf_add_font_property(bare.get(), "FONT_ASCENT", "14");
    bdf_add_font_property(bare.get(), "FONT_DESCENT", "3");
    EXPECT_EQ((std::array<int, 2>{bare->font_ascent, bare->font_descent}), (std::array<int, 2>{14, 3}));
    EXPECT_EQ(bdf_get_font_property(bare.get(), "FONT_DESCENT")->value.int32, 3);
    /* SPACING goes by its first character; a replacement changes no field. */
    for (auto [value, spacing] : {std::pair{"c", 32}, {"C", 32}, {"M", 16}, {"p", 8}, {"X", 8}, {"", 8}}) {
        FontPtr spaced = empty_font();
        bdf_add_font_property(spaced.get(), "SPACING", value);
        bdf_add_font_property(spaced.get(), "SPACING", "C");
        EXPECT_EQ(spaced->spacing, spacing) << value;
    }
}

TEST(Hash, KeepsEveryKeyAndGrowsAtTheEightyFirst) {
    bdf_hash hash{};
    ASSERT_TRUE(bdf_hash_init(&hash));
    auto shape = [&] { return std::array<int64_t, 3>{hash.size, hash.limit, hash.used}; };
    std::vector<std::string> keys;
    for (int i = 0; i < 400; i++)
        keys.push_back("KEY_" + std::to_string(i));
    for (int i = 0; i < 400; i++) {
        ASSERT_TRUE(bdf_hash_insert(keys[i].c_str(), i, &hash));
        if (i == 79 || i == 80)
            EXPECT_EQ(shape(), (std::array<int64_t, 3>{i == 79 ? 241 : 482, i == 79 ? 80 : 160, i + 1}));
    }
    ASSERT_TRUE(bdf_hash_insert("KEY_7", 1000, &hash)); /* a present key only changes its index */
    EXPECT_EQ(shape(), (std::array<int64_t, 3>{1928, 642, 400}));
    for (int i = 0; i < 400; i++)
        EXPECT_EQ((*bdf_hash_lookup(keys[i].c_str(), &hash))->index, i == 7 ? 1000 : i) << keys[i];
    EXPECT_EQ(*bdf_hash_lookup("KEY_", &hash), nullptr);
    bdf_hash_free(&hash);
}

TEST(Numbers, PrefixesSignsBasesAndWrapping) {
    /* 0x and U+ (any case) are hexadecimal, the short parser takes no U+; a
     * blank ends the number; any base but 8 and 16 is 10; values wrap. */
    struct {
        const char *text;
        int base;
        uint32_t as_unsigned;
        int32_t as_signed;
        int16_t as_short;
    } cases[] = {
        {"75", 10, 75, 75, 75},           {"0x1F", 10, 31, 31, 31},       {"0X1f", 10, 31, 31, 31},
        {"U+0041", 10, 65, 65, 0},        {"u-0041", 10, 65, 65, 0},      {"-12", 10, 0, -12, -12},
        {"-0x10", 10, 0, -16, -16},       {" 12", 10, 0, 0, 0},           {"+12", 10, 0, 0, 0},
        {"", 10, 0, 0, 0},                {nullptr, 10, 0, 0, 0},         {"4294967295", 10, 4294967295u, -1, -1},
        {"4294967296", 10, 0, 0, 0},      {"70000", 10, 70000, 70000, 4464}, {"17", 8, 15, 15, 15},
        {"19", 8, 1, 1, 1},               {"ff", 16, 255, 255, 255},      {"ff", 7, 0, 0, 0},
    };
    for (auto &c : cases) {
        EXPECT_EQ(bdf_parse_unsigned(c.text, nullptr, c.base), c.as_unsigned) << c.text << " base " << c.base;
        EXPECT_EQ(bdf_parse_signed(c.text, nullptr, c.base), c.as_signed) << c.text << " base " << c.base;
        EXPECT_EQ(bdf_parse_short(c.text, nullptr, c.base), c.as_short) << c.text << " base " << c.base;
    }
    const char *text = "-7 8", *end = nullptr;
    EXPECT_EQ(bdf_parse_signed(text, &end, 10), -7);
    EXPECT_EQ(end, text + 2);
    EXPECT_EQ(bdf_parse_unsigned(text + 3, &end, 10), 8u);
    EXPECT_EQ(end, text + 4);
}

} // namespace
