// Start-up with and without a file, the main frame, the menu, shut-down and
// the recent-file list across runs.

#include "app_fixture.h"
#include "string_table.h"

#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

TEST_F(AppFixture, StartsEmptyWithTheVersionCaptionInAFixedFrame) {
    ASSERT_TRUE(start());
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_EQ(state(), "GlyphwerkV1.02 | Untitled: no path | no font | commands off");
    EXPECT_EQ(fontPanel(), "No file is opened.");
    EXPECT_TRUE(prompts.boxes.empty());

    EXPECT_EQ(frame()->minimumSize(), frame()->maximumSize()) << "not resizable";
    // The outer size holds the decorations (2 pixels a side offscreen); the client area gives them room.
    EXPECT_EQ(frame()->frameGeometry().size(), QSize(1024, 768));
    EXPECT_EQ(frame()->size(), QSize(1020, 764));
    EXPECT_FALSE(frame()->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(frame()->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(frame()->findChildren<QToolBar *>().isEmpty());
    EXPECT_TRUE(frame()->findChildren<QStatusBar *>().isEmpty());
    // The view is no larger than the form in either dimension.
    EXPECT_LE(view()->width(), view()->FormSize().width());
    EXPECT_LE(view()->height(), view()->FormSize().height());
}

TEST_F(AppFixture, MenuAndAcceleratorsFollowResource128) {
    ASSERT_TRUE(start());
    QStringList lines;
    for (QAction *top : frame()->menuBar()->actions()) {
        lines << top->text();
        for (QAction *item : top->menu()->actions()) {
            if (!item->isVisible())
                continue;
            lines << (item->isSeparator() ? QString("--") : "  " + item->text() + (item->isEnabled() ? "" : " (grey)"));
        }
    }
    EXPECT_EQ(lines.join('|'), "&File|  &Open...\tCtrl+O|  &Save\tCtrl+S (grey)|  Save &As... (grey)|--|"
                               "  Recent &Files (grey)|--|  E&xit|"
                               "&Edit|  &Find...\tCtrl+F (grey)|--|  &New Glyph... (grey)|  &Delete Glyph\tDel (grey)|"
                               "  &Copy Glyph\tCtrl+C (grey)|  &Paste Glyph\tCtrl+V (grey)|--|"
                               "  &Undo\tCtrl+Z (grey)|  &Redo\tCtrl+Y (grey)|"
                               "&View|  &Preview... (grey)|  &Load Report... (grey)|"
                               "&Help|  &Update...|--|  &About Glyphwerk...");
    const std::pair<int, const char *> keys[] = {{res::ID_FILE_OPEN, "Ctrl+O"}, {res::ID_FILE_SAVE, "Ctrl+S"},
                                                 {res::ID_EDIT_FIND, "Ctrl+F"}, {res::ID_FILE_NEW, "Ctrl+N"},
                                                 {res::ID_EDIT_COPY, "Ctrl+C"}, {res::ID_EDIT_PASTE, "Ctrl+V"},
                                                 {res::ID_EDIT_CLEAR, "Del"},    {res::ID_EDIT_UNDO, "Ctrl+Z"},
                                                 {res::ID_EDIT_REDO, "Ctrl+Y"}};
    for (auto [id, key] : keys)
        EXPECT_EQ(action(id)->shortcut(), QKeySequence(key)) << id;
    EXPECT_EQ(res::loadString(57344), "Glyphwerk");
    EXPECT_EQ(res::loadString(61204), "BDF File (*.bdf)|*.bdf||");
    EXPECT_EQ(res::docString(res::regFileTypeId), "Glyphwerk.Document");
    EXPECT_EQ(res::docString(res::filterName), "Glyphw File (*.bdf)");
}

TEST_F(AppFixture, StartsWithAFontNamedOnTheCommandLine) {
    ASSERT_TRUE(start({small}));
    EXPECT_EQ(state(), "GlyphwerkV1.02 | small.bdf: small.bdf | font | commands on") << "the start-up caption wins";
    EXPECT_EQ(fontPanel(), "File: " + small +
                               "\r\nFont: -Test-Small-Medium-R-Normal--8-80-75-75-C-60-ISO10646-1\r\n"
                               "Size: \t\t8\r\nMax Width:\t6\r\nMax Height:\t8\r\nGlyphs Num: \t2\r\n");
    EXPECT_EQ(app->RecentFiles().Paths(), QStringList{small});

    // The framework's title rule takes over at the next title change.
    trigger(res::ID_FILE_NEW);
    EXPECT_EQ(frame()->windowTitle(), "Untitled - Glyphwerk");
}

TEST_F(AppFixture, APathThatCannotBeOpenedEndsStartUpAfterItsMessage) {
    EXPECT_FALSE(start({missing}));
    EXPECT_EQ(boxes(), cannotOpen(missing));
    EXPECT_FALSE(frame()->isVisible());
    app->ExitInstance();
    EXPECT_EQ(app->Document(), nullptr);
}

TEST_F(AppFixture, ANonFontOnTheCommandLineSaysInvalidFileAndStartsWithItsPathButNoFont) {
    ASSERT_TRUE(start({text}));
    EXPECT_EQ(boxes(), "48: Invalid file!");
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_EQ(state(), "GlyphwerkV1.02 | notes.txt: notes.txt | no font | commands off");
    EXPECT_EQ(fontPanel(), "No file is opened.");
}

TEST_F(AppFixture, TheRecentFileListOfFourSurvivesARestart) {
    ASSERT_TRUE(start());
    QStringList paths;
    for (int i = 0; i < 5; ++i) {
        paths.prepend(write(QString("f%1.bdf").arg(i), kSmallFont));
        ASSERT_EQ(app->OpenDocumentFile(paths.first()), CGlyphwerkApp::OpenResult::Opened);
    }
    const QStringList newestFour = paths.mid(0, 4);
    EXPECT_EQ(app->RecentFiles().Paths(), newestFour);
    EXPECT_EQ(action(res::ID_FILE_MRU_FILE1)->text(), "&1 " + paths[0]);
    EXPECT_EQ(action(res::ID_FILE_MRU_FILE1 + 3)->text(), "&4 " + paths[3]);

    app.reset(); // shut-down stores the list
    ASSERT_TRUE(start());
    EXPECT_EQ(app->RecentFiles().Paths(), newestFour);
    EXPECT_EQ(action(res::ID_FILE_MRU_FILE1 + 1)->text(), "&2 " + paths[1]);
    EXPECT_TRUE(action(res::ID_FILE_MRU_FILE1 + 3)->isVisible());

    // Reopening one moves it to the top.
    trigger(res::ID_FILE_MRU_FILE1 + 2);
    EXPECT_EQ(doc()->PathName(), paths[2]);
    EXPECT_EQ(app->RecentFiles().Paths().first(), paths[2]);
}
