// Pixels of the composed page: grid, normal and selected cells, the shared
// baseline, glyphs of 2 and 4 bits per pixel, and whole pages against the
// cells drawn one by one.

#include "glyph_table.h"
#include "table_fakes.h"
#include "test_font.h"

#include <gtest/gtest.h>
#include <map>

namespace {

constexpr QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0), navy = qRgb(0, 0, 128), grey = qRgb(192, 192, 192);

QRgb at(const CGlyphTable &table, int x, int y) { return table.Buffer().pixel(x, y) | 0xFF000000u; }

// The buffer's pixels in `rect`, one line a row: '.' white, '#' black, 'N' navy, ':' grey, levels between
// white and black '+' light and '*' dark, 'n' a third from navy to white, '?' any other.
std::string picture(const CGlyphTable &table, const QRect &rect) {
    const std::map<QRgb, char> names{{white, '.'}, {black, '#'}, {navy, 'N'}, {grey, ':'},
                                     {qRgb(170, 170, 170), '+'}, {qRgb(85, 85, 85), '*'}, {qRgb(85, 85, 170), 'n'}};
    std::string text;
    for (int y = rect.top(); y <= rect.bottom(); ++y, text += '\n')
        for (int x = rect.left(); x <= rect.right(); ++x)
            text += names.count(at(table, x, y)) ? names.at(at(table, x, y)) : '?';
    return text;
}

} // namespace

TEST(GlyphTablePaint, CellsShareOneBaselineAndTheHighlightRedrawsOnlyTwoCells) {
    // Font box 4 x 5 with ascent 3 in cells of 5 x 6: A, B, a "." hanging below
    // the baseline, a space without bitmap, one empty cell.
    TestFont font{4, 5, -2};
    for (int32_t encoding : {65, 66})
        font.add(encoding, TestFont::box(3, 2, 0, 0), {0xE0, 0xA0});
    font.add(46, TestFont::box(1, 2, 1, -2), {0x80, 0x80});
    font.add(32, TestFont::box(0, 0, 0, 0));
    FakeArea area{QSize(5 * 5 + CGlyphTable::kRightMargin, 7)};
    CGlyphTable table;
    ASSERT_TRUE(table.Draw(&area, font.get(), nullptr));
    // The first glyph starts selected: navy over its font box, white ink. The
    // grid dots every other pixel on the cells' right and bottom edges.
    EXPECT_EQ(picture(table, QRect(0, 0, 25, 7)), "NNNN:....:....:....:....:\n"
                                                  "...N.###.................\n"
                                                  ".N.N:#.#.:....:....:....:\n"
                                                  "NNNN.......#.............\n"
                                                  "NNNN:....:.#..:....:....:\n"
                                                  ":.:.:.:.:.:.:.:.:.:.:.:.:\n"
                                                  ".........................\n");
    area.shown.clear();
    ASSERT_EQ(table.HitTest(5, 0), 1);
    table.UpdateHighlight(&area);
    EXPECT_EQ(area.shown, (std::vector<QRect>{QRect(0, 0, 5, 6), QRect(5, 0, 5, 6)}));
    EXPECT_EQ(picture(table, QRect(0, 1, 10, 2)), "###.....N.\n#.#.:.N.N:\n");
    // Neither the space nor the empty cell draws a highlight; a repaint agrees.
    for (int x : {15, 20}) {
        ASSERT_EQ(table.HitTest(x, 0), x / 5);
        table.UpdateHighlight(&area);
        EXPECT_EQ(picture(table, QRect(0, 0, 25, 1)), "....:....:....:....:....:\n");
    }
    const uchar *const pixels = table.Buffer().constBits();
    for (QSize size : {QSize(40, 7), QSize(30, 6)}) {
        area.size = size;
        ASSERT_TRUE(table.Draw(&area, font.get(), nullptr));
        EXPECT_EQ(table.Buffer().constBits(), pixels) << "the buffer is kept for an area of " << size.width();
    }
    area.size = QSize(40, 7);
    ASSERT_TRUE(table.Draw(&area, font.get(), nullptr));
    EXPECT_EQ(picture(table, QRect(0, 0, 25, 2)), "....:....:....:....:....:\n###..###.................\n");
    area.size = QSize(200, 100);
    ASSERT_TRUE(table.Draw(&area, font.get(), nullptr));
    EXPECT_TRUE(table.Buffer().width() >= 185 && table.Buffer().height() >= 100);
    EXPECT_EQ(picture(table, QRect(184, 93, 1, 3)), ".\n:\n:\n") << "the grid reaches the grown area's corner";
}

