/* The glyph section: CHARS, glyph blocks, bitmaps, ENDFONT and the end-of-load
 * checks. */
#include "reader_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Widths = std::vector<std::pair<int, int>>;

/* {dwidth, swidth} of each encoded glyph. */
Widths widths(const FontPtr &font) {
    Widths out;
    for (uint32_t i = 0; i < font->glyphs_used; i++)
        out.push_back({font->glyphs[i].dwidth, font->glyphs[i].swidth});
    return out;
}

TEST(Glyphs, EncodedListIsSortedAndGlyphBoxesGetAscentAndDescent) {
    FontPtr font = load_font(font_text(glyph("C", 67) + glyph("B", 66) + glyph("A", 65, "8 16 0 -4", "FF\n"), 3));
    EXPECT_EQ(messages(font), "");
    EXPECT_EQ(encoded(font), (Names{"A 65", "B 66", "C 67"}));
    EXPECT_EQ(font->glyphs_size, 3u);
    EXPECT_EQ(font->unencoded_used, 0u);
    EXPECT_EQ(font->glyphs[0].bitmap[0], 0xFF);
    EXPECT_EQ(box(font->glyphs[0].bbx), (Box{8, 16, 0, -4, 12, 4}));
}

TEST(Glyphs, RepeatedEncodingsAreDemotedForEveryValue) {
    FontPtr font = load_font(font_text(glyph("A", 65) + glyph("B", 65) + glyph("C", 70000) +
                                        glyph("D", 70000) + glyph("E", 2147483647) +
                                        glyph("F", 2147483647) +
                                        "STARTCHAR\nENCODING 66\nENDCHAR\n"
                                        "STARTCHAR\nENCODING 66\nENDCHAR\n",
                                    8));
    EXPECT_EQ(messages(font), "Duplicate encoding 65 (B) changed to unencoded.\n"
                              "Duplicate encoding 70000 (D) changed to unencoded.\n"
                              "Duplicate encoding 2147483647 (F) changed to unencoded.\n"
                              "Duplicate encoding 66 ((null)) changed to unencoded.\n");
    EXPECT_EQ(font->modified, 1);
    EXPECT_EQ(encoded(font), (Names{"A 65", "(null) 66", "C 70000", "E 2147483647"}));
    /* In the unencoded list the encoding is the position. */
    EXPECT_EQ(unencoded(font), (Names{"B 0", "D 1", "F 2", "(null) 3"}));
    EXPECT_LE(font->unencoded_used, font->unencoded_size);
    EXPECT_EQ(font->unencoded[0].bytes, 16u); /* the demoted glyph kept its own lines */
}

TEST(Glyphs, UnencodedGlyphsKeptOrDropped) {
    std::string text = font_text(glyph("A", 65) + glyph("minus", -1, "8 16 0 -4", "FF\n") +
                                     glyph("other", -7) + glyph("B", 66),
                                 4);
    FontPtr kept = load_font(text);
    EXPECT_EQ(messages(kept), "");
    EXPECT_EQ(encoded(kept), (Names{"A 65", "B 66"}));
    EXPECT_EQ(unencoded(kept), (Names{"minus 0", "other 1"}));
    EXPECT_EQ(kept->unencoded[0].bitmap[0], 0xFF);

    bdf_options options = default_options();
    options.keep_unencoded = 0;
    FontPtr dropped = load_font(text, &options);
    EXPECT_EQ(dropped->unencoded_used, 0u);
    EXPECT_EQ(encoded(dropped), (Names{"A 65", "B 66"}));
    EXPECT_EQ(messages(dropped), "Incorrect glyph count: 4 indicated but 2 found.\n");
}

TEST(Glyphs, MissingWidthsAreFilledIn) {
    /* Lines: 1-8 header, 9 CHARS, 10 STARTCHAR, 11 ENCODING, 12 SWIDTH, 13 BBX,
     * 14 BITMAP, 15 ENDCHAR, 16 STARTCHAR, 17 ENCODING, 18 DWIDTH. */
    FontPtr font = load_font(header() +
                          "CHARS 2\nSTARTCHAR A\nENCODING 65\nSWIDTH 480 0\nBBX 8 16 0 -4\n"
                          "BITMAP\nENDCHAR\nSTARTCHAR B\nENCODING 66\nDWIDTH 7 0\n"
                          "BBX 8 16 0 -4\nBITMAP\nENDCHAR\nENDFONT\n");
    EXPECT_EQ(messages(font), "DWIDTH field missing at line 13.  Set to glyph width.\n"
                              "SWIDTH field missing at line 18.  Set automatically.\n");
    EXPECT_EQ(widths(font), (Widths{{8, 480}, {7, 420}}));
    /* Missing rows read as 0. */
    EXPECT_EQ(bitmap(font->glyphs[0]), Bytes(16, 0));
}

