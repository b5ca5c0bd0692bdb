#include "cell_colours.h"
#include "editor_window.h"
#include "scripted_prompts.h"

#include <QScrollBar>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

using namespace res;

TEST(GlyphEditDialog, TheWindowShowsTheGlyphsFieldsThePointersCellAndWideMetricsInFull) {
    Editor e({"##", "#."}, Box(8, 16, -1, -4), 1, -1); // font ascent 12
    e.glyph->encoding = 0xabc;
    e.dialog.Rebuild();
    EXPECT_EQ(e.dialog.windowTitle() + e.Text(IDC_RIGHT) + e.Control(IDC_ZOOM_IN)->toolTip(),
              "Glyph EditRitghtZoom (Ctrl+'+')");
    EXPECT_FALSE(e.dialog.isModal());
    e.MoveTo(0, 0);
    EXPECT_EQ(e.Text(IDC_COORDINATES), "(0, 0)(-1, 11)");
    e.MoveTo(7, 15);
    e.Send(QEvent::MouseMove, Qt::NoButton, e.dialog.GetViewRect().bottomRight() - QPoint(1, 1));
    const QStringList fields{e.Text(IDC_GLYPH_NAME), e.Text(IDC_ENCODING_TEXT), e.Text(IDC_DWIDTH),
                             e.Text(IDC_METRICS), e.Text(IDC_COORDINATES)}; // the cell is kept off the grid
    EXPECT_EQ(fields.join('|'), "A|0ABC|8|width 2 height 2 x_offset 1 y_offset -1\r\nascent 1 descent 1|(7, 15)(6, -4)");
    // Wide metrics: changing the last character of either line changes what the label shows.
    auto big = MakeGlyph(Picture(200, std::string(200, '#')), -100, -100);
    ASSERT_TRUE(e.dialog.SetGlyph(big.get(), Box(200, 200, -100, -100), 1));
    QWidget *metrics = e.Control(IDC_METRICS);
    const QString text = e.Text(IDC_METRICS);
    ASSERT_EQ(text, "width 200 height 200 x_offset -100 y_offset -100\r\nascent 100 descent 100");
    const QImage shown = metrics->grab().toImage();
    for (const qsizetype last : {text.indexOf('\r') - 1, text.size() - 1}) {
        metrics->setProperty("text", QString(text).replace(last, 1, '7'));
        EXPECT_NE(metrics->grab().toImage(), shown) << last;
    }
}

TEST(GlyphEditDialog, OkWritesOnlyWhatChangedWithThePixelsCroppedToTheirInk) {
    Editor e({"#"}); // pixel at grid column 1, row 5
    const unsigned char *bitmap = e.glyph->bitmap;
    EXPECT_FALSE(e.dialog.OnOK());
    e.Type(IDC_GLYPH_NAME, "Alpha");
    e.dialog.ZoomIn(); // a rebuild puts the stored name back
    EXPECT_EQ(e.Text(IDC_GLYPH_NAME), "A");
    e.Type(IDC_GLYPH_NAME, "Alpha");
    e.Type(IDC_DWIDTH, "70000"); // read as atoi does, kept to sixteen bits
    e.ClickButton(1);
    EXPECT_EQ(std::tuple(QString(e.glyph->name), e.glyph->dwidth, e.changed.count()), std::tuple("Alpha", 4464, 1));
    EXPECT_EQ(e.glyph->bitmap, bitmap); // the bitmap and box are left alone
    e.Type(IDC_GLYPH_NAME, ""); // an empty name is not stored
    e.Type(IDC_DWIDTH, " 7x");
    QTest::keyClick(e.Control(IDC_DWIDTH), Qt::Key_Return); // Enter is OK
    e.ClickButton(1); // the same value again changes nothing
    EXPECT_EQ(std::tuple(QString(e.glyph->name), e.glyph->dwidth, e.changed.count()), std::tuple("Alpha", 7, 2));
    EXPECT_TRUE(e.dialog.isVisible());
    e.ClickButton(IDC_PENCIL);
    e.Drag(3, 2, 4, 2);
    e.ClickButton(1);
    e.ClickButton(1); // OK again rewrites and notifies again
    EXPECT_EQ(e.changed.count(), 4);
    EXPECT_EQ(GlyphPicture(*e.glyph), (Picture{"..##", "....", "....", "#..."}));
    EXPECT_EQ(e.Text(IDC_METRICS), "width 4 height 4 x_offset 1 y_offset 0\r\nascent 4 descent 0");
    for (auto [k, r] : {std::pair{1, 5}, {3, 2}, {4, 2}})
        e.Click(k, r, Qt::RightButton);
    e.ClickButton(1);
    EXPECT_EQ(std::tie(e.glyph->bbx.width, e.glyph->bbx.height, e.glyph->bytes, e.glyph->bitmap),
              std::make_tuple(0, 0, 0u, nullptr));
    Editor unnamed({"#"}, Box(8, 8, 0, -2), 1, 0, nullptr); // a glyph without a name gets none
    unnamed.Type(IDC_GLYPH_NAME, "Beta");
    unnamed.ClickButton(1);
    EXPECT_EQ(std::tuple(unnamed.glyph->name, unnamed.changed.count()), std::tuple(nullptr, 0));
}

