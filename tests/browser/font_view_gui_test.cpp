// The font view with a hand-built font: layout, panel texts, clicks, keys,
// the scroll bar, the editor hook and the pixels on the screen.

#include "font_view_fixture.h"

#include <QDialog>
#include <QGroupBox>
#include <QWheelEvent>

namespace {

// Turns the wheel by `dy` (120 a notch) over `point` of `widget`; returns whether it took the event.
bool wheel(QWidget *widget, QPointF point, int dy) {
    QWheelEvent event(point, widget->mapToGlobal(point), QPoint(), QPoint(0, dy), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
    return event.isAccepted();
}

// Where the last word of each of the first `lines` lines of a panel starts on the screen: the
// leftmost dark pixel of the ink that ends the line, words parted by at least 4 blank columns.
std::vector<int> lastWordStarts(QLabel *panel, int lines) {
    const QImage shot = panel->grab().toImage();
    const int spacing = QFontMetrics(panel->font()).lineSpacing();
    std::vector<int> starts;
    for (int line = 0; line < lines; ++line) {
        auto inkAt = [&](int x) {
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
}

} // namespace

TEST_F(FontView, StartsWithTheTemplateTextsAndLaysOutThePanelsAlongTheBottom) {
    EXPECT_EQ(glyphPanel(), "No glyph is selected.");
    EXPECT_EQ(label(res::IDC_FONT_INFO), "No file is opened.");

    const QSize base = res::dialogBaseUnits(&view);
    const QSize panel = res::dialogUnitsToPixels(0, 250, 187, 83, base).size();
    const int w1 = panel.width(), h1 = panel.height();
    auto geometry = [&](int id) { return res::controlById(&view, id)->geometry(); };
    EXPECT_EQ(geometry(res::IDC_GLYPH_GROUP), QRect(0, 700 - h1, w1, h1));
    EXPECT_EQ(geometry(res::IDC_GLYPH_INFO), QRect(20, 700 - h1 + 20, w1 - 40, h1 - 40));
    EXPECT_EQ(geometry(res::IDC_FONT_GROUP), QRect(w1 + 10, 700 - h1, 1000 - w1 - 10, h1));
    EXPECT_EQ(geometry(res::IDC_FONT_INFO), QRect(w1 + 30, 700 - h1 + 20, 1000 - w1 - 50, h1 - 40));
    EXPECT_TRUE(res::controlById(&view, res::IDC_TABLE_SCROLL)->isVisible()) << "visible at creation";
    const int sbw = res::controlById(&view, res::IDC_TABLE_SCROLL)->width();
    EXPECT_EQ(sbw, res::dialogUnitsToPixels(0, 0, 10, 116, base).width());
    EXPECT_EQ(geometry(res::IDC_GLYPH_TABLE), QRect(0, 0, 1000 - sbw, 700 - h1 - 10));
    EXPECT_EQ(geometry(res::IDC_TABLE_SCROLL), QRect(1000 - sbw, 0, sbw, 700 - h1 - 10));
    EXPECT_EQ(res::controlById<QGroupBox>(&view, res::IDC_GLYPH_GROUP)->title(), "Selected Glyph Information");
    EXPECT_EQ(res::controlById<QGroupBox>(&view, res::IDC_FONT_GROUP)->title(), "Font Information");
}

TEST_F(FontView, OpeningShowsTheFontPanelAndTheFirstGlyphHighlighted) {
    EXPECT_FALSE(view.IsFontCommandEnabled());
    open();
    EXPECT_TRUE(view.IsFontCommandEnabled());
    EXPECT_EQ(label(res::IDC_FONT_INFO),
              "File: /fonts/test.bdf\r\n"
              "Font: -Misc-Fixed-Medium-R-Normal--16-120-100-100-C-80-ISO10646-1\r\n"
              "Size: \t\t12\r\n"
              "Max Width:\t16\r\n"
              "Max Height:\t16\r\n"
              "Glyphs Num: \t6002\r\n");
    EXPECT_EQ(glyphPanel(), "No glyph is selected.") << "kept until a selection";
    EXPECT_EQ(view.GlyphTable().FirstRow(), 0);
    EXPECT_TRUE(view.ScrollBar()->isVisible());
    EXPECT_EQ(view.ScrollBar()->value(), 0);

    // On the screen: the first cell navy with white ink (glyph A fills 8 x 10 from x = 4).
    const QImage shot = view.grab().toImage();
    const QPoint origin = view.TableArea()->contentsRect().topLeft();
    EXPECT_EQ(QColor(shot.pixel(origin + QPoint(0, 0))), QColor(0, 0, 128));
    EXPECT_EQ(QColor(shot.pixel(origin + QPoint(4, 4))), QColor(255, 255, 255));
    EXPECT_EQ(QColor(shot.pixel(origin + QPoint(16, 0))), QColor(192, 192, 192)) << "grid line";
    EXPECT_EQ(QColor(shot.pixel(origin + QPoint(17, 0))), QColor(255, 255, 255)) << "second cell, blank";
}

TEST_F(FontView, ClicksSelectGlyphsAndShowTheirSevenLines) {
    open();
    QTest::mouseClick(&view, Qt::LeftButton, {}, cellPoint(1));
    EXPECT_EQ(view.Selected(), 1);
    EXPECT_EQ(glyphPanel(),
              "Glyph Name: ydieresis\r\n"
              "Encodeing: 255 [00ff]\r\n"
              "DWidth:\t5\r\n"
              "Width:\t5\r\n"
              "Height:\t3\r\n"
              "X_offset: -1\r\n"
              "Y_offset: -2\r\n");
    QTest::mouseClick(&view, Qt::LeftButton, {}, cellPoint(0));
    EXPECT_TRUE(glyphPanel().startsWith("Glyph Name: A\r\nEncodeing: 65 [0041]\r\n"));

    // Inside the area but right of the grid: no glyph, the selection stays.
    const CGlyphTable &table = view.GlyphTable();
    const QPoint rightOfGrid = view.TableArea()->contentsRect().topLeft() + QPoint(table.Columns() * 17 + 2, 5);
    QTest::mouseClick(&view, Qt::LeftButton, {}, rightOfGrid);
    EXPECT_EQ(view.Selected(), -1);
    EXPECT_EQ(table.Selected(), 0);
    EXPECT_EQ(glyphPanel(), "No glyph is selected.");

    // Below the area (on the panels): nothing changes.
    QTest::mouseClick(&view, Qt::LeftButton, {}, cellPoint(1));
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(5, 690));
    EXPECT_EQ(view.Selected(), 1);
}

TEST_F(FontView, EachPanelStartsItsTabbedValuesInOneColumnWhateverTheLabelsWidth) {
    open();
    QTest::mouseClick(&view, Qt::LeftButton, {}, cellPoint(1));
    auto *glyphText = res::controlById<QLabel>(&view, res::IDC_GLYPH_INFO);
    auto *fontText = res::controlById<QLabel>(&view, res::IDC_FONT_INFO);
    ASSERT_EQ(glyphText->contentsRect().topLeft(), QPoint(0, 0));
    // DWidth, Width and Height (lines 3 to 5); Size to Glyphs Num (lines 3 to 6).
    const std::vector<int> glyphStarts = lastWordStarts(glyphText, 5), fontStarts = lastWordStarts(fontText, 6);
    const int labelEnd = QFontMetrics(glyphText->font()).horizontalAdvance("DWidth:");
    EXPECT_GT(glyphStarts[2], labelEnd);
    EXPECT_LT(glyphStarts[2], labelEnd + 2 * QFontMetrics(glyphText->font()).averageCharWidth());
    EXPECT_EQ(glyphStarts[3], glyphStarts[2]);
    EXPECT_EQ(glyphStarts[4], glyphStarts[2]);
    EXPECT_GT(fontStarts[2], QFontMetrics(fontText->font()).horizontalAdvance("Glyphs Num:"));
    EXPECT_EQ(fontStarts[3], fontStarts[2]);
    EXPECT_EQ(fontStarts[4], fontStarts[2]);
    EXPECT_EQ(fontStarts[5], fontStarts[2]);
}

TEST_F(FontView, ArrowKeysMoveTheSelectionAndScrollAtThePageEdge) {
    open();
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(view.Selected(), 1) << "right after opening: glyph 1";
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(view.Selected(), 0);
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(view.Selected(), 0) << "no move from the first column";

    const CGlyphTable &table = view.GlyphTable();
    const int cols = table.Columns();
    for (int i = 0; i < table.Rows() - 1; ++i)
        QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(view.Selected(), (table.Rows() - 1) * cols);
    EXPECT_EQ(table.FirstRow(), 0);
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(table.FirstRow(), 1);
    EXPECT_EQ(view.ScrollBar()->value(), 1);

    // With the scroll bar focused the keys still move the selection, never the bar by itself.
    view.ScrollBar()->setFocus();
    QTest::keyClick(view.ScrollBar(), Qt::Key_Up);
    EXPECT_EQ(view.Selected(), (table.Rows() - 1) * cols);
    EXPECT_EQ(view.ScrollBar()->value(), 1);
    QTest::keyClick(view.ScrollBar(), Qt::Key_PageDown);
    EXPECT_EQ(view.ScrollBar()->value(), 1);
}

TEST_F(FontView, TheScrollBarScrollsByLinesAndThumbButNotByPages) {
    open();
    CKeylessScrollBar *bar = view.ScrollBar();
    const CGlyphTable &table = view.GlyphTable();
    EXPECT_EQ(bar->maximum(), table.TotalRows() - table.Rows());
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(table.FirstRow(), 1);
    EXPECT_EQ(bar->value(), 1);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(table.FirstRow(), 1);
    EXPECT_EQ(bar->value(), 1);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(table.FirstRow(), table.ScrollMaximum());
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(table.FirstRow(), table.ScrollMaximum() - 1);
    EXPECT_EQ(bar->value(), table.ScrollMaximum() - 1);

    // The wheel over the table scrolls it by the desktop's lines per notch.
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    wheel(&view, QPointF(50, 50), -120);
    EXPECT_EQ(table.FirstRow(), QApplication::wheelScrollLines());
    EXPECT_EQ(bar->value(), table.FirstRow());
    wheel(&view, QPointF(50, 50), 60);
    EXPECT_EQ(table.FirstRow(), QApplication::wheelScrollLines()) << "half a notch";
    wheel(&view, QPointF(50, 50), 60);
    EXPECT_EQ(table.FirstRow(), 0);
    EXPECT_FALSE(wheel(bar, QPointF(2, 2), -240)) << "the bar leaves the wheel to the view";
    EXPECT_EQ(table.FirstRow(), 0) << "and does not scroll by itself";

    // Opening again starts at the first row.
    view.OnUpdate(font.get());
    view.OnInitialUpdate();
    EXPECT_EQ(table.FirstRow(), 0);
}

TEST_F(FontView, DoubleClickOpensOneEditorAndItsChangesMarkTheDocument) {
    open();
    struct Call {
        QWidget *editor;
        bdf_glyph *glyph;
        const bdf_font *font;
    };
    std::vector<Call> calls;
    int created = 0, detached = 0;
    std::function<void()> notify;
    view.SetEditorHook({[&](QWidget *parent, std::function<void()> changed) -> QWidget * {
                            ++created;
                            notify = std::move(changed);
                            return new QDialog(parent);
                        },
                        [&](QWidget *editor, bdf_glyph *glyph, const bdf_font *edited) {
                            calls.push_back({editor, glyph, edited});
                        },
                        [&](QWidget *editor) {
                            ++detached;
                            editor->hide();
                        },
                        [](QWidget *) { return true; }});
    QTest::mouseDClick(&view, Qt::LeftButton, {}, cellPoint(0));
    QTest::mouseDClick(&view, Qt::LeftButton, {}, cellPoint(1));
    EXPECT_EQ(created, 1);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].editor, calls[0].editor);
    EXPECT_EQ(calls[1].glyph, &font.get()->glyphs[1]);
    EXPECT_EQ(calls[1].font, font.get());
    EXPECT_TRUE(view.EditDialog()->isVisible());

