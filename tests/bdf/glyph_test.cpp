/* The glyph section: glyph blocks, widths, bitmaps and the end-of-load checks. */
#include "reader_support.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;
using Widths = std::vector<std::pair<int, int>>;

Bytes bitmap(const bdf_glyph &g) { return Bytes(g.bitmap, g.bitmap + g.bytes); }

/* {dwidth, swidth} of each encoded glyph. */
Widths widths(const FontPtr &font) {
    Widths out;
    for (uint32_t i = 0; i < font->glyphs_used; i++)
        out.push_back({font->glyphs[i].dwidth, font->glyphs[i].swidth});
    return out;
}

TEST(Glyphs, EncodedGlyphsAreSortedRepeatsDemotedAndUnencodedOnesKeptOrDropped) {
    std::string text = font_text(glyph("C", 67) + glyph("A", 65, "8 16 0 -4", "FF\n") + glyph("B", 65) +
                                     glyph("D", 2147483647) + glyph("E", 2147483647) + glyph("minus", -1) +
                                     "STARTCHAR\nENCODING 66\nENDCHAR\nSTARTCHAR\nENCODING 66\nENDCHAR\n",
                                 8);
    FontPtr font = load_font(text);
    EXPECT_EQ(messages(font), "Duplicate encoding 65 (B) changed to unencoded.\n"
                              "Duplicate encoding 2147483647 (E) changed to unencoded.\n"
                              "Duplicate encoding 66 ((null)) changed to unencoded.\n");
    EXPECT_EQ(font->modified, 1);
    EXPECT_EQ(encoded(font), (Names{"A 65", "(null) 66", "C 67", "D 2147483647"}));
    EXPECT_EQ(box(font->glyphs[0].bbx), (Box{8, 16, 0, -4, 12, 4}));
    EXPECT_EQ(bitmap(font->glyphs[0])[0], 0xFF);
    /* In the unencoded list the encoding is the position. */
    EXPECT_EQ(unencoded(font), (Names{"B 0", "E 1", "minus 2", "(null) 3"}));
    EXPECT_EQ(font->unencoded[0].bytes, 16u); /* the demoted glyph kept its own lines */
    EXPECT_LE(font->unencoded_used, font->unencoded_size);

    bdf_options options;
    bdf_default_options(&options);
    options.keep_unencoded = 0;
    FontPtr dropped = load_font(font_text(glyph("A", 65) + glyph("minus", -1, "8 16 0 -4", "FF\n") +
                                              glyph("other", -7) + glyph("B", 66),
                                          4),
                                &options);
    EXPECT_EQ(dropped->unencoded_used, 0u);
    EXPECT_EQ(encoded(dropped), (Names{"A 65", "B 66"}));
    EXPECT_EQ(messages(dropped), "Incorrect glyph count: 4 indicated but 2 found.\n");
}

TEST(Glyphs, WidthsAreFilledInFromTheBoxTheFontOrThePointSize) {
    /* Lines: 1-8 header, 9 CHARS, 10 STARTCHAR, 11 ENCODING, 12 SWIDTH, 13 BBX,
     * 14 BITMAP, 15 ENDCHAR, 16 STARTCHAR, 17 ENCODING, 18 DWIDTH. */
    FontPtr font = load_font(header() + "CHARS 2\nSTARTCHAR A\nENCODING 65\nSWIDTH 480 0\nBBX 8 16 0 -4\n"
                                        "BITMAP\nENDCHAR\nSTARTCHAR B\nENCODING 66\nDWIDTH 7 0\n"
                                        "BBX 8 16 0 -4\nBITMAP\nENDCHAR\nENDFONT\n");
    EXPECT_EQ(messages(font), "DWIDTH field missing at line 13.  Set to glyph width.\n"
                              "SWIDTH field missing at line 18.  Set automatically.\n");
    EXPECT_EQ(widths(font), (Widths{{8, 480}, {7, 420}}));
    EXPECT_EQ(bitmap(font->glyphs[0]), Bytes(16, 0)); /* missing rows read as 0 */

    std::string with_set = "STARTFONT 2.1\nFONT test\nSIZE 16 75 75\nFONTBOUNDINGBOX 8 16 0 -4\n"
                           "METRICSSET 1\nSWIDTH 700 0\nDWIDTH 9 0\nSTARTPROPERTIES 2\nFONT_ASCENT 12\n"
                           "FONT_DESCENT 4\nENDPROPERTIES\n"
                           "CHARS 1\nSTARTCHAR A\nENCODING 65\nBBX 8 16 0 -4\nBITMAP\nENDCHAR\nENDFONT\n";
    FontPtr set = load_font(with_set);
    EXPECT_EQ(widths(set), (Widths{{9, 540}})); /* SWIDTH 700 follows the width rule */
    EXPECT_EQ(messages(set), "Glyph scalable width (SWIDTH) adjustments made.\n");
    bdf_options options;
    bdf_default_options(&options);
    options.correct_metrics = 0;
    FontPtr uncorrected = load_font(with_set, &options);
    EXPECT_EQ(widths(uncorrected), (Widths{{9, 700}}));
    EXPECT_EQ(messages(uncorrected), "");

    std::string glyphs = glyph("A", 65) + glyph("B", 66, "8 16 0 -4", "", 7);
    FontPtr twelve = load_font(font_text(glyphs, 2, header("", 0, "12 75 75")));
    EXPECT_EQ(widths(twelve), (Widths{{8, 640}, {7, 560}}));
    EXPECT_EQ(twelve->modified, 1);
    EXPECT_EQ(widths(load_font(font_text(glyphs, 2, header("", 0, "12 0 75")))), (Widths{{8, 0}, {7, 0}}));
}