TEST(GlyphEditDialog, UndoAndRedoWorkByButtonAndByKeyFromAnyControlAndTheTimerGreysTheButtons) {
    Editor e({".#.", "#.#"});
    auto *undo = e.Control(IDC_UNDO), *redo = e.Control(IDC_REDO);
    e.dialog.OnTimer();
    EXPECT_FALSE(undo->isEnabled() || redo->isEnabled());
    e.ClickButton(IDC_PENCIL);
    e.Click(5, 5);
    e.Click(6, 6);
    EXPECT_TRUE(QTest::qWaitFor([&] { return undo->isEnabled() && !redo->isEnabled(); }, 2000));
    e.ClickButton(IDC_UNDO);
    e.KeyIn(IDC_GLYPH_NAME, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return redo->isEnabled() && !undo->isEnabled(); }, 2000));
    e.ClickButton(1); // no net edit: OK writes and sends nothing and the window stays
    EXPECT_EQ(std::tuple(e.changed.count(), e.dialog.isVisible()), std::tuple(0, true));
    e.KeyIn(IDC_GLYPH_NAME, Qt::Key_Y, Qt::ControlModifier);
    e.ClickButton(IDC_REDO);
    e.ClickButton(1);
    EXPECT_EQ(GlyphPicture(*e.glyph), (Picture{".#....", "#.#.#.", ".....#"}));
}

