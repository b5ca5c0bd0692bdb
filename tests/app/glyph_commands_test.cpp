// New, Delete, Copy and Paste Glyph with Undo and Redo over the whole font,
// through the real menus and the real clipboard.

#include "app_fixture.h"
#include "find_glyph_template.h"
#include "glyph_edit.h"
#include "glyph_edit_dialog.h"
#include "glyph_edit_template.h"
#include "glyph_table_area.h"
#include "new_glyph_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

namespace {

// "encoding name" of every encoded glyph, "|" between them.
std::string glyphs(const bdf_font *font) {
    QStringList list;
    for (uint32_t i = 0; i < font->glyphs_used; ++i)
        list << QString::number(font->glyphs[i].encoding) + " " + font->glyphs[i].name;
    return list.join('|').toStdString();
}

std::string hex(const bdf_glyph &glyph) {
    return QByteArray(reinterpret_cast<const char *>(glyph.bitmap), glyph.bytes).toHex().toUpper().toStdString();
}

// "name dwidth WxH+x+y BITMAP" of a glyph.
std::string shape(const bdf_glyph &g) {
    return QString::asprintf("%s %d %dx%d%+d%+d %s", g.name, g.dwidth, g.bbx.width, g.bbx.height, g.bbx.x_offset,
                             g.bbx.y_offset, hex(g).c_str()).toStdString();
}

} // namespace

struct GlyphCommands : AppFixture {
    void SetUp() override {
        AppFixture::SetUp();
        QGuiApplication::clipboard()->clear();
    }
    // The glyph commands that are enabled, in menu order.
    std::string enabled() const {
        QStringList on;
        for (auto [id, name] : {std::pair{res::ID_EDIT_NEW_GLYPH, "new"}, {res::ID_EDIT_CLEAR, "delete"},
                                {res::ID_EDIT_COPY, "copy"}, {res::ID_EDIT_PASTE, "paste"},
                                {res::ID_EDIT_UNDO, "undo"}, {res::ID_EDIT_REDO, "redo"}})
            if (action(id)->isEnabled())
                on << name;
        return on.join(' ').toStdString();
    }
    void click(int index) const {
        const QPoint cell = view()->TableArea()->geometry().topLeft() + view()->TableArea()->contentsRect().topLeft();
        QTest::mouseClick(view(), Qt::LeftButton, {}, cell + QPoint(3 + 7 * index, 4));
    }
    // Edit > New Glyph..., typing each text in turn into the encoding and pressing OK
    // (Cancel instead for an empty `name`); the proposed name, then "shown" or "closed" after each.
    std::string newGlyph(const QStringList &encodings, const QString &name = "-") {
        std::string outcome;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<CNewGlyphDlg *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            for (const QString &text : encodings) {
                dialog->EncodingEdit()->clear();
                QTest::keyClicks(dialog->EncodingEdit(), text);
                if (name != "-")
                    dialog->NameEdit()->setText(name);
                outcome += (outcome.empty() ? "" : " ") + dialog->NameEdit()->placeholderText().toStdString();
                if (name.isEmpty())
                    break;
                dialog->accept();
                outcome += dialog->isVisible() ? " shown" : " closed";
            }
            if (dialog->isVisible())
                dialog->reject();
        });
        trigger(res::ID_EDIT_NEW_GLYPH);
        return outcome;
    }
    std::string glyphPanel() const {
        return res::controlById<QLabel>(view(), res::IDC_GLYPH_INFO)->text().section("\r\n", 0, 0).toStdString();
    }
};

