/* The header and property lines, and what stops a load. */
#include "reader_support.h"

#include <gtest/gtest.h>

namespace {

std::string with_glyph(const std::string &head) { return font_text(glyph("A", 65), 1, head); }

TEST(Header, WellFormedHeaderAndItsMetricsLines) {
    FontPtr font = load_font(with_glyph(header()));
    EXPECT_EQ(messages(font), "");
    EXPECT_EQ(font->modified, 0);
    EXPECT_STREQ(font->name, "-Test-Fixed-Medium-R-Normal--16-160-75-75-P-80-ISO10646-1");
    EXPECT_EQ((std::array<int, 6>{font->point_size, (int)font->resolution_x, (int)font->resolution_y,
                                  font->spacing, font->default_glyph, (int)font->props_size}),
              (std::array<int, 6>{16, 75, 75, BDF_SPACING_PROPORTIONAL, -1, 2}));
    EXPECT_EQ(box(font->bbx), (Box{8, 16, 0, -4, 12, 4}));
    FontPtr metrics = load_font("STARTFONT 2.1\nFONT x\nSIZE 16 75 75\nFONTBOUNDINGBOX 8 16 0 -4\nMETRICSSET 2\n"
                                "SWIDTH 500 0\nDWIDTH 9 0\nSWIDTH1 7 0\nDWIDTH1 3 0\nVVECTOR 4 -5\n");
    EXPECT_EQ((std::array<int, 7>{metrics->metrics_set, metrics->swidth, metrics->dwidth, metrics->swidth1,
                                  metrics->dwidth1, metrics->vvector_x, metrics->vvector_y}),
              (std::array<int, 7>{2, 500, 9, 7, 3, 4, -5}));
}

TEST(Header, MissingAndMisplacedLinesStopTheLoadAtTheirLine) {
    EXPECT_FALSE(load_stream(""));
    EXPECT_FALSE(load_stream("FONT x\nSTARTFONT 2.1")); /* a last line without its end is not read */
    EXPECT_FALSE(bdf_load_font(nullptr, nullptr, nullptr, nullptr));
    EXPECT_FALSE(bdf_load_font_path(nullptr));
    EXPECT_FALSE(bdf_load_font_path("/nonexistent/font.bdf"));
    const std::string head = header();
    struct {
        std::string text, messages;
        uint32_t stop_line;
    } cases[] = {
        {"STARTFONT 2.1\n", "[line 2] Font header corrupted or missing fields.\n", 2},
        /* Skipped lines count in line numbers. */
        {"\n# a remark\n\x1A junk\nSTARTFONT 2.1\nFONT x\nFONTBOUNDINGBOX 8 16 0 -4\n",
         "[line 6] Missing \"SIZE\" line.\n[line 7] Font header corrupted or missing fields.\n", 6},
        {"STARTFONT 2.1\nSIZE 16 75 75\n",
         "[line 2] Missing \"FONT\" line.\n[line 3] Font header corrupted or missing fields.\n", 2},
        {"STARTFONT 2.1\nFONT x\nSIZE 16 75 75\nMETRICSSET 0\n",
         "[line 4] Missing \"FONTBOUNDINGBOX\" line.\n[line 5] Font header corrupted or missing fields.\n", 4},
        /* Straight to CHARS: an unknown keyword in the header, no message of its own. */
        {"STARTFONT 2.1\nFONT x\nSIZE 16 75 75\nFONTBOUNDINGBOX 8 16 0 -4\nCHARS 0\nENDFONT\n",
         "[line 6] Font header corrupted or missing fields.\n", 5},
        /* The count compared is still the STARTPROPERTIES one. */
        {head + "STARTCHAR A\n", "[line 9] Missing \"CHARS\" line.\nIncorrect glyph count: 2 indicated but 0 "
                                 "found.\n[line 10] Font header corrupted or missing fields.\n", 9},
        {head + "CHARS 1\nENCODING 65\n", "[line 10] Missing \"STARTCHAR\" line.\nIncorrect glyph count: 1 "
                                          "indicated but 0 found.\n[line 11] Font glyphs corrupted or missing fields.\n",
         10},
        {head + "CHARS 1\nSTARTCHAR A\nSWIDTH 480 0\n",
         "[line 11] Missing \"ENCODING\" line.\nIncorrect glyph count: 1 indicated but 0 found.\n"
         "[line 12] Font glyphs corrupted or missing fields.\n", 11},
        {head + "CHARS 1\nSTARTCHAR A\nENCODING 65\nBITMAP\n",
         "[line 12] Missing \"BBX\" line.\n[line 13] Font glyphs corrupted or missing fields.\n", 12},
        {head + "CHARS 1\nSTARTCHAR A\nENCODING 65\nWHATEVER 1\n",
         "[line 13] Font glyphs corrupted or missing fields.\n", 12},
        /* Between glyphs too. */
        {head + "CHARS 1\n" + glyph("A", 65) + "BITMAP\n",
         "[line 17] Missing \"BBX\" line.\n[line 18] Font glyphs corrupted or missing fields.\n", 17},
        /* Ends after the last ENDCHAR, or in an unfinished ENDFONT line. */
        {head + "CHARS 1\n" + glyph("A", 65) + "ENDFONT", "[line 17] Font glyphs corrupted or missing fields.\n", 17},
        {head + "CHARS 1\n" + glyph("A", 65) + "ENDFONT\n", "", 0},
    };
    for (auto &c : cases) {
        FontPtr font = load_font(c.text);
        EXPECT_EQ(messages(font), c.messages) << c.text;
        EXPECT_EQ(font->stop_line, c.stop_line) << c.text;
    }
}

TEST(Header, CommentsAreKeptFromStartfontOnAndInTheGlyphsWhateverTheOption) {
    std::string text = with_glyph("COMMENT before\nSTARTFONT 2.1\nCOMMENT first line\nCOMMENT\nCOMMENT \n"
                                  "COMMENTARY x\nFONT f\nSIZE 16 75 75\nFONTBOUNDINGBOX 8 16 0 -4\n"
                                  "STARTPROPERTIES 0\nENDPROPERTIES\nCOMMENT in glyphs\n");
    EXPECT_EQ(comments(load_font(text)), "first line\n\n\nRY x\nin glyphs\n");
    bdf_options options;
    bdf_default_options(&options);
    options.keep_comments = 0;
    EXPECT_EQ(comments(load_font(text, &options)), "in glyphs\n");
}

TEST(Header, SizeLineSetsPointSizeAndBitsPerPixel) {
    struct {
        const char *size;
        uint16_t bpp;
        const char *messages;
    } cases[] = {
        {"16 75 75", 1, ""}, {"16 75 75 2", 2, ""}, {"16 75 75 4", 4, ""},
        {"16 75 75 3", 4, "SIZE bits per pixel field adjusted to 4.\n"},
        {"16 75 75 8", 4, "SIZE bits per pixel field adjusted to 4.\n"},
        /* A blank at the end is no bits-per-pixel field, nor is a sixth field. */
        {"16 75 75 ", 1, ""}, {"16 75 75 2 ", 2, ""}, {"16 75 75 2 9", 1, ""},
        {"16 75 75 0", 1, "SIZE bits per pixel field adjusted to 1.\n"},
    };
    for (auto &c : cases) {
        FontPtr font = load_font(with_glyph(header("FONT_ASCENT 12\nFONT_DESCENT 4\n", 2, c.size)));
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

TEST(Header, FontNameAndTheSpacingItGives) {
    struct {
        const char *font_line, *name;
        int32_t spacing;
    } cases[] = {
        {"FONT -Misc-Fixed-Medium-R-Normal--15-140-75-75-C-90-ISO10646-1",
         "-Misc-Fixed-Medium-R-Normal--15-140-75-75-C-90-ISO10646-1", 32},
        {"FONT -a-b-c-d-e--1-2-3-4-m-5-f-g", "-a-b-c-d-e--1-2-3-4-m-5-f-g", 16},
        {"FONT -a-b-c-d-e--1-2-3-4-P-5-f-g", "-a-b-c-d-e--1-2-3-4-P-5-f-g", 8},
        {"FONT -a-b-c-d-e--1-2-3-4-X-5-f-g", "-a-b-c-d-e--1-2-3-4-X-5-f-g", 16},
        {"FONT -a-b-C", "-a-b-C", 16},
        {"FONT  my   font ", "my font ", 16},
        {"FONT   ", "(null)", 16},
    };
    bdf_options options;
    bdf_default_options(&options);
    options.font_spacing = BDF_SPACING_MONO;
    for (auto &c : cases) {
        FontPtr font = load_font("STARTFONT 2.1\n" + std::string(c.font_line) + "\n", &options);
        EXPECT_EQ(font->name ? std::string(font->name) : "(null)", c.name);
        EXPECT_EQ(font->spacing, c.spacing) << c.font_line;
    }
}

TEST(Properties, ValuesByFormatAndSpecialNames) {
    FontPtr font = load_font(with_glyph(header("COPYRIGHT \"Public domain \"\"font\"\"\"\n"
                                               "FOUNDRY   Misc  Fonts\t \nFONT_ASCENT 14\nFONT_DESCENT 2\n"
                                               "PIXEL_SIZE\t16\nPOINT_SIZE 160 extra\nDEFAULT_CHAR 0x20\n"
                                               "SPACING \"C\"\nMY_PRIVATE_NUMBER 42\nNOTICE \"\"\n"
                                               "COMMENT inside the block\nCOMMENT\n_XFREE86_GLYPH_RANGES 0_255\n"
                                               "CHARS 5\n",
                                               20)));
    EXPECT_EQ(messages(font), "");
    auto prop = [&](const char *name) { return bdf_get_font_property(font.get(), name); };
    EXPECT_STREQ(prop("COPYRIGHT")->value.atom, "Public domain \"\"font\"\"");
    EXPECT_STREQ(prop("FOUNDRY")->value.atom, "Misc  Fonts");
    EXPECT_EQ(prop("FONT_ASCENT")->value.int32, 14);
    EXPECT_EQ((std::array<int, 4>{font->font_ascent, font->font_descent, prop("PIXEL_SIZE")->value.int32,
                                  prop("POINT_SIZE")->value.int32}),
              (std::array<int, 4>{14, 2, 16, 160}));
    EXPECT_EQ(prop("DEFAULT_CHAR")->value.card32, 32u);
    EXPECT_EQ(font->default_glyph, 32);
    EXPECT_EQ(font->spacing, BDF_SPACING_CELL);
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
    EXPECT_EQ(font->props_size, 20u);
}

TEST(Properties, MissingAscentAndDescentComeFromTheBoxAndAFirstFormatStays) {
    FontPtr font = load_font(with_glyph(header("PROPERTIES_TEST_LATER \"text\"\n", 1)));
    EXPECT_EQ(messages(font), "FONT_ASCENT property missing.  Added \"FONT_ASCENT 12\".\n"
                              "FONT_DESCENT property missing.  Added \"FONT_DESCENT 4\".\n");
    EXPECT_EQ(font->modified, 1);
    EXPECT_EQ(font->font_ascent, 12);
    EXPECT_EQ(bdf_get_font_property(font.get(), "FONT_DESCENT")->value.int32, 4);
    EXPECT_EQ(font->props_used, 3u);
    /* A name first met as an atom stays one, though a later file gives a number. */
    FontPtr second = load_font(with_glyph(header("PROPERTIES_TEST_LATER 12\n", 1)));
    bdf_property *prop = bdf_get_font_property(second.get(), "PROPERTIES_TEST_LATER");
    EXPECT_EQ(prop->format, BDF_PROP_ATOM);
    EXPECT_STREQ(prop->value.atom, "12");
    EXPECT_EQ(prop->name, bdf_get_font_property(font.get(), "PROPERTIES_TEST_LATER")->name);
}

} // namespace
