// The font view with a hand-built font: clicks, keys, the scroll bar and the
// wheel, the panels' texts and the pixels on the screen.

#include "font_view_fixture.h"

#include <QGroupBox>
#include <QWheelEvent>

TEST_F(FontView, ClicksKeysAndTheScrollBarSelectAndScrollAndThePanelsFollow) {
    EXPECT_EQ(glyphPanel() + " | " + label(res::IDC_FONT_INFO), "No glyph is selected. | No file is opened.");
    EXPECT_EQ(res::controlById<QGroupBox>(&view, res::IDC_GLYPH_GROUP)->title(), "Selected Glyph Information");
    EXPECT_EQ(res::controlById<QGroupBox>(&view, res::IDC_FONT_GROUP)->title(), "Font Information");
    open();
    // The first cell navy with white ink (glyph A fills 8 x 10 from x = 4), a grid dot, the blank second cell.
    const QImage shot = view.grab().toImage();
    QStringList colours;
    for (QPoint p : {QPoint(0, 0), QPoint(4, 4), QPoint(16, 0), QPoint(17, 0)})
        colours << QColor(shot.pixel(view.TableArea()->contentsRect().topLeft() + p)).name();
    EXPECT_EQ(colours.join(' '), "#000080 #ffffff #c0c0c0 #ffffff");

    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(glyphPanel(), "Glyph Name: ydieresis\r\nEncodeing: 255 [00ff]\r\nDWidth:\t5\r\nWidth:\t5\r\n"
                            "Height:\t3\r\nX_offset: -1\r\nY_offset: -2\r\n")
        << "right after opening: glyph 1";
    // A click on the panels changes nothing; one right of the grid selects no glyph, the highlight stays.
    const CGlyphTable &table = view.GlyphTable();
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(5, 690));
    EXPECT_EQ(view.Selected(), 1);
    QTest::mouseClick(&view, Qt::LeftButton, {}, cellPoint(table.Columns() - 1) + QPoint(11, 0));
    EXPECT_EQ(std::pair(view.Selected(), table.Selected()), std::pair(-1, 1));
    EXPECT_EQ(glyphPanel(), "No glyph is selected.");

    // Down scrolls one row at the page's edge; the scroll bar leaves keys and the wheel to the view.
    for (int i = 0; i < table.Rows(); ++i)
        QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(view.ScrollBar(), Qt::Key_Up);
    QTest::keyClick(view.ScrollBar(), Qt::Key_PageDown);
    EXPECT_EQ(view.Selected(), (table.Rows() - 1) * table.Columns() + 1);
    EXPECT_EQ(std::pair(table.FirstRow(), view.ScrollBar()->value()), std::pair(1, 1));
    view.ScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    view.ScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(std::pair(table.FirstRow(), view.ScrollBar()->value()), std::pair(2, 2)) << "lines, not pages";
    const auto wheel = [&](QWidget *widget, int dy) {
        QWheelEvent event(QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), QPoint(), QPoint(0, dy), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &event);
        return table.FirstRow();
    };
    EXPECT_EQ(wheel(view.ScrollBar(), -120), 2);
    EXPECT_EQ(wheel(&view, -120), 2 + QApplication::wheelScrollLines()) << "the desktop's lines a notch";
    EXPECT_EQ(wheel(&view, 60), 2 + QApplication::wheelScrollLines());
    EXPECT_EQ(wheel(&view, 60), 2) << "half notches add up";
    EXPECT_EQ(view.ScrollBar()->value(), 2);
}

TEST_F(FontView, EachPanelStartsItsTabbedValuesInOneColumnWhateverTheLabelsWidth) {
    open();
    QTest::mouseClick(&view, Qt::LeftButton, {}, cellPoint(1));
    // Where the last word of each line starts on the screen: the leftmost dark
    // pixel of the ink that ends the line, words parted by at least 4 blank columns.
    const auto lastWordStarts = [&](int id, int lines) {
        const QImage shot = res::controlById(&view, id)->grab().toImage();
        const int spacing = QFontMetrics(res::controlById(&view, id)->font()).lineSpacing();
        std::vector<int> starts;
        for (int line = 0; line < lines; ++line) {
            const auto inkAt = [&](int x) {
                for (int y = line * spacing; y < (line + 1) * spacing && y < shot.height(); ++y)
                    if (qGray(shot.pixel(x, y)) < 128)
                        return true;
                return false;
            };
            int x = shot.width() - 1;
            while (x >= 0 && !inkAt(x))
                --x;
            for (int blank = 0; x >= 0 && blank < 4; --x)
                blank = inkAt(x) ? 0 : blank + 1;
            starts.push_back(x + 5);
        }
        return starts;
    };
    // DWidth, Width and Height (lines 3 to 5); Size to Glyphs Num (lines 3 to 6).
    const std::vector<int> glyph = lastWordStarts(res::IDC_GLYPH_INFO, 5), font = lastWordStarts(res::IDC_FONT_INFO, 6);
    const QFontMetrics metrics(res::controlById(&view, res::IDC_GLYPH_INFO)->font());
    EXPECT_GT(glyph[2], metrics.horizontalAdvance("DWidth:"));
    EXPECT_LT(glyph[2], metrics.horizontalAdvance("DWidth:") + 2 * metrics.averageCharWidth());
    EXPECT_EQ(std::vector<int>(glyph.begin() + 2, glyph.end()), std::vector<int>(3, glyph[2]));
    EXPECT_GT(font[2], metrics.horizontalAdvance("Glyphs Num:"));
    EXPECT_EQ(std::vector<int>(font.begin() + 2, font.end()), std::vector<int>(4, font[2]));
}
