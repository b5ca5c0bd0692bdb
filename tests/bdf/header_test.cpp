/* The header and property lines of a BDF file. */
#include "reader_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string with_glyphs(const std::string &head) {
    return font_text(glyph("A", 65, "8 16 0 -4", blank_rows()), 1, head);
}

/* A header with the given FONT and SIZE lines and no properties. */
std::string bare_header(const std::string &font_line, const std::string &size_line,
                        const std::string &props = "", int prop_count = 0) {
    return "STARTFONT 2.1\n" + font_line + "\n" + size_line + "\nFONTBOUNDINGBOX 8 16 0 -4\n" +
           "STARTPROPERTIES " + std::to_string(prop_count) + "\n" + props + "ENDPROPERTIES\n";
}

TEST(Header, WellFormedFontLoadsWithoutMessages) {
    FontPtr font = load_font(with_glyphs(header()));
    EXPECT_EQ(messages(font), "");
    EXPECT_EQ(font->modified, 0);
    EXPECT_STREQ(font->name, "-Test-Fixed-Medium-R-Normal--16-160-75-75-P-80-ISO10646-1");
    EXPECT_EQ(font->resolution_x, 75u);
    EXPECT_EQ(font->resolution_y, 75u);
    EXPECT_EQ(font->spacing, BDF_SPACING_PROPORTIONAL);
    EXPECT_EQ(font->default_glyph, -1);
    EXPECT_EQ(box(font->bbx), (Box{8, 16, 0, -4, 12, 4}));
    EXPECT_EQ(font->font_ascent, 12);
    EXPECT_EQ(font->props_size, 2u);
}

TEST(Header, NoStartfontMeansNoFont) {
    EXPECT_FALSE(load_stream(""));
    EXPECT_FALSE(load_stream("FONT x\nSTARTFONT 2.1\n"));
    EXPECT_FALSE(load_stream("COMMENT only\nCOMMENT comments\n"));
    EXPECT_FALSE(load_stream("STARTFONT 2.1")); /* a last line without its end is not read */
    EXPECT_FALSE(bdf_load_font(nullptr, nullptr, nullptr, nullptr));
    EXPECT_FALSE(bdf_load_font_path(nullptr));
    EXPECT_FALSE(bdf_load_font_path("/nonexistent/font.bdf"));
    /* STARTFONT alone gives a font with the end-of-load message. */
    FontPtr font = load_font("STARTFONT 2.1\n");
    EXPECT_EQ(messages(font), "[line 2] Font header corrupted or missing fields.\n");
}

TEST(Header, CommentsAreKeptAfterStartfontOnly) {
    FontPtr font = load_font(with_glyphs(
        "COMMENT before\n" +
        bare_header("COMMENT first line\nCOMMENT\nCOMMENT \nCOMMENTARY x\nFONT f", "SIZE 16 75 75") +
        "COMMENT in glyphs\n"));
    EXPECT_EQ(comments(font), "first line\n\n\nRY x\nin glyphs\n");

    bdf_options options = default_options();
    options.keep_comments = 0;
    FontPtr dropped = load_font(
        with_glyphs(bare_header("COMMENT header\nFONT f", "SIZE 16 75 75") + "COMMENT glyphs\n"), &options);
    /* Comments in the glyph section are kept whatever the option says. */
    EXPECT_EQ(comments(dropped), "glyphs\n");
}

TEST(Header, OrderingErrorsStopTheLoadAtTheirLine) {
    struct {
        const char *text;
        const char *messages;
    } cases[] = {
        /* Skipped lines count in line numbers. */
        {"\n# a remark\n\x1A junk\nSTARTFONT 2.1\nFONT x\nFONTBOUNDINGBOX 8 16 0 -4\n",
         "[line 6] Missing \"SIZE\" line.\n[line 7] Font header corrupted or missing fields.\n"},
        {"STARTFONT 2.1\nSIZE 16 75 75\nFONT x\n",
         "[line 2] Missing \"FONT\" line.\n[line 3] Font header corrupted or missing fields.\n"},
        {"STARTFONT 2.1\nFONT x\nSIZE 16 75 75\nMETRICSSET 0\n",
         "[line 4] Missing \"FONTBOUNDINGBOX\" line.\n[line 5] Font header corrupted or missing fields.\n"},
        /* Straight to CHARS: an unknown keyword in the header, no message of its own. */
        {"STARTFONT 2.1\nFONT x\nSIZE 16 75 75\nFONTBOUNDINGBOX 8 16 0 -4\nCHARS 0\nENDFONT\n",
         "[line 6] Font header corrupted or missing fields.\n"},
    };
    for (auto &c : cases) {
        FontPtr font = load_font(c.text);
        EXPECT_EQ(messages(font), c.messages) << c.text;
    }
}