TEST(Glyphs, MetricsSetTakesTheFontWidths) {
    std::string with_set = "STARTFONT 2.1\nFONT test\nSIZE 16 75 75\nFONTBOUNDINGBOX 8 16 0 -4\n"
                           "METRICSSET 1\nSWIDTH 700 0\nDWIDTH 9 0\nSTARTPROPERTIES 2\n"
                           "FONT_ASCENT 12\nFONT_DESCENT 4\nENDPROPERTIES\n"
                           "CHARS 1\nSTARTCHAR A\nENCODING 65\nBBX 8 16 0 -4\nBITMAP\nENDCHAR\n"
                           "ENDFONT\n";
    FontPtr set = load_font(with_set);
    /* The font's SWIDTH 700 is corrected to the width rule (9 x 60). */
    EXPECT_EQ(widths(set), (Widths{{9, 540}}));
    EXPECT_EQ(messages(set), "Glyph scalable width (SWIDTH) adjustments made.\n");

    bdf_options options = default_options();
    options.correct_metrics = 0;
    FontPtr uncorrected = load_font(with_set, &options);
    EXPECT_EQ(widths(uncorrected), (Widths{{9, 700}}));
    EXPECT_EQ(messages(uncorrected), "");
}

TEST(Glyphs, ScalableWidthFollowsPointSizeAndResolution) {
    std::string glyphs = "STARTCHAR A\nENCODING 65\nSWIDTH 1 0\nDWIDTH 8 0\nBBX 8 16 0 -4\n"
                         "BITMAP\nENDCHAR\nSTARTCHAR B\nENCODING 66\nDWIDTH 7 0\nBBX 8 16 0 -4\n"
                         "BITMAP\nENDCHAR\n";
    FontPtr font = load_font(font_text(glyphs, 2, custom_header("12 75 75", "8 16 0 -4")));
    EXPECT_EQ(widths(font), (Widths{{8, 640}, {7, 560}}));
    EXPECT_EQ(font->modified, 1);
    FontPtr zero = load_font(font_text(glyphs, 2, custom_header("12 0 75", "8 16 0 -4")));
    EXPECT_EQ(widths(zero), (Widths{{8, 0}, {7, 0}}));
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
        {"16 75 75", "10 4 0 0", "F\nFF\nG1zz\nab\n",
         {0xF0, 0x00, 0xFF, 0x00, 0x01, 0x00, 0xAB, 0x00}, ""},
        /* Deeper pixels use wider rows. */
        {"16 75 75 2", "5 2 0 0", "FFC0\n1B80\n", {0xFF, 0xC0, 0x1B, 0x80}, ""},
        {"16 75 75 4", "3 2 0 0", "F0A0\n0F5\n", {0xF0, 0xA0, 0x0F, 0x50}, ""},
    };
    for (auto &c : cases) {
        FontPtr font = load_font(font_text(glyph("A", 65, c.bbx, c.rows), 1, custom_header(c.size, c.bbx)));
        EXPECT_EQ(bitmap(font->glyphs[0]), c.bitmap) << c.rows;
        EXPECT_EQ(messages(font), c.messages) << c.rows;
        EXPECT_EQ(font->modified, *c.messages != '\0') << c.rows;
    }
}

TEST(Glyphs, GlyphCountIsChecked) {
    FontPtr font = load_font(font_text(glyph("A", 65) + glyph("B", 66), 3));
    EXPECT_EQ(messages(font), "Incorrect glyph count: 3 indicated but 2 found.\n");
    EXPECT_EQ(font->modified, 1);
    /* CHARS 0 reserves 64 entries. */
    FontPtr zero = load_font(font_text(glyph("A", 65), 0));
    EXPECT_EQ(messages(zero), "Incorrect glyph count: 0 indicated but 1 found.\n");
    EXPECT_EQ(zero->glyphs_size, 64u);
}

