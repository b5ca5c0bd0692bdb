// Pixels of the composed page: grid, normal and selected cells, the shared
// baseline, and glyphs of 2 and 4 bits per pixel.

#include "glyph_table.h"
#include "table_fakes.h"
#include "test_font.h"

#include <gtest/gtest.h>

namespace {

constexpr QRgb white = qRgb(255, 255, 255);
constexpr QRgb black = qRgb(0, 0, 0);
constexpr QRgb navy = qRgb(0, 0, 128);
constexpr QRgb grey = qRgb(192, 192, 192);

QRgb at(const CGlyphTable &table, int x, int y) { return table.Buffer().pixel(x, y) | 0xFF000000u; }

// Font box 8 x 10 with ascent 8; cells 9 x 11; three columns, two rows.
struct SmallPage : ::testing::Test {
    TestFont font{8, 10, -2};
    FakeArea area{QSize(3 * 9 + CGlyphTable::kRightMargin, 2 * 11)};
    CGlyphTable table;
    void SetUp() override {
        const std::vector<unsigned char> shape{0xF0, 0x90, 0x60}; // 4 x 3, on the baseline
        font.add(65, TestFont::box(4, 3, 0, 0), shape);
        font.add(66, TestFont::box(4, 3, 0, 0), shape);
        font.add(46, TestFont::box(2, 2, 1, -2), {0xC0, 0xC0}); // hangs below the baseline
        font.add(32, TestFont::box(0, 0, 0, 0));                // a space: no bitmap
        ASSERT_TRUE(table.Draw(&area, font.get(), nullptr));
    }
};

} // namespace

TEST_F(SmallPage, DrawsTheDottedGridInLightGrey) {
    // Vertical lines at x = 8, 17, 26; horizontal at y = 10, 21; every other pixel.
    EXPECT_EQ(at(table, 8, 0), grey);
    EXPECT_EQ(at(table, 8, 1), white);
    EXPECT_EQ(at(table, 8, 2), grey);
    EXPECT_EQ(at(table, 26, 4), grey);
    EXPECT_EQ(at(table, 0, 10), grey);
    EXPECT_EQ(at(table, 1, 10), white);
    EXPECT_EQ(at(table, 26, 21), grey);
    EXPECT_EQ(at(table, 7, 0), navy) << "the fill stops one pixel short of the grid line";
}

TEST_F(SmallPage, TheFirstGlyphStartsSelectedWithNavyFillAndWhiteInk) {
    // Centred: left = (8 - 4) / 2 = 2; top = ascent 8 - glyph ascent 3 = 5.
    EXPECT_EQ(at(table, 0, 0), navy);
    EXPECT_EQ(at(table, 7, 9), navy);
    EXPECT_EQ(at(table, 2, 5), white);
    EXPECT_EQ(at(table, 5, 5), white);
    EXPECT_EQ(at(table, 3, 6), navy);
    EXPECT_EQ(at(table, 5, 6), white);
    EXPECT_EQ(at(table, 3, 7), white);
    EXPECT_EQ(at(table, 2, 7), navy);
}

TEST_F(SmallPage, NormalCellsHaveBlackInkOnWhiteAndShareOneBaseline) {
    EXPECT_EQ(at(table, 9 + 2, 5), black);
    EXPECT_EQ(at(table, 9 + 1, 5), white);
    EXPECT_EQ(at(table, 9 + 6, 5), white);
    EXPECT_EQ(at(table, 9 + 2, 6), black);
    EXPECT_EQ(at(table, 9 + 3, 6), white);
    EXPECT_EQ(at(table, 9 + 2, 4), white);
    // Glyph ascent 0: its top row is 8 below the cell top, the baseline; left = 18 + 3.
    EXPECT_EQ(at(table, 21, 8), black);
    EXPECT_EQ(at(table, 22, 9), black);
    EXPECT_EQ(at(table, 21, 7), white);
    EXPECT_EQ(at(table, 20, 8), white);
}

