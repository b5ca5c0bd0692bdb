// The font view with a hand-built font: panel texts, clicks, keys, the scroll
// bar, the editor hook and the pixels on the screen.

#include "font_view_fixture.h"

#include <QDialog>
#include <QGroupBox>
#include <QWheelEvent>

TEST_F(FontView, ClicksAndArrowKeysSelectGlyphsAndTheScreenShowsTheHighlight) {
    EXPECT_EQ(res::controlById<QGroupBox>(&view, res::IDC_GLYPH_GROUP)->title(), "Selected Glyph Information");
    EXPECT_EQ(res::controlById<QGroupBox>(&view, res::IDC_FONT_GROUP)->title(), "Font Information");
    EXPECT_EQ(label(res::IDC_FONT_INFO), "No file is opened.");
    EXPECT_TRUE(view.ScrollBar()->isVisible()) << "visible at creation";
    // Without a font clicks and keys only clear the glyph panel.
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(5, 5));
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(glyphPanel(), "No glyph is selected.");
    EXPECT_FALSE(view.IsFontCommandEnabled());

    open();
    EXPECT_TRUE(view.IsFontCommandEnabled());
    // The first cell navy with white ink (glyph A fills 8 x 10 from x = 4), a grid dot, the blank second cell.
    const QImage shot = view.grab().toImage();
    QStringList colours;
    for (QPoint p : {QPoint(0, 0), QPoint(4, 4), QPoint(16, 0), QPoint(17, 0)})
        colours << QColor(shot.pixel(view.TableArea()->contentsRect().topLeft() + p)).name();
    EXPECT_EQ(colours.join(' '), "#000080 #ffffff #c0c0c0 #ffffff");

    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(view.Selected(), 1) << "right after opening: glyph 1";
    EXPECT_EQ(glyphPanel(), "Glyph Name: ydieresis\r\nEncodeing: 255 [00ff]\r\nDWidth:\t5\r\nWidth:\t5\r\n"
                            "Height:\t3\r\nX_offset: -1\r\nY_offset: -2\r\n");
    QTest::keyClick(&view, Qt::Key_Left);
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(view.Selected(), 0) << "no move from the first column";
    EXPECT_TRUE(glyphPanel().startsWith("Glyph Name: A\r\nEncodeing: 65 [0041]\r\n"));

    // A click on the panels below the table changes nothing; one right of the grid selects no glyph.
    const CGlyphTable &table = view.GlyphTable();
    QTest::mouseClick(&view, Qt::LeftButton, {}, cellPoint(1));
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(5, 690));
    EXPECT_EQ(view.Selected(), 1);
    const QPoint rightOfGrid = view.TableArea()->contentsRect().topLeft() + QPoint(table.Columns() * 17 + 2, 5);
    QTest::mouseClick(&view, Qt::LeftButton, {}, rightOfGrid);
    EXPECT_EQ(std::pair(view.Selected(), table.Selected()), std::pair(-1, 1));
    EXPECT_EQ(glyphPanel(), "No glyph is selected.");

    // Down scrolls one row at the page's edge; with the scroll bar focused the
    // keys still move the selection, never the bar by itself.
    for (int i = 0; i < table.Rows(); ++i)
        QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(view.Selected(), table.Rows() * table.Columns() + 1);
    EXPECT_EQ(std::pair(table.FirstRow(), view.ScrollBar()->value()), std::pair(1, 1));
    view.ScrollBar()->setFocus();
    QTest::keyClick(view.ScrollBar(), Qt::Key_Up);
    QTest::keyClick(view.ScrollBar(), Qt::Key_PageDown);
    EXPECT_EQ(view.Selected(), (table.Rows() - 1) * table.Columns() + 1);
    EXPECT_EQ(std::pair(table.FirstRow(), view.ScrollBar()->value()), std::pair(1, 1));
}