TEST_F(GlyphCommands, NewAndDeleteGoBackAndForthThroughTheMenusWithTheModifiedFlagFollowing) {
    ASSERT_TRUE(start());
    EXPECT_EQ(enabled(), "");
    ASSERT_EQ(app->OpenDocumentFile(small), CGlyphwerkApp::OpenResult::Opened);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame()));
    EXPECT_EQ(enabled(), "new") << "no glyph selected, nothing to undo";

    // A taken encoding and a bad text keep the dialog open with a message.
    EXPECT_EQ(newGlyph({"0x42", "65536", "0x43"}), "uni0042 shown  shown uni0043 closed");
    EXPECT_EQ(boxes(), "48: The font already has a glyph with encoding 66 (0x0042).\n"
                       "48: Type the encoding in decimal, or in hexadecimal after 0x, from 0 to 65535.");
    const bdf_font *font = doc()->Font();
    // The font's common width and its box to draw in, blank.
    EXPECT_EQ(shape(font->glyphs[2]), "uni0043 6 6x8+0-1 0000000000000000");
    EXPECT_TRUE(fontPanel().endsWith("Glyphs Num: \t3\r\n"));
    EXPECT_EQ(newGlyph({"10"}, "ten"), "uni000A closed");
    EXPECT_EQ(newGlyph({"11"}, ""), "uni000B") << "Cancel adds nothing";
    EXPECT_EQ(glyphs(font), "10 ten|65 A|66 B|67 uni0043");
    for (const char *next : {"uni0043", "A"}) { // the glyph that takes its place, then the last one
        click(2);
        trigger(res::ID_EDIT_CLEAR);
        EXPECT_EQ(glyphPanel(), std::string("Glyph Name: ") + next);
    }

    // After each step: the glyphs; the one shown; "*" while modified; the commands enabled.
    const int undo = res::ID_EDIT_UNDO, redo = res::ID_EDIT_REDO, save = res::ID_FILE_SAVE;
    const std::pair<int, std::string> steps[] = {
        {undo, "10 ten|65 A|67 uni0043; Glyph Name: uni0043 *new delete copy undo redo"},
        {undo, "10 ten|65 A|66 B|67 uni0043; Glyph Name: B *new delete copy undo redo"},
        {undo, "65 A|66 B|67 uni0043; Glyph Name: A *new delete copy undo redo"},
        {undo, "65 A|66 B; Glyph Name: B new delete copy redo"},
        {redo, "65 A|66 B|67 uni0043; Glyph Name: uni0043 *new delete copy undo redo"},
        {save, "65 A|66 B|67 uni0043; Glyph Name: uni0043 new delete copy undo redo"},
        {redo, "10 ten|65 A|66 B|67 uni0043; Glyph Name: ten *new delete copy undo redo"},
        {undo, "65 A|66 B|67 uni0043; Glyph Name: A new delete copy undo redo"},
    };
    for (const auto &[command, state] : steps) {
        trigger(command);
        EXPECT_EQ(glyphs(doc()->Font()) + "; " + glyphPanel() + (doc()->IsModified() ? " *" : " ") + enabled(), state);
    }
    EXPECT_TRUE(read(small).contains("STARTCHAR uni0043\nENCODING 67\nSWIDTH 720 0\nDWIDTH 6 0\nBBX 6 8 0 -1\nBITMAP\n00\n"));

    // Another font starts with no history.
    ASSERT_EQ(app->OpenDocumentFile(other), CGlyphwerkApp::OpenResult::Opened);
    EXPECT_FALSE(action(res::ID_EDIT_UNDO)->isEnabled());
}

TEST_F(GlyphCommands, EachEditorOkIsOneStepAndTheEditorFollowsItsGlyphThroughTheList) {
    ASSERT_TRUE(start({small}));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame()));
    view()->SelectGlyph(1, true);
    auto *editor = qobject_cast<CGlyphEditDlg *>(view()->EditDialog());
    ASSERT_NE(editor, nullptr);
    QTest::mouseClick(res::controlById<QAbstractButton>(editor, res::IDC_PENCIL), Qt::LeftButton);
    auto draw = [&](int x, int y) {
        const Cell cell{x, y};
        editor->Canvas().OnCanvasMouse(MOUSE_LEFT_DOWN, &cell);
        editor->Canvas().OnCanvasMouse(MOUSE_LEFT_UP, &cell);
    };
    const bdf_font *font = doc()->Font();
    auto b = [&] { return hex(font->glyphs[bdf_find_glyph(font, 66)]); };
    const std::string stored = "F88484F88484F800", drawn = "F88484F88484F804";
    draw(5, 7);
    editor->OnOK();
    EXPECT_EQ(b(), drawn);

    // A glyph put in front of B moves B in memory: the editor goes on with it,
    // a stroke not yet applied intact.
    EXPECT_EQ(newGlyph({"0x30"}), "uni0030 closed");
    EXPECT_EQ(editor->Canvas().Glyph(), &font->glyphs[2]);
    draw(0, 7);
    trigger(res::ID_EDIT_UNDO); // takes the new glyph out; B is not asked about
    EXPECT_EQ(editor->Canvas().Glyph(), &font->glyphs[1]);
    EXPECT_TRUE(editor->Canvas().HasUnappliedChanges());
    // Undoing the OK changes B itself: first the question about the stroke.
    prompts.boxAnswers = {prompts::IDNO};
    trigger(res::ID_EDIT_UNDO);
    EXPECT_EQ(boxes(), "35: Apply the changes to the glyph \"B\"?");
    EXPECT_EQ(b(), stored);
    EXPECT_FALSE(doc()->IsModified());
    // Started over from the glyph as it is now.
    EXPECT_FALSE(editor->Canvas().HasUnappliedChanges() || editor->Canvas().History().CanUndo());
    // Redo puts the OK back; inside the editor Ctrl+Z undoes the editor's own step, not the font's.
    trigger(res::ID_EDIT_REDO);
    EXPECT_EQ(b(), drawn);
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
    draw(0, 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(editor->Canvas().History().CanUndo());
    EXPECT_EQ(b(), drawn);
    EXPECT_EQ(doc()->UndoStack().index(), 1);

    // Deleting the glyph in the editor hides the editor.
    click(1);
    trigger(res::ID_EDIT_CLEAR);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(editor->Canvas().Glyph(), nullptr);
}

