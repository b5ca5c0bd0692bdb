// The font view's own widgets: the table's area and the information panels' text.

#include "glyph_table_area.h"
#include "info_text.h"
#include "test_font.h"

#include <QTest>
#include <gtest/gtest.h>

TEST(GlyphTableArea, DrawsTheTableOnItsFirstPaintAfterAResizeOrInvalidateAndElseShowsTheLastPage) {
    TestFont font{4, 4};
    font.addMany(3);
    CGlyphTable table;
    int draws = 0;
    CGlyphTableArea area(nullptr, table, [&] { draws += table.Draw(&area, font.get(), nullptr); });
    area.resize(40, 12);
    area.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
    // The draws a repaint made, and the first cell's top row on the screen.
    const auto repaint = [&] {
        const int before = draws;
        const QImage shot = area.grab().toImage();
        QString text = QString::number(draws - before);
        for (int x = 1; x < 6; ++x)
            text += " " + QColor(shot.pixel(x, 1)).name();
        return text.toStdString();
    };
    EXPECT_EQ(draws, 1);
    EXPECT_EQ(repaint(), "0 #ffffff #000080 #000080 #000080 #c0c0c0") << "white ink on navy, a grid dot";
    area.resize(60, 12);
    EXPECT_EQ(area.ClientSize(), QSize(58, 10));
    EXPECT_EQ(repaint().front(), '1') << "after a resize";
    area.Invalidate();
    EXPECT_EQ(repaint().front(), '1') << "after Invalidate";
}

TEST(InfoText, EachTabbedValueOfAColumnStartsInOnePlaceWhateverTheLabelsWidth) {
    CInfoText text(nullptr);
    text.setText("DWidth:\t5\r\nWidth:\t5\r\nSize: \t\t5\r\nGlyphs Num: \t5\r\n");
    const QFontMetrics metrics(text.font());
    const int spacing = metrics.lineSpacing(), narrowEnd = metrics.horizontalAdvance("DWidth:"),
              wideEnd = metrics.horizontalAdvance("Glyphs Num:"), blankEnd = narrowEnd + metrics.horizontalAdvance(' '),
              digitEnd = narrowEnd + 2 * metrics.averageCharWidth() + metrics.horizontalAdvance('5');
    text.resize(wideEnd * 3, 5 * spacing);
    const QImage shot = text.grab().toImage();
    // Line 0 to 4 (blank) of the text from x to the end, or to `to`.
    const auto band = [&](int line, int x, int to = 0) {
        return shot.copy(x, line * spacing, (to ? to : shot.width()) - x, spacing);
    };
    EXPECT_EQ(band(1, narrowEnd), band(0, narrowEnd));
    EXPECT_EQ(band(3, wideEnd), band(2, wideEnd));
    EXPECT_NE(band(2, wideEnd), band(4, wideEnd));
    // The first column's values start a blank right of the widest label and within two letters of it.
    EXPECT_EQ(band(0, narrowEnd, blankEnd), band(4, narrowEnd, blankEnd));
    EXPECT_NE(band(0, blankEnd, digitEnd), band(4, blankEnd, digitEnd));
    EXPECT_EQ(band(0, digitEnd), band(4, digitEnd));
}
