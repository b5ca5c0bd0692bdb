// Start-up, opening files, the save-changes question before it, the recent-file
// list, the one listening instance and the load report.

#include "app_fixture.h"
#include "load_report_dialog.h"
#include "single_instance.h"

#include <QDialogButtonBox>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

TEST_F(AppFixture, StartsInAFixedFrameWithTheMenuOfResource128EmptyOrWithTheFontOnTheCommandLine) {
    ASSERT_TRUE(start());
    EXPECT_EQ(state(), "GlyphwerkV1.02 | Untitled: no path | no font | commands off");
    EXPECT_EQ(fontPanel(), "No file is opened.");
    QStringList lines;
    for (QAction *top : frame()->menuBar()->actions())
        for (QAction *item : QList<QAction *>{top} + top->menu()->actions())
            if (item->isVisible())
                lines << (item->isSeparator() ? "--" : item->text() + (item->isEnabled() ? "" : " (grey)"));
    EXPECT_EQ(lines.join('|'), "&File|&Open...\tCtrl+O|&Save\tCtrl+S (grey)|Save &As... (grey)|--|Recent &Files (grey)|--|"
                               "E&xit|&Edit|&Find...\tCtrl+F (grey)|--|&New Glyph... (grey)|&Delete Glyph\tDel (grey)|"
                               "&Copy Glyph\tCtrl+C (grey)|&Paste Glyph\tCtrl+V (grey)|--|&Undo\tCtrl+Z (grey)|"
                               "&Redo\tCtrl+Y (grey)|&View|&Preview... (grey)|&Load Report... (grey)|&Help|&Update...|--|"
                               "&About Glyphwerk...");

    ASSERT_TRUE(start({small}));
    EXPECT_EQ(state(), "GlyphwerkV1.02 | small.bdf: small.bdf | font | commands on") << "the start-up caption wins";
    EXPECT_EQ(fontPanel(), "File: " + small + "\r\nFont: -Test-Small-Medium-R-Normal--8-80-75-75-C-60-ISO10646-1\r\n"
                                              "Size: \t\t8\r\nMax Width:\t6\r\nMax Height:\t8\r\nGlyphs Num: \t2\r\n");
    frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame()));
    QTest::keyClick(frame(), Qt::Key_N, Qt::ControlModifier); // New: an accelerator without a menu item
    EXPECT_EQ(state(), "Untitled - Glyphwerk | Untitled: no path | font | commands on") << "New keeps the font";

    ASSERT_TRUE(start({text}));
    EXPECT_EQ(state(), "GlyphwerkV1.02 | notes.txt: notes.txt | no font | commands off");
    EXPECT_FALSE(start({missing}));
    EXPECT_FALSE(frame()->isVisible());
    EXPECT_EQ(boxes(), "48: Invalid file!\n" + cannotOpen(missing));
}

TEST_F(AppFixture, OpenNewAndExitAskToSaveChangesFirstOpeningTheOpenFileDoesNothingAndTheRecentFilesAreKept) {
    ASSERT_TRUE(start());
    prompts.openAnswers = {small, small};
    trigger(res::ID_FILE_OPEN);
    editGlyph();
    trigger(res::ID_FILE_OPEN); // the open file again: not asked, not reloaded

    prompts.saveChangesAnswers = {prompts::IDCANCEL, prompts::IDCANCEL, prompts::IDCANCEL};
    EXPECT_EQ(app->OpenDocumentFile(other), CGlyphwerkApp::OpenResult::Cancelled);
    trigger(res::ID_FILE_NEW);
    trigger(res::ID_APP_EXIT);
    EXPECT_EQ(prompts.saveChangesAsked, QStringList(3, small));
    EXPECT_EQ(state(), "small.bdf - Glyphwerk | small.bdf: small.bdf | font, modified | commands on");
    write("small.bdf", "stale");
    prompts.saveChangesAnswers = {prompts::IDYES};
    EXPECT_EQ(app->OpenDocumentFile(other), CGlyphwerkApp::OpenResult::Opened);
    EXPECT_TRUE(read(small).startsWith("STARTFONT 2.1\n")) << "Yes saved the font first";
    EXPECT_EQ(state(), "other.bdf - Glyphwerk | other.bdf: other.bdf | font | commands on");
    const QByteArray before = read(other);
    editGlyph();
    prompts.saveChangesAnswers = {prompts::IDNO};
    trigger(res::ID_APP_EXIT);
    EXPECT_FALSE(frame()->isVisible());
    EXPECT_EQ(read(other), before) << "No does not save";

    // The recent files were stored at shut-down; one that cannot be read leaves the list.
    ASSERT_TRUE(start());
    QFile::remove(other);
    trigger(res::ID_FILE_MRU_FILE1);
    EXPECT_EQ(action(res::ID_FILE_MRU_FILE1)->text(), "&1 " + small);
    EXPECT_FALSE(action(res::ID_FILE_MRU_FILE1 + 1)->isVisible());
    EXPECT_EQ(prompts.boxes.back().text.toStdString(), cannotOpen(other).substr(4));

    app.reset();
    ASSERT_TRUE(QFile(CSingleInstance::ServerName()).open(QIODevice::WriteOnly)); // left by an instance that died
    CSingleInstance instance, secondInstance;
    ASSERT_TRUE(instance.Listen());
    EXPECT_FALSE(secondInstance.Listen()) << "one instance listens";
}