TEST(GlyphTablePaint, DeeperPixelsAreLevelsFromPaperToInk) {
    TestFont two{4, 1, 0, 2}, four{2, 1, 0, 4};
    for (int32_t encoding : {1, 2}) {
        two.add(encoding, TestFont::box(4, 1, 0, 0), {0x1B});  // values 0, 1, 2, 3
        four.add(encoding, TestFont::box(2, 1, 0, 0), {0xF5}); // values 15, 5
    }
    FakeArea area{QSize(2 * 5 + 15, 2)};
    CGlyphTable table;
    ASSERT_TRUE(table.Draw(&area, two.get(), nullptr));
    EXPECT_EQ(picture(table, QRect(0, 0, 9, 1)), "Nn?.:.+*#\n") << "selected: navy to white";
    ASSERT_TRUE(table.Draw(&area, four.get(), nullptr));
    EXPECT_EQ(picture(table, QRect(3, 0, 2, 1)), "#+\n");
}

TEST(GlyphTablePaint, OversizedGlyphsDrawOverNeighboursWithinTheBuffer) {
    TestFont font{2, 2, 0};
    font.add(1, TestFont::box(2, 2, 0, 0), {0xC0, 0xC0});
    // Wider and taller than the font box, and reaching past the buffer's edges.
    font.add(2, TestFont::box(16, 4, 0, 0), std::vector<unsigned char>(8, 0xFF));
    font.add(3, TestFont::box(2, 2, 0, 0), {0x40, 0x40}); // its box holds the overflow of glyph 2
    FakeArea area{QSize(3 * 3 + 15, 3)};
    CGlyphTable table;
    ASSERT_TRUE(table.Draw(&area, font.get(), nullptr));
    // Glyph 2: left = 3 + (2 - 16) / 2 = -4, top = 2 - 4 = -2, so its last two
    // rows show, over the first cell and its own; glyph 3's blank pixels do
    // not erase them.
    EXPECT_EQ(picture(table, QRect(0, 0, 9, 3)), "#########\n#########\n:.:.:::.:\n");
}

namespace {

// The page as the table's rules draw it: white, the dotted grid, then every
// cell with DrawCell in order. Paint composes it line by line instead.
QImage drawnCellByCell(const CGlyphTable &table, const bdf_font &font) {
    QImage page(table.AreaRect().size(), QImage::Format_RGB32);
    page.fill(white);
    const int cw = table.CellWidth(), ch = table.CellHeight(), gridWidth = table.Columns() * cw;
    for (int y = 0; y < table.Rows() * ch; ++y)
        for (int x = 0; x < gridWidth; ++x)
            if ((x % cw == cw - 1 && y % 2 == 0) || (y % ch == ch - 1 && x % 2 == 0))
                page.setPixel(x, y, grey);
    const int first = table.FirstRow() * table.Columns();
    for (int p = 0; p < table.PageCells() && first + p < int(font.glyphs_used); ++p)
        CGlyphTable::DrawCell(page, p % table.Columns() * cw, p / table.Columns() * ch, font.bbx,
                              &font.glyphs[first + p],
                              first + p == table.Selected() ? CGlyphTable::CELL_SELECTED : CGlyphTable::CELL_NORMAL,
                              font.bpp);
    return page;
}

} // namespace

TEST(GlyphTablePaint, PagesMatchTheCellByCellDrawing) {
    for (uint16_t width : {13, 30}) { // rows of two bytes and of four
        // Glyphs of every width up to the box's (so at every bit offset), every
        // height and baseline inside the box, with padding bits set and short
        // or missing bitmaps.
        TestFont font{width, 9, -2};
        for (int i = 0; i < 40; ++i) {
            const uint16_t w = uint16_t(1 + i % width), h = uint16_t(1 + i % 9);
            std::vector<unsigned char> bitmap(size_t((w + 7) / 8 * h) - (i % 7 == 3)); // some lack a byte
            for (size_t k = 0; k < bitmap.size(); ++k)
                bitmap[k] = (unsigned char)(i * 73 + k * 151 + 29);
            font.add(i, TestFont::box(w, h, 0, int16_t(-2 + i % (10 - h))), i % 11 == 5 ? std::vector<unsigned char>{} : bitmap);
        }
        FakeArea area{QSize(5 * (width + 1) + 3 + CGlyphTable::kRightMargin, 3 * 10 + 4)};
        CGlyphTable table;
        ASSERT_TRUE(table.Draw(&area, font.get(), nullptr));
        EXPECT_EQ(table.Buffer(), drawnCellByCell(table, *font.get())) << "box width " << width;
        table.HitTest(2 * (width + 1), 10);
        for (int row : {1, table.TotalRows() - 1}) {
            table.SetFirstRow(row, &area);
            EXPECT_EQ(table.Buffer(), drawnCellByCell(table, *font.get())) << "box width " << width << ", row " << row;
        }
    }
}