TEST(Glyphs, FontBoxFollowsTheGlyphs) {
    FontPtr wider = load_font(font_text(glyph("A", 65, "10 16 0 -4"), 1));
    EXPECT_EQ(messages(wider), "Font width != actual width.  Old: 8 New: 10.\n");
    EXPECT_EQ(wider->bbx.width, 10);
    EXPECT_EQ(wider->modified, 1);

    FontPtr moved = load_font(font_text(glyph("A", 65, "8 18 -1 -5") + glyph("B", 66, "2 2 3 0"), 2));
    EXPECT_EQ(messages(moved), "Font left bearing != actual left bearing.  Old: 0 New: -1.\n"
                               "Font ascent != actual ascent.  Old: 12 New: 13.\n"
                               "Font descent != actual descent.  Old: 4 New: 5.\n"
                               "Font height != actual height. Old: 16 New: 18.\n");
    EXPECT_EQ(box(moved->bbx), (Box{8, 18, -1, -5, 13, 5}));

    FontPtr taller = load_font(font_text(glyph("A", 65), 1,
                                      custom_header("16 75 75", "8 10 0 -4", "FONT_ASCENT 12\nFONT_DESCENT 4\n")));
    EXPECT_EQ(messages(taller), "Font ascent != actual ascent.  Old: 6 New: 12.\n"
                                "Font height != actual height. Old: 10 New: 16.\n");
    EXPECT_EQ(taller->bbx.height, 16);
}

TEST(Glyphs, FontBoxStaysWhenNoGlyphHadABox) {
    FontPtr font = load_font(font_text("STARTCHAR A\nENCODING 65\nSWIDTH 480 0\nDWIDTH 8 0\nENDCHAR\n"
                                    "STARTCHAR B\nENCODING 66\nDWIDTH 9 0\nENDCHAR\n",
                                    2));
    EXPECT_EQ(messages(font), "SWIDTH field missing at line 17.  Set automatically.\n");
    EXPECT_EQ(box(font->bbx), (Box{8, 16, 0, -4, 12, 4}));
    EXPECT_EQ(font->glyphs[0].bytes, 0u);
    EXPECT_EQ(font->glyphs[0].bitmap, nullptr);
}

TEST(Glyphs, MonowidthIsTheMostCommonDeviceWidth) {
    auto load = [](const std::string &spacing, const std::string &box, const std::vector<int> &widths) {
        std::string glyphs;
        for (size_t i = 0; i < widths.size(); i++) /* the fourth glyph is unencoded */
            glyphs += glyph("g", i == 3 ? -1 : 65 + (int)i, "8 16 0 -4", "", widths[i]);
        return load_font(font_text(glyphs, (int)widths.size(),
                                   custom_header("16 75 75", box, "SPACING \"" + spacing +
                                                 "\"\nFONT_ASCENT 12\nFONT_DESCENT 4\n", 3)));
    };
    /* A tie goes to the smaller width; unencoded glyphs count too. */
    FontPtr tie = load("M", "8 16 0 -4", {8, 8, 6, 6, 16});
    EXPECT_EQ(tie->spacing, BDF_SPACING_MONO);
    EXPECT_EQ(tie->monowidth, 6);
    EXPECT_EQ(load("M", "8 16 0 -4", {9, 9, 6})->monowidth, 9);
    /* No glyphs: the font box width as read. */
    EXPECT_EQ(load("C", "11 16 0 -4", {})->monowidth, 11);
    /* Proportional fonts keep 0. */
    EXPECT_EQ(load("P", "8 16 0 -4", {9, 9, 6})->monowidth, 0);
}

TEST(Glyphs, OrderingErrorsStopReadingAndTheFontSaysWhere) {
    struct {
        std::string body;
        std::string messages;
        uint32_t stop_line;
    } cases[] = {
        /* The count compared is still the STARTPROPERTIES one. */
        {"STARTCHAR A\n", "[line 9] Missing \"CHARS\" line.\n"
                          "Incorrect glyph count: 2 indicated but 0 found.\n"
                          "[line 10] Font header corrupted or missing fields.\n", 9},
        {"CHARS 1\nENCODING 65\n", "[line 10] Missing \"STARTCHAR\" line.\n"
                                   "Incorrect glyph count: 1 indicated but 0 found.\n"
                                   "[line 11] Font glyphs corrupted or missing fields.\n", 10},
        {"CHARS 1\nSTARTCHAR A\nSWIDTH 480 0\n",
         "[line 11] Missing \"ENCODING\" line.\n"
         "Incorrect glyph count: 1 indicated but 0 found.\n"
         "[line 12] Font glyphs corrupted or missing fields.\n", 11},
        {"CHARS 1\nSTARTCHAR A\nENCODING 65\nBITMAP\n",
         "[line 12] Missing \"BBX\" line.\n[line 13] Font glyphs corrupted or missing fields.\n", 12},
        {"CHARS 1\nSTARTCHAR A\nENCODING 65\nWHATEVER 1\n",
         "[line 13] Font glyphs corrupted or missing fields.\n", 12},
        /* Between glyphs too. */
        {"CHARS 1\n" + glyph("A", 65) + "SWIDTH 480 0\n",
         "[line 17] Missing \"ENCODING\" line.\n[line 18] Font glyphs corrupted or missing fields.\n", 17},
        {"CHARS 1\n" + glyph("A", 65) + "BITMAP\n",
         "[line 17] Missing \"BBX\" line.\n[line 18] Font glyphs corrupted or missing fields.\n", 17},
        /* Ends after the last ENDCHAR: stopped before the line that would follow. */
        {"CHARS 1\n" + glyph("A", 65), "[line 17] Font glyphs corrupted or missing fields.\n", 17},
        {"CHARS 1\n" + glyph("A", 65) + "ENDFONT", "[line 17] Font glyphs corrupted or missing fields.\n", 17},
        {"CHARS 1\n" + glyph("A", 65) + "ENDFONT\n", "", 0},
    };
    for (auto &c : cases) {
        FontPtr font = load_font(header() + c.body);
        EXPECT_EQ(messages(font), c.messages) << c.body;
        EXPECT_EQ(font->stop_line, c.stop_line) << c.body;
    }
}

