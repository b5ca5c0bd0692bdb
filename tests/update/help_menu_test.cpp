// Help > Update... and Help > About Glyphwerk... in the running application:
// installing asks the normal close questions first (the editor's changes not
// yet applied, then save changes) and ends the program through its normal
// shut-down.

#include "about_box.h"
#include "dialog_builder.h"
#include "glyph_edit_dialog.h"
#include "glyphwerk_app.h"
#include "glyphwerk_doc.h"
#include "glyphwerk_view.h"
#include "main_frame.h"
#include "main_menu.h"
#include "scripted_prompts.h"
#include "test_http_server.h"
#include "update_dialog.h"
#include "update_template.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace update;

namespace {

// Runs `drive` once a modal dialog of type T is up.
template <typename T> void whenModal(std::function<void(T *)> drive) {
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, drive] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            drive(dialog);
        }
    });
    poll->start(10);
}

} // namespace

TEST(HelpMenu, InstallingAsksAboutEditorAndDocumentChangesFirstThenStartsTheInstallerAndEndsNormally) {
    ScriptedPrompts prompts;
    TestHttpServer server;
    QTemporaryDir scratch;
    const QString marker = scratch.filePath("installer-ran");
    const QByteArray base = server.url().toLatin1();
    server.serve("/Glyphwerk/Update.txt", "[Update]\nVersion=V1.03\nUrlNote=" + base + "/notes\nUrlUpdate=" + base +
                                              "/setup\n");
    server.serve("/setup", "#!/bin/sh\necho \"$0\" > '" + marker.toUtf8() + "'\n");
    qputenv("GLYPHWERK_UPDATE_URL", base);

    const QString font = scratch.filePath("one.bdf");
    QFile fontFile(font);
    ASSERT_TRUE(fontFile.open(QIODevice::WriteOnly));
    fontFile.write("STARTFONT 2.1\nFONT -Test-One-Medium-R-Normal--2-20-75-75-C-20-ISO10646-1\nSIZE 2 75 75\n"
                   "FONTBOUNDINGBOX 2 2 0 0\nSTARTPROPERTIES 2\nFONT_ASCENT 2\nFONT_DESCENT 0\nENDPROPERTIES\n"
                   "CHARS 1\nSTARTCHAR a\nENCODING 97\nSWIDTH 960 0\nDWIDTH 2 0\nBBX 2 2 0 0\nBITMAP\n80\n40\n"
                   "ENDCHAR\nENDFONT\n");
    fontFile.close();

    CGlyphwerkApp app;
    ASSERT_TRUE(app.InitInstance({"glyphwerk", font}));
    QSignalSpy closed(app.MainFrame(), &CMainFrame::closed);
    // A pixel drawn in the editor and not applied.
    app.View()->SelectGlyph(0, true);
    auto *editor = qobject_cast<CGlyphEditDlg *>(app.View()->EditDialog());
    ASSERT_NE(editor, nullptr);
    editor->Canvas().SelectTool(TOOL_PENCIL, true);
    const Cell cell{1, 0};
    editor->Canvas().OnCanvasMouse(MOUSE_LEFT_DOWN, &cell);
    editor->Canvas().OnCanvasMouse(MOUSE_LEFT_UP, &cell);
    QSignalSpy applied(editor, &CGlyphEditDlg::glyphChanged);

    QString installer;
    whenModal<CUpdateDlg>([&](CUpdateDlg *dialog) {
        EXPECT_EQ(dialog->parentWidget(), app.MainFrame());
        auto *updateButton = res::controlById<QPushButton>(dialog, res::IDC_UPDATE_BUTTON);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->checking(); }, 20000));
        ASSERT_EQ(dialog->state(), UPDATE_AVAILABLE);
        QTest::mouseClick(updateButton, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->state() == UPDATE_DOWNLOADED; }, 20000));
        installer = dialog->installerPath();

        // Cancel in the editor's question, then Yes to it and Cancel in the
        // save-changes question: the program goes on, nothing starts.
        prompts.boxAnswers = {prompts::IDCANCEL};
        QTest::mouseClick(updateButton, Qt::LeftButton);
        EXPECT_EQ(prompts.saveChangesAsked.size(), 0);
        EXPECT_EQ(applied.count(), 0);
        prompts.boxAnswers = {prompts::IDYES};
        prompts.saveChangesAnswers = {prompts::IDCANCEL};
        QTest::mouseClick(updateButton, Qt::LeftButton);
        EXPECT_EQ(applied.count(), 1);
        EXPECT_EQ(prompts.saveChangesAsked.size(), 1);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->state(), UPDATE_DOWNLOADED);
        EXPECT_EQ(closed.count(), 0);
        QTest::qWait(300);
        EXPECT_FALSE(QFileInfo::exists(marker));

        prompts.saveChangesAnswers = {prompts::IDNO};
        QTest::mouseClick(updateButton, Qt::LeftButton);
    });
    app.MainFrame()->Action(res::ID_APP_UPDATE)->trigger(); // runs the dialog modally
    ASSERT_FALSE(installer.isEmpty());
    EXPECT_EQ(prompts.saveChangesAsked.size(), 2); // not asked once more by the shut-down
    ASSERT_EQ(prompts.boxes.size(), 2u); // the editor's question, not once more after Yes
    EXPECT_EQ(prompts.boxes[1].text, "Apply the changes to the glyph \"a\"?");
    EXPECT_EQ(prompts.boxes[1].type, 35u);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(app.MainFrame()->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(marker).size() > 0; }, 20000));
    QFile ran(marker);
    ASSERT_TRUE(ran.open(QIODevice::ReadOnly));
    EXPECT_EQ(ran.readAll().trimmed(), installer.toUtf8());
    EXPECT_TRUE(QFileInfo::exists(installer)) << "left for the running installer";
    QDir(QFileInfo(installer).path()).removeRecursively();
    app.ExitInstance();
    qunsetenv("GLYPHWERK_UPDATE_URL");
}

TEST(HelpMenu, AboutShowsTheAboutBoxOverTheMainWindow) {
    ScriptedPrompts prompts;
    CGlyphwerkApp app;
    ASSERT_TRUE(app.InitInstance({"glyphwerk"}));
    bool seen = false;
    whenModal<CAboutDlg>([&](CAboutDlg *about) {
        EXPECT_EQ(about->parentWidget(), app.MainFrame());
        seen = true;
        QTest::mouseClick(res::controlById<QPushButton>(about, 1), Qt::LeftButton);
    });
    app.MainFrame()->Action(res::ID_APP_ABOUT)->trigger();
    EXPECT_TRUE(seen);
    app.ExitInstance();
}
