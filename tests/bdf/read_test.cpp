/* Reading: the header, properties and glyphs of a font, the corrections the
 * reader makes and reports, and what stops a load. */
#include "reader_support.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;
Bytes bitmap(const bdf_glyph &g) { return Bytes(g.bitmap, g.bitmap + g.bytes); }

TEST(Reader, AWellFormedFontLoadsWithoutMessages) {
    FontPtr font = load_font("COMMENT before\nSTARTFONT 2.1\nCOMMENT first\nCOMMENT\nCOMMENTARY x\n" +
                             font_text(glyph("C", 67) + glyph("A", 65, "8 16 0 -4", "FF\n") + glyph("u", -1) + glyph("v", -7),
                                       4,
                                       header("COPYRIGHT \"Public domain \"\"font\"\"\"\nFOUNDRY   Misc  Fonts\t \n"
                                              "FONT_ASCENT 12\nFONT_DESCENT 4\nPIXEL_SIZE\t16\nDEFAULT_CHAR 0x20\n"
                                              "MY_PRIVATE_NUMBER 42\nNOTICE \"\"\nCOMMENT inside the block\n"
                                              "_XFREE86_GLYPH_RANGES 0_255\nCHARS 5\n",
                                              20))
                                 .substr(14));
    EXPECT_EQ(messages(font), "");
    EXPECT_EQ(font->modified, 0);
    EXPECT_EQ(comments(font), "first\n\nRY x\n");
    EXPECT_STREQ(font->name, "-Test-Fixed-Medium-R-Normal--16-160-75-75-P-80-ISO10646-1");
    EXPECT_EQ((std::array<int, 8>{font->point_size, (int)font->resolution_x, (int)font->resolution_y, font->bpp,
                                  font->spacing, font->default_glyph, font->font_ascent, (int)font->props_size}),
              (std::array<int, 8>{16, 75, 75, 1, BDF_SPACING_PROPORTIONAL, 32, 12, 20}));
    EXPECT_EQ(box(font->bbx), (Box{8, 16, 0, -4, 12, 4}));
    auto atom = [&](const char *name) {
        bdf_property *p = bdf_get_font_property(font.get(), name);
        return !p ? "(none)" : p->format != BDF_PROP_ATOM ? std::to_string(p->value.int32) : p->value.atom ?: "(null)";
    };
    /* Unknown names are atoms; inside the block every line is a property;
     * COMMENT lines are properties in file order that are never found. */
    EXPECT_EQ((Names{atom("COPYRIGHT"), atom("FOUNDRY"), atom("PIXEL_SIZE"), atom("DEFAULT_CHAR"),
                     atom("MY_PRIVATE_NUMBER"), atom("NOTICE"), atom("_XFREE86_GLYPH_RANGES"), atom("CHARS"),
                     atom("COMMENT")}),
              (Names{"Public domain \"\"font\"\"", "Misc  Fonts", "16", "32", "42", "(null)", "(none)", "5", "(none)"}));
    ASSERT_EQ(font->props_used, 10u);
    EXPECT_STREQ(font->props[8].value.atom, "inside the block");
    EXPECT_EQ(names(font->glyphs, font->glyphs_used), (Names{"A 65", "C 67"}));
    /* In the unencoded list the encoding is the position. */
    EXPECT_EQ(names(font->unencoded, font->unencoded_used), (Names{"u 0", "v 1"}));
    EXPECT_EQ(bitmap(font->glyphs[0])[0], 0xFF);
    EXPECT_EQ(box(font->glyphs[0].bbx), (Box{8, 16, 0, -4, 12, 4}));

    bdf_options options;
    bdf_default_options(&options);
    options.keep_comments = options.keep_unencoded = 0;
    FontPtr dropped = load_font(
        "STARTFONT 2.1\nCOMMENT h\n" + font_text(glyph("A", 65) + glyph("u", -1), 2, header() + "COMMENT g\n").substr(14),
        &options);
    EXPECT_EQ(comments(dropped), "g\n"); /* comments in the glyph section are kept whatever the option */
    EXPECT_EQ(names(dropped->glyphs, dropped->glyphs_used), Names{"A 65"});
    EXPECT_EQ(dropped->unencoded_used, 0u);
    EXPECT_EQ(messages(dropped), "Incorrect glyph count: 2 indicated but 1 found.\n");
}

TEST(Reader, MissingOrMisplacedLinesStopTheLoadAtTheirLine) {
    EXPECT_FALSE(load_font("FONT x\nSTARTFONT 2.1")); /* a last line without its end is not read */
    EXPECT_FALSE(bdf_load_font(nullptr, nullptr, nullptr, nullptr));
    EXPECT_FALSE(bdf_load_font_path(nullptr));
    const std::string glyphs = header() + "CHARS 1\n" + glyph("A", 65);
    struct { std::string text, messages; uint32_t stop_line; } cases[] = {
        /* Skipped lines count in line numbers. */
        {"\n# a remark\n\x1A junk\nSTARTFONT 2.1\nFONT x\nFONTBOUNDINGBOX 8 16 0 -4\n",
         "[line 6] Missing \"SIZE\" line.\n[line 7] Font header corrupted or missing fields.\n", 6},
        /* Straight to CHARS: an unknown keyword in the header, no message of its own. */
        {"STARTFONT 2.1\nFONT x\nSIZE 16 75 75\nFONTBOUNDINGBOX 8 16 0 -4\nCHARS 0\nENDFONT\n",
         "[line 6] Font header corrupted or missing fields.\n", 5},
        {header() + "CHARS 1\nSTARTCHAR A\nSWIDTH 480 0\n",
         "[line 11] Missing \"ENCODING\" line.\nIncorrect glyph count: 1 indicated but 0 found.\n"
         "[line 12] Font glyphs corrupted or missing fields.\n", 11},
        {glyphs + "BITMAP\n", "[line 17] Missing \"BBX\" line.\n[line 18] Font glyphs corrupted or missing fields.\n", 17},
        /* Ends after the last ENDCHAR, or in an unfinished ENDFONT line. */
        {glyphs + "ENDFONT", "[line 17] Font glyphs corrupted or missing fields.\n", 17},
        {glyphs + "ENDFONT\n", "", 0},
    };
    for (auto &c : cases) {
        FontPtr font = load_font(c.text);
        EXPECT_EQ(messages(font), c.messages) << c.text;
        EXPECT_EQ(font ? font->stop_line : 99, c.stop_line) << c.text;
    }
}

