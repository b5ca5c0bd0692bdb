#include "cell_colours.h"
#include "editor_window.h"
#include "icon_button.h"
#include "scripted_prompts.h"

#include <QCheckBox>
#include <QScrollBar>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

using namespace res;

TEST(GlyphEditDialog, TheTemplateBuildsEveryControlWithItsIdTextIconAndTip) {
    Editor e({"#"});
    EXPECT_EQ(e.dialog.windowTitle(), "Glyph Edit");
    const std::pair<int, const char *> texts[] = {
        {IDC_INFO_GROUP, "Glyph Information"}, {IDC_NAME_LABEL, "Glyph Name:"}, {IDC_ENCODING_LABEL, "Encodeing:"},
        {IDC_DWIDTH_LABEL, "Device Width:"},   {IDC_METRICS_LABEL, "Metrics:"},  {1, "OK"},
        {2, "Cancel"},                         {IDC_ZOOM_IN, "+"},               {IDC_ZOOM_OUT, "-"},
        {IDC_UNDO, "Undo"},                    {IDC_REDO, "Redo"},               {IDC_LEFT_UP, "LtUp"},
        {IDC_UP, "Up"},                        {IDC_RIGHT_UP, "RtUp"},           {IDC_LEFT, "Left"},
        {IDC_RIGHT, "Ritght"},                 {IDC_LEFT_DOWN, "LtDw"},          {IDC_DOWN, "Down"},
        {IDC_RIGHT_DOWN, "RtDw"},              {IDC_SHOW_FONT_AXES, "Font Bounding box"},
        {IDC_SHOW_ADVANCE_BOX, "Glyph bbx"},
    };
    for (auto [id, text] : texts) {
        QWidget *control = e.Control(id);
        ASSERT_NE(control, nullptr) << id;
        const QVariant title = control->property("title");
        EXPECT_EQ(title.isValid() ? title.toString() : control->property("text").toString(), text) << id;
    }
    for (int id : {IDC_SELECT, IDC_PENCIL, IDC_ERASER})
        EXPECT_TRUE(e.Control<CIconButton>(id)->IsCheckBox()) << id;
    for (int id : {IDC_ZOOM_IN, IDC_UNDO, IDC_UP, IDC_RIGHT_DOWN}) {
        ASSERT_NE(e.Control<CIconButton>(id), nullptr) << id;
        EXPECT_FALSE(e.Control<CIconButton>(id)->IsCheckBox());
        EXPECT_FALSE(e.Control<CIconButton>(id)->InIcon().isNull()) << id;
    }
    EXPECT_EQ(e.Control(IDC_ZOOM_IN)->toolTip(), "Zoom (Ctrl+'+')");
    EXPECT_EQ(e.Control(IDC_ZOOM_OUT)->toolTip(), "ZoomOut (Ctrl+'-')");
    EXPECT_EQ(e.Control(IDC_REDO)->toolTip(), "Redo (Ctrl+'y')");
    EXPECT_EQ(e.Control(IDC_UNDO)->toolTip(), "Undo (Ctrl+'z')");
    EXPECT_TRUE(e.Control<QCheckBox>(IDC_SHOW_FONT_AXES)->isChecked());
    EXPECT_TRUE(e.Control<QCheckBox>(IDC_SHOW_ADVANCE_BOX)->isChecked());
    EXPECT_FALSE(e.dialog.isModal());
    EXPECT_EQ(e.dialog.UndoRedoTimer().interval(), 500);
    EXPECT_TRUE(e.dialog.UndoRedoTimer().isActive());
}

TEST(GlyphEditDialog, TheFieldsShowTheGlyph) {
    Editor e({"##", "#."}, Box(8, 8, 0, -2), 1, -1);
    e.glyph->encoding = 0xabc;
    e.dialog.Rebuild();
    EXPECT_EQ(e.Text(IDC_GLYPH_NAME), "A");
    EXPECT_EQ(e.Text(IDC_ENCODING_TEXT), "0ABC");
    EXPECT_EQ(e.Text(IDC_DWIDTH), "8");
    EXPECT_EQ(e.Text(IDC_METRICS), "width 2 height 2 x_offset 1 y_offset -1\r\nascent 1 descent 1");
    EXPECT_EQ(e.Text(IDC_COORDINATES), "(0, 0)");
}

