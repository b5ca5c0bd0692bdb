// Every route that opens a file, the save-changes question before it, and
// opening the file that is already open.

#include "app_fixture.h"
#include "load_report_dialog.h"
#include "single_instance.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLocalServer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QUrl>

TEST_F(AppFixture, FileOpenLoadsTheFontAndTheFrameTakesItsTitle) {
    ASSERT_TRUE(start());
    prompts.openAnswers = {small};
    trigger(res::ID_FILE_OPEN);
    EXPECT_EQ(state(), "small.bdf - Glyphwerk | small.bdf: small.bdf | font | commands on");
    EXPECT_TRUE(fontPanel().startsWith("File: " + small + "\r\n"));
    EXPECT_EQ(view()->GlyphTable().FirstRow(), 0);

    // Cancelling the prompt changes nothing.
    trigger(res::ID_FILE_OPEN);
    EXPECT_EQ(doc()->PathName(), small);
}

TEST_F(AppFixture, OpeningTheOpenFileAgainDoesNothingEvenWhenModified) {
    ASSERT_TRUE(start({small}));
    const bdf_font *font = doc()->Font();
    editGlyph();
    prompts.openAnswers = {small};
    trigger(res::ID_FILE_OPEN);
    EXPECT_TRUE(prompts.saveChangesAsked.isEmpty());
    EXPECT_EQ(doc()->Font(), font) << "not reloaded";
    EXPECT_TRUE(doc()->IsModified());
    // Also through a relative spelling of the same path.
    QDir::setCurrent(dir.path());
    EXPECT_EQ(app->OpenDocumentFile("./small.bdf"), CGlyphwerkApp::OpenResult::AlreadyOpen);
}

TEST_F(AppFixture, OpenNewAndExitAskToSaveChangesFirst) {
    ASSERT_TRUE(start({small}));
    editGlyph();
    prompts.saveChangesAnswers = {prompts::IDCANCEL, prompts::IDCANCEL, prompts::IDCANCEL};
    EXPECT_EQ(app->OpenDocumentFile(other), CGlyphwerkApp::OpenResult::Cancelled);
    trigger(res::ID_FILE_NEW);
    trigger(res::ID_APP_EXIT);
    EXPECT_EQ(prompts.saveChangesAsked, QStringList(3, small));
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_EQ(state(), "GlyphwerkV1.02 | small.bdf: small.bdf | font, modified | commands on") << "Cancel keeps all";

    write("small.bdf", "stale");
    prompts.saveChangesAnswers = {prompts::IDYES};
    EXPECT_EQ(app->OpenDocumentFile(other), CGlyphwerkApp::OpenResult::Opened);
    EXPECT_TRUE(read(small).startsWith("STARTFONT 2.1\n")) << "Yes saved the font first";
    EXPECT_EQ(state(), "other.bdf - Glyphwerk | other.bdf: other.bdf | font | commands on");

    editGlyph();
    prompts.saveChangesAnswers = {prompts::IDNO};
    trigger(res::ID_FILE_NEW);
    EXPECT_EQ(state(), "Untitled - Glyphwerk | Untitled: no path | font | commands on");

    ASSERT_EQ(app->OpenDocumentFile(other), CGlyphwerkApp::OpenResult::Opened);
    const QByteArray before = read(other);
    editGlyph();
    prompts.saveChangesAnswers = {prompts::IDNO};
    trigger(res::ID_APP_EXIT);
    EXPECT_FALSE(frame()->isVisible());
    EXPECT_EQ(read(other), before) << "No does not save";
    EXPECT_EQ(prompts.saveChangesAsked.size(), 6);
}