TEST(Reader, CorrectionsAreMadeAndReported) {
    struct { std::string text, messages; Box font_box; int modified = 1; } cases[] = {
        /* A depth adjustment alone leaves the font unmodified. */
        {font_text(glyph("A", 65), 1, header("FONT_ASCENT 12\nFONT_DESCENT 4\n", 2, "16 75 75 3")),
         "SIZE bits per pixel field adjusted to 4.\n", {8, 16, 0, -4, 12, 4}, 0},
        {font_text(glyph("A", 65) + glyph("B", 65) + glyph("D", 2147483647) + glyph("E", 2147483647) +
                       "STARTCHAR\nENCODING 66\nENDCHAR\nSTARTCHAR\nENCODING 66\nENDCHAR\n", 7),
         "Duplicate encoding 65 (B) changed to unencoded.\nDuplicate encoding 2147483647 (E) changed to unencoded.\n"
         "Duplicate encoding 66 ((null)) changed to unencoded.\nIncorrect glyph count: 7 indicated but 6 found.\n",
         {8, 16, 0, -4, 12, 4}},
        /* Lines: 1-8 header, 9 CHARS, 10 BBX, 11 STARTCHAR, 12 ENCODING, 13 SWIDTH, 14 BBX, 15-17 BITMAP
         * and rows, 18 ENDCHAR, 19 STARTCHAR, 20 ENCODING, 21 DWIDTH. */
        {header() + "CHARS 2\nBBX 40 40 -9 -9\nSTARTCHAR A\nENCODING 65\nSWIDTH 480 0\nBBX 10 1 0 0\n"
                    "BITMAP\nFFC01\n80C0\nENDCHAR\nSTARTCHAR B\nENCODING 66\nDWIDTH 7 0\nBBX 8 16 0 -4\nBITMAP\n"
                    "ENDCHAR\nENDFONT\n",
         "[line 10] \"BBX\" line outside a glyph ignored.\nDWIDTH field missing at line 14.  Set to glyph width.\n"
         "Glyph 65 extra columns removed.\nGlyph 65 extra rows removed.\n"
         "SWIDTH field missing at line 21.  Set automatically.\nFont width != actual width.  Old: 8 New: 10.\n"
         "Glyph scalable width (SWIDTH) adjustments made.\n", {10, 16, 0, -4, 12, 4}},
    };
    for (auto &c : cases) {
        FontPtr font = load_font(c.text);
        EXPECT_EQ(messages(font), c.messages) << c.text;
        EXPECT_EQ(font->modified, c.modified) << c.text;
        EXPECT_EQ(box(font->bbx), c.font_box) << c.text;
    }
    FontPtr demoted = load_font(cases[1].text);
    EXPECT_EQ(names(demoted->glyphs, demoted->glyphs_used), (Names{"A 65", "(null) 66", "D 2147483647"}));
    EXPECT_EQ(names(demoted->unencoded, demoted->unencoded_used), (Names{"B 0", "E 1", "(null) 2"}));
    FontPtr widths = load_font(cases[2].text);
    EXPECT_EQ((std::array<int, 4>{widths->glyphs[0].dwidth, widths->glyphs[0].swidth, widths->glyphs[1].dwidth,
                                  widths->glyphs[1].swidth}),
              (std::array<int, 4>{10, 600, 7, 420}));
    EXPECT_EQ(bitmap(widths->glyphs[0]), (Bytes{0xFF, 0xC0}));
    EXPECT_EQ(bitmap(widths->glyphs[1]), Bytes(16, 0)); /* missing rows read as 0 */
}

TEST(Reader, BitmapRowsAreReadIntoTheBox) {
    struct { const char *size, *bbx, *rows; Bytes bitmap; } cases[] = {
        /* Whatever follows a row's digits is not read. */
        {"16 75 75", "10 2 0 0", "12C0 \n5678\tx\n", {0x12, 0xC0, 0x56, 0x78}},
        /* Short rows and characters that are no hexadecimal digits read as 0. */
        {"16 75 75", "10 4 0 0", "F\nFF\nG1zz\nab\n", {0xF0, 0x00, 0xFF, 0x00, 0x01, 0x00, 0xAB, 0x00}},
        /* Deeper pixels use wider rows. */
        {"16 75 75 2", "5 2 0 0", "FFC0\n1B80\n", {0xFF, 0xC0, 0x1B, 0x80}},
        {"16 75 75 4", "3 2 0 0", "F0A0\n0F5\n", {0xF0, 0xA0, 0x0F, 0x50}},
    };
    for (auto &c : cases) {
        FontPtr font = load_font(
            font_text(glyph("A", 65, c.bbx, c.rows), 1, header("FONT_ASCENT 0\nFONT_DESCENT 0\n", 2, c.size, c.bbx)));
        EXPECT_EQ(bitmap(font->glyphs[0]), c.bitmap) << c.rows;
        EXPECT_EQ(messages(font), "") << c.rows;
    }
}

} // namespace