TEST(GlyphEditDialog, TheMetricsShowEveryCharacterOfBothLinesAtAnyGlyphSize) {
    // Metrics that fit are drawn as any label draws them.
    Editor e({"##", "#."}, Box(8, 8, 0, -2), 1, -1);
    auto *metrics = e.Control<QLabel>(IDC_METRICS);
    QLabel plain(metrics->text(), metrics->parentWidget());
    plain.setTextFormat(Qt::PlainText);
    plain.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    plain.setGeometry(metrics->geometry());
    EXPECT_EQ(metrics->grab().toImage(), plain.grab().toImage());

    // Wide ones: changing the last character of either line changes what the label shows.
    Picture rows(200, std::string(200, '.'));
    rows[0][0] = '#';
    auto big = MakeGlyph(rows, -100, -100);
    ASSERT_TRUE(e.dialog.SetGlyph(big.get(), Box(200, 200, -100, -100), 1));
    const QString text = metrics->text();
    ASSERT_EQ(text, "width 200 height 200 x_offset -100 y_offset -100\r\nascent 100 descent 100");
    const QImage shown = metrics->grab().toImage();
    for (const qsizetype last : {text.indexOf('\r') - 1, text.size() - 1}) {
        QString changed = text;
        changed[last] = QLatin1Char('7');
        metrics->setText(changed);
        EXPECT_NE(metrics->grab().toImage(), shown) << last;
    }
}