TEST(Header, SizeLineSetsBitsPerPixel) {
    struct {
        const char *size;
        uint16_t bpp;
        const char *messages;
    } cases[] = {
        {"SIZE 16 75 75", 1, ""},
        {"SIZE 16 75 75 1", 1, ""},
        {"SIZE 16 75 75 2", 2, ""},
        {"SIZE 16 75 75 4", 4, ""},
        {"SIZE 16 75 75 3", 4, "SIZE bits per pixel field adjusted to 4.\n"},
        {"SIZE 16 75 75 8", 4, "SIZE bits per pixel field adjusted to 4.\n"},
        {"SIZE 16 75 75 5", 4, "SIZE bits per pixel field adjusted to 4.\n"},
        /* A blank at the end is no bits-per-pixel field. */
        {"SIZE 16 75 75 ", 1, ""},
        {"SIZE 16 75 75 2 ", 2, ""},
        {"SIZE 16 75 75 2 9", 1, ""},
        /* 0 bits per pixel is read as 1 when the glyphs start. */
        {"SIZE 16 75 75 0", 1, "SIZE bits per pixel field adjusted to 1.\n"},
    };
    for (auto &c : cases) {
        FontPtr font = load_font(
            with_glyphs(bare_header("FONT x", c.size, "FONT_ASCENT 12\nFONT_DESCENT 4\n", 2)));
        EXPECT_EQ(font->bpp, c.bpp) << c.size;
        EXPECT_EQ(messages(font), c.messages) << c.size;
        EXPECT_EQ(font->point_size, 16);
    }
    /* Without any SIZE line the font is read as 1 bit per pixel too. */
    FontPtr font = load_font("STARTFONT 2.1\nSTARTPROPERTIES 0\nENDPROPERTIES\nCHARS 0\nENDFONT\n");
    EXPECT_EQ(font->bpp, 1);
    EXPECT_EQ(messages(font), "FONT_ASCENT property missing.  Added \"FONT_ASCENT 0\".\n"
                              "FONT_DESCENT property missing.  Added \"FONT_DESCENT 0\".\n"
                              "SIZE bits per pixel field adjusted to 1.\n");
}

TEST(Header, MetricsLinesOfTheHeader) {
    FontPtr font = load_font(with_glyphs(
        "STARTFONT 2.1\nFONT x\nSIZE 16 75 75\nFONTBOUNDINGBOX 8 16 0 -4\nMETRICSSET 2\n"
        "SWIDTH 500 0\nDWIDTH 9 0\nSWIDTH1 7 0\nDWIDTH1 3 0\nVVECTOR 4 -5\n"
        "STARTPROPERTIES 0\nENDPROPERTIES\n"));
    EXPECT_EQ((std::array<int, 7>{font->metrics_set, font->swidth, font->dwidth, font->swidth1,
                                  font->dwidth1, font->vvector_x, font->vvector_y}),
              (std::array<int, 7>{2, 500, 9, 7, 3, 4, -5}));
}

TEST(Header, FontNameAndSpacing) {
    struct {
        const char *font_line;
        const char *name;
        int32_t spacing;
    } cases[] = {
        {"FONT -Misc-Fixed-Medium-R-Normal--15-140-75-75-C-90-ISO10646-1",
         "-Misc-Fixed-Medium-R-Normal--15-140-75-75-C-90-ISO10646-1", 32},
        {"FONT -Misc-Fixed-Medium-R-Normal--15-140-75-75-m-90-ISO10646-1",
         "-Misc-Fixed-Medium-R-Normal--15-140-75-75-m-90-ISO10646-1", 16},
        {"FONT -Misc-Fixed-Medium-R-Normal--15-140-75-75-P-90-ISO10646-1",
         "-Misc-Fixed-Medium-R-Normal--15-140-75-75-P-90-ISO10646-1", 8},
        {"FONT -Misc-Fixed-Medium-R-Normal--15-140-75-75-X-90-ISO10646-1",
         "-Misc-Fixed-Medium-R-Normal--15-140-75-75-X-90-ISO10646-1", 16},
        {"FONT -a-b-C", "-a-b-C", 16},
        {"FONT  my   font ", "my font ", 16},
        /* Nothing after the keyword: no name. */
        {"FONT", nullptr, 16},
        {"FONT   ", nullptr, 16},
    };
    bdf_options options = default_options();
    options.font_spacing = BDF_SPACING_MONO;
    for (auto &c : cases) {
        FontPtr font = load_font(font_text("", 0, bare_header(c.font_line, "SIZE 16 75 75")), &options);
        EXPECT_EQ(font->name ? std::string(font->name) : "(null)", c.name ? c.name : "(null)");
        EXPECT_EQ(font->spacing, c.spacing) << c.font_line;
    }
}

