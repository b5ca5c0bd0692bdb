#include "bdf.h"
#include "reader_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

/* The registry is process-wide: set up once for the whole test program. */
class RegistryEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { bdf_setup(); }
    void TearDown() override { bdf_cleanup(); }
};
const auto *const registry_environment =
    ::testing::AddGlobalTestEnvironment(new RegistryEnvironment);

FontPtr empty_font() {
    return load_font("STARTFONT 2.1\nFONT x\nSIZE 1 1 1\nFONTBOUNDINGBOX 1 1 0 0\nSTARTPROPERTIES 0\n"
                     "ENDPROPERTIES\nCHARS 0\nENDFONT\n");
}

TEST(Options, DefaultsAreTheTwelveWordsInOrder) {
    bdf_options options;
    memset(&options, 0x55, sizeof options);
    bdf_default_options(&options);
    const int32_t expected[12] = {0, 1, 1, 1, 1, 8, 12, 0, 0, 1, 1, 3};
    EXPECT_EQ(memcmp(&options, expected, sizeof expected), 0);
    bdf_default_options(nullptr);
    /* bdf_setup filled the global record. */
    EXPECT_EQ(memcmp(&bdf_global_options, expected, sizeof expected), 0);
}

TEST(Registry, PredefinedNamesKeepTheirFormats) {
    struct {
        const char *name;
        int32_t format;
    } cases[] = {{"ADD_STYLE_NAME", BDF_PROP_ATOM},     {"COMMENT", BDF_PROP_ATOM},
                 {"FONT", BDF_PROP_ATOM},               {"DEFAULT_CHAR", BDF_PROP_CARDINAL},
                 {"RAW_PIXEL_SIZE", BDF_PROP_INTEGER},  {"RAW_PIXELSIZE", BDF_PROP_INTEGER},
                 {"RESOLUTION", BDF_PROP_INTEGER},      {"RESOLUTION_X", BDF_PROP_CARDINAL},
                 {"RESOLUTION_Y", BDF_PROP_CARDINAL},   {"WEIGHT", BDF_PROP_CARDINAL},
                 {"SPACING", BDF_PROP_ATOM},            {"_MULE_RELATIVE_COMPOSE", BDF_PROP_INTEGER}};
    for (auto &c : cases) {
        bdf_property *prop = bdf_get_property(c.name);
        ASSERT_NE(prop, nullptr) << c.name;
        EXPECT_STREQ(prop->name, c.name);
        EXPECT_EQ(prop->format, c.format) << c.name;
        EXPECT_EQ(prop->builtin, 1);
    }
    EXPECT_EQ(bdf_get_property(nullptr), nullptr);
    EXPECT_EQ(bdf_get_property(""), nullptr);
    EXPECT_EQ(bdf_get_property("NO_SUCH_NAME_ANYWHERE"), nullptr);
}

TEST(Registry, CreatePropertyRegistersNewNamesOnce) {
    bdf_create_property("REGISTRY_TEST_NUMBER", BDF_PROP_INTEGER);
    bdf_property *prop = bdf_get_property("REGISTRY_TEST_NUMBER");
    ASSERT_NE(prop, nullptr);
    EXPECT_EQ(prop->format, BDF_PROP_INTEGER);
    EXPECT_EQ(prop->builtin, 0);
    /* The registry keeps its own copy of the name. */
    std::string name = "REGISTRY_TEST_COPY";
    bdf_create_property(name.c_str(), BDF_PROP_CARDINAL);
    EXPECT_NE(bdf_get_property("REGISTRY_TEST_COPY")->name, name.c_str());
    /* Known names keep their format. */
    bdf_create_property("REGISTRY_TEST_NUMBER", BDF_PROP_ATOM);
    EXPECT_EQ(bdf_get_property("REGISTRY_TEST_NUMBER")->format, BDF_PROP_INTEGER);
    bdf_create_property("FONT_ASCENT", BDF_PROP_ATOM);
    EXPECT_EQ(bdf_get_property("FONT_ASCENT")->format, BDF_PROP_INTEGER);
    /* Many names: every one stays findable with its own format. */
    for (int i = 0; i < 2000; i++)
        bdf_create_property(("REGISTRY_TEST_MANY_" + std::to_string(i)).c_str(), 1 + i % 3);
    for (int i = 0; i < 2000; i++) {
        bdf_property *p = bdf_get_property(("REGISTRY_TEST_MANY_" + std::to_string(i)).c_str());
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->format, 1 + i % 3);
    }
}