TEST(Glyphs, GlyphsAreSortedWhereverTheReadEnds) {
    /* No ENDFONT; glyphs after ENDFONT. */
    FontPtr open = load_font(header() + "CHARS 2\n" + glyph("B", 66) + glyph("A", 65));
    FontPtr after = load_font(font_text(glyph("B", 66), 2) + glyph("A", 65));
    EXPECT_EQ(encoded(open), (Names{"A 65", "B 66"}));
    EXPECT_EQ(encoded(after), (Names{"A 65", "B 66"}));
    EXPECT_EQ(messages(after), "");
}

TEST(Glyphs, LinesOutsideAGlyphChangeNoGlyphAndAreReported) {
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
}

TEST(Glyphs, MissingEndcharEndsTheGlyphAtTheNextStartchar) {
    FontPtr font = load_font(header() + "CHARS 2\nSTARTCHAR A\nENCODING 65\nSWIDTH 480 0\n"
                                     "DWIDTH 8 0\nBBX 8 2 0 0\nBITMAP\nAA\n55\n" +
                          glyph("B", 66, "8 1 0 0", "0F\n") + "ENDFONT\n");
    ASSERT_EQ(font->glyphs_used, 2u);
    EXPECT_EQ(bitmap(font->glyphs[0]), Bytes({0xAA, 0x55}));
    EXPECT_EQ(bitmap(font->glyphs[1]), Bytes({0x0F}));
    EXPECT_EQ(font->glyphs[1].dwidth, 8);
}

TEST(Glyphs, BitmapsLargerThan64KiBAreKeptWhole) {
    std::string rows;
    for (int r = 0; r < 1000; r++) {
        std::string row(150, '0');
        row[0] = "0123456789"[r % 10];
        row[149] = 'F';
        rows += row + "\n";
    }
    FontPtr font = load_font(font_text(glyph("big", 65, "600 1000 0 0", rows), 1));
    const bdf_glyph &g = font->glyphs[0];
    ASSERT_EQ(g.bytes, 75000u);
    EXPECT_EQ(g.bitmap[0], 0x00);
    EXPECT_EQ(g.bitmap[75 * 999], 0x90);
    EXPECT_EQ(g.bitmap[74999], 0x0F);
    EXPECT_EQ(g.bbx.height, 1000);
}

struct Event {
    int32_t reason;
    uint32_t current, total, error_line;
    bool operator==(const Event &) const = default;
};

void record(bdf_progress *progress, void *client) {
    static_cast<std::vector<Event> *>(client)->push_back(
        {progress->reason, progress->current, progress->total, progress->error_line});
}

TEST(Glyphs, ProgressCallbacks) {
    std::vector<Event> events;
    FontPtr font = load_font(font_text(glyph("A", 65) + glyph("B", 66), 2), nullptr, record, &events);
    EXPECT_EQ(events, (std::vector<Event>{{1, 0, 2, 0}, {2, 1, 2, 0}, {2, 2, 2, 0}, {2, 2, 2, 0}}));

    /* An ordering error: reason 21 with the line, and no end-of-load message. */
    events.clear();
    FontPtr broken = load_font(header() + "CHARS 1\nSTARTCHAR A\nENCODING 65\nBITMAP\n", nullptr,
                            record, &events);
    EXPECT_EQ(messages(broken), "[line 12] Missing \"BBX\" line.\n");
    EXPECT_EQ(events, (std::vector<Event>{{1, 0, 1, 0}, {21, 0, 1, 13}}));

    /* No ENDFONT: the message and reason 21. */
    events.clear();
    FontPtr open = load_font(header() + "CHARS 0\n", nullptr, record, &events);
    EXPECT_EQ(messages(open), "[line 10] Font glyphs corrupted or missing fields.\n");
    EXPECT_EQ(events, (std::vector<Event>{{1, 0, 0, 0}, {21, 0, 0, 10}}));
}

} // namespace
