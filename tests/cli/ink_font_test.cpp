// The tests' own BDF reader is the judge of the round-trip and corpus tests,
// so it is checked too: pixels land where BDF puts them, and a changed pixel,
// name or width is seen.

#include "ink_font.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

const char font_text[] = "STARTFONT 2.1\n"
                         "SIZE 8 75 75 2\n"
                         "CHARS 2\n"
                         "STARTCHAR a\nENCODING 97\nDWIDTH 6 0\nBBX 3 2 1 -1\nBITMAP\n"
                         "C40F\n" // 3, 0, 1 and padding that is no ink
                         "2000\n" // 0, 2, 0
                         "ENDCHAR\n"
                         "STARTCHAR spare\nENCODING -1\nDWIDTH 4 0\nBBX 0 0 0 0\nBITMAP\nENDCHAR\n"
                         "ENDFONT\n";

} // namespace

TEST(InkFont, PlacesPixelsRelativeToOriginAndBaseline) {
    ink_font font = read_ink_font(font_text);
    EXPECT_EQ(font.bpp, 2);
    ASSERT_EQ(font.encoded.count(97), 1u);
    const ink_glyph &a = font.encoded.at(97);
    EXPECT_EQ(a.name, "a");
    EXPECT_EQ(a.dwidth, 6);
    // Top row at y = y_offset + height - 1 = 0, bottom row at y = -1.
    EXPECT_EQ(a.ink, (std::vector<ink_pixel>{{1, 0, 3}, {2, -1, 2}, {3, 0, 1}}));
    ASSERT_EQ(font.unencoded.size(), 1u);
    EXPECT_EQ(font.unencoded[0].name, "spare");
    EXPECT_EQ(font.glyphs_in_file, 2);
}

TEST(InkFont, SeesEveryKindOfDifference) {
    const ink_glyph a = read_ink_font(font_text).encoded.at(97);
    EXPECT_EQ(glyph_difference(a, a), "");
    const std::pair<void (*)(ink_glyph &), const char *> changes[] = {
        {[](ink_glyph &g) { g.ink[0].value = 2; }, "ink"},
        {[](ink_glyph &g) { g.ink[0].x += 1; }, "ink"},
        {[](ink_glyph &g) { g.name = "b"; }, "name"},
        {[](ink_glyph &g) { g.dwidth = 7; }, "dwidth"},
    };
    for (const auto &[change, what] : changes) {
        ink_glyph changed = a;
        change(changed);
        EXPECT_NE(glyph_difference(a, changed).find(what), std::string::npos) << what;
    }
}

TEST(InkFont, RejectsGlyphsWithMissingRows) {
    EXPECT_THROW(read_ink_font("STARTFONT 2.1\nSTARTCHAR a\nENCODING 1\nBBX 1 2 0 0\nBITMAP\n80\nENDCHAR\n"),
                 std::runtime_error);
    EXPECT_THROW(read_ink_font("STARTFONT 2.1\nSTARTCHAR a\nENCODING 1\nBBX 1 1 0 0\nBITMAP\n80\n"),
                 std::runtime_error);
}