TEST_F(AppFixture, AFileThatCannotBeReadKeepsTheDocumentAndARecentEntryGoes) {
    ASSERT_TRUE(start({small}));
    editGlyph();
    prompts.saveChangesAnswers = {prompts::IDNO};
    EXPECT_EQ(app->OpenDocumentFile(missing), CGlyphwerkApp::OpenResult::CannotOpen);
    EXPECT_EQ(boxes(), cannotOpen(missing));
    EXPECT_EQ(state(), "GlyphwerkV1.02 | small.bdf: small.bdf | font, modified | commands on");

    // Recent files: a vanished file leaves the list, a non-font stays.
    doc()->SetModifiedFlag(false);
    const QString doomed = write("doomed.bdf", kSmallFont);
    ASSERT_EQ(app->OpenDocumentFile(text), CGlyphwerkApp::OpenResult::Opened);
    ASSERT_EQ(app->OpenDocumentFile(doomed), CGlyphwerkApp::OpenResult::Opened);
    ASSERT_EQ(app->OpenDocumentFile(small), CGlyphwerkApp::OpenResult::Opened);
    QFile::remove(doomed);
    EXPECT_EQ(app->RecentFiles().Paths(), (QStringList{small, doomed, text}));
    trigger(res::ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(app->RecentFiles().Paths(), (QStringList{small, text}));
    EXPECT_FALSE(action(res::ID_FILE_MRU_FILE1 + 2)->isVisible());
    trigger(res::ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(boxes(), cannotOpen(missing) + "\n48: Invalid file!\n" + cannotOpen(doomed) + "\n48: Invalid file!");
    EXPECT_EQ(app->RecentFiles().Paths(), (QStringList{text, small}));
}

TEST_F(AppFixture, AFailedLoadKeepsTheFontPanelUntilTheNextFontReplacesIt) {
    ASSERT_TRUE(start({small}));
    ASSERT_EQ(app->OpenDocumentFile(text), CGlyphwerkApp::OpenResult::Opened);
    EXPECT_EQ(boxes(), "48: Invalid file!");
    EXPECT_EQ(state(), "notes.txt - Glyphwerk | notes.txt: notes.txt | no font | commands off");
    EXPECT_TRUE(fontPanel().contains(small));
    ASSERT_EQ(app->OpenDocumentFile(other), CGlyphwerkApp::OpenResult::Opened);
    EXPECT_TRUE(fontPanel().contains("Font: -Test-Other-"));
    EXPECT_TRUE(fontCommandsEnabled());
}

TEST_F(AppFixture, AFileDroppedOnTheWindowOpens) {
    ASSERT_TRUE(start());
    // Whether the frame takes a drag of `urls`; then drops them.
    const auto drag = [&](const QList<QUrl> &urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.ignore();
        QApplication::sendEvent(frame(), &enter);
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        if (enter.isAccepted())
            QApplication::sendEvent(frame(), &drop);
        return enter.isAccepted();
    };
    EXPECT_FALSE(drag({QUrl("https://example.org/x.bdf")}));
    EXPECT_TRUE(drag({QUrl::fromLocalFile(small)}));
    EXPECT_EQ(doc()->PathName(), small);
    EXPECT_TRUE(doc()->FontLoaded());
}

TEST_F(AppFixture, ASecondInstanceHandsItsFileToTheRunningOneAndEnds) {
    ASSERT_TRUE(start());
    QProcess second;
    second.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    second.start(GLYPHWERK_PROGRAM, {other});
    ASSERT_TRUE(second.waitForFinished(10000)) << second.errorString().toStdString();
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return doc()->PathName() == other; }, 5000));
    EXPECT_TRUE(doc()->FontLoaded());

    // In-process, as the shell would: a relative path made absolute by the sender.
    QDir::setCurrent(dir.path());
    EXPECT_TRUE(CGlyphwerkApp::ForwardToRunningInstance({"glyphwerk", "small.bdf"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return doc()->PathName() == small; }, 5000));

    // Nobody listening after shut-down: nothing is forwarded.
    app.reset();
    EXPECT_FALSE(CGlyphwerkApp::ForwardToRunningInstance({"glyphwerk", "small.bdf"}));
    EXPECT_FALSE(CGlyphwerkApp::ForwardToRunningInstance({"glyphwerk"})) << "no file, nothing to hand over";
}

TEST(SingleInstance, ASocketLeftByADeadInstanceIsReplaced) {
    // A stale socket file where the server would listen.
    QLocalServer::removeServer(CSingleInstance::ServerName());
    {
        QFile stale(CSingleInstance::ServerName());
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    }
    CSingleInstance instance;
    ASSERT_TRUE(instance.Listen());
    QStringList received;
    QObject::connect(&instance, &CSingleInstance::openRequested, [&](const QString &p) { received << p; });
    ASSERT_TRUE(CSingleInstance::ForwardToRunning({"/a/b.bdf", "/c/d é.bdf"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() == 2; }, 5000));
    EXPECT_EQ(received, (QStringList{"/a/b.bdf", "/c/d é.bdf"}));

    CSingleInstance second;
    EXPECT_FALSE(second.Listen()) << "one instance listens";
}