TEST(FontProperty, AddSetsValuesByFormatAndSpecialFields) {
    FontPtr font = empty_font();
    auto add = [&](const char *name, const char *value) { bdf_add_font_property(font.get(), name, value); };
    auto prop = [&](const char *name) { return bdf_get_font_property(font.get(), name); };
    /* More values by format, as the reader adds them: Properties.ValuesByFormatAndSpecialNames. */
    add("FOUNDRY", "Misc");
    add("RESOLUTION_X", "75");
    add("NOTICE", nullptr);
    EXPECT_STREQ(prop("FOUNDRY")->value.atom, "Misc");
    EXPECT_EQ(prop("RESOLUTION_X")->value.card32, 75u);
    EXPECT_EQ(prop("NOTICE")->value.atom, nullptr);
    /* Names point at the registry's strings. */
    EXPECT_EQ(prop("FOUNDRY")->name, bdf_get_property("FOUNDRY")->name);

    /* The load added FONT_ASCENT from the box (ascent 1); a second value
     * replaces the property but not the field. */
    EXPECT_EQ(font->font_ascent, 1);
    add("FONT_ASCENT", "20");
    EXPECT_EQ(prop("FONT_ASCENT")->value.int32, 20);
    EXPECT_EQ(font->font_ascent, 1);

    /* Unknown names become atoms, even with a number. */
    add("FONT_PROPERTY_TEST_NEW", "42");
    ASSERT_NE(prop("FONT_PROPERTY_TEST_NEW"), nullptr);
    EXPECT_EQ(prop("FONT_PROPERTY_TEST_NEW")->format, BDF_PROP_ATOM);
    EXPECT_STREQ(prop("FONT_PROPERTY_TEST_NEW")->value.atom, "42");
    EXPECT_EQ(prop("FONT_PROPERTY_TEST_NEW")->builtin, 0);
    EXPECT_EQ(bdf_get_property("FONT_PROPERTY_TEST_NEW")->format, BDF_PROP_ATOM);

    /* A replaced atom value. */
    add("FOUNDRY", "Other");
    EXPECT_STREQ(prop("FOUNDRY")->value.atom, "Other");
    add("FOUNDRY", "");
    EXPECT_EQ(prop("FOUNDRY")->value.atom, nullptr);

    /* Null and empty names, and no font, add and find nothing. */
    uint32_t used = font->props_used;
    add("", "x");
    add(nullptr, "x");
    bdf_add_font_property(nullptr, "FOUNDRY", "x");
    EXPECT_EQ(font->props_used, used);
    EXPECT_LE(font->props_used, font->props_size);
    EXPECT_EQ(prop(""), nullptr);
    EXPECT_EQ(bdf_get_font_property(nullptr, "FONT_ASCENT"), nullptr);

    /* A font record made by hand (zero-filled) gets its index on first use. */
    FontPtr bare((bdf_font *)calloc(1, sizeof(bdf_font)));
    bdf_add_font_property(bare.get(), "FONT_ASCENT", "14");
    bdf_add_font_property(bare.get(), "FONT_DESCENT", "3");
    EXPECT_EQ(bare->font_ascent, 14);
    EXPECT_EQ(bare->font_descent, 3);
    EXPECT_EQ(bdf_get_font_property(bare.get(), "FONT_DESCENT")->value.int32, 3);
}

TEST(FontProperty, SpacingFollowsTheFirstCharacter) {
    struct {
        const char *value;
        int32_t spacing;
    } cases[] = {{"c", 32}, {"C", 32}, {"M", 16}, {"monospaced", 16}, {"p", 8}, {"X", 8}, {"", 8}};
    for (auto &c : cases) {
        FontPtr font = empty_font();
        bdf_add_font_property(font.get(), "SPACING", c.value);
        EXPECT_EQ(font->spacing, c.spacing) << c.value;
    }
    FontPtr cell = empty_font();
    bdf_add_font_property(cell.get(), "SPACING", "C");
    bdf_add_font_property(cell.get(), "SPACING", "P"); /* a replacement changes no field */
    EXPECT_EQ(cell->spacing, 32);
}

TEST(FontProperty, ListAndIndexGrowTogether) {
    FontPtr font = empty_font();
    for (int i = 0; i < 500; i++)
        bdf_add_font_property(font.get(), ("FONT_PROPERTY_TEST_" + std::to_string(i)).c_str(),
                              std::to_string(i).c_str());
    for (int i = 0; i < 500; i++) {
        std::string name = "FONT_PROPERTY_TEST_" + std::to_string(i);
        EXPECT_STREQ(bdf_get_font_property(font.get(), name.c_str())->value.atom, std::to_string(i).c_str());
    }
}

} // namespace