TEST(Properties, ValuesByFormatAndSpecialNames) {
    FontPtr font = load_font(with_glyphs(header(
        "COPYRIGHT \"Public domain \"\"font\"\"\"\n"
        "FOUNDRY   Misc  Fonts\t \n"
        "FONT_ASCENT 14\n"
        "FONT_DESCENT 2\n"
        "PIXEL_SIZE\t16\n"
        "POINT_SIZE 160 extra\n"
        "DEFAULT_CHAR 0x20\n"
        "SPACING \"C\"\n"
        "MY_PRIVATE_NUMBER 42\n"
        "NOTICE \"\"\n"
        "COMMENT inside the block\n"
        "COMMENT\n"
        "_XFREE86_GLYPH_RANGES 0_255\n"
        "CHARS 5\n",
        20)));
    EXPECT_EQ(messages(font), "");
    auto prop = [&](const char *name) { return bdf_get_font_property(font.get(), name); };
    EXPECT_STREQ(prop("COPYRIGHT")->value.atom, "Public domain \"\"font\"\"");
    EXPECT_STREQ(prop("FOUNDRY")->value.atom, "Misc  Fonts");
    EXPECT_EQ(prop("FONT_ASCENT")->value.int32, 14);
    EXPECT_EQ(font->font_ascent, 14);
    EXPECT_EQ(font->font_descent, 2);
    EXPECT_EQ(prop("PIXEL_SIZE")->value.int32, 16);
    EXPECT_EQ(prop("POINT_SIZE")->value.int32, 160);
    /* Numbers take a hexadecimal prefix. */
    EXPECT_EQ(prop("DEFAULT_CHAR")->value.card32, 32u);
    EXPECT_EQ(font->default_glyph, 32);
    EXPECT_EQ(font->spacing, BDF_SPACING_CELL);
    ASSERT_NE(prop("MY_PRIVATE_NUMBER"), nullptr);
    EXPECT_EQ(prop("MY_PRIVATE_NUMBER")->format, BDF_PROP_ATOM);
    EXPECT_STREQ(prop("MY_PRIVATE_NUMBER")->value.atom, "42");
    EXPECT_EQ(prop("NOTICE")->value.atom, nullptr);
    EXPECT_EQ(prop("_XFREE86_GLYPH_RANGES"), nullptr);
    /* Inside the block every line is a property, CHARS too. */
    EXPECT_STREQ(prop("CHARS")->value.atom, "5");
    /* COMMENT lines are properties in file order that are never found. */
    EXPECT_EQ(prop("COMMENT"), nullptr);
    ASSERT_EQ(font->props_used, 13u);
    EXPECT_STREQ(font->props[10].name, "COMMENT");
    EXPECT_STREQ(font->props[10].value.atom, "inside the block");
    EXPECT_EQ(font->props[11].value.atom, nullptr);
    /* 20 declared, 13 held. */
    EXPECT_EQ(font->props_size, 20u);
}

TEST(Properties, MissingAscentAndDescentComeFromTheBox) {
    FontPtr font = load_font(with_glyphs(header("FOUNDRY \"x\"\n", 1)));
    EXPECT_EQ(messages(font), "FONT_ASCENT property missing.  Added \"FONT_ASCENT 12\".\n"
                              "FONT_DESCENT property missing.  Added \"FONT_DESCENT 4\".\n");
    EXPECT_EQ(font->modified, 1);
    EXPECT_EQ(font->font_ascent, 12);
    EXPECT_EQ(font->font_descent, 4);
    EXPECT_EQ(bdf_get_font_property(font.get(), "FONT_DESCENT")->value.int32, 4);
    EXPECT_EQ(font->props_used, 3u);
}

TEST(Properties, FirstFormatOfANameStaysForTheRun) {
    /* A name first met as an atom stays an atom, even where a later file
     * gives it a number. */
    FontPtr first = load_font(with_glyphs(header("PROPERTIES_TEST_LATER \"text\"\n", 1)));
    FontPtr second = load_font(with_glyphs(header("PROPERTIES_TEST_LATER 12\n", 1)));
    bdf_property *prop = bdf_get_font_property(second.get(), "PROPERTIES_TEST_LATER");
    ASSERT_NE(prop, nullptr);
    EXPECT_EQ(prop->format, BDF_PROP_ATOM);
    EXPECT_STREQ(prop->value.atom, "12");
    EXPECT_EQ(prop->name, bdf_get_font_property(first.get(), "PROPERTIES_TEST_LATER")->name);
}

} // namespace
