// New, Delete, Copy and Paste Glyph with Undo and Redo over the whole font,
// through the real menus and the real clipboard.

#include "app_fixture.h"
#include "glyph_edit.h"
#include "glyph_edit_dialog.h"
#include "glyph_table_area.h"
#include "new_glyph_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
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

} // namespace

struct GlyphCommands : AppFixture {
    void SetUp() override {
        AppFixture::SetUp();
        QGuiApplication::clipboard()->clear();
    }
    // The glyph commands that are enabled, in menu order.
    std::string enabled() const {
        const std::pair<int, const char *> commands[] = {
            {res::ID_EDIT_NEW_GLYPH, "new"}, {res::ID_EDIT_CLEAR, "delete"}, {res::ID_EDIT_COPY, "copy"},
            {res::ID_EDIT_PASTE, "paste"},   {res::ID_EDIT_UNDO, "undo"},    {res::ID_EDIT_REDO, "redo"}};
        QStringList on;
        for (auto [id, name] : commands)
            if (action(id)->isEnabled())
                on << name;
        return on.join(' ').toStdString();
    }
    QPoint cellOf(int index) const {
        return view()->TableArea()->geometry().topLeft() + view()->TableArea()->contentsRect().topLeft() +
               QPoint(3 + 7 * index, 4);
    }
    void click(int index) const { QTest::mouseClick(view(), Qt::LeftButton, {}, cellOf(index)); }
    // Edit > New Glyph..., typing each text in turn into the encoding and pressing OK
    // (Cancel after the last one for `cancel`); the proposed name, then "shown" or
    // "closed" after each.
    std::string newGlyph(const QStringList &encodings, const QString &name = {}, bool cancel = false) {
        std::string outcome;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<CNewGlyphDlg *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            for (const QString &text : encodings) {
                dialog->EncodingEdit()->clear();
                QTest::keyClicks(dialog->EncodingEdit(), text);
                if (!name.isEmpty())
                    dialog->NameEdit()->setText(name);
                outcome += (outcome.empty() ? "" : " ") + dialog->NameEdit()->placeholderText().toStdString();
                if (cancel && text == encodings.back())
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
    QSignalSpy edited(doc(), &CGlyphwerkDoc::fontEdited);
    EXPECT_EQ(enabled(), "new") << "no glyph selected, nothing to undo";

    // A taken encoding, a bad text and one out of range keep the dialog open with a message.
    EXPECT_EQ(newGlyph({"0x42", "12x", "65536", "0x43"}), "uni0042 shown  shown  shown uni0043 closed");
    EXPECT_EQ(boxes(), "48: The font already has a glyph with encoding 66 (0x0042).\n"
                       "48: Type the encoding in decimal, or in hexadecimal after 0x, from 0 to 65535.\n"
                       "48: Type the encoding in decimal, or in hexadecimal after 0x, from 0 to 65535.");
    const bdf_font *font = doc()->Font();
    EXPECT_EQ(glyphs(font), "65 A|66 B|67 uni0043");
    const bdf_glyph &added = font->glyphs[2];
    // The font's common width and its box to draw in, blank.
    EXPECT_EQ(QString::asprintf("%d %d %d %d %d %u", added.dwidth, added.bbx.width, added.bbx.height,
                                added.bbx.x_offset, added.bbx.y_offset, added.bytes)
                  .toStdString(),
              "6 6 8 0 -1 8");
    EXPECT_EQ(hex(added), "0000000000000000");
    EXPECT_EQ(view()->SelectedGlyph(), 2);
    EXPECT_EQ(glyphPanel(), "Glyph Name: uni0043");
    EXPECT_TRUE(fontPanel().endsWith("Glyphs Num: \t3\r\n"));
    EXPECT_TRUE(doc()->IsModified());
    EXPECT_EQ(enabled(), "new delete copy undo");
    EXPECT_EQ(newGlyph({"10"}, "ten"), "uni000A closed");
    EXPECT_EQ(glyphs(font), "10 ten|65 A|66 B|67 uni0043");
    EXPECT_EQ(newGlyph({"11"}, {}, true), "uni000B");
    // Cancel adds nothing.
    EXPECT_EQ(glyphs(font), "10 ten|65 A|66 B|67 uni0043");

    click(2);
    trigger(res::ID_EDIT_CLEAR);
    EXPECT_EQ(glyphs(font), "10 ten|65 A|67 uni0043");
    EXPECT_EQ(glyphPanel(), "Glyph Name: uni0043") << "the glyph that took its place";
    click(2);
    trigger(res::ID_EDIT_CLEAR);
    EXPECT_EQ(glyphPanel(), "Glyph Name: A") << "the last one";

    const struct {
        int command;
        std::string glyphs, panel;
        bool modified;
        std::string enabled;
    } steps[] = {
        {res::ID_EDIT_UNDO, "10 ten|65 A|67 uni0043", "Glyph Name: uni0043", true, "new delete copy undo redo"},
        {res::ID_EDIT_UNDO, "10 ten|65 A|66 B|67 uni0043", "Glyph Name: B", true, "new delete copy undo redo"},
        {res::ID_EDIT_UNDO, "65 A|66 B|67 uni0043", "Glyph Name: A", true, "new delete copy undo redo"},
        {res::ID_EDIT_UNDO, "65 A|66 B", "Glyph Name: B", false, "new delete copy redo"},
        {res::ID_FILE_SAVE, "65 A|66 B", "Glyph Name: B", false, "new delete copy redo"},
        {res::ID_EDIT_REDO, "65 A|66 B|67 uni0043", "Glyph Name: uni0043", true, "new delete copy undo redo"},
        {res::ID_EDIT_REDO, "10 ten|65 A|66 B|67 uni0043", "Glyph Name: ten", true, "new delete copy undo redo"},
        {res::ID_FILE_SAVE, "10 ten|65 A|66 B|67 uni0043", "Glyph Name: ten", false, "new delete copy undo redo"},
        {res::ID_EDIT_UNDO, "65 A|66 B|67 uni0043", "Glyph Name: A", true, "new delete copy undo redo"},
        {res::ID_EDIT_REDO, "10 ten|65 A|66 B|67 uni0043", "Glyph Name: ten", false, "new delete copy undo redo"},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.glyphs);
        trigger(step.command);
        EXPECT_EQ(glyphs(doc()->Font()), step.glyphs);
        EXPECT_EQ(glyphPanel(), step.panel);
        EXPECT_EQ(doc()->IsModified(), step.modified);
        EXPECT_EQ(enabled(), step.enabled);
    }
    EXPECT_EQ(edited.count(), 4 + 8) << "every New, Delete, Undo and Redo";
    const QByteArray saved = read(small);
    EXPECT_TRUE(saved.contains("CHARS 4\nSTARTCHAR ten\nENCODING 10\n"));
    EXPECT_TRUE(saved.contains("STARTCHAR uni0043\nENCODING 67\nSWIDTH 720 0\nDWIDTH 6 0\nBBX 6 8 0 -1\nBITMAP\n00\n"));

    // Another font starts with no history.
    ASSERT_EQ(app->OpenDocumentFile(other), CGlyphwerkApp::OpenResult::Opened);
    EXPECT_FALSE(action(res::ID_EDIT_UNDO)->isEnabled());
}
