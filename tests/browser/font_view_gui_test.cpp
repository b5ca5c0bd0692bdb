// The font view with a hand-built font: clicks, keys, the scroll bar and the
// wheel, the panels' texts and the pixels on the screen.

#include "font_view_fixture.h"
#include "info_text.h"

#include <QGroupBox>
#include <QWheelEvent>

TEST_F(FontView, ClicksKeysAndTheScrollBarSelectAndScrollAndThePanelsFollow) {
    EXPECT_EQ(glyphPanel() + " | " + label(res::IDC_FONT_INFO), "No glyph is selected. | No file is opened.");
    EXPECT_EQ(res::controlById<QGroupBox>(&view, res::IDC_GLYPH_GROUP)->title(), "Selected Glyph Information");
    EXPECT_EQ(res::controlById<QGroupBox>(&view, res::IDC_FONT_GROUP)->title(), "Font Information");
    open();
    const CGlyphTable &table = view.GlyphTable();
    view.resize(1200, 700); // the table follows the area's size
    view.repaint();
    EXPECT_EQ(table.Columns(), (view.TableArea()->contentsRect().width() - CGlyphTable::kRightMargin) / 17);
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
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(5, 690));
    QTest::mouseClick(&view, Qt::LeftButton, {}, cellPoint(table.Columns() - 1) + QPoint(11, 0));
    EXPECT_EQ(std::pair(view.Selected(), table.Selected()), std::pair(-1, 1));
    EXPECT_EQ(glyphPanel(), "No glyph is selected.");

    // Down scrolls one row at the page's edge; the scroll bar leaves keys and the wheel to the view.
    for (int i = 0; i < table.Rows(); ++i)
        QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(view.ScrollBar(), Qt::Key_Up);
    QTest::keyClick(view.ScrollBar(), Qt::Key_PageDown);
    EXPECT_EQ(view.Selected(), (table.Rows() - 1) * table.Columns() + 1);
    view.ScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    view.ScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(std::pair(table.FirstRow(), view.ScrollBar()->value()), std::pair(2, 2)) << "lines, not pages";
    const auto wheel = [&](QWidget *widget, int dy) {
        QWheelEvent event(QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), QPoint(), QPoint(0, dy), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &event);
        return table.FirstRow();
    };
    const int lines = QApplication::wheelScrollLines();
    EXPECT_EQ(wheel(view.ScrollBar(), -120), 2);
    EXPECT_EQ(wheel(&view, -120), 2 + lines) << "the desktop's lines a notch";
    EXPECT_EQ(wheel(&view, 60), 2 + lines);
    EXPECT_EQ(wheel(&view, 60), 2) << "half notches add up";
    EXPECT_EQ(view.ScrollBar()->value(), 2);
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
    // Lines 0 to 3 of the text from x to the end, or to `to`; line 4 is blank.
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
