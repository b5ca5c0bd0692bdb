// Pixels of the composed page: grid, normal and selected cells, the shared
// baseline, glyphs of 2 and 4 bits per pixel, and whole pages against the
// cells drawn one by one.

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

// The buffer's pixels in `rect`, one line a row: '.' white, '#' black, 'N' navy, ':' grey, '?' any other.
std::string picture(const CGlyphTable &table, const QRect &rect) {
    std::string text;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QRgb c = at(table, x, y);
            text += c == white ? '.' : c == black ? '#' : c == navy ? 'N' : c == grey ? ':' : '?';
        }
        text += '\n';
    }
    return text;
}

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

TEST_F(SmallPage, DrawsTheDottedGridAndCentresTheGlyphsOnOneBaseline) {
    // Cells of 9 x 11 with the grid on their right and bottom edges, every
    // other pixel. The first glyph starts selected: navy over its font box
    // (8 x 10), white ink. The others: black on white. Every glyph's baseline
    // lies 8 rows below its cell's top, the font's ascent; glyph "." hangs below.
    EXPECT_EQ(picture(table, QRect(0, 0, 27, 22)), "NNNNNNNN:........:........:\n"
                                                   "NNNNNNNN...................\n"
                                                   "NNNNNNNN:........:........:\n"
                                                   "NNNNNNNN...................\n"
                                                   "NNNNNNNN:........:........:\n"
                                                   "NN....NN...####............\n"
                                                   "NN.NN.NN:..#..#..:........:\n"
                                                   "NNN..NNN....##.............\n"
                                                   "NNNNNNNN:........:...##...:\n"
                                                   "NNNNNNNN.............##....\n"
                                                   ":.:.:.:.:.:.:.:.:::.:.:.:.:\n"
                                                   "...........................\n"
                                                   "........:........:........:\n"
                                                   "...........................\n"
                                                   "........:........:........:\n"
                                                   "...........................\n"
                                                   "........:........:........:\n"
                                                   "...........................\n"
                                                   "........:........:........:\n"
                                                   "...........................\n"
                                                   "........:........:........:\n"
                                                   ":.:.:.:.:.:.:.:.:.:.:.:.:.:\n");
}

TEST_F(SmallPage, HighlightMovesByRedrawingOnlyTheTwoCells) {
    area.shown.clear();
    ASSERT_EQ(table.HitTest(9, 0), 1);
    table.UpdateHighlight(&area);
    EXPECT_EQ(area.shown, (std::vector<QRect>{QRect(0, 0, 9, 11), QRect(9, 0, 9, 11)}));
    EXPECT_EQ(at(table, 0, 0), white);
    EXPECT_EQ(at(table, 2, 5), black);
    EXPECT_EQ(at(table, 9, 0), navy);
    EXPECT_EQ(at(table, 11, 5), white);

    // The space has no bitmap: selecting it draws no highlight at all.
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
    // Glyph 2: left = 3 + (2 - 16) / 2 = -4, top = 2 - 4 = -2, so its last two
    // rows show, over the first cell and its own; glyph 3's blank pixels do
    // not erase them.
    EXPECT_EQ(picture(table, QRect(0, 0, 9, 3)), "#########\n"
                                                 "#########\n"
                                                 ":.:.:::.:\n");
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

namespace {

// The page as the table's rules draw it: white, the dotted grid, then every
// cell with DrawCell in order. Paint composes it line by line instead.
QImage drawnCellByCell(const CGlyphTable &table, const bdf_font &font) {
    QImage page(table.AreaRect().size(), QImage::Format_RGB32);
    page.fill(white);
    const int gridWidth = table.Columns() * table.CellWidth(), gridHeight = table.Rows() * table.CellHeight();
    for (int y = 0; y < gridHeight; y += 2)
        for (int x = table.CellWidth() - 1; x < gridWidth; x += table.CellWidth())
            page.setPixel(x, y, grey);
    for (int y = table.CellHeight() - 1; y < gridHeight; y += table.CellHeight())
        for (int x = 0; x < gridWidth; x += 2)
            page.setPixel(x, y, grey);
    const int first = table.FirstRow() * table.Columns();
    for (int p = 0; p < table.PageCells() && first + p < int(font.glyphs_used); ++p)
        CGlyphTable::DrawCell(page, p % table.Columns() * table.CellWidth(), p / table.Columns() * table.CellHeight(),
                              font.bbx, &font.glyphs[first + p],
                              first + p == table.Selected() ? CGlyphTable::CELL_SELECTED : CGlyphTable::CELL_NORMAL,
                              font.bpp);
    return page;
}

// Glyphs of every width up to the box's (so at every bit offset), every height
// and baseline inside the box, with padding bits set and short or missing
// bitmaps, in a font box of `width` x 9.
void addAssortedGlyphs(TestFont &font, uint16_t width) {
    for (int i = 0; i < 40; ++i) {
        const uint16_t w = uint16_t(1 + i % width), h = uint16_t(1 + i % 9);
        std::vector<unsigned char> bitmap(size_t((w + 7) / 8 * h));
        for (size_t k = 0; k < bitmap.size(); ++k)
            bitmap[k] = (unsigned char)(i * 73 + k * 151 + 29);
        if (i % 7 == 3)
            bitmap.pop_back(); // a short bitmap: its last row lacks a byte
        if (i % 11 == 5)
            bitmap.clear(); // no bitmap at all
        font.add(i, TestFont::box(w, h, 0, int16_t(-2 + i % (10 - h))), bitmap);
    }
}

} // namespace

TEST(GlyphTablePaint, PagesMatchTheCellByCellDrawing) {
    for (uint16_t width : {13, 30}) { // rows of two bytes and of four
        TestFont font{width, 9, -2};
        addAssortedGlyphs(font, width);
        FakeArea area{QSize(5 * (width + 1) + 3 + CGlyphTable::kRightMargin, 3 * 10 + 4)};
        CGlyphTable table;
        ASSERT_TRUE(table.Draw(&area, font.get(), nullptr));
        EXPECT_EQ(table.Buffer(), drawnCellByCell(table, *font.get())) << "box width " << width;
        table.HitTest(2 * (width + 1), 10);
        table.SetFirstRow(1, &area);
        EXPECT_EQ(table.Buffer(), drawnCellByCell(table, *font.get())) << "box width " << width << ", row 1";
        table.SetFirstRow(table.TotalRows() - 1, &area);
        EXPECT_EQ(table.Buffer(), drawnCellByCell(table, *font.get())) << "box width " << width << ", last row";
    }
}
