#include "canvas_frame.h"
#include "cell_colours.h"
#include "dialog_builder.h"
#include "font_ptr.h"
#include "glyph_edit_dialog.h"
#include "glyph_edit_template.h"
#include "glyph_fixture.h"
#include "scripted_prompts.h"

#include <QAbstractButton>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace res;

// The editor window on one glyph, shown and active, driven by Qt events on grid cells and controls found by id.
struct Editor {
    // A glyph of `rows` at (x, y) that the editor owns, or one of a font read by the library.
    explicit Editor(const Picture &rows, const bdf_bbx &fontBox = Box(8, 8, 0, -2), int x = 1, int y = 0)
        : Editor(nullptr, fontBox, 1, MakeGlyph(rows, x, y, 1, "A")) {}
    Editor(bdf_glyph *fontGlyph, const bdf_bbx &fontBox, int bpp, GlyphPtr own = nullptr) : owned(std::move(own)) {
        EXPECT_TRUE(dialog.SetGlyph(glyph = owned ? owned.get() : fontGlyph, fontBox, bpp));
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
    template <typename T = QWidget> T *Control(int id) { return controlById<T>(&dialog, id); }
    CCanvasFrame *Frame() { return Control<CCanvasFrame>(res::IDC_CANVAS); }
    QPoint CellPoint(int k, int r) {
        const int pitch = dialog.Canvas().Pitch();
        return dialog.GetViewRect().topLeft() + QPoint(k * pitch + 1 + pitch / 2 - dialog.Canvas().ScrollX(),
                                                       r * pitch + 1 + pitch / 2 - dialog.Canvas().ScrollY());
    }
    void Send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint at) {
        QMouseEvent event(type, QPointF(at), Frame()->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(Frame(), &event);
    }
    void Drag(int k0, int r0, int k1, int r1, Qt::MouseButton button = Qt::LeftButton) {
        Send(QEvent::MouseButtonPress, button, button, CellPoint(k0, r0));
        Send(QEvent::MouseMove, Qt::NoButton, button, CellPoint(k1, r1));
        Send(QEvent::MouseButtonRelease, button, Qt::NoButton, CellPoint(k1, r1));
    }
    void Click(int k, int r, Qt::MouseButton button = Qt::LeftButton) { Drag(k, r, k, r, button); }
    void ClickButton(int id) { QTest::mouseClick(Control<QAbstractButton>(id), Qt::LeftButton); }
    // A text typed over the whole text of control `id`.
    void Type(int id, const QString &text) {
        Control(id)->setFocus();
        QTest::keyClick(Control(id), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Control(id), text);
    }
    QString Text(int id) { return Control(id)->property("text").toString(); }

    QWidget view;
    GlyphPtr owned;
    bdf_glyph *glyph = nullptr;
    CGlyphEditDlg dialog{&view};
    QSignalSpy changed{&dialog, &CGlyphEditDlg::glyphChanged};
};

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

TEST(GlyphEditDialog, AMonospacedFontKeepsItsWidthAndGlyphsThatCannotBeEditedGetANoticeAndABlankFrame) {
    ScriptedPrompts prompts;
    Editor e({"#"}, Box(8, 8, 0, 0), 0, 0);
    ASSERT_TRUE(e.dialog.SetGlyph(e.glyph, Box(8, 8, 0, 0), 1, 6));
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
    const auto shown = [&] { return e.Frame()->grab().toImage().pixel(e.CellPoint(0, 7)); };
    for (const auto &[box, bpp, notice] :
         {std::tuple{Box(6000, 8, 0, 0), 1, "This glyph is too large to be edited."},
          {Box(8, 8, 0, 0), 3, "Glyphs of this font's pixel depth cannot be edited."}}) {
        ASSERT_TRUE(e.dialog.SetGlyph(e.glyph, Box(8, 8, 0, 0), 1)); // a proportional font's glyph
        EXPECT_EQ(std::tuple(width->isReadOnly(), width->text(), width->toolTip(), shown()),
                  std::tuple(false, "8", "", cell_colours::kBlack));
        prompts.boxes.clear();
        EXPECT_FALSE(e.dialog.SetGlyph(e.glyph, box, bpp));
        ASSERT_EQ(prompts.boxes.size(), 1u);
        EXPECT_EQ(std::tuple(shown(), prompts.boxes[0].type, prompts.boxes[0].text.toStdString(), e.dialog.OnOK()),
                  std::tuple(e.Frame()->palette().color(QPalette::Window).rgb(), 48u, notice, false));
    }
}

TEST(RealFontEdit, AnEditedX11FontSavesOnlyTheEditAndIsStillReadByBdftopcf) {
    const QString source = QStringLiteral(GLYPHWERK_CORPUS_DIR "/misc-9x15.bdf");
    if (!QFile::exists(source))
        GTEST_SKIP() << "no corpus font at " << source.toStdString() << " (run scripts/corpus)";
    bdf_setup();
    const auto library = qScopeGuard(bdf_cleanup);
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
    e.ClickButton(IDC_PENCIL);
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