TEST_F(FontView, TheScrollBarAndTheWheelScrollByLinesAndThumbButNotByPages) {
    open();
    CKeylessScrollBar *bar = view.ScrollBar();
    const CGlyphTable &table = view.GlyphTable();
    EXPECT_EQ(bar->maximum(), table.TotalRows() - table.Rows());
    const auto rowAfter = [&](QAbstractSlider::SliderAction action) {
        bar->triggerAction(action);
        EXPECT_EQ(bar->value(), table.FirstRow());
        return table.FirstRow();
    };
    EXPECT_EQ(rowAfter(QAbstractSlider::SliderSingleStepAdd), 1);
    EXPECT_EQ(rowAfter(QAbstractSlider::SliderPageStepAdd), 1);
    EXPECT_EQ(rowAfter(QAbstractSlider::SliderToMaximum), table.ScrollMaximum());
    EXPECT_EQ(rowAfter(QAbstractSlider::SliderSingleStepSub), table.ScrollMaximum() - 1);
    EXPECT_EQ(rowAfter(QAbstractSlider::SliderToMinimum), 0);

    // The wheel over the table scrolls it by the desktop's lines per notch, half notches adding up.
    const auto wheel = [&](QWidget *widget, int dy) {
        QWheelEvent event(QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), QPoint(), QPoint(0, dy), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &event);
        EXPECT_EQ(bar->value(), table.FirstRow());
        return std::pair(event.isAccepted(), table.FirstRow());
    };
    EXPECT_EQ(wheel(&view, -120), std::pair(true, QApplication::wheelScrollLines()));
    EXPECT_EQ(wheel(&view, 60), std::pair(true, QApplication::wheelScrollLines()));
    EXPECT_EQ(wheel(&view, 60), std::pair(true, 0));
    EXPECT_EQ(wheel(bar, -240), std::pair(false, 0)) << "the bar leaves the wheel to the view";

    // Opening again starts at the first row.
    rowAfter(QAbstractSlider::SliderToMaximum);
    view.OnUpdate(font.get());
    view.OnInitialUpdate();
    EXPECT_EQ(table.FirstRow(), 0);
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

TEST_F(FontView, DoubleClickOpensOneEditorAndItsChangesMarkTheDocument) {
    open();
    std::vector<std::pair<bdf_glyph *, const bdf_font *>> edits;
    int created = 0, detached = 0;
    std::function<void()> changed;
    view.SetEditorHook({[&](QWidget *parent, std::function<void()> notify) -> QWidget * {
                            ++created;
                            changed = std::move(notify);
                            return new QDialog(parent);
                        },
                        [&](QWidget *, bdf_glyph *glyph, const bdf_font *edited) { edits.push_back({glyph, edited}); },
                        [&](QWidget *editor) { ++detached, editor->hide(); }, [](QWidget *) { return true; }});
    QTest::mouseDClick(&view, Qt::LeftButton, {}, cellPoint(0));
    QTest::mouseDClick(&view, Qt::LeftButton, {}, cellPoint(1));
    EXPECT_EQ(std::pair(created, edits.size()), std::pair(1, size_t(2)));
    EXPECT_EQ(edits.back(), std::pair(&font.get()->glyphs[1], static_cast<const bdf_font *>(font.get())));
    EXPECT_TRUE(view.EditDialog()->isVisible());

    // The editor changes the glyph's device width and reports it.
    font.get()->glyphs[1].dwidth = 9;
    changed();
    EXPECT_TRUE(document.modified);
    EXPECT_TRUE(glyphPanel().contains("DWidth:\t9\r\n"));

    // Releasing the font detaches the editor; another font's update does
    // too, once, and the next double-click reuses the window.
    view.OnFontReleasing();
    EXPECT_FALSE(view.EditDialog()->isVisible());
    TestFont second{16, 16};
    second.addMany(5);
    document.font = second.get();
    view.OnUpdate(second.get());
    QTest::mouseDClick(&view, Qt::LeftButton, {}, cellPoint(0));
    view.OnUpdate(nullptr);
    EXPECT_EQ(detached, 1) << "same font: the editor stays";
    document.font = font.get();
    view.OnUpdate(font.get());
    EXPECT_EQ(std::pair(detached, created), std::pair(2, 1));
}