TEST(Glyphs, BitmapRowsAreReadIntoTheBox) {
    struct {
        const char *size, *bbx, *rows;
        Bytes bitmap;
        const char *messages;
    } cases[] = {
        /* Whatever follows a row's digits is not read. */
        {"16 75 75", "10 2 0 0", "FFC0 \nFFC0\tx\n", {0xFF, 0xC0, 0xFF, 0xC0}, ""},
        {"16 75 75", "10 2 0 0", "1234\n5678\n", {0x12, 0x34, 0x56, 0x78}, ""},
        /* Extra digits and rows are cut, with one message each for the glyph. */
        {"16 75 75", "10 2 0 0", "FFC01\nFFC0F\nFFC0\n80C0\n", {0xFF, 0xC0, 0xFF, 0xC0},
         "Glyph 65 extra columns removed.\nGlyph 65 extra rows removed.\n"},
        /* Short rows and characters that are no hexadecimal digits read as 0. */
        {"16 75 75", "10 4 0 0", "F\nFF\nG1zz\nab\n", {0xF0, 0x00, 0xFF, 0x00, 0x01, 0x00, 0xAB, 0x00}, ""},
        /* Deeper pixels use wider rows. */
        {"16 75 75 2", "5 2 0 0", "FFC0\n1B80\n", {0xFF, 0xC0, 0x1B, 0x80}, ""},
        {"16 75 75 4", "3 2 0 0", "F0A0\n0F5\n", {0xF0, 0xA0, 0x0F, 0x50}, ""},
    };
    for (auto &c : cases) {
        FontPtr font = load_font(
            font_text(glyph("A", 65, c.bbx, c.rows), 1, header("FONT_ASCENT 0\nFONT_DESCENT 0\n", 2, c.size, c.bbx)));
        EXPECT_EQ(bitmap(font->glyphs[0]), c.bitmap) << c.rows;
        EXPECT_EQ(messages(font), c.messages) << c.rows;
        EXPECT_EQ(font->modified, *c.messages != '\0') << c.rows;
    }
    /* Bitmaps past 64 KiB are kept whole. */
    std::string rows;
    for (int r = 0; r < 1000; r++)
        rows += std::string(1, "0123456789"[r % 10]) + std::string(148, '0') + "F\n";
    FontPtr big = load_font(font_text(glyph("big", 65, "600 1000 0 0", rows), 1));
    const bdf_glyph &g = big->glyphs[0];
    ASSERT_EQ(g.bytes, 75000u);
    EXPECT_EQ((Bytes{g.bitmap[0], g.bitmap[75 * 999], g.bitmap[74999]}), (Bytes{0x00, 0x90, 0x0F}));
}

TEST(Glyphs, TheGlyphCountAndTheFontBoxAreCheckedAgainstTheGlyphs) {
    struct {
        std::string text, messages;
        Box font_box;
    } cases[] = {
        {font_text(glyph("A", 65) + glyph("B", 66), 3), "Incorrect glyph count: 3 indicated but 2 found.\n",
         {8, 16, 0, -4, 12, 4}},
        {font_text(glyph("A", 65, "10 16 0 -4"), 1), "Font width != actual width.  Old: 8 New: 10.\n",
         {10, 16, 0, -4, 12, 4}},
        {font_text(glyph("A", 65, "8 18 -1 -5") + glyph("B", 66, "2 2 3 0"), 2),
         "Font left bearing != actual left bearing.  Old: 0 New: -1.\n"
         "Font ascent != actual ascent.  Old: 12 New: 13.\nFont descent != actual descent.  Old: 4 New: 5.\n"
         "Font height != actual height. Old: 16 New: 18.\n",
         {8, 18, -1, -5, 13, 5}},
        {font_text(glyph("A", 65), 1, header("FONT_ASCENT 12\nFONT_DESCENT 4\n", 2, "16 75 75", "8 10 0 -4")),
         "Font ascent != actual ascent.  Old: 6 New: 12.\nFont height != actual height. Old: 10 New: 16.\n",
         {8, 16, 0, -4, 12, 4}},
        /* No glyph with a box: the font box stays. */
        {font_text("STARTCHAR A\nENCODING 65\nSWIDTH 480 0\nDWIDTH 8 0\nENDCHAR\n", 1), "", {8, 16, 0, -4, 12, 4}},
    };
    for (auto &c : cases) {
        FontPtr font = load_font(c.text);
        EXPECT_EQ(messages(font), c.messages) << c.text;
        EXPECT_EQ(font->modified, 1 - c.messages.empty()) << c.text;
        EXPECT_EQ(box(font->bbx), c.font_box) << c.text;
    }
    /* CHARS 0 reserves 64 entries. */
    FontPtr zero = load_font(font_text(glyph("A", 65), 0));
    EXPECT_EQ(messages(zero), "Incorrect glyph count: 0 indicated but 1 found.\n");
    EXPECT_EQ(zero->glyphs_size, 64u);
}

