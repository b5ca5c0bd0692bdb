// View > Preview... through the real menu: greyed without a font, one window
// that follows the font's edits, its text, its zoom and every Open, and saves
// the line as a PNG image.

#include "app_fixture.h"
#include "glyph_edit_dialog.h"
#include "glyph_edit_template.h"
#include "preview_dialog.h"
#include "preview_layout.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QImageReader>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>

namespace {

const QString kDefaultText = QStringLiteral("The quick brown fox jumps over the lazy dog 0123456789");

struct PreviewWindowTest : AppFixture {
    // View > Preview... as the menu bar holds it.
    QAction *previewItem() const {
        for (QAction *top : frame()->menuBar()->actions())
            if (top->text() == "&View")
                for (QAction *item : top->menu()->actions())
                    if (item->text() == "&Preview...")
                        return item;
        return nullptr;
    }
    CPreviewDlg *preview() const { return app->PreviewDialog(); }
    // What the window should show: the line laid out in the document's font now.
    QImage expected(const QString &text, int zoom) const {
        return CPreviewLayout(doc()->Font(), text).Render(zoom);
    }
    QImage shownOnCanvas() const {
        return preview()->Canvas()->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(PreviewWindowTest, OneWindowFollowsTheFontThroughEditsTextZoomAndOpensAndIsGreyWithoutAFont) {
    const QString helvetica = QStringLiteral(GLYPHWERK_CORPUS_DIR "/75dpi-helvR12.bdf");
    if (!QFileInfo::exists(helvetica))
        GTEST_SKIP() << "the corpus has no 75dpi-helvR12.bdf (scripts/corpus makes it)";
    ASSERT_TRUE(start());
    QAction *item = previewItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item, action(res::ID_VIEW_PREVIEW));
    EXPECT_FALSE(item->isEnabled());

    ASSERT_EQ(app->OpenDocumentFile(helvetica), CGlyphwerkApp::OpenResult::Opened);
    EXPECT_TRUE(item->isEnabled());
    item->trigger();
    CPreviewDlg *window = preview();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->TextEdit()->text(), kDefaultText);
    EXPECT_EQ(window->ZoomBox()->value(), 2);
    EXPECT_EQ(window->ZoomBox()->minimum(), 1);
    EXPECT_EQ(window->ZoomBox()->maximum(), 8);
    const QImage before = window->Image();
    EXPECT_EQ(before, expected(kDefaultText, 2));
    EXPECT_EQ(shownOnCanvas(), before);
    window->hide();
    item->trigger();
    EXPECT_EQ(preview(), window) << "one preview window per program";
    EXPECT_TRUE(window->isVisible());

    // An edit applied from the glyph editor: T's ink one pixel up.
    const bdf_font *font = doc()->Font();
    int t = 0;
    while (font->glyphs[t].encoding != 'T')
        ++t;
    view()->SelectGlyph(t, true);
    auto *editor = qobject_cast<CGlyphEditDlg *>(view()->EditDialog());
    ASSERT_NE(editor, nullptr);
    QTest::mouseClick(res::controlById<QAbstractButton>(editor, res::IDC_UP), Qt::LeftButton);
    EXPECT_EQ(window->Image(), before) << "not applied yet";
    QTest::mouseClick(res::controlById<QAbstractButton>(editor, 1), Qt::LeftButton); // OK
    EXPECT_NE(window->Image(), before);
    EXPECT_EQ(window->Image(), expected(kDefaultText, 2));

    // Typing changes the line, the zoom its size.
    window->TextEdit()->clear();
    QTest::keyClicks(window->TextEdit(), "Tj");
    EXPECT_EQ(window->Image(), expected("Tj", 2));
    QTest::keyClick(window->ZoomBox(), Qt::Key_Up);
    EXPECT_EQ(window->Image().size(), CPreviewLayout(font, u"Tj").Size() * 3);
    EXPECT_EQ(window->Image(), expected("Tj", 3));
    EXPECT_EQ(shownOnCanvas(), window->Image());

    // Another font shows at once; a file without a font empties the window and greys the item.
    prompts.saveChangesAnswers = {prompts::IDNO};
    ASSERT_EQ(app->OpenDocumentFile(small), CGlyphwerkApp::OpenResult::Opened);
    EXPECT_EQ(window->Image(), expected("Tj", 3));
    // The font lacks T and j and has no DEFAULT_CHAR: two boxes of 6 x 8.
    EXPECT_EQ(window->Image().size(), QSize(12, 8) * 3);
    ASSERT_EQ(app->OpenDocumentFile(text), CGlyphwerkApp::OpenResult::Opened);
    EXPECT_EQ(boxes(), "48: Invalid file!");
    EXPECT_TRUE(window->Image().isNull());
    EXPECT_EQ(window->Canvas()->text(), "No font is open.");
    EXPECT_FALSE(window->SaveButton()->isEnabled());
    EXPECT_FALSE(item->isEnabled());
}

TEST_F(PreviewWindowTest, SavePngWritesTheLinePixelForPixelAndSaysWhenItCannot) {
    ASSERT_TRUE(start({small}));
    action(res::ID_VIEW_PREVIEW)->trigger();
    CPreviewDlg *window = preview();
    ASSERT_NE(window, nullptr);
    window->TextEdit()->setText("ABBA");
    const QImage line = window->Image();
    ASSERT_EQ(line.size(), QSize(24, 8) * 2);

    prompts.saveAnswers = {dir.filePath("line")};
    QTest::mouseClick(window->SaveButton(), Qt::LeftButton);
    QImageReader reader(dir.filePath("line.png"));
    EXPECT_EQ(reader.format(), "png");
    EXPECT_EQ(reader.read().convertToFormat(QImage::Format_RGB32), line);

    prompts.saveAnswers = {}; // cancelled
    QTest::mouseClick(window->SaveButton(), Qt::LeftButton);
    EXPECT_EQ(prompts.saveProposals.size(), 2);
    EXPECT_EQ(QDir(dir.path()).entryList({"*.png"}), QStringList{"line.png"});
    EXPECT_EQ(boxes(), "");

    const QString nowhere = dir.filePath("no-such-folder/line.png");
    prompts.saveAnswers = {nowhere};
    QTest::mouseClick(window->SaveButton(), Qt::LeftButton);
    EXPECT_EQ(boxes(), "16: The image " + nowhere.toStdString() + " could not be saved:\nNo such file or directory.");
}

} // namespace