TEST_F(AppFixture, AnOpenSaysWhatTheReaderDidAndSaveAsksBeforeReplacingAPartlyReadFile) {
    const QByteArray cleanFont = QByteArray(kSmallFont).replace("SWIDTH 750", "SWIDTH 720");
    const QString clean = write("clean.bdf", cleanFont);
    const QString corrected = write("corrected.bdf", QByteArray(cleanFont)
                                                         .replace("CHARS 2", "CHARS 3")
                                                         .replace("ENDCHAR\nSTARTCHAR B", "ENDCHAR\nDWIDTH 9 0\nSTARTCHAR B"));
    const QString partial = write("partial.bdf", QByteArray(cleanFont).replace("ENCODING 66\n", "ENCODING 66\nWHATEVER\n"));
    ASSERT_TRUE(start());
    QAction *loadReport = action(res::ID_VIEW_LOAD_REPORT);
    EXPECT_FALSE(loadReport->isEnabled());

    // Corrections: the report window, nothing modal.
    ASSERT_EQ(app->OpenDocumentFile(corrected), CGlyphwerkApp::OpenResult::Opened);
    EXPECT_EQ(boxes(), "");
    CLoadReportDlg *report = app->LoadReportDialog();
    ASSERT_NE(report, nullptr);
    const auto shown = [&] {
        return QStringList{report->isVisible() ? "shown" : "hidden", report->windowTitle(), report->Heading()->text(),
                           report->Messages()->toPlainText()}
            .join(" | ")
            .toStdString();
    };
    const QString messages = "[line 26] \"DWIDTH\" line outside a glyph ignored.\n"
                             "Incorrect glyph count: 3 indicated but 2 found.";
    EXPECT_EQ(shown(), ("shown | Load Report: corrected.bdf (2 messages) | Messages recorded while reading " +
                        corrected + ": | " + messages)
                           .toStdString());
    EXPECT_FALSE(report->isModal());
    EXPECT_TRUE(report->Messages()->isReadOnly());
    EXPECT_EQ(report->Messages()->lineWrapMode(), QPlainTextEdit::NoWrap);
    const auto click = [&](const QString &text) {
        for (QAbstractButton *button : report->findChild<QDialogButtonBox *>()->buttons())
            if (button->text() == text)
                button->click();
    };
    QGuiApplication::clipboard()->clear();
    click("&Copy");
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), messages.toStdString());
    report->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Close)->click();
    EXPECT_FALSE(report->isVisible());
    ASSERT_TRUE(loadReport->isEnabled());
    trigger(res::ID_VIEW_LOAD_REPORT);
    EXPECT_TRUE(report->isVisible());

    // A clean font shows nothing, and the old report goes.
    ASSERT_EQ(app->OpenDocumentFile(clean), CGlyphwerkApp::OpenResult::Opened);
    EXPECT_EQ(boxes(), "");
    EXPECT_FALSE(report->isVisible());
    EXPECT_FALSE(loadReport->isEnabled());

    // Reading stopped: said before the font is shown, then the report.
    QString panelDuringBox;
    prompts.whileBoxShown = [&] { panelDuringBox = fontPanel(); };
    ASSERT_EQ(app->OpenDocumentFile(partial), CGlyphwerkApp::OpenResult::Opened);
    EXPECT_EQ(boxes(), ("48: " + partial + " could not be read to its end: reading stopped before line 28.\n"
                        "Only the part before that line is loaded; saving it over this file would lose the rest.")
                           .toStdString());
    EXPECT_TRUE(panelDuringBox.startsWith("File: " + clean + "\r\n")) << "the old font was still shown";
    EXPECT_EQ(shown(), ("shown | Load Report: partial.bdf (1 message) | Reading stopped before line 28: the font holds "
                        "only the part of the file before it.\nMessages recorded while reading " +
                        partial + ": | [line 29] Font glyphs corrupted or missing fields.")
                           .toStdString());
    EXPECT_EQ(doc()->Font()->glyphs_used, 2u);

    // Save over it asks (OK / Cancel); Save As and Save elsewhere do not.
    prompts.boxes.clear();
    const QByteArray original = read(partial);
    editGlyph();
    prompts.boxAnswers = {prompts::IDCANCEL};
    trigger(res::ID_FILE_SAVE);
    EXPECT_EQ(boxes(), ("49: Only the part of " + partial + " before line 28 was read.\n"
                        "Saving over it replaces the whole file with that part. Save anyway?")
                           .toStdString());
    EXPECT_EQ(read(partial), original);
    EXPECT_TRUE(doc()->IsModified());
    prompts.boxes.clear();
    prompts.saveAnswers = {dir.filePath("copy.bdf")};
    trigger(res::ID_FILE_SAVE_AS);
    EXPECT_EQ(boxes(), "");
    EXPECT_TRUE(read(dir.filePath("copy.bdf")).endsWith("ENDFONT\n"));
    prompts.boxAnswers = {prompts::IDOK};
    trigger(res::ID_FILE_SAVE);
    EXPECT_EQ(prompts.boxes.size(), 1u);
    EXPECT_FALSE(doc()->IsModified());
    EXPECT_EQ(read(partial), read(dir.filePath("copy.bdf")));
    editGlyph();
    trigger(res::ID_FILE_SAVE);
    EXPECT_EQ(prompts.boxes.size(), 1u) << "the file now holds what was read";
    EXPECT_FALSE(doc()->IsModified());
}