    // The editor changes the glyph's device width and reports it.
    font.get()->glyphs[1].dwidth = 9;
    notify();
    EXPECT_TRUE(document.modified);
    EXPECT_TRUE(glyphPanel().contains("DWidth:\t9\r\n"));

    // The document releasing its font detaches the editor; another font's
    // update does too, and the next double-click reuses the window.
    view.OnFontReleasing();
    EXPECT_EQ(detached, 1);
    EXPECT_FALSE(view.EditDialog()->isVisible());
    TestFont second{16, 16};
    second.addMany(5);
    document.font = second.get();
    view.OnUpdate(second.get());
    EXPECT_EQ(detached, 1) << "already detached from the first font";
    QTest::mouseDClick(&view, Qt::LeftButton, {}, cellPoint(0));
    view.OnUpdate(nullptr);
    EXPECT_EQ(detached, 1) << "same font: the editor stays";
    document.font = font.get();
    view.OnUpdate(font.get());
    EXPECT_EQ(detached, 2);
    EXPECT_EQ(created, 1);
}

TEST_F(FontView, WithoutAFontClicksAndKeysOnlyClearTheGlyphPanel) {
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(glyphPanel(), "No glyph is selected.");
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(glyphPanel(), "No glyph is selected.");
    const QImage shot = view.TableArea()->grab().toImage();
    EXPECT_NE(QColor(shot.pixel(5, 5)), QColor(0, 0, 128)) << "nothing drawn";
}