TEST(Glyphs, MonowidthIsTheMostCommonDeviceWidthTheSmallerOnATie) {
    auto monowidth = [](const std::string &spacing, const std::string &box, const std::vector<int> &widths) {
        std::string glyphs;
        for (size_t i = 0; i < widths.size(); i++) /* the fourth glyph is unencoded */
            glyphs += glyph("g", i == 3 ? -1 : 65 + (int)i, "8 16 0 -4", "", widths[i]);
        return load_font(font_text(glyphs, (int)widths.size(),
                                   header("SPACING \"" + spacing + "\"\nFONT_ASCENT 12\nFONT_DESCENT 4\n", 3,
                                          "16 75 75", box)))
            ->monowidth;
    };
    EXPECT_EQ(monowidth("M", "8 16 0 -4", {8, 8, 6, 6, 16}), 6); /* unencoded glyphs count too */
    EXPECT_EQ(monowidth("M", "8 16 0 -4", {9, 9, 6}), 9);
    EXPECT_EQ(monowidth("C", "11 16 0 -4", {}), 11); /* no glyphs: the font box width */
    EXPECT_EQ(monowidth("P", "8 16 0 -4", {9, 9, 6}), 0);
}

TEST(Glyphs, StrayLinesChangeNoGlyphAndAMissingEndcharEndsAtTheNextStartchar) {
    /* Lines: 1-8 header, 9 CHARS; A's block 12-20; B's block 26-34. */
    FontPtr font = load_font(header() + "CHARS 2\nDWIDTH 3 0\nBBX 40 40 -9 -9\n"
                                        "STARTCHAR A\nENCODING 65\nSWIDTH 480 0\nDWIDTH 8 0\n"
                                        "BBX 8 16 0 -4\nBITMAP\nAA\n55\nENDCHAR\n"
                                        "DWIDTH 5 0\nBBX 3 3 0 0\nBITMAP\nFF\nFF\n"
                                        "STARTCHAR B\nBBX 1 1 0 0\nENCODING 66\nSWIDTH 480 0\n"
                                        "DWIDTH 8 0\nBBX 8 16 0 -4\nBITMAP\n0F\nENDCHAR\nENDFONT\n");
    /* The stray boxes do not count for the font box either. */
    EXPECT_EQ(messages(font), "[line 10] \"DWIDTH\" line outside a glyph ignored.\n"
                              "[line 11] \"BBX\" line outside a glyph ignored.\n"
                              "[line 21] \"DWIDTH\" line outside a glyph ignored.\n"
                              "[line 22] \"BBX\" line outside a glyph ignored.\n"
                              "[line 23] \"BITMAP\" line outside a glyph ignored.\n"
                              "[line 27] \"BBX\" line outside a glyph ignored.\n");
    EXPECT_EQ(font->modified, 1);
    EXPECT_EQ(font->stop_line, 0u);
    ASSERT_EQ(encoded(font), (Names{"A 65", "B 66"}));
    Bytes a(16, 0), b(16, 0);
    a[0] = 0xAA, a[1] = 0x55, b[0] = 0x0F;
    EXPECT_EQ(bitmap(font->glyphs[0]), a);
    EXPECT_EQ(bitmap(font->glyphs[1]), b);
    EXPECT_EQ(widths(font), (Widths{{8, 480}, {8, 480}}));
    EXPECT_EQ(box(font->glyphs[0].bbx), (Box{8, 16, 0, -4, 12, 4}));
    EXPECT_EQ(box(font->bbx), (Box{8, 16, 0, -4, 12, 4}));

    FontPtr open = load_font(header() + "CHARS 2\nSTARTCHAR A\nENCODING 65\nSWIDTH 480 0\nDWIDTH 8 0\n"
                                        "BBX 8 2 0 0\nBITMAP\nAA\n55\n" + glyph("B", 66, "8 1 0 0", "0F\n") + "ENDFONT\n");
    ASSERT_EQ(open->glyphs_used, 2u);
    EXPECT_EQ(bitmap(open->glyphs[0]), Bytes({0xAA, 0x55}));
    EXPECT_EQ(bitmap(open->glyphs[1]), Bytes({0x0F}));
    EXPECT_EQ(open->glyphs[1].dwidth, 8);
}

} // namespace