TEST_F(AppFixture, AnOpenSaysWhatTheReaderDidAndSaveAsksBeforeReplacingAPartlyReadFile) {
    const QByteArray cleanFont = QByteArray(kSmallFont).replace("SWIDTH 750", "SWIDTH 720");
    const QString clean = write("clean.bdf", cleanFont);
    const QString corrected = write("corrected.bdf", QByteArray(cleanFont).replace("CHARS 2", "CHARS 3").replace(
                                                         "ENDCHAR\nSTARTCHAR B", "ENDCHAR\nDWIDTH 9 0\nSTARTCHAR B"));
    const QString partial = write("partial.bdf", QByteArray(cleanFont).replace("ENCODING 66\n", "ENCODING 66\nWHATEVER\n"));
    ASSERT_TRUE(start());
    ASSERT_EQ(app->OpenDocumentFile(corrected), CGlyphwerkApp::OpenResult::Opened);
    CLoadReportDlg *report = app->LoadReportDialog();
    ASSERT_NE(report, nullptr);
    const auto shown = [&] {
        return QStringList{report->isVisible() ? "shown" : "hidden", report->isModal() ? "modal" : "modeless",
                           report->windowTitle(), report->Heading()->text(), report->Messages()->toPlainText()}
            .join(" | ");
    };
    const QString messages = "[line 26] \"DWIDTH\" line outside a glyph ignored.\n"
                             "Incorrect glyph count: 3 indicated but 2 found.";
    EXPECT_EQ(shown(), "shown | modeless | Load Report: corrected.bdf (2 messages) | Messages recorded while reading " +
                           corrected + ": | " + messages);
    report->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Close)->click();
    trigger(res::ID_VIEW_LOAD_REPORT); // shows it again
    ASSERT_EQ(app->OpenDocumentFile(clean), CGlyphwerkApp::OpenResult::Opened);
    EXPECT_FALSE(report->isVisible()) << "a clean font shows nothing, and the old report goes";
    EXPECT_EQ(boxes(), "") << "corrections: the report window, nothing modal";

    // Reading stopped: said in a box, then in the report.
    ASSERT_EQ(app->OpenDocumentFile(partial), CGlyphwerkApp::OpenResult::Opened);
    EXPECT_EQ(shown(), "shown | modeless | Load Report: partial.bdf (1 message) | Reading stopped before line 28: the "
                       "font holds only the part of the file before it.\nMessages recorded while reading " +
                           partial + ": | [line 29] Font glyphs corrupted or missing fields.");
    // Save over it asks (OK / Cancel); Save As does not; once saved, the file holds what was read.
    const QByteArray original = read(partial);
    editGlyph();
    prompts.boxAnswers = {prompts::IDCANCEL, prompts::IDOK};
    trigger(res::ID_FILE_SAVE);
    EXPECT_EQ(read(partial), original);
    prompts.saveAnswers = {dir.filePath("copy.bdf")};
    trigger(res::ID_FILE_SAVE_AS);
    trigger(res::ID_FILE_SAVE);
    EXPECT_EQ(read(partial), read(dir.filePath("copy.bdf")));
    trigger(res::ID_FILE_SAVE);
    const QString question = "49: Only the part of " + partial + " before line 28 was read.\n"
                             "Saving over it replaces the whole file with that part. Save anyway?";
    EXPECT_EQ(QString::fromStdString(boxes()),
              "48: " + partial + " could not be read to its end: reading stopped before line 28.\nOnly the part before "
              "that line is loaded; saving it over this file would lose the rest.\n" + question + "\n" + question);
}
