// View > Preview... through the real menu, with the font's edits, the text, the zoom, Open and Save PNG.

#include "app_fixture.h"
#include "glyph_edit_dialog.h"
#include "glyph_edit_template.h"
#include "preview_dialog.h"
#include "preview_layout.h"

#include <QAbstractButton>
#include <QImageReader>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>

namespace {

using PreviewWindowTest = AppFixture;

TEST_F(PreviewWindowTest, OneWindowFollowsEditsTextZoomAndOpensSavesThePngAndIsGreyWithoutAFont) {
    ASSERT_TRUE(start());
    QAction *item = nullptr;
    for (QAction *top : frame()->menuBar()->actions())
        for (QAction *entry : top->text() == "&View" ? top->menu()->actions() : QList<QAction *>())
            item = entry->text() == "&Preview..." ? entry : item;
    ASSERT_EQ(item, action(res::ID_VIEW_PREVIEW));
    EXPECT_FALSE(item->isEnabled());
    ASSERT_EQ(app->OpenDocumentFile(small), CGlyphwerkApp::OpenResult::Opened);
    item->trigger();
    CPreviewDlg *window = app->PreviewDialog();
    ASSERT_TRUE(window && window->isVisible() && !window->isModal());
    EXPECT_EQ(window->TextEdit()->text(), "The quick brown fox jumps over the lazy dog 0123456789");
    // What the window should show: the line laid out in the document's font now.
    auto expected = [this](QStringView line, int zoom) { return CPreviewLayout(doc()->Font(), line).Render(zoom); };
    EXPECT_EQ(window->Image(), expected(window->TextEdit()->text(), 2));
    window->hide();
    item->trigger();
    EXPECT_TRUE(app->PreviewDialog() == window && window->isVisible()) << "one preview window per program";

    // Typing changes the line; an edit applied from the glyph editor (A's ink one pixel up) shows.
    window->TextEdit()->clear();
    QTest::keyClicks(window->TextEdit(), "ABBA");
    const QImage before = window->Image();
    ASSERT_EQ(before, expected(u"ABBA", 2));
    view()->SelectGlyph(0, true);
    auto *editor = qobject_cast<CGlyphEditDlg *>(view()->EditDialog());
    ASSERT_NE(editor, nullptr);
    QTest::mouseClick(res::controlById<QAbstractButton>(editor, res::IDC_UP), Qt::LeftButton);
    EXPECT_EQ(window->Image(), before) << "not applied yet";
    QTest::mouseClick(res::controlById<QAbstractButton>(editor, 1), Qt::LeftButton); // OK
    EXPECT_NE(window->Image(), before);
    EXPECT_EQ(window->Image(), expected(u"ABBA", 2));
    QTest::keyClick(window->ZoomBox(), Qt::Key_Up);
    EXPECT_EQ(window->Image(), expected(u"ABBA", 3));
    EXPECT_EQ(window->Canvas()->pixmap().toImage().convertToFormat(QImage::Format_RGB32), window->Image());

    // Save PNG... writes the line pixel for pixel, does nothing when cancelled and says when it cannot.
    const QString nowhere = dir.filePath("no-such-folder/line.png");
    prompts.saveAnswers = {dir.filePath("line"), {}, nowhere};
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(window->SaveButton(), Qt::LeftButton);
    QImageReader reader(dir.filePath("line.png"));
    EXPECT_EQ(reader.format(), "png");
    EXPECT_EQ(reader.read().convertToFormat(QImage::Format_RGB32), window->Image());
    EXPECT_EQ(QDir(dir.path()).entryList({"*.png"}), QStringList{"line.png"});

    // Another font shows at once; a file without a font empties the window and greys the item.
    prompts.saveChangesAnswers = {prompts::IDNO};
    ASSERT_EQ(app->OpenDocumentFile(other), CGlyphwerkApp::OpenResult::Opened);
    EXPECT_EQ(window->Image(), expected(u"ABBA", 3));
    ASSERT_EQ(app->OpenDocumentFile(text), CGlyphwerkApp::OpenResult::Opened);
    EXPECT_EQ(boxes(), "16: The image " + nowhere.toStdString() + " could not be saved:\nNo such file or directory.\n"
                       "48: Invalid file!");
    EXPECT_TRUE(window->Image().isNull());
    EXPECT_EQ(window->Canvas()->text(), "No font is open.");
    EXPECT_FALSE(window->SaveButton()->isEnabled() || item->isEnabled());
}

} // namespace
