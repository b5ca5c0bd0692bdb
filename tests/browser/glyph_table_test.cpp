// Geometry, hit tests, navigation, find and scrolling of the glyph table.

#include "glyph_table.h"
#include "table_fakes.h"
#include "test_font.h"

#include <gtest/gtest.h>

namespace {

// The grid at a glance: area, cell size, columns x rows of a page, all rows, last first row.
std::string layout(const CGlyphTable &t) {
    const QRect area = t.AreaRect();
    return QString::asprintf("area %d,%d %dx%d, cell %dx%d, %d x %d = %d a page, %d rows, scroll max %d", area.x(),
                             area.y(), area.width(), area.height(), t.CellWidth(), t.CellHeight(), t.Columns(),
                             t.Rows(), t.PageCells(), t.TotalRows(), t.ScrollMaximum())
        .toStdString();
}

// Navigate's answer: "no" (nothing written but a zero row delta), or the new
// index with the row the view must scroll by, if any.
std::string navigate(CGlyphTable &table, int key) {
    int index = -7, delta = -7;
    if (!table.Navigate(key, &index, &delta))
        return index == -7 && delta == 0 ? "no" : "no, but wrote " + std::to_string(index);
    return std::to_string(index) + (delta == 0 ? "" : delta > 0 ? " row +" : " row ") +
           (delta == 0 ? "" : std::to_string(delta));
}

// 16 x 16 cells in a 1000 x 500 area, 7000 glyphs: the worked example.
struct BigTable : ::testing::Test {
    TestFont font{16, 16, -2};
    FakeArea area{QSize(1000, 500)};
    FakeScrollBar bar;
    CGlyphTable table;
    void SetUp() override {
        font.addMany(7000, 32);
        ASSERT_TRUE(table.Draw(&area, font.get(), &bar));
    }
    // Scrolls with a scroll bar code; returns the first row shown.
    int scroll(int code, int thumb = 0) {
        table.Scroll(code, thumb, &area);
        return table.FirstRow();
    }
};

} // namespace

TEST_F(BigTable, LaysOutTheWorkedExampleAndSetsTheScrollBar) {
    EXPECT_EQ(layout(table), "area 0,0 985x500, cell 17x17, 57 x 29 = 1653 a page, 123 rows, scroll max 94");
    EXPECT_EQ(bar.state(), "shown, range 0-94 at 0, top 0 height 500");
    EXPECT_TRUE(table.HasPage());
    ASSERT_FALSE(area.shown.empty());
    EXPECT_EQ(area.shown.back(), QRect(0, 0, 985, 500));
    EXPECT_GE(table.Buffer().width(), 985);
}

TEST_F(BigTable, HitTestMapsPointsToCellsAndKeepsTheSelectionOutsideTheGrid) {
    EXPECT_EQ(table.HitTest(57 * 17, 5), -1) << "just right of the last grid line";
    EXPECT_EQ(table.Selected(), 0);
    EXPECT_EQ(table.HitTest(57 * 17 - 1, 5), 56) << "last column";
    EXPECT_EQ(table.HitTest(0, 29 * 17), -1);
    EXPECT_EQ(table.HitTest(-1, 0), -1);
    EXPECT_EQ(table.HitTest(17, 17), 58);
    EXPECT_EQ(table.Selected(), 58);
    EXPECT_EQ(scroll(CGlyphTable::SB_THUMBTRACK, 10), 10);
    EXPECT_EQ(table.HitTest(0, 0), 570);
}

TEST(GlyphTable, HitTestAndNavigateBeforeTheFirstDrawDoNothing) {
    CGlyphTable table;
    EXPECT_EQ(table.HitTest(0, 0), -1);
    EXPECT_EQ(table.HitTest(5, 5), -1);
    for (int key : {37, 38, 39, 40})
        EXPECT_EQ(navigate(table, key), "no");
}

TEST(GlyphTable, NavigatesWithinTheGridIncludingEmptyCellsAfterTheLastGlyph) {
    // 10 glyphs in 8 columns of 10-pixel cells.
    TestFont font{9, 9};
    font.addMany(10);
    FakeArea area{QSize(8 * 10 + CGlyphTable::kRightMargin, 200)};
    CGlyphTable table;
    ASSERT_TRUE(table.Draw(&area, font.get(), nullptr));
    ASSERT_EQ(table.Columns(), 8);
    ASSERT_EQ(table.TotalRows(), 2);
    const auto from = [&](int i, int key) {
        EXPECT_EQ(table.HitTest((i % 8) * 10, (i / 8) * 10), i);
        return navigate(table, key);
    };
    EXPECT_EQ(from(9, CGlyphTable::VK_RIGHT), "10");
    EXPECT_EQ(from(2, CGlyphTable::VK_DOWN), "10");
    EXPECT_EQ(from(8, CGlyphTable::VK_DOWN), "no") << "last row";
    EXPECT_EQ(table.Selected(), 8);
    EXPECT_EQ(from(8, CGlyphTable::VK_LEFT), "no") << "first column";
    EXPECT_EQ(from(7, CGlyphTable::VK_RIGHT), "no") << "last column";
    EXPECT_EQ(navigate(table, CGlyphTable::VK_UP), "no") << "first row";
    EXPECT_EQ(navigate(table, 13), "no") << "not an arrow";
    EXPECT_EQ(navigate(table, CGlyphTable::VK_LEFT), "6");
}