TEST_F(SmallPage, HighlightMovesByRedrawingOnlyTheTwoCells) {
    area.shown.clear();
    ASSERT_EQ(table.HitTest(9, 0), 1);
    table.UpdateHighlight(&area);
    ASSERT_EQ(area.shown.size(), 2u);
    EXPECT_EQ(area.shown[0], QRect(0, 0, 9, 11));
    EXPECT_EQ(area.shown[1], QRect(9, 0, 9, 11));
    EXPECT_EQ(at(table, 0, 0), white);
    EXPECT_EQ(at(table, 2, 5), black);
    EXPECT_EQ(at(table, 9, 0), navy);
    EXPECT_EQ(at(table, 11, 5), white);

    // The space has no bitmap: selecting it draws no highlight at all.
    area.shown.clear();
    ASSERT_EQ(table.HitTest(0, 11), 3);
    table.UpdateHighlight(&area);
    EXPECT_EQ(at(table, 9, 0), white);
    EXPECT_EQ(at(table, 0, 11), white);

    // An empty cell past the last glyph: nothing to draw either; a repaint agrees.
    ASSERT_EQ(table.HitTest(9, 11), 4);
    table.UpdateHighlight(&area);
    ASSERT_TRUE(table.Draw(&area, font.get(), nullptr));
    EXPECT_EQ(at(table, 9, 11), white);
    EXPECT_EQ(at(table, 0, 0), white);
}

TEST(GlyphTablePaint, DeeperPixelsAreGreyLevelsByValue) {
    TestFont two{4, 1, 0, 2};
    two.add(1, TestFont::box(4, 1, 0, 0), {0x1B}); // values 0, 1, 2, 3
    two.add(2, TestFont::box(4, 1, 0, 0), {0x1B});
    FakeArea area{QSize(2 * 5 + 15, 2)};
    CGlyphTable table;
    ASSERT_TRUE(table.Draw(&area, two.get(), nullptr));
    // Glyph 1 is normal: paper white to black ink.
    EXPECT_EQ(at(table, 5, 0), white);
    EXPECT_EQ(at(table, 6, 0), qRgb(170, 170, 170));
    EXPECT_EQ(at(table, 7, 0), qRgb(85, 85, 85));
    EXPECT_EQ(at(table, 8, 0), black);
    // Glyph 0 is selected: navy paper to white ink.
    EXPECT_EQ(at(table, 0, 0), navy);
    EXPECT_EQ(at(table, 1, 0), qRgb(85, 85, 170));
    EXPECT_EQ(at(table, 3, 0), white);

    TestFont four{2, 1, 0, 4};
    four.add(1, TestFont::box(2, 1, 0, 0), {0xF5}); // values 15, 5
    four.add(2, TestFont::box(2, 1, 0, 0), {0xF5});
    ASSERT_TRUE(table.Draw(&area, four.get(), nullptr));
    EXPECT_EQ(at(table, 3, 0), black);
    EXPECT_EQ(at(table, 4, 0), qRgb(170, 170, 170));
}

TEST(GlyphTablePaint, OversizedGlyphsDrawOverNeighboursWithinTheBuffer) {
    TestFont font{2, 2, 0};
    font.add(1, TestFont::box(2, 2, 0, 0), {0xC0, 0xC0});
    // Wider and taller than the font box, and reaching past the buffer's edges.
    font.add(2, TestFont::box(16, 4, 0, 0), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    font.add(3, TestFont::box(2, 2, 0, 0), {0x40, 0x40}); // its box holds the overflow of glyph 2
    FakeArea area{QSize(3 * 3 + 15, 3)};
    CGlyphTable table;
    ASSERT_TRUE(table.Draw(&area, font.get(), nullptr));
    // left = 3 + (2 - 16) / 2 = -4; top = 2 - 4 = -2: rows 0 and 1 are visible.
    EXPECT_EQ(at(table, 0, 0), black) << "drawn over the first cell";
    EXPECT_EQ(at(table, 5, 1), black);
    EXPECT_EQ(at(table, 6, 0), black) << "the next cell's blank pixels do not erase the overflow";
    EXPECT_EQ(at(table, 7, 0), black);
}

TEST(GlyphTablePaint, TheBufferGrowsWithTheArea) {
    TestFont font{4, 4};
    font.addMany(400);
    CGlyphTable table;
    FakeArea area{QSize(60, 40)};
    ASSERT_TRUE(table.Draw(&area, font.get(), nullptr));
    area.size = QSize(400, 300);
    ASSERT_TRUE(table.Draw(&area, font.get(), nullptr));
    EXPECT_GE(table.Buffer().width(), 385);
    EXPECT_GE(table.Buffer().height(), 300);
    // Cell of the last column (77 columns of 5 pixels), second row: its glyph's top-left pixel.
    EXPECT_EQ(table.Columns(), 77);
    EXPECT_EQ(at(table, 76 * 5, 5), black);
    EXPECT_EQ(at(table, 76 * 5 + 4, 5 + 4), grey) << "grid corner";
}