TEST(GlyphEditDialog, EscapeAndTheCloseBoxAskOnlyAboutChangesNotYetAppliedAndCancelDropsThem) {
    ScriptedPrompts prompts;
    Editor e({"#"}); // pixel at grid column 1, row 5
    const auto asked = [&] {
        QStringList texts;
        for (const auto &box : prompts.boxes)
            texts << QString::number(box.type) + ": " + box.text;
        prompts.boxes.clear();
        return texts.join('\n').toStdString();
    };
    const auto reopenAndDraw = [&](int k) {
        e.Open(e.glyph);
        e.Click(k, 3);
    };
    const std::string question = "35: Apply the changes to the glyph \"A\"?";
    e.ClickButton(IDC_PENCIL);
    e.Click(1, 3);
    prompts.boxAnswers = {prompts::IDCANCEL, prompts::IDCANCEL, prompts::IDNO}; // Cancel: the window stays
    QTest::keyClick(&e.dialog, Qt::Key_Escape);
    EXPECT_FALSE(e.dialog.close());
    EXPECT_TRUE(e.dialog.close()); // No: dropped, the glyph starts over as stored
    EXPECT_EQ(asked(), question + "\n" + question + "\n" + question);
    EXPECT_EQ(std::tuple(e.dialog.Canvas().History().CanUndo(), e.changed.count()), std::tuple(0, 0));
    reopenAndDraw(1); // Yes: what OK does, the typed device width included
    e.Type(IDC_DWIDTH, "3");
    prompts.boxAnswers = {prompts::IDYES};
    QTest::keyClick(&e.dialog, Qt::Key_Escape);
    EXPECT_EQ(asked(), question);
    EXPECT_EQ(std::tuple(e.dialog.isVisible(), GlyphPicture(*e.glyph), e.glyph->dwidth, e.changed.count()),
              std::tuple(false, Picture{"#", ".", "#"}, 3, 1));
    // Nothing asks once OK has applied the pixels, after undoing them, or on Cancel, which drops
    // them and the typed width; the next opening starts afresh with the tool kept.
    reopenAndDraw(2);
    e.ClickButton(1);
    QTest::keyClick(&e.dialog, Qt::Key_Escape);
    reopenAndDraw(3);
    e.ClickButton(IDC_UNDO);
    EXPECT_TRUE(e.dialog.close());
    reopenAndDraw(3);
    e.Type(IDC_DWIDTH, "5");
    e.ClickButton(2);
    EXPECT_EQ(asked(), "");
    EXPECT_EQ(std::tuple(e.dialog.isVisible(), GlyphPicture(*e.glyph), e.glyph->dwidth),
              std::tuple(false, Picture{"##", "..", "#."}, 3));
    e.Open(e.glyph);
    EXPECT_EQ(std::tuple(e.dialog.Canvas().History().CanUndo(), e.dialog.Canvas().CurrentTool()),
              std::tuple(0, int(TOOL_PENCIL)));
    // A typed name and a typed device width are changes too; No keeps the stored ones.
    e.Type(IDC_GLYPH_NAME, "B");
    prompts.boxAnswers = {prompts::IDNO, prompts::IDNO};
    QTest::keyClick(&e.dialog, Qt::Key_Escape);
    e.Open(e.glyph);
    e.Type(IDC_DWIDTH, "9");
    EXPECT_TRUE(e.dialog.close());
    EXPECT_EQ(asked(), question + "\n" + question);
    EXPECT_EQ(std::tuple(QString(e.glyph->name), e.glyph->dwidth, e.changed.count()), std::tuple("A", 3, 2));
    // So is a selection moved and not yet dropped; a glyph without a name is named by its encoding.
    Editor unnamed({"#"}, Box(8, 8, 0, -2), 1, 0, nullptr);
    unnamed.ClickButton(IDC_SELECT);
    unnamed.Drag(0, 4, 2, 5);
    unnamed.ClickButton(IDC_UP);
    prompts.boxAnswers = {prompts::IDCANCEL};
    QTest::keyClick(&unnamed.dialog, Qt::Key_Escape);
    EXPECT_EQ(asked(), "35: Apply the changes to the glyph with encoding 0041?");
}

