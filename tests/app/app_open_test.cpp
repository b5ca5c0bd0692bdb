// Every route that opens a file, the save-changes question before it, and
// opening the file that is already open.

#include "app_fixture.h"
#include "single_instance.h"

#include <QLocalServer>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QUrl>

TEST_F(AppFixture, FileOpenLoadsTheFontAndTheFrameTakesItsTitle) {
    ASSERT_TRUE(start());
    prompts.openAnswers = {small};
    trigger(res::ID_FILE_OPEN);
    EXPECT_TRUE(doc()->FontLoaded());
    EXPECT_EQ(frame()->windowTitle(), "small.bdf - Glyphwerk");
    EXPECT_TRUE(fontCommandsEnabled());
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

TEST_F(AppFixture, TheSaveChangesQuestionComesBeforeOpenAndNew) {
    ASSERT_TRUE(start({small}));
    editGlyph();

    prompts.saveChangesAnswers = {prompts::IDCANCEL};
    EXPECT_EQ(app->OpenDocumentFile(other), CGlyphwerkApp::OpenResult::Cancelled);
    EXPECT_EQ(doc()->PathName(), small);
    EXPECT_TRUE(doc()->IsModified());

    prompts.saveChangesAnswers = {prompts::IDCANCEL};
    trigger(res::ID_FILE_NEW);
    EXPECT_EQ(doc()->PathName(), small);

    prompts.saveChangesAnswers = {prompts::IDYES};
    const QByteArray before = read(small);
    EXPECT_EQ(app->OpenDocumentFile(other), CGlyphwerkApp::OpenResult::Opened);
    EXPECT_EQ(prompts.saveChangesAsked.size(), 3);
    EXPECT_EQ(doc()->PathName(), other);
    EXPECT_FALSE(doc()->IsModified());
    EXPECT_NE(read(small), QByteArray()) << "Yes saved the font first";
    EXPECT_TRUE(read(small).startsWith("STARTFONT 2.1\n"));
    Q_UNUSED(before);

    editGlyph();
    prompts.saveChangesAnswers = {prompts::IDNO};
    trigger(res::ID_FILE_NEW);
    EXPECT_EQ(doc()->GetTitle(), "Untitled");
    EXPECT_FALSE(doc()->IsModified());
}

TEST_F(AppFixture, AFileThatCannotBeReadKeepsTheDocumentAndARecentEntryGoes) {
    ASSERT_TRUE(start({small}));
    editGlyph();
    prompts.saveChangesAnswers = {prompts::IDNO};
    EXPECT_EQ(app->OpenDocumentFile(missing), CGlyphwerkApp::OpenResult::CannotOpen);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_TRUE(prompts.boxes[0].text.contains(missing));
    EXPECT_EQ(doc()->PathName(), small);
    EXPECT_TRUE(doc()->FontLoaded());
    EXPECT_TRUE(doc()->IsModified()) << "font, path, title and modified flag stay";

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
    EXPECT_EQ(boxTexts().last(), "Invalid file!");
    EXPECT_EQ(app->RecentFiles().Paths(), (QStringList{text, small}));
}

TEST_F(AppFixture, OpeningAnotherFontStartsAtItsFirstRowAndSwitchesTheFontPanel) {
    ASSERT_TRUE(start({small}));
    ASSERT_EQ(app->OpenDocumentFile(text), CGlyphwerkApp::OpenResult::Opened);
    EXPECT_EQ(boxTexts(), QStringList{"Invalid file!"});
    EXPECT_TRUE(fontPanel().contains(small)) << "a failed load keeps the panel's text";
    EXPECT_FALSE(fontCommandsEnabled());
    EXPECT_EQ(frame()->windowTitle(), "notes.txt - Glyphwerk");
    ASSERT_EQ(app->OpenDocumentFile(other), CGlyphwerkApp::OpenResult::Opened);
    EXPECT_TRUE(fontPanel().contains("Font: -Test-Other-"));
    EXPECT_TRUE(fontCommandsEnabled());
}

TEST_F(AppFixture, AFileDroppedOnTheWindowOpens) {
    ASSERT_TRUE(start());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(small)});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame(), &drop);
    EXPECT_EQ(doc()->PathName(), small);
    EXPECT_TRUE(doc()->FontLoaded());

    QMimeData web;
    web.setUrls({QUrl("https://example.org/x.bdf")});
    QDragEnterEvent refused(QPoint(50, 50), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
    refused.ignore();
    QApplication::sendEvent(frame(), &refused);
    EXPECT_FALSE(refused.isAccepted());
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
