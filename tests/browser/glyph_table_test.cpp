// Geometry, hit tests, navigation, find and scrolling of the glyph table.

#include "glyph_table.h"
#include "table_fakes.h"
#include "test_font.h"

#include <gtest/gtest.h>

namespace {

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
};

} // namespace

TEST_F(BigTable, LaysOutTheWorkedExampleAndSetsTheScrollBar) {
    EXPECT_EQ(table.AreaRect(), QRect(0, 0, 985, 500));
    EXPECT_EQ(table.CellWidth(), 17);
    EXPECT_EQ(table.CellHeight(), 17);
    EXPECT_EQ(table.Columns(), 57);
    EXPECT_EQ(table.Rows(), 29);
    EXPECT_EQ(table.PageCells(), 1653);
    EXPECT_EQ(table.TotalRows(), 123);
    EXPECT_EQ(table.ScrollMaximum(), 94);
    EXPECT_EQ(bar.minimum, 0);
    EXPECT_EQ(bar.maximum, 94);
    EXPECT_TRUE(bar.visible);
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(bar.height, 500);
    EXPECT_EQ(bar.position, 0);
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

    table.Scroll(CGlyphTable::SB_THUMBTRACK, 10, &area);
    EXPECT_EQ(table.FirstRow(), 10);
    EXPECT_EQ(table.HitTest(0, 0), 570);
}

TEST(GlyphTable, HitTestAndNavigateBeforeTheFirstDrawDoNothing) {
    CGlyphTable table;
    EXPECT_EQ(table.HitTest(0, 0), -1);
    EXPECT_EQ(table.HitTest(5, 5), -1);
    int index = -7, delta = -7;
    for (int key : {37, 38, 39, 40})
        EXPECT_FALSE(table.Navigate(key, &index, &delta));
    EXPECT_EQ(index, -7);
    EXPECT_EQ(delta, 0);
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

    int index = -1, delta = 5;
    auto selectAt = [&](int i) { ASSERT_EQ(table.HitTest((i % 8) * 10, (i / 8) * 10), i); };

    selectAt(9);
    EXPECT_TRUE(table.Navigate(CGlyphTable::VK_RIGHT, &index, &delta));
    EXPECT_EQ(index, 10);
    EXPECT_EQ(delta, 0);
    selectAt(2);
    EXPECT_TRUE(table.Navigate(CGlyphTable::VK_DOWN, &index, &delta));
    EXPECT_EQ(index, 10);
    selectAt(9);
    EXPECT_FALSE(table.Navigate(CGlyphTable::VK_DOWN, &index, &delta));
    EXPECT_EQ(table.Selected(), 9);

    selectAt(8);
    EXPECT_FALSE(table.Navigate(CGlyphTable::VK_LEFT, &index, &delta)) << "first column";
    selectAt(7);
    EXPECT_FALSE(table.Navigate(CGlyphTable::VK_RIGHT, &index, &delta)) << "last column";
    EXPECT_FALSE(table.Navigate(CGlyphTable::VK_UP, &index, &delta)) << "first row";
    EXPECT_FALSE(table.Navigate(13, &index, &delta)) << "not an arrow";
    EXPECT_TRUE(table.Navigate(CGlyphTable::VK_LEFT, &index, &delta));
    EXPECT_EQ(index, 6);
}

TEST_F(BigTable, UpAndDownScrollByOneRowAtThePageEdges) {
    int index = -1, delta = 0;
    // Bottom row of the page: down scrolls by one.
    ASSERT_EQ(table.HitTest(3 * 17, 28 * 17), 28 * 57 + 3);
    EXPECT_TRUE(table.Navigate(CGlyphTable::VK_DOWN, &index, &delta));
    EXPECT_EQ(index, 29 * 57 + 3);
    EXPECT_EQ(delta, 1);
    // Navigate reports the delta; the view moves the first row.
    table.SetFirstRow(table.FirstRow() + delta, &area);
    EXPECT_EQ(table.FirstRow(), 1);
    EXPECT_TRUE(table.Navigate(CGlyphTable::VK_UP, &index, &delta));
    EXPECT_EQ(delta, 0);
    EXPECT_TRUE(table.Navigate(CGlyphTable::VK_UP, &index, &delta));
    EXPECT_EQ(index, 27 * 57 + 3);
    EXPECT_EQ(delta, 0);
    ASSERT_EQ(table.HitTest(0, 0), 57);
    EXPECT_TRUE(table.Navigate(CGlyphTable::VK_UP, &index, &delta));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(delta, -1);
}

TEST_F(BigTable, ScrollCodesMoveTheFirstRowAndTheThumb) {
    table.Scroll(CGlyphTable::SB_BOTTOM, 0, &area);
    EXPECT_EQ(table.FirstRow(), 94);
    EXPECT_EQ(bar.position, 94);
    table.Scroll(CGlyphTable::SB_LINEDOWN, 0, &area);
    EXPECT_EQ(table.FirstRow(), 94) << "already at the bottom";
    table.Scroll(CGlyphTable::SB_LINEUP, 0, &area);
    EXPECT_EQ(table.FirstRow(), 93);
    EXPECT_EQ(bar.position, 93);
    for (int code : {2, 3, 4, 8}) {
        table.Scroll(code, 5, &area);
        EXPECT_EQ(table.FirstRow(), 93) << "code " << code;
    }
    table.Scroll(CGlyphTable::SB_THUMBTRACK, 40, &area);
    EXPECT_EQ(table.FirstRow(), 40);
    table.Scroll(CGlyphTable::SB_TOP, 0, &area);
    EXPECT_EQ(table.FirstRow(), 0);
    table.Scroll(CGlyphTable::SB_LINEUP, 0, &area);
    EXPECT_EQ(table.FirstRow(), 0);

    // The last page ends with the last glyph.
    table.Scroll(CGlyphTable::SB_BOTTOM, 0, &area);
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
    EXPECT_EQ(table.Columns(), 1);
    EXPECT_EQ(table.Rows(), 3);
    EXPECT_EQ(table.TotalRows(), 20);
    int index = 0, delta = 0;
    EXPECT_FALSE(table.Navigate(CGlyphTable::VK_RIGHT, &index, &delta));
    EXPECT_TRUE(table.Navigate(CGlyphTable::VK_DOWN, &index, &delta));
    EXPECT_EQ(index, 1);

    FakeArea flat{QSize(300, 10)}; // lower than a cell: no rows, an empty page
    ASSERT_TRUE(table.Draw(&flat, font.get(), nullptr));
    EXPECT_EQ(table.Rows(), 0);
    EXPECT_EQ(table.PageCells(), 0);
    EXPECT_EQ(table.HitTest(0, 0), -1);
    EXPECT_TRUE(table.Navigate(CGlyphTable::VK_DOWN, &index, &delta));
    EXPECT_EQ(delta, 1);

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
    EXPECT_FALSE(bar.visible);
    EXPECT_EQ(bar.maximum, 0);
    table.SetFirstRow(2, &area);
    EXPECT_EQ(table.FirstRow(), 2);
    table.SetFirstRow(3, &area);
    EXPECT_EQ(table.FirstRow(), 2) << "only existing rows";
    table.SetFirstRow(-1, &area);
    EXPECT_EQ(table.FirstRow(), 2);
}