TEST_F(GlyphCommands, CopyPutsThreeFormsOnTheClipboardAndPasteTakesShapeKeepingNameAndEncoding) {
    ASSERT_TRUE(start({small}));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame()));
    QClipboard *clipboard = QGuiApplication::clipboard();
    click(0);
    trigger(res::ID_EDIT_COPY);
    const QMimeData *data = clipboard->mimeData();
    ASSERT_NE(data, nullptr);
    const QString block = "STARTCHAR A\nENCODING 65\nSWIDTH 720 0\nDWIDTH 6 0\nBBX 6 8 0 -1\nBITMAP\n"
                          "30\n48\n84\n84\nFC\n84\n84\n00\nENDCHAR\n";
    EXPECT_EQ(data->text(), block);
    EXPECT_EQ(data->data("application/x-font-bdf"),
              "STARTFONT 2.1\nFONT -Test-Small-Medium-R-Normal--8-80-75-75-C-60-ISO10646-1\nSIZE 8 75 75\n"
              "FONTBOUNDINGBOX 6 8 0 -1\nSTARTPROPERTIES 0\nENDPROPERTIES\nCHARS 1\n" +
                  block.toLatin1() + "ENDFONT\n");
    QImage image = QImage::fromData(data->data("image/png"), "PNG");
    ASSERT_EQ(image.size(), QSize(6, 8));
    EXPECT_EQ(image.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(enabled(), "new delete copy paste");

    // Pasted over B: A's shape under B's name and encoding; then other clipboard
    // contents (BDF text from elsewhere, an image) and what Paste refuses.
    const bdf_glyph &b = doc()->Font()->glyphs[1];
    const std::string stored = shape(b);
    click(1);
    QImage drawn(2, 3, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    drawn.setPixel(0, 0, qRgb(0, 0, 0));
    drawn.setPixel(1, 2, qRgb(100, 100, 100));
    const struct {
        std::function<void(QMimeData *)> fill;
        std::string shape, message;
    } cases[] = {
        {[&](QMimeData *d) { d->setText(block); }, "B 6 6x8+0-1 30488484FC848400", ""},
        {[](QMimeData *d) { d->setText("STARTCHAR x\r\nENCODING 1\r\nDWIDTH 4 0\r\nBBX 2 1 1 0\r\nBITMAP\r\nC0\r\n"); },
         "B 4 2x1+1+0 C0", ""},
        {[&](QMimeData *d) { d->setImageData(drawn); }, "B 2 2x3+0+0 800040", ""},
        {[&](QMimeData *d) { d->setText("hello"); }, stored,
         "48: The clipboard holds no BDF glyph (STARTCHAR ... ENDCHAR) and no image to paste."},
        {[&](QMimeData *d) { d->setText(block + block); }, stored,
         "48: The clipboard holds 2 glyphs; Paste Glyph takes one."},
        {[&](QMimeData *d) { d->setText("STARTCHAR x\nENCODING 1\nNONSENSE\nBBX 1 1 0 0\nBITMAP\n80\nENDCHAR\n"); },
         stored, "48: The clipboard's BDF text is damaged: it could not be read to its end."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.shape);
        prompts.boxes.clear();
        auto *mime = new QMimeData;
        c.fill(mime);
        clipboard->setMimeData(mime);
        const int steps = doc()->UndoStack().index();
        trigger(res::ID_EDIT_PASTE);
        EXPECT_EQ(shape(b) + " " + std::to_string(b.encoding), c.shape + " 66");
        EXPECT_EQ(boxes(), c.message);
        EXPECT_EQ(doc()->UndoStack().index(), steps + (c.message.empty() ? 1 : 0));
        if (c.message.empty())
            trigger(res::ID_EDIT_UNDO);
        EXPECT_EQ(shape(b), stored);
    }
    clipboard->clear();
    EXPECT_EQ(enabled(), "new delete copy redo") << "nothing to paste";

    // A one-bit glyph pasted into a four-bit font takes the darkest level,
    // which the copied image shows as black.
    click(0);
    trigger(res::ID_EDIT_COPY);
    ASSERT_EQ(app->OpenDocumentFile(GLYPHWERK_TEST_DATA "/gray4.bdf"), CGlyphwerkApp::OpenResult::Opened);
    click(0);
    trigger(res::ID_EDIT_PASTE);
    // Rows of 6 pixels at 4 bits: A's top row 001100 becomes 00 FF 00.
    EXPECT_EQ(hex(doc()->Font()->glyphs[0]).substr(0, 12), "00FF000F00F0");
    trigger(res::ID_EDIT_COPY);
    image = QImage::fromData(clipboard->mimeData()->data("image/png"), "PNG");
    EXPECT_EQ(image.pixel(2, 0), qRgb(0, 0, 0));
}

// Two real fonts: a glyph copied from one and pasted into the other keeps its
// ink, box and device width through Save, and the changed font reads back
// without a word from our reader or bdftopcf.
TEST_F(GlyphCommands, AGlyphCarriedBetweenRealFontsSavesCleanAndUnchanged) {
    const QString source = QStringLiteral(GLYPHWERK_CORPUS_DIR "/100dpi-helvR14.bdf");
    const QString target = QStringLiteral(GLYPHWERK_CORPUS_DIR "/75dpi-helvR12.bdf");
    if (!QFileInfo::exists(source) || !QFileInfo::exists(target))
        GTEST_SKIP() << "the corpus lacks helvR14 or helvR12 (scripts/corpus makes them)";
    ASSERT_TRUE(start({source}));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame()));
    auto select = [&](int32_t encoding) { // through Edit > Find
        QTimer::singleShot(0, [encoding] {
            QWidget *dialog = QApplication::activeModalWidget();
            res::controlById<QLineEdit>(dialog, res::IDC_ENCODING)->setText(QString::number(encoding, 16));
            res::controlById<QPushButton>(dialog, res::IDOK)->click();
        });
        trigger(res::ID_EDIT_FIND);
        ASSERT_EQ(view()->SelectedGlyph(), bdf_find_glyph(doc()->Font(), encoding));
    };
    select('g');
    trigger(res::ID_EDIT_COPY);
    ASSERT_EQ(app->OpenDocumentFile(target), CGlyphwerkApp::OpenResult::Opened);
    select('B');
    trigger(res::ID_EDIT_PASTE);
    EXPECT_EQ(newGlyph({"0x2603"}), "uni2603 closed");
    select('C');
    trigger(res::ID_EDIT_CLEAR);
    const QString copy = dir.filePath("changed.bdf");
    prompts.saveAnswers = {copy};
    trigger(res::ID_FILE_SAVE_AS);
    EXPECT_EQ(boxes(), "");
    for (const auto &[program, arguments] :
         {std::pair<QString, QStringList>{GLYPHWERK_BDF_CLI, {"check", copy}},
          {"bdftopcf", {"-o", dir.filePath("changed.pcf"), copy}}}) {
        QProcess process;
        process.start(program, arguments);
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0) << program.toStdString();
        EXPECT_EQ(process.readAllStandardOutput() + process.readAllStandardError(), "") << program.toStdString();
    }
    FontPtr from(bdf_load_font_path(QFile::encodeName(source).constData()));
    FontPtr saved(bdf_load_font_path(QFile::encodeName(copy).constData()));
    ASSERT_TRUE(from && saved);
    const int32_t b = bdf_find_glyph(saved.get(), 'B');
    ASSERT_GE(b, 0);
    EXPECT_EQ(shape(saved->glyphs[b]), "B" + shape(from->glyphs[bdf_find_glyph(from.get(), 'g')]).substr(1));
    EXPECT_TRUE(bdf_find_glyph(saved.get(), 'C') == -1 && bdf_find_glyph(saved.get(), 0x2603) >= 0);
    EXPECT_EQ(saved->glyphs_used, doc()->Font()->glyphs_used);

    // A new glyph at the end of a font of several pages is selected and scrolled into view.
    prompts.saveChangesAnswers = {prompts::IDNO};
    ASSERT_EQ(app->OpenDocumentFile(GLYPHWERK_CORPUS_DIR "/misc-9x15.bdf"), CGlyphwerkApp::OpenResult::Opened);
    const CGlyphTable &table = view()->GlyphTable();
    EXPECT_EQ(newGlyph({"0xF8FF"}), "uniF8FF closed");
    const int first = table.FirstRow() * table.Columns(), selected = view()->SelectedGlyph();
    EXPECT_EQ(selected, bdf_find_glyph(doc()->Font(), 0xF8FF));
    EXPECT_TRUE(first > 0 && selected >= first && selected < first + table.PageCells()) << first << " " << selected;
}