TEST_F(BigTable, UpAndDownScrollByOneRowAtThePageEdges) {
    ASSERT_EQ(table.HitTest(3 * 17, 28 * 17), 28 * 57 + 3); // the page's bottom row
    EXPECT_EQ(navigate(table, CGlyphTable::VK_DOWN), "1656 row +1"); // row 29, column 3
    // Navigate reports the delta; the view moves the first row.
    table.SetFirstRow(1, &area);
    EXPECT_EQ(navigate(table, CGlyphTable::VK_UP), "1599");
    EXPECT_EQ(navigate(table, CGlyphTable::VK_UP), "1542");
    ASSERT_EQ(table.HitTest(0, 0), 57);
    EXPECT_EQ(navigate(table, CGlyphTable::VK_UP), "0 row -1");
}

TEST_F(BigTable, ScrollCodesMoveTheFirstRowAndTheThumb) {
    EXPECT_EQ(scroll(CGlyphTable::SB_BOTTOM), 94);
    EXPECT_EQ(bar.position, 94);
    EXPECT_EQ(scroll(CGlyphTable::SB_LINEDOWN), 94) << "already at the bottom";
    EXPECT_EQ(scroll(CGlyphTable::SB_LINEUP), 93);
    EXPECT_EQ(bar.position, 93);
    for (int code : {2, 3, 4, 8})
        EXPECT_EQ(scroll(code, 5), 93) << "code " << code;
    EXPECT_EQ(scroll(CGlyphTable::SB_THUMBTRACK, 40), 40);
    EXPECT_EQ(scroll(CGlyphTable::SB_TOP), 0);
    EXPECT_EQ(scroll(CGlyphTable::SB_LINEUP), 0);

    // The last page ends with the last glyph.
    scroll(CGlyphTable::SB_BOTTOM);
    EXPECT_EQ(table.HitTest(0, 28 * 17), 122 * 57);

    // A redraw keeps the first row and puts the thumb on it.
    bar.position = -1;
    ASSERT_TRUE(table.Draw(&area, font.get(), &bar));
    EXPECT_EQ(table.FirstRow(), 94);
    EXPECT_EQ(bar.position, 94);
}

TEST_F(BigTable, FindEncodingSelectsAndChoosesTheFirstRowToShow) {
    int target = -5;
    EXPECT_EQ(table.FindEncoding(32 + 100, &target), 100);
    EXPECT_EQ(target, 0) << "on the visible page";
    EXPECT_EQ(table.Selected(), 100);

    EXPECT_EQ(table.FindEncoding(32 + 5000, &target), 5000);
    EXPECT_EQ(target, 5000 / 57) << "below the page: its own row";

    target = -5;
    EXPECT_EQ(table.FindEncoding(31, &target), -1);
    EXPECT_EQ(target, -5) << "not written on a miss";
    EXPECT_EQ(table.Selected(), 5000) << "a miss keeps the selection";

    EXPECT_EQ(table.FindEncoding(32 + 6999, &target), 6999);
    EXPECT_EQ(target, 6999 / 57) << "beyond the scroll range; the view clamps it";
    EXPECT_GT(target, table.ScrollMaximum());

    table.DetachFont();
    EXPECT_EQ(table.FindEncoding(32, &target), -1);
}

TEST(GlyphTable, SmallAreasNeverDivideByZero) {
    TestFont font{40, 30};
    font.addMany(20);
    CGlyphTable table;

    FakeArea narrow{QSize(20, 100)}; // narrower than a cell and than the margin
    ASSERT_TRUE(table.Draw(&narrow, font.get(), nullptr));
    EXPECT_EQ(layout(table), "area 0,0 5x100, cell 41x31, 1 x 3 = 3 a page, 20 rows, scroll max 17");
    EXPECT_EQ(navigate(table, CGlyphTable::VK_RIGHT), "no");
    EXPECT_EQ(navigate(table, CGlyphTable::VK_DOWN), "1");

    FakeArea flat{QSize(300, 10)}; // lower than a cell: no rows, an empty page
    ASSERT_TRUE(table.Draw(&flat, font.get(), nullptr));
    EXPECT_EQ(table.Rows(), 0);
    EXPECT_EQ(table.PageCells(), 0);
    EXPECT_EQ(table.HitTest(0, 0), -1);
    EXPECT_EQ(navigate(table, CGlyphTable::VK_DOWN), "7 row +1"); // 6 columns

    TestFont empty{8, 8};
    ASSERT_TRUE(table.Draw(&flat, empty.get(), nullptr));
    EXPECT_EQ(table.TotalRows(), 0);
    EXPECT_FALSE(table.HasPage()) << "a font without encoded glyphs shows nothing";

    EXPECT_FALSE(table.Draw(nullptr, font.get(), nullptr));
    EXPECT_FALSE(table.Draw(&flat, nullptr, nullptr));
}

TEST(GlyphTable, ScrollBarHiddenWhenEverythingFitsAndFirstRowBounded) {
    TestFont font{7, 7};
    font.addMany(20);
    FakeArea area{QSize(8 * 8 + 15, 100)}; // 8 columns, 3 rows of 12 visible
    FakeScrollBar bar;
    CGlyphTable table;
    ASSERT_TRUE(table.Draw(&area, font.get(), &bar));
    EXPECT_EQ(bar.state(), "hidden, range 0-0 at -1, top -1 height -1") << "a hidden bar is not placed";
    table.SetFirstRow(2, &area);
    EXPECT_EQ(table.FirstRow(), 2);
    table.SetFirstRow(3, &area);
    EXPECT_EQ(table.FirstRow(), 2) << "only existing rows";
    table.SetFirstRow(-1, &area);
    EXPECT_EQ(table.FirstRow(), 2);
}
