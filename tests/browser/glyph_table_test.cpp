// Geometry, hit tests, navigation, find and scrolling of the glyph table.

#include "glyph_table.h"
#include "table_fakes.h"
#include "test_font.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using T = CGlyphTable;

// The grid at a glance: area size, cell size, columns x rows = cells a page, all rows, scroll maximum.
std::string layout(const CGlyphTable &t) {
    const QRect a = t.AreaRect();
    return QString::asprintf("%dx%d, cell %dx%d, %d x %d = %d, %d rows, max %d", a.width(), a.height(), t.CellWidth(),
                             t.CellHeight(), t.Columns(), t.Rows(), t.PageCells(), t.TotalRows(), t.ScrollMaximum())
        .toStdString();
}

// Navigate's answer: "no" (nothing written but a zero row delta), or the new
// index with the row the view must scroll by, if any.
std::string navigate(CGlyphTable &table, int key) {
    int index = -7, delta = -7;
    if (!table.Navigate(key, &index, &delta))
        return index == -7 && delta == 0 ? "no" : "no, but wrote " + std::to_string(index);
    return std::to_string(index) + (delta == 0 ? "" : delta > 0 ? " row +1" : " row -1");
}

} // namespace

TEST(GlyphTable, SevenThousandGlyphsLayOutHitNavigateScrollAndFindAsTheWorkedExample) {
    CGlyphTable table;
    EXPECT_EQ(std::pair(table.HitTest(0, 0), navigate(table, T::VK_RIGHT)), std::pair(-1, std::string("no")));
    TestFont font{16, 16, -2};
    font.addMany(7000, 32);
    FakeArea area{QSize(1000, 500)};
    FakeScrollBar bar;
    ASSERT_TRUE(table.Draw(&area, font.get(), &bar));
    EXPECT_EQ(layout(table) + "; " + bar.state(),
              "985x500, cell 17x17, 57 x 29 = 1653, 123 rows, max 94; shown, range 0-94 at 0, top 0 height 500");
    EXPECT_EQ(area.shown, std::vector<QRect>{QRect(0, 0, 985, 500)});

    // First row, point; the index hit (the selection stays off the grid); a key and Navigate's answer.
    const std::tuple<int, int, int, int, int, std::string> steps[] = {
        {0, 57 * 17, 5, -1, T::VK_RIGHT, "1"},  {0, 57 * 17 - 1, 5, 56, T::VK_RIGHT, "no"},
        {0, -1, 17, -1, T::VK_LEFT, "55"},     {0, 0, 17, 57, T::VK_LEFT, "no"},
        {0, 0, 29 * 17, -1, T::VK_UP, "0"},    {0, 0, -1, -1, T::VK_UP, "no"},
        {0, 51, 28 * 17, 1599, T::VK_DOWN, "1656 row +1"}, {1, 0, 0, 57, T::VK_UP, "0 row -1"},
        {1, 0, 28 * 17, 1653, 13 /* no arrow */, "no"},    {94, 0, 28 * 17, 6954, T::VK_DOWN, "no"},
        {94, 45 * 17, 28 * 17, 6999, T::VK_RIGHT, "7000"} /* an empty cell */,
        {94, 46 * 17, 27 * 17, 6943, T::VK_DOWN, "7000"}};
    for (const auto &[firstRow, x, y, hit, key, moved] : steps) {
        table.SetFirstRow(firstRow, &area);
        EXPECT_EQ(table.HitTest(x, y), hit) << x << "," << y;
        EXPECT_EQ(navigate(table, key), moved) << x << "," << y;
    }

    // Scroll code, thumb; then the first row and the bar's thumb. Pages do not scroll.
    const int scrolls[][4] = {{T::SB_BOTTOM, 0, 94, 94},       {T::SB_LINEDOWN, 0, 94, 94}, {T::SB_LINEUP, 0, 93, 93},
                              {T::SB_PAGEDOWN, 5, 93, 93},     {T::SB_TOP, 0, 0, 0},        {T::SB_LINEUP, 0, 0, 0},
                              {T::SB_THUMBTRACK, 40, 40, 40},  {T::SB_THUMBTRACK, 999, 94, 94}};
    for (const auto &[code, thumb, row, position] : scrolls) {
        table.Scroll(code, thumb, &area);
        EXPECT_EQ(std::pair(table.FirstRow(), bar.position), std::pair(row, position)) << "code " << code;
    }
    for (int row : {123, -1}) // only existing rows
        table.SetFirstRow(row, &area);
    bar.position = -1;
    EXPECT_FALSE(table.Draw(nullptr, font.get(), &bar) || table.Draw(&area, nullptr, &bar));
    ASSERT_TRUE(table.Draw(&area, font.get(), &bar));
    EXPECT_EQ(bar.state(), "shown, range 0-94 at 94, top 0 height 500") << "a redraw keeps the first row";

    // Found: its index, the first row that shows it, the selection; a miss writes nothing.
    const auto find = [&](int32_t encoding, int row = -5) {
        const int index = table.FindEncoding(encoding, &row);
        return QString::asprintf("%d row %d sel %d", index, row, table.Selected()).toStdString();
    };
    EXPECT_EQ(find(32 + 5400), "5400 row 94 sel 5400") << "on the page";
    EXPECT_EQ(find(32 + 100), "100 row 1 sel 100") << "above it: its own row";
    EXPECT_EQ(find(31), "-1 row -5 sel 100");
    table.DetachFont();
    EXPECT_EQ(find(32), "-1 row -5 sel 100") << "no font";
}

TEST(GlyphTable, SmallAreasAndFlatBoxesNeverDivideByZeroAndTheBarShowsOnlyWhenRowsAreHidden) {
    TestFont big{40, 30}, flat{4, 0}, empty{8, 8};
    big.addMany(20);
    flat.addMany(20);
    // Narrower than a cell and the margin, lower than a cell, cells one pixel high, no glyphs.
    const std::pair<TestFont *, QSize> cases[] = {
        {&big, {20, 100}}, {&big, {300, 10}}, {&flat, {35, 3}}, {&flat, {35, 0}}, {&empty, {79, 100}}};
    std::string seen;
    for (const auto &[font, client] : cases) {
        FakeArea area{client};
        FakeScrollBar bar;
        CGlyphTable table;
        ASSERT_TRUE(table.Draw(&area, font->get(), &bar));
        const std::string right = navigate(table, T::VK_RIGHT);
        seen += layout(table) + (bar.visible ? "" : bar.top < 0 ? ", no bar" : ", hidden bar placed") + "; " + right +
                ", " + navigate(table, T::VK_DOWN) + (table.HasPage() ? "\n" : "; no page\n");
    }
    EXPECT_EQ(seen, "5x100, cell 41x31, 1 x 3 = 3, 20 rows, max 17; no, 1\n"
                    "285x10, cell 41x31, 6 x 0 = 0, 4 rows, max 4; 1, 7 row +1\n"
                    "20x3, cell 5x1, 4 x 3 = 12, 5 rows, max 2; 1, 5\n"
                    "20x0, cell 5x1, 4 x 0 = 0, 5 rows, max 5; 1, 5 row +1\n"
                    "64x100, cell 9x9, 7 x 11 = 77, 0 rows, max 0, no bar; 1, no; no page\n");
}