TEST(GlyphEditDialog, OkWithoutANetEditWritesAndSendsNothingAndKeepsTheWindowOpen) {
    Editor e({".#.", "#.#"});
    const unsigned char *bitmap = e.glyph->bitmap;
    EXPECT_FALSE(e.dialog.OnOK());
    e.ClickButton(1);
    // Two dots painted, one undone by its button and one by Ctrl+Z, even from an edit.
    e.ClickButton(IDC_PENCIL);
    e.Click(5, 5);
    e.Click(6, 6);
    e.ClickButton(IDC_UNDO);
    e.KeyIn(IDC_GLYPH_NAME, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(e.dialog.Canvas().History().CanUndo(), 0);
    e.ClickButton(1);
    EXPECT_EQ(e.changed.count(), 0);
    EXPECT_EQ(e.glyph->bitmap, bitmap);
    EXPECT_EQ(e.glyph->bbx.width, 3);
    EXPECT_EQ(GlyphPicture(*e.glyph), (Picture{".#.", "#.#"}));
    EXPECT_TRUE(e.dialog.isVisible());
    e.KeyIn(IDC_GLYPH_NAME, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(e.dialog.Canvas().History().CanUndo(), 1);
}

TEST(GlyphEditDialog, OkWritesTheDeviceWidthAsAtoiTruncatedToSixteenBits) {
    Editor e({"#"});
    const unsigned char *bitmap = e.glyph->bitmap;
    e.Type(IDC_DWIDTH, "12");
    e.ClickButton(1);
    EXPECT_EQ(e.glyph->dwidth, 12);
    EXPECT_EQ(e.changed.count(), 1);
    EXPECT_EQ(e.glyph->bitmap, bitmap); // the bitmap and box are left alone
    EXPECT_EQ(e.glyph->bbx.width, 1);

    const std::pair<const char *, int> cases[] = {{" 7x", 7}, {"70000", 70000 & 0xFFFF}, {"-1", 65535}, {"abc", 0}};
    for (auto [text, expected] : cases) {
        e.Type(IDC_DWIDTH, text);
        e.ClickButton(1);
        EXPECT_EQ(e.glyph->dwidth, expected) << text;
    }
    EXPECT_EQ(e.changed.count(), 5);
    e.ClickButton(1); // the same value again changes nothing
    EXPECT_EQ(e.changed.count(), 5);
    e.Type(IDC_DWIDTH, "9");
    QTest::keyClick(e.Control(IDC_DWIDTH), Qt::Key_Return); // Enter is OK
    EXPECT_EQ(e.glyph->dwidth, 9);
    EXPECT_EQ(e.changed.count(), 6);
    EXPECT_TRUE(e.dialog.isVisible());
}

TEST(GlyphEditDialog, NamesAreStoredOnlyForGlyphsThatHaveOne) {
    Editor e({"#"});
    e.Type(IDC_GLYPH_NAME, "Alpha");
    e.dialog.ZoomIn(); // a rebuild puts the stored name back
    EXPECT_EQ(e.Text(IDC_GLYPH_NAME), "A");
    e.Type(IDC_GLYPH_NAME, "Alpha");
    e.ClickButton(1);
    EXPECT_STREQ(e.glyph->name, "Alpha");
    EXPECT_EQ(e.changed.count(), 1);
    e.Type(IDC_GLYPH_NAME, "");
    e.ClickButton(1);
    EXPECT_STREQ(e.glyph->name, "Alpha");
    EXPECT_EQ(e.changed.count(), 1);

    Editor unnamed({"#"}, Box(8, 8, 0, -2), 1, 0, nullptr);
    unnamed.Type(IDC_GLYPH_NAME, "Beta");
    unnamed.ClickButton(1);
    EXPECT_EQ(unnamed.glyph->name, nullptr);
    EXPECT_EQ(unnamed.changed.count(), 0);
}

TEST(GlyphEditDialog, OkRewritesThePaintedGlyphCroppedToItsInkAndEmptyWhenAllIsCleared) {
    Editor e({"#"}, Box(8, 8, 0, -2), 1, 0); // pixel at grid column 1, row 5
    e.ClickButton(IDC_PENCIL);
    EXPECT_TRUE(e.Control<CIconButton>(IDC_PENCIL)->IsChecked());
    e.Drag(3, 2, 4, 2);
    EXPECT_EQ(e.dialog.Canvas().History().CanUndo(), 1);
    e.ClickButton(1);
    EXPECT_EQ(e.changed.count(), 1);
    EXPECT_EQ(GlyphPicture(*e.glyph), (Picture{"..##", "....", "....", "#..."}));
    EXPECT_EQ(std::tie(e.glyph->bbx.x_offset, e.glyph->bbx.y_offset, e.glyph->bbx.ascent, e.glyph->bytes),
              std::make_tuple(1, 0, 4, 4u));
    e.ClickButton(1); // OK again rewrites and notifies again
    EXPECT_EQ(e.changed.count(), 2);
    EXPECT_EQ(e.Text(IDC_METRICS), "width 4 height 4 x_offset 1 y_offset 0\r\nascent 4 descent 0");

    for (auto [k, r] : {std::pair{1, 5}, {3, 2}, {4, 2}})
        e.Click(k, r, Qt::RightButton);
    e.ClickButton(1);
    EXPECT_EQ(std::tie(e.glyph->bbx.width, e.glyph->bbx.height, e.glyph->bytes), std::make_tuple(0, 0, 0u));
    EXPECT_EQ(e.glyph->bitmap, nullptr);
}

TEST(GlyphEditDialog, CancelAndEscapeHideWithoutWritingAndTheNextOpeningStartsAfresh) {
    Editor e({"#"});
    e.ClickButton(IDC_PENCIL);
    e.Click(4, 4);
    e.Type(IDC_DWIDTH, "3");
    e.ClickButton(2);
    EXPECT_FALSE(e.dialog.isVisible());
    EXPECT_EQ(e.glyph->dwidth, 8);
    EXPECT_EQ(GlyphPicture(*e.glyph), Picture{"#"});

    e.Open(e.glyph, Box(8, 8, 0, -2), 1);
    ASSERT_TRUE(e.ready);
    EXPECT_EQ(e.dialog.Canvas().History().CanUndo(), 0);
    EXPECT_EQ(e.dialog.Canvas().CurrentTool(), TOOL_PENCIL); // the tool survives
    QTest::keyClick(&e.dialog, Qt::Key_Escape);
    EXPECT_FALSE(e.dialog.isVisible());
    EXPECT_EQ(e.changed.count(), 0);
}

TEST(GlyphEditDialog, EscapeAndTheCloseBoxAskOnlyAboutChangesNotYetApplied) {
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
        e.Open(e.glyph, Box(8, 8, 0, -2), 1);
        e.Click(k, 3);
    };
    const std::string question = "35: Apply the changes to the glyph \"A\"?";
    e.ClickButton(IDC_PENCIL);
    e.Click(1, 3);

    // Cancel: nothing changes, the window stays.
    prompts.boxAnswers = {prompts::IDCANCEL};
    QTest::keyClick(&e.dialog, Qt::Key_Escape);
    EXPECT_EQ(asked(), question);
    EXPECT_TRUE(e.dialog.isVisible());
    EXPECT_EQ(GlyphPicture(*e.glyph), Picture{"#"});
    prompts.boxAnswers = {prompts::IDCANCEL};
    EXPECT_FALSE(e.dialog.close());
    EXPECT_EQ(asked(), question);
    EXPECT_TRUE(e.dialog.Canvas().HasUnappliedChanges());

    // No: dropped, the glyph starts over as stored.
    prompts.boxAnswers = {prompts::IDNO};
    EXPECT_TRUE(e.dialog.close());
    EXPECT_EQ(asked(), question);
    EXPECT_EQ(e.dialog.Canvas().History().CanUndo(), 0);
    EXPECT_EQ(GlyphPicture(*e.glyph), Picture{"#"});
    EXPECT_EQ(e.changed.count(), 0);

    // Yes: what OK does, the typed device width included.
    reopenAndDraw(1);
    e.Type(IDC_DWIDTH, "3");
    prompts.boxAnswers = {prompts::IDYES};
    QTest::keyClick(&e.dialog, Qt::Key_Escape);
    EXPECT_EQ(asked(), question);
    EXPECT_FALSE(e.dialog.isVisible());
    EXPECT_EQ(e.changed.count(), 1);
    EXPECT_EQ(GlyphPicture(*e.glyph), (Picture{"#", ".", "#"}));
    EXPECT_EQ(e.glyph->dwidth, 3);

    // Nothing asks once OK has applied the pixels, after undoing them, or on Cancel.
    reopenAndDraw(2);
    e.ClickButton(1);
    QTest::keyClick(&e.dialog, Qt::Key_Escape);
    reopenAndDraw(3);
    e.ClickButton(IDC_UNDO);
    EXPECT_TRUE(e.dialog.close());
    reopenAndDraw(3);
    e.ClickButton(2);
    EXPECT_EQ(asked(), "");
    EXPECT_FALSE(e.dialog.isVisible());
    EXPECT_EQ(GlyphPicture(*e.glyph), (Picture{"##", "..", "#."}));

    // A selection moved and not yet dropped is a change too; a glyph without a
    // name is named by its encoding.
    Editor unnamed({"#"}, Box(8, 8, 0, -2), 1, 0, nullptr);
    unnamed.ClickButton(IDC_SELECT);
    unnamed.Drag(0, 4, 2, 5);
    unnamed.ClickButton(IDC_UP);
    prompts.boxAnswers = {prompts::IDCANCEL};
    QTest::keyClick(&unnamed.dialog, Qt::Key_Escape);
    EXPECT_EQ(asked(), "35: Apply the changes to the glyph with encoding 0041?");
    EXPECT_TRUE(unnamed.dialog.isVisible());

    // So are a typed name and a typed device width; No keeps the stored ones.
    e.Open(e.glyph, Box(8, 8, 0, -2), 1);
    e.Type(IDC_GLYPH_NAME, "B");
    prompts.boxAnswers = {prompts::IDNO};
    QTest::keyClick(&e.dialog, Qt::Key_Escape);
    e.Open(e.glyph, Box(8, 8, 0, -2), 1);
    e.Type(IDC_DWIDTH, "9");
    prompts.boxAnswers = {prompts::IDNO};
    EXPECT_TRUE(e.dialog.close());
    EXPECT_EQ(asked(), question + "\n" + question);
    EXPECT_STREQ(e.glyph->name, "A");
    EXPECT_EQ(e.glyph->dwidth, 3);
    EXPECT_EQ(e.changed.count(), 2);
}

TEST(GlyphEditDialog, ZoomButtonsGreyOnlyAtTheirLimit) {
    Editor e({"#"});
    auto *in = e.Control<CIconButton>(IDC_ZOOM_IN), *out = e.Control<CIconButton>(IDC_ZOOM_OUT);
    for (int i = 0; i < 4; ++i)
        e.ClickButton(IDC_ZOOM_IN);
    EXPECT_EQ(e.dialog.Canvas().Zoom(), 18);
    e.ClickButton(IDC_ZOOM_IN);
    EXPECT_EQ(e.dialog.Canvas().Zoom(), 20);
    EXPECT_TRUE(in->isEnabled());
    e.KeyIn(IDC_GLYPH_NAME, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(e.dialog.Canvas().Zoom(), 20);
    EXPECT_FALSE(in->isEnabled());
    EXPECT_TRUE(e.Frame()->hasFocus());
    QTest::keyClick(e.Frame(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(e.dialog.Canvas().Zoom(), 18);
    EXPECT_TRUE(in->isEnabled());
    while (e.dialog.Canvas().Zoom() > 2)
        e.ClickButton(IDC_ZOOM_OUT);
    EXPECT_TRUE(out->isEnabled());
    e.ClickButton(IDC_ZOOM_OUT);
    EXPECT_FALSE(out->isEnabled());
    EXPECT_EQ(e.dialog.Canvas().Zoom(), 2);
}

TEST(GlyphEditDialog, TheCoordinateLabelShowsTheCellAndTheGlyphPixel) {
    Editor e({"#"}, Box(8, 16, -1, -4)); // ascent 12
    e.MoveTo(0, 0);
    EXPECT_EQ(e.Text(IDC_COORDINATES), "(0, 0)(-1, 11)");
    e.MoveTo(7, 15);
    EXPECT_EQ(e.Text(IDC_COORDINATES), "(7, 15)(6, -4)");
    const QPoint outside = e.dialog.GetViewRect().bottomRight() - QPoint(1, 1);
    e.Send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, outside);
    EXPECT_EQ(e.Text(IDC_COORDINATES), "(7, 15)(6, -4)"); // kept when the pointer leaves the grid
    e.Press(1, 1);
    e.Press(1, 1, Qt::RightButton);
    e.MoveTo(2, 2); // both buttons held: nothing at all happens
    EXPECT_EQ(e.Text(IDC_COORDINATES), "(7, 15)(6, -4)");
}

TEST(GlyphEditDialog, TheMoveCursorShowsOverALiftedSelection) {
    Editor e({"##", "##"}, Box(8, 8, 0, -2), 0, 0);
    e.ClickButton(IDC_SELECT);
    e.Drag(0, 4, 1, 5);
    e.MoveTo(1, 4);
    EXPECT_EQ(e.Frame()->cursor().shape(), Qt::SizeAllCursor);
    e.MoveTo(5, 1);
    EXPECT_EQ(e.Frame()->cursor().shape(), Qt::ArrowCursor);
    // Dragging it records one entry at the release, and the pointer's cell leads.
    e.Press(1, 4);
    e.MoveTo(3, 4);
    e.MoveTo(4, 5);
    e.Release(4, 5);
    EXPECT_EQ(e.dialog.Canvas().Selection().current, (CellRect{3, 5, 5, 7}));
    EXPECT_EQ(HistoryEntries(e.dialog.Canvas().History()), 2);
}

TEST(GlyphEditDialog, TheFrameShowsTheCanvasAtTwoZoomLevels) {
    Editor e({"#"}, Box(8, 8, 0, -2), 2, 0); // pixel at grid column 2, row 5
    for (int zoom : {10, 4}) {
        while (e.dialog.Canvas().Zoom() > zoom)
            e.ClickButton(IDC_ZOOM_OUT);
        QApplication::processEvents();
        const int pitch = zoom + 1;
        const QPoint origin = e.dialog.GetViewRect().topLeft();
        EXPECT_EQ(e.ShownAt(origin + QPoint(2 * pitch + 1, 5 * pitch + 1)), cell_colours::kBlack) << zoom;
        EXPECT_EQ(e.ShownAt(origin + QPoint(2 * pitch + zoom, 5 * pitch + zoom)), cell_colours::kBlack) << zoom;
        EXPECT_EQ(e.ShownAt(origin + QPoint(3 * pitch + 1, 5 * pitch + 1)), cell_colours::kWhite) << zoom;
        EXPECT_EQ(e.ShownAt(origin + QPoint(3 * pitch, 1)), cell_colours::kGridLine) << zoom;
        EXPECT_EQ(e.ShownAt(origin + QPoint(1, 6 * pitch)), cell_colours::kAxes) << zoom; // baseline, ascent 6
        EXPECT_EQ(e.ShownAt(QPoint(0, 0)), qRgb(0, 0, 0));                                 // the black frame
    }
}

TEST(GlyphEditDialog, ScrollBarsAppearOnlyWhenTheContentDoesNotFit) {
    Editor e({"#"}, Box(16, 16, 0, 0));
    auto *h = e.Control<QScrollBar>(IDC_HSCROLL), *v = e.Control<QScrollBar>(IDC_VSCROLL);
    ASSERT_GE(e.Frame()->width(), 185);
    ASSERT_GE(e.Frame()->height(), 185);
    EXPECT_FALSE(h->isVisible());
    EXPECT_FALSE(v->isVisible());
    auto large = MakeGlyph({"#"}, 0, 0);
    ASSERT_TRUE(e.dialog.SetGlyph(large.get(), Box(40, 40, 0, 0), 1));
    while (e.dialog.Canvas().Zoom() < 20)
        e.ClickButton(IDC_ZOOM_IN);
    ASSERT_TRUE(h->isVisible());
    ASSERT_TRUE(v->isVisible());
    const int contentWidth = 40 * 21 + 1;
    EXPECT_EQ(h->maximum(), contentWidth - (e.Frame()->width() - 8) + v->width());
    // Scrolled to the far corner, the last cell is under the pointer; a rebuild returns to the top left.
    h->setValue(h->maximum());
    v->setValue(v->maximum());
    EXPECT_EQ(e.dialog.Canvas().ScrollX(), h->maximum());
    Cell cell;
    ASSERT_TRUE(e.dialog.PointToCell(e.Frame()->mapTo(&e.dialog, e.CellPoint(39, 39)), &cell));
    EXPECT_EQ(cell, (Cell{39, 39}));
    QTest::mouseClick(e.Control(IDC_SHOW_ADVANCE_BOX), Qt::LeftButton);
    EXPECT_FALSE(e.dialog.Canvas().show_advance_box);
    EXPECT_EQ(h->value(), 0);
    EXPECT_EQ(e.dialog.Canvas().ScrollX(), 0);
}

TEST(GlyphEditDialog, ABigGlyphScrollsByWheelAndTroughAndEditsOfTheSameGridKeepTheView) {
    Picture rows(200, std::string(200, '.'));
    rows[199][199] = '#';
    Editor e(rows, Box(200, 200, 0, 0), 0, 0);
    auto *h = e.Control<QScrollBar>(IDC_HSCROLL), *v = e.Control<QScrollBar>(IDC_VSCROLL);
    ASSERT_TRUE(h->isVisible() && v->isVisible());
    const int pitch = e.dialog.Canvas().Pitch(), notch = QApplication::wheelScrollLines() * pitch;
    auto wheel = [](QWidget *over, QPoint delta, Qt::KeyboardModifiers modifiers = {}) {
        const QPointF at(over->width() / 2, over->height() / 2);
        QWheelEvent event(at, over->mapToGlobal(at), QPoint(), delta, Qt::NoButton, modifiers, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(over, &event);
    };
    auto scroll = [&] { return QPoint(e.dialog.Canvas().ScrollX(), e.dialog.Canvas().ScrollY()); };
    auto bars = [&] { return QPoint(h->value(), v->value()); };
    auto cellAtViewCorner = [&] {
        Cell cell;
        EXPECT_TRUE(e.dialog.PointToCell(e.Frame()->mapTo(&e.dialog, e.dialog.GetViewRect().topLeft()), &cell));
        return cell;
    };

    // The wheel moves the desktop's lines per notch, a line being a row of cells, over the canvas or a bar.
    wheel(e.Frame(), {0, -120});
    EXPECT_EQ(scroll(), QPoint(0, notch));
    wheel(e.Frame(), {0, -60});
    EXPECT_EQ(v->value(), notch) << "half a notch waits";
    wheel(v, {0, -60});
    EXPECT_EQ(scroll(), QPoint(0, 2 * notch));
    wheel(e.Frame(), {0, -240}, Qt::ShiftModifier);
    wheel(h, {0, 120});
    EXPECT_EQ(scroll(), QPoint(notch, 2 * notch)) << "Shift or the horizontal bar turn the wheel sideways";
    EXPECT_EQ(bars(), scroll());
    EXPECT_EQ(cellAtViewCorner(), (Cell{notch / pitch, 2 * notch / pitch}));

    // A click in the trough past the handle moves by what the view shows.
    const QRect view = e.dialog.GetViewRect();
    QTest::mouseClick(v, Qt::LeftButton, {}, QPoint(v->width() / 2, v->height() - v->width() - 4));
    QTest::mouseClick(h, Qt::LeftButton, {}, QPoint(h->width() - h->height() - 4, h->height() / 2));
    EXPECT_EQ(scroll(), QPoint(notch + view.width(), 2 * notch + view.height()));

    // Shifts, undo, redo, lifting and dropping a selection leave the view where it is.
    const QPoint kept = scroll();
    const Cell corner = cellAtViewCorner();
    e.ClickButton(IDC_LEFT);
    EXPECT_EQ(scroll(), kept);
    e.KeyIn(IDC_GLYPH_NAME, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(scroll(), kept);
    e.KeyIn(IDC_GLYPH_NAME, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(scroll(), kept);
    e.ClickButton(IDC_SELECT);
    e.Drag(corner.k + 1, corner.r + 1, corner.k + 3, corner.r + 3);
    ASSERT_TRUE(e.dialog.Canvas().Selection().lifted);
    EXPECT_EQ(scroll(), kept);
    e.KeyIn(IDC_DWIDTH, Qt::Key_Right);
    e.ClickButton(IDC_SELECT); // drops the moved selection
    EXPECT_FALSE(e.dialog.Canvas().Selection().active);
    EXPECT_EQ(HistoryEntries(e.dialog.Canvas().History()), 3);
    EXPECT_EQ(scroll(), kept);
    EXPECT_EQ(bars(), kept);
    EXPECT_EQ(cellAtViewCorner(), corner);

    // Other rebuilds show the top left again.
    QTest::mouseClick(e.Control(IDC_SHOW_ADVANCE_BOX), Qt::LeftButton);
    EXPECT_EQ(scroll(), QPoint(0, 0));
    EXPECT_EQ(bars(), QPoint(0, 0));
}

TEST(GlyphEditDialog, ArrowKeysMoveASelectionEvenFromAnEditAndButtonsShiftTheGlyph) {
    Editor e({"##", "##"}, Box(8, 8, 0, -2), 0, 0); // grid rows 4..5, columns 0..1
    e.ClickButton(IDC_SELECT);
    e.Drag(0, 4, 1, 5);
    ASSERT_TRUE(e.dialog.Canvas().Selection().lifted);
    e.KeyIn(IDC_DWIDTH, Qt::Key_Right);
    e.KeyIn(IDC_DWIDTH, Qt::Key_Up);
    EXPECT_EQ(e.dialog.Canvas().Selection().current, (CellRect{1, 3, 3, 5}));
    e.ClickButton(IDC_RIGHT); // with a selection: moves only the selection
    EXPECT_EQ(e.dialog.Canvas().Selection().current, (CellRect{2, 3, 4, 5}));
    e.ClickButton(1); // OK drops the selection and writes it
    EXPECT_EQ(e.changed.count(), 1);
    EXPECT_EQ(std::tie(e.glyph->bbx.x_offset, e.glyph->bbx.y_offset), std::make_tuple(2, 1));
    EXPECT_FALSE(e.dialog.Canvas().Selection().active);

    // No selection: the whole glyph, recorded at once. A device width typed
    // before stays through the shift and a zoom, and OK applies both.
    e.Type(IDC_DWIDTH, "12");
    e.ClickButton(IDC_DOWN);
    e.dialog.ZoomIn();
    EXPECT_EQ(e.Text(IDC_DWIDTH), "12");
    e.ClickButton(1);
    EXPECT_EQ(std::tie(e.glyph->bbx.y_offset, e.glyph->dwidth), std::make_tuple(0, 12));
    EXPECT_EQ(e.Text(IDC_METRICS), "width 2 height 2 x_offset 2 y_offset 0\r\nascent 2 descent 0");
    EXPECT_EQ(e.changed.count(), 2);
    e.glyph->dwidth = 5; // a stored width shows again once nothing typed is pending
    e.dialog.ZoomOut();
    EXPECT_EQ(e.Text(IDC_DWIDTH), "5");
}

TEST(GlyphEditDialog, AFontOfOneCommonWidthShowsItAsTheDeviceWidthAndKeepsItFromEdits) {
    Editor e({"#"});
    ASSERT_TRUE(e.dialog.SetGlyph(e.glyph, Box(8, 8, 0, -2), 1, 6));
    auto *width = e.Control<QLineEdit>(IDC_DWIDTH);
    EXPECT_EQ(width->text(), "6");
    EXPECT_TRUE(width->isReadOnly());
    EXPECT_EQ(width->toolTip(), "Every glyph of a monospaced or character-cell font is saved with the font's "
                                "device width.");
    e.Type(IDC_DWIDTH, "12");
    e.ClickButton(1);
    EXPECT_EQ(width->text(), "6");
    EXPECT_EQ(e.glyph->dwidth, 8);
    EXPECT_EQ(e.changed.count(), 0);
    // Pixels dropped with No: the glyph starts over, its width still the font's.
    ScriptedPrompts prompts;
    prompts.boxAnswers = {prompts::IDNO};
    e.ClickButton(IDC_PENCIL);
    e.Click(2, 3);
    EXPECT_TRUE(e.dialog.close());
    EXPECT_TRUE(width->isReadOnly());
    EXPECT_EQ(width->text(), "6");

    ASSERT_TRUE(e.dialog.SetGlyph(e.glyph, Box(8, 8, 0, -2), 1)); // a proportional font's glyph
    EXPECT_FALSE(width->isReadOnly());
    EXPECT_EQ(width->text(), "8");
    EXPECT_EQ(width->toolTip(), "");
}

TEST(GlyphEditDialog, TheTimerEnablesUndoAndRedo) {
    Editor e({"#"});
    auto *undo = e.Control<CIconButton>(IDC_UNDO), *redo = e.Control<CIconButton>(IDC_REDO);
    e.dialog.OnTimer();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    e.ClickButton(IDC_PENCIL);
    e.Click(3, 3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return undo->isEnabled(); }, 2000));
    EXPECT_FALSE(redo->isEnabled());
    e.dialog.Undo();
    EXPECT_TRUE(QTest::qWaitFor([&] { return redo->isEnabled() && !undo->isEnabled(); }, 2000));
}

TEST(GlyphEditDialog, DetachingTheFontHidesTheEditorAndDropsTheGlyph) {
    Editor e({"#"});
    e.ClickButton(IDC_PENCIL);
    e.Click(3, 3);
    e.dialog.DetachFont();
    EXPECT_FALSE(e.dialog.isVisible());
    EXPECT_EQ(e.dialog.Canvas().Glyph(), nullptr);
    e.owned.reset(); // the document releases its font
    EXPECT_FALSE(e.dialog.OnOK());
    e.dialog.Rebuild();
    e.dialog.OnTimer();
    EXPECT_FALSE(e.Control(IDC_UNDO)->isEnabled());
    EXPECT_EQ(e.changed.count(), 0);
}

TEST(GlyphEditDialog, AGlyphReachingOutsideTheFontBoxKeepsEveryPixel) {
    // Font box 4 x 4 on the baseline; the glyph hangs one column left and two rows below it.
    Editor e({"#..#", "....", "#..#"}, Box(4, 4, 0, 0), -1, -2);
    EXPECT_EQ(e.dialog.Canvas().GridBox().width, 5);
    EXPECT_EQ(e.dialog.Canvas().GridBox().height, 6);
    EXPECT_FALSE(e.dialog.OnOK()); // unchanged: nothing written
    e.ClickButton(IDC_PENCIL);
    e.Click(4, 0); // grid column 4 is glyph x 3, row 0 is y 3
    e.ClickButton(1);
    EXPECT_EQ(GlyphPicture(*e.glyph), (Picture{"....#", ".....", ".....", "#..#.", ".....", "#..#."}));
    EXPECT_EQ(std::tie(e.glyph->bbx.x_offset, e.glyph->bbx.y_offset), std::make_tuple(-1, -2));
}

TEST(GlyphEditDialog, GlyphsThatCannotBeEditedAreRefusedWithANoticeAndABlankFrame) {
    ScriptedPrompts prompts;
    Editor e({"#"}, Box(8, 8, 0, 0), 0, 0);
    const QPoint cell = e.CellPoint(0, 7);
    const std::tuple<bdf_bbx, int, const char *> refused[] = {
        {Box(6000, 8, 0, 0), 1, "This glyph is too large to be edited."},
        {Box(8, 8, 0, 0), 3, "Glyphs of this font's pixel depth cannot be edited."},
    };
    for (const auto &[box, bpp, notice] : refused) {
        ASSERT_TRUE(e.dialog.SetGlyph(e.glyph, Box(8, 8, 0, 0), 1));
        QApplication::processEvents();
        EXPECT_EQ(e.ShownAt(cell), cell_colours::kBlack);
        EXPECT_FALSE(e.dialog.SetGlyph(e.glyph, box, bpp));
        QApplication::processEvents();
        EXPECT_EQ(e.ShownAt(cell), e.Frame()->palette().color(QPalette::Window).rgb()) << notice; // blank
        ASSERT_FALSE(prompts.boxes.empty());
        EXPECT_EQ(prompts.boxes.back().text, notice);
        EXPECT_EQ(prompts.boxes.back().type, 48u);
        EXPECT_FALSE(e.dialog.OnOK());
    }
    EXPECT_EQ(prompts.boxes.size(), 2u);
}

} // namespace
