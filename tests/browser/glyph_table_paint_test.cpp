// Pixels of the composed page against the table's rules drawn pixel by pixel.

#include "glyph_table.h"
#include "table_fakes.h"
#include "test_font.h"

#include <gtest/gtest.h>

namespace {

constexpr QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0), navy = qRgb(0, 0, 128), grey = qRgb(192, 192, 192);

// The page by the table's rules: white; the grid dotted on the cells' right and bottom edges; cell by cell the
// selected glyph's font box navy (if it has a bitmap), and each set bit of the glyph centred in the font box on the
// font's baseline, white when selected, else black, reaching over the neighbours.
QImage expectedPage(const CGlyphTable &table, const bdf_font &font) {
    QImage page(table.AreaRect().size(), QImage::Format_RGB32);
    page.fill(white);
    const int cw = table.CellWidth(), ch = table.CellHeight(), columns = table.Columns();
    for (int y = 0; y < table.Rows() * ch; ++y)
        for (int x = 0; x < columns * cw; ++x)
            if ((x % cw == cw - 1 && y % 2 == 0) || (y % ch == ch - 1 && x % 2 == 0))
                page.setPixel(x, y, grey);
    const int first = table.FirstRow() * columns;
    for (int p = 0; p < table.PageCells() && first + p < int(font.glyphs_used); ++p) {
        const bdf_glyph &g = font.glyphs[first + p];
        const bool selected = first + p == table.Selected() && g.bitmap && g.bytes;
        const int x0 = p % columns * cw, y0 = p / columns * ch, rowBits = (g.bbx.width + 7) / 8 * 8;
        for (int y = 0; selected && y < font.bbx.height; ++y)
            for (int x = 0; x < font.bbx.width; ++x)
                page.setPixel(x0 + x, y0 + y, navy);
        const QPoint origin(x0 + (font.bbx.width - g.bbx.width) / 2, y0 + font.bbx.ascent - g.bbx.ascent);
        for (int bit = 0; bit < int(g.bytes) * 8; ++bit) {
            const QPoint pixel = origin + QPoint(bit % rowBits, bit / rowBits);
            if (bit % rowBits < g.bbx.width && g.bitmap[bit / 8] & (0x80 >> bit % 8) && page.valid(pixel))
                page.setPixel(pixel, selected ? white : black);
        }
    }
    return page;
}

} // namespace

TEST(GlyphTablePaint, PagesHighlightsAndGrownAreasFollowTheRules) {
    for (uint16_t width : {13, 30}) { // rows of two bytes and of four
        for (int oversized : {0, 4}) {
            SCOPED_TRACE(testing::Message() << "box width " << width << ", oversized " << oversized);
            // Every width, height and baseline in the box, padding bits set, short or missing bitmaps; glyph 15
            // (row 3, column 0) may be wider, reaching past the page's left edge, so its pages are drawn cell by cell.
            TestFont font{width, 9, -2};
            for (int i = 0; i < 40; ++i) {
                const uint16_t w = uint16_t(i == 15 && oversized ? width + oversized : 1 + i % width), h = 1 + i % 9;
                std::vector<unsigned char> bitmap(i % 11 == 5 ? 0 : size_t((w + 7) / 8 * h) - (i % 7 == 3));
                for (size_t k = 0; k < bitmap.size(); ++k)
                    bitmap[k] = (unsigned char)(i * 73 + k * 151 + 29);
                font.add(i, TestFont::box(w, h, 0, int16_t(-2 + i % (10 - h))), bitmap);
            }
            FakeArea area{QSize(5 * (width + 1) + oversized + CGlyphTable::kRightMargin, 3 * 10 + 4)};
            CGlyphTable table;
            ASSERT_TRUE(table.Draw(&area, font.get(), nullptr));
            EXPECT_EQ(table.Buffer(), expectedPage(table, *font.get()));
            // The highlight moves by redrawing two cells; glyph 5 has no bitmap and shows none.
            const auto cell = [&](int index) { return QRect(index % 5 * (width + 1), index / 5 * 10, width + 1, 10); };
            for (int index : {5, 7}) {
                area.shown.clear();
                ASSERT_EQ(table.HitTest(cell(index).x(), cell(index).y()), index);
                table.UpdateHighlight(&area);
                EXPECT_EQ(area.shown, (std::vector<QRect>{cell(index == 5 ? 0 : 5), cell(index)}));
                EXPECT_EQ(table.Buffer(), expectedPage(table, *font.get())) << "selected " << index;
            }
            for (int row : {1, table.TotalRows() - 1}) {
                table.SetFirstRow(row, &area);
                EXPECT_EQ(table.Buffer(), expectedPage(table, *font.get())) << "row " << row;
            }
            const uchar *const pixels = table.Buffer().constBits();
            table.SetFirstRow(0, &area);
            EXPECT_EQ(table.Buffer().constBits(), pixels) << "the buffer is kept while the area does not grow";
            area.size += QSize(3 * width, 20);
            ASSERT_TRUE(table.Draw(&area, font.get(), nullptr));
            EXPECT_EQ(table.Buffer().copy(table.AreaRect()), expectedPage(table, *font.get())) << "grown";
        }
    }
}