TEST(GlyphEditDialog, ArrowKeysEvenFromAnEditAndShiftButtonsMoveTheSelectionOrElseTheGlyph) {
    Editor e({"##", "##"}, Box(8, 8, 0, -2), 0, 0); // grid rows 4..5, columns 0..1
    e.ClickButton(IDC_SELECT);
    e.Drag(0, 4, 1, 5);
    e.MoveTo(1, 4);
    EXPECT_EQ(e.Frame()->cursor().shape(), Qt::SizeAllCursor); // over a lifted selection
    e.KeyIn(IDC_DWIDTH, Qt::Key_Right);
    e.KeyIn(IDC_DWIDTH, Qt::Key_Up);
    e.ClickButton(IDC_RIGHT);
    EXPECT_EQ(e.dialog.Canvas().Selection().current, (CellRect{2, 3, 4, 5}));
    e.ClickButton(1); // OK drops the selection and writes it
    EXPECT_EQ(std::tuple(e.glyph->bbx.x_offset, e.glyph->bbx.y_offset, e.dialog.Canvas().Selection().active),
              std::tuple(2, 1, 0));
    // No selection: the whole glyph. A device width typed before stays through the shift and a zoom.
    e.Type(IDC_DWIDTH, "12");
    e.ClickButton(IDC_DOWN);
    e.dialog.ZoomIn();
    EXPECT_EQ(e.Text(IDC_DWIDTH), "12");
    e.ClickButton(1);
    EXPECT_EQ(std::tuple(e.glyph->bbx.y_offset, e.glyph->dwidth, e.changed.count()), std::tuple(0, 12, 2));
    e.glyph->dwidth = 5; // a stored width shows again once nothing typed is pending
    e.dialog.ZoomOut();
    EXPECT_EQ(e.Text(IDC_DWIDTH), "5");
}

TEST(GlyphEditDialog, AFontOfOneCommonWidthShowsItAsTheDeviceWidthAndKeepsItFromEdits) {
    ScriptedPrompts prompts;
    Editor e({"#"});
    ASSERT_TRUE(e.dialog.SetGlyph(e.glyph, Box(8, 8, 0, -2), 1, 6));
    auto *width = e.Control<QLineEdit>(IDC_DWIDTH);
    EXPECT_EQ(width->toolTip(), "Every glyph of a monospaced or character-cell font is saved with the font's "
                                "device width.");
    e.Type(IDC_DWIDTH, "12");
    e.ClickButton(1);
    EXPECT_EQ(std::tuple(width->text(), e.glyph->dwidth, e.changed.count()), std::tuple("6", 8, 0));
    prompts.boxAnswers = {prompts::IDNO}; // pixels dropped with No: the glyph starts over, its width the font's
    e.ClickButton(IDC_PENCIL);
    e.Click(2, 3);
    EXPECT_TRUE(e.dialog.close());
    EXPECT_EQ(std::tuple(width->isReadOnly(), width->text()), std::tuple(true, "6"));
    ASSERT_TRUE(e.dialog.SetGlyph(e.glyph, Box(8, 8, 0, -2), 1)); // a proportional font's glyph
    EXPECT_EQ(std::tuple(width->isReadOnly(), width->text(), width->toolTip()), std::tuple(false, "8", ""));
}

