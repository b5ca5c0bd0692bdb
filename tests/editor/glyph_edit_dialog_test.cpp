#include "cell_colours.h"
#include "editor_window.h"
#include "font_ptr.h"
#include "scripted_prompts.h"

#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace res;

// The message boxes shown since the last call, as "TYPE: TEXT" lines.
std::string Asked(ScriptedPrompts &prompts) {
    QStringList texts;
    for (const auto &box : prompts.boxes)
        texts << QString::number(box.type) + ": " + box.text;
    prompts.boxes.clear();
    return texts.join('\n').toStdString();
}

TEST(GlyphEditDialog, TheFieldsShowTheGlyphAndThePointersCellAndOkWritesOnlyWhatChanged) {
    Editor e({"#"}); // pixel at grid column 1, row 5 of a font box of ascent 6
    e.glyph->encoding = 0xabc;
    e.dialog.Rebuild();
    EXPECT_EQ(e.dialog.windowTitle() + e.Text(IDC_RIGHT) + e.Control(IDC_ZOOM_IN)->toolTip(),
              "Glyph EditRitghtZoom (Ctrl+'+')");
    EXPECT_FALSE(e.dialog.isModal() || e.dialog.OnOK());
    e.Send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, e.CellPoint(7, 7));
    e.Send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton,
           e.dialog.GetViewRect().bottomRight() - QPoint(1, 1)); // off the grid
    const QStringList fields{e.Text(IDC_GLYPH_NAME), e.Text(IDC_ENCODING_TEXT), e.Text(IDC_DWIDTH), e.Text(IDC_METRICS),
                             e.Text(IDC_COORDINATES)};
    EXPECT_EQ(fields.join('|'), "A|0ABC|8|width 1 height 1 x_offset 1 y_offset 0\r\nascent 1 descent 0|(7, 7)(7, -2)");
    e.Type(IDC_GLYPH_NAME, "Alpha");
    e.Type(IDC_DWIDTH, "70000"); // read as atoi does, kept to sixteen bits
    e.ClickButton(1);
    e.Type(IDC_GLYPH_NAME, ""); // an empty name is not stored
    e.Type(IDC_DWIDTH, " 7x");
    QTest::keyClick(e.Control(IDC_DWIDTH), Qt::Key_Return); // Enter is OK
    e.ClickButton(1);                                       // the same value again changes nothing
    EXPECT_EQ(std::tuple(QString(e.glyph->name), e.glyph->dwidth, e.changed.count(), GlyphPicture(*e.glyph)),
              std::tuple("Alpha", 7, 2, Picture{"#"}));
    e.ClickButton(IDC_PENCIL);
    e.Drag(3, 2, 4, 2);
    e.ClickButton(1);
    e.ClickButton(1); // OK again rewrites and notifies again
    EXPECT_EQ(std::tuple(GlyphPicture(*e.glyph), e.changed.count(), e.dialog.isVisible()),
              std::tuple(Picture{"..##", "....", "....", "#..."}, 4, true));
    EXPECT_EQ(e.Text(IDC_METRICS), "width 4 height 4 x_offset 1 y_offset 0\r\nascent 4 descent 0");
    for (auto [k, r] : {std::pair{1, 5}, {3, 2}, {4, 2}})
        e.Click(k, r, Qt::RightButton);
    e.ClickButton(1);
    EXPECT_EQ(std::tie(e.glyph->bbx.width, e.glyph->bbx.height, e.glyph->bytes, e.glyph->bitmap),
              std::make_tuple(0, 0, 0u, nullptr));
}