TEST(GlyphEditDialog, ZoomButtonsAndKeysStopAndGreyAtTheirLimitsAndABigGlyphScrollsByWheelAndTrough) {
    Editor e({"#"}, Box(16, 16, 0, 0));
    auto *h = e.Control<QScrollBar>(IDC_HSCROLL), *v = e.Control<QScrollBar>(IDC_VSCROLL);
    EXPECT_FALSE(h->isVisible() || v->isVisible()); // only when the content does not fit
    for (int i = 0; i < 5; ++i)
        e.ClickButton(IDC_ZOOM_IN);
    EXPECT_TRUE(e.Control(IDC_ZOOM_IN)->isEnabled());
    e.KeyIn(IDC_GLYPH_NAME, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(std::tuple(e.dialog.Canvas().Zoom(), e.Control(IDC_ZOOM_IN)->isEnabled()), std::tuple(20, false));
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(e.Frame(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(std::tuple(e.dialog.Canvas().Zoom(), e.Control(IDC_ZOOM_OUT)->isEnabled()), std::tuple(2, false));
    for (int i = 0; i < 4; ++i)
        e.ClickButton(IDC_ZOOM_IN);
    auto big = MakeGlyph(Picture(200, std::string(200, '#')), 0, 0);
    ASSERT_TRUE(e.dialog.SetGlyph(big.get(), Box(200, 200, 0, 0), 1));
    ASSERT_TRUE(h->isVisible() && v->isVisible());
    EXPECT_EQ(h->maximum(), 200 * 11 + 1 - (e.Frame()->width() - 8) + v->width());
    // The desktop's lines per notch, a line being a row of cells, over the canvas or a bar; Shift or
    // the horizontal bar turn the wheel sideways; half a notch waits.
    const int notch = QApplication::wheelScrollLines() * 11;
    for (auto [over, delta, modifiers] : {std::tuple<QWidget *, int, Qt::KeyboardModifiers>{e.Frame(), -120, {}},
                                          {e.Frame(), -60, {}}, {v, -60, {}}, {e.Frame(), -240, Qt::ShiftModifier},
                                          {h, 120, {}}}) {
        const QPointF at(over->width() / 2, over->height() / 2);
        QWheelEvent event(at, over->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &event);
    }
    const auto scroll = [&] { return QPoint(e.dialog.Canvas().ScrollX(), e.dialog.Canvas().ScrollY()); };
    EXPECT_EQ(std::tuple(scroll(), QPoint(h->value(), v->value())), std::tuple(QPoint(notch, 2 * notch), QPoint(notch, 2 * notch)));
    Cell cell; // the cell under the view's corner follows
    ASSERT_TRUE(e.dialog.PointToCell(e.Frame()->mapTo(&e.dialog, e.dialog.GetViewRect().topLeft()), &cell));
    EXPECT_EQ(cell, (Cell{notch / 11, 2 * notch / 11}));
    // A click in the trough past the handle moves by what the view shows.
    QTest::mouseClick(v, Qt::LeftButton, {}, QPoint(v->width() / 2, v->height() - v->width() - 4));
    EXPECT_EQ(scroll().y(), 2 * notch + e.dialog.GetViewRect().height());
}

TEST(GlyphEditDialog, GlyphsThatCannotBeEditedAndADetachedFontLeaveABlankFrameThatWritesNothing) {
    ScriptedPrompts prompts;
    Editor e({"#"}, Box(8, 8, 0, 0), 0, 0);
    const auto shown = [&] { return e.Frame()->grab().toImage().pixel(e.CellPoint(0, 7)); };
    const std::tuple<bdf_bbx, int, const char *> refused[] = {
        {Box(6000, 8, 0, 0), 1, "48: This glyph is too large to be edited."},
        {Box(8, 8, 0, 0), 3, "48: Glyphs of this font's pixel depth cannot be edited."},
    };
    for (const auto &[box, bpp, notice] : refused) {
        ASSERT_TRUE(e.dialog.SetGlyph(e.glyph, Box(8, 8, 0, 0), 1));
        QApplication::processEvents();
        EXPECT_EQ(shown(), cell_colours::kBlack);
        EXPECT_FALSE(e.dialog.SetGlyph(e.glyph, box, bpp));
        QApplication::processEvents();
        EXPECT_EQ(shown(), e.Frame()->palette().color(QPalette::Window).rgb()) << notice;
        ASSERT_EQ(prompts.boxes.size(), 1u);
        EXPECT_EQ(QString::number(prompts.boxes[0].type) + ": " + prompts.boxes[0].text, notice);
        prompts.boxes.clear();
        EXPECT_FALSE(e.dialog.OnOK());
    }
    e.Open(e.glyph, Box(8, 8, 0, 0));
    e.ClickButton(IDC_PENCIL);
    e.Click(3, 3);
    e.dialog.DetachFont();
    EXPECT_EQ(std::tuple(e.dialog.isVisible(), e.dialog.Canvas().Glyph()), std::tuple(false, nullptr));
    e.owned.reset(); // the document releases its font
    EXPECT_FALSE(e.dialog.OnOK());
    e.dialog.Rebuild();
    e.dialog.OnTimer();
    EXPECT_EQ(std::tuple(e.Control(IDC_UNDO)->isEnabled(), e.changed.count()), std::tuple(false, 0));
}

} // namespace