TEST(GlyphEditDialog, EscapeAndTheCloseBoxAskOnlyAboutChangesNotYetAppliedAndTheCancelButtonDropsThem) {
    ScriptedPrompts prompts;
    Editor e({"#"}); // pixel at grid column 1, row 5
    e.ClickButton(IDC_PENCIL);
    // Nothing asks once OK applied the pixels, after undoing them, or on Cancel, which drops them and a typed width.
    for (int button : {1, int(IDC_UNDO), 2}) {
        e.Open(e.glyph);
        e.Click(button == 1 ? 1 : 3, 3);
        if (button == 2)
            e.Type(IDC_DWIDTH, "5");
        e.ClickButton(button);
        QTest::keyClick(&e.dialog, Qt::Key_Escape);
    }
    EXPECT_EQ(std::tuple(Asked(prompts), e.dialog.isVisible(), GlyphPicture(*e.glyph), e.glyph->dwidth),
              std::tuple("", false, Picture{"#", ".", "#"}, 8));
    // A typed name or device width asks too: No keeps the stored one, Yes does what OK does.
    prompts.boxAnswers = {prompts::IDNO, prompts::IDYES};
    e.Open(e.glyph);
    e.Type(IDC_GLYPH_NAME, "B");
    EXPECT_TRUE(e.dialog.close());
    e.Open(e.glyph);
    e.Type(IDC_DWIDTH, "3");
    QTest::keyClick(&e.dialog, Qt::Key_Escape);
    const std::string question = "35: Apply the changes to the glyph \"A\"?";
    EXPECT_EQ(std::tuple(Asked(prompts), QString(e.glyph->name), e.glyph->dwidth, e.dialog.isVisible()),
              std::tuple(question + "\n" + question, "A", 3, false));
    // So does a selection moved and not yet dropped; Cancel keeps the window. Unnamed glyphs go by encoding.
    Editor unnamed({"#"}, Box(8, 8, 0, -2), 1, 0, nullptr);
    unnamed.ClickButton(IDC_SELECT);
    unnamed.Drag(0, 4, 2, 5);
    unnamed.ClickButton(IDC_UP);
    prompts.boxAnswers = {prompts::IDCANCEL};
    QTest::keyClick(&unnamed.dialog, Qt::Key_Escape);
    EXPECT_EQ(std::tuple(Asked(prompts), unnamed.dialog.isVisible()),
              std::tuple("35: Apply the changes to the glyph with encoding 0041?", true));
}

TEST(GlyphEditDialog, ArrowKeysAndShiftButtonsMoveTheSelectionOrElseTheGlyphAndUndoRedoWorkFromAnyControl) {
    Editor e({"##", "##"}, Box(8, 8, 0, -2), 0, 0);  // grid rows 4..5, columns 0..1
    const auto enabled = [&](bool undo, bool redo) { // as the timer updates the buttons
        return QTest::qWaitFor(
            [&] { return e.Control(IDC_UNDO)->isEnabled() == undo && e.Control(IDC_REDO)->isEnabled() == redo; }, 2000);
    };
    EXPECT_TRUE(enabled(false, false));
    e.ClickButton(IDC_SELECT);
    e.Drag(0, 4, 1, 5);
    e.KeyIn(IDC_DWIDTH, Qt::Key_Right); // even from an edit
    e.KeyIn(IDC_DWIDTH, Qt::Key_Up);
    e.ClickButton(IDC_RIGHT);
    EXPECT_EQ(e.dialog.Canvas().Selection().current, (CellRect{2, 3, 4, 5}));
    e.ClickButton(1); // OK drops the selection and writes it
    EXPECT_EQ(std::tuple(e.glyph->bbx.x_offset, e.glyph->bbx.y_offset, e.dialog.Canvas().Selection().active),
              std::tuple(2, 1, 0));
    e.Type(IDC_DWIDTH, "12"); // no selection: the whole glyph; a typed width stays through a shift and a zoom
    e.ClickButton(IDC_DOWN);
    e.dialog.ZoomIn();
    EXPECT_EQ(e.Text(IDC_DWIDTH), "12");
    EXPECT_TRUE(enabled(true, false));
    e.ClickButton(IDC_UNDO);
    e.KeyIn(IDC_GLYPH_NAME, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(enabled(false, true)); // back to the glyph as opened: OK keeps what it applied undoable
    e.KeyIn(IDC_GLYPH_NAME, Qt::Key_Y, Qt::ControlModifier);
    e.ClickButton(IDC_REDO);
    EXPECT_TRUE(enabled(true, false));
    e.ClickButton(1);
    EXPECT_EQ(std::tuple(e.glyph->bbx.x_offset, e.glyph->bbx.y_offset, e.glyph->dwidth, e.changed.count()),
              std::tuple(2, 0, 12, 2));
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
    EXPECT_TRUE(e.dialog.close() && width->isReadOnly() && width->text() == "6");
    ASSERT_TRUE(e.dialog.SetGlyph(e.glyph, Box(8, 8, 0, -2), 1)); // a proportional font's glyph
    EXPECT_EQ(std::tuple(width->isReadOnly(), width->text(), width->toolTip()), std::tuple(false, "8", ""));
}

TEST(GlyphEditDialog, GlyphsThatCannotBeEditedAreRefusedWithANoticeAndABlankFrameThatWritesNothing) {
    ScriptedPrompts prompts;
    Editor e({"#"}, Box(8, 8, 0, 0), 0, 0);
    const auto shown = [&] { return e.Frame()->grab().toImage().pixel(e.CellPoint(0, 7)); };
    for (const auto &[box, bpp, notice] :
         {std::tuple{Box(6000, 8, 0, 0), 1, "48: This glyph is too large to be edited."},
          {Box(8, 8, 0, 0), 3, "48: Glyphs of this font's pixel depth cannot be edited."}}) {
        ASSERT_TRUE(e.dialog.SetGlyph(e.glyph, Box(8, 8, 0, 0), 1));
        EXPECT_EQ(shown(), cell_colours::kBlack);
        EXPECT_FALSE(e.dialog.SetGlyph(e.glyph, box, bpp));
        EXPECT_EQ(std::tuple(shown(), Asked(prompts), e.dialog.OnOK()),
                  std::tuple(e.Frame()->palette().color(QPalette::Window).rgb(), notice, false));
    }
}

TEST(RealFontEdit, AnEditedX11FontSavesOnlyTheEditAndIsStillReadByBdftopcf) {
    const QString source = QStringLiteral(GLYPHWERK_CORPUS_DIR "/misc-9x15.bdf");
    if (!QFile::exists(source))
        GTEST_SKIP() << "no corpus font at " << source.toStdString() << " (run scripts/corpus)";
    struct Library {
        Library() { bdf_setup(); }
        ~Library() { bdf_cleanup(); }
    } library;
    QTemporaryDir dir;
    const QString path = dir.filePath("font.bdf");
    const auto saved = [&](bdf_font *font) {
        EXPECT_EQ(bdf_save_font_path(path.toLocal8Bit().constData(), font), 1);
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const auto glyphA = [](bdf_font *font) {
        bdf_glyph *end = font->glyphs + font->glyphs_used;
        bdf_glyph *a = std::find_if(font->glyphs, end, [](const bdf_glyph &glyph) { return glyph.encoding == 'A'; });
        return a == end ? nullptr : a;
    };
    FontPtr font(bdf_load_font_path(source.toLocal8Bit().constData()));
    ASSERT_TRUE(font && glyphA(font.get()));
    const QByteArray before = saved(font.get());
    Editor e(glyphA(font.get()), font->bbx, font->bpp);
    EXPECT_FALSE(e.dialog.OnOK());
    EXPECT_EQ(saved(font.get()), before);
    e.ClickButton(res::IDC_PENCIL);
    e.Click(0, 0); // the font box's top-left pixel, outside A's ink
    EXPECT_TRUE(e.dialog.OnOK());
    EXPECT_NE(saved(font.get()), before);
    QProcess bdftopcf;
    bdftopcf.start("bdftopcf", {"-o", path + ".pcf", path});
    ASSERT_TRUE(bdftopcf.waitForFinished());
    EXPECT_EQ(std::tuple(bdftopcf.exitCode(), bdftopcf.readAllStandardError(), e.changed.count()),
              std::tuple(0, QByteArray(), 1));
    FontPtr reread(bdf_load_font_path(path.toLocal8Bit().constData()));
    const bdf_glyph *a = reread ? glyphA(reread.get()) : nullptr; // the new pixel: left edge, top row of the box
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(std::tuple(a->bbx.x_offset, a->bbx.ascent, a->bitmap[0] & 0x80),
              std::tuple(font->bbx.x_offset, font->bbx.ascent, 0x80));
}

} // namespace
