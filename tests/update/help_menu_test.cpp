// Help > Update... in the running application: installing asks the normal
// close question first and ends the program through its normal shut-down.

#include "dialog_builder.h"
#include "glyphwerk_app.h"
#include "glyphwerk_doc.h"
#include "main_frame.h"
#include "main_menu.h"
#include "scripted_prompts.h"
#include "test_http_server.h"
#include "update_dialog.h"
#include "update_template.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace update;

TEST(HelpMenu, InstallingAsksToSaveChangesFirstThenStartsTheInstallerAndEndsNormally) {
    ScriptedPrompts prompts;
    TestHttpServer server;
    QTemporaryDir scratch;
    const QString marker = scratch.filePath("installer-ran");
    server.serve("/Glyphwerk/Update.txt", server.description("V1.03"));
    server.serve("/setup", "#!/bin/sh\necho \"$0\" > '" + marker.toUtf8() + "'\n");
    qputenv("GLYPHWERK_UPDATE_URL", server.url().toLatin1());
    CGlyphwerkApp app;
    ASSERT_TRUE(app.InitInstance({"glyphwerk", GLYPHWERK_TEST_DATA "/gray2.bdf"}));
    app.Document()->SetModifiedFlag();
    QSignalSpy closed(app.MainFrame(), &CMainFrame::closed);

    QString installer;
    QTimer poll; // drives the dialog once it runs modally
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<CUpdateDlg *>(QApplication::activeModalWidget());
        if (!dialog || dialog->checking())
            return;
        poll.stop();
        EXPECT_EQ(dialog->parentWidget(), app.MainFrame());
        auto *updateButton = res::controlById<QPushButton>(dialog, res::IDC_UPDATE_BUTTON);
        ASSERT_EQ(dialog->state(), UPDATE_AVAILABLE);
        QTest::mouseClick(updateButton, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->state() == UPDATE_DOWNLOADED; }, 20000));
        installer = dialog->installerPath();
        // Cancel in the save-changes question: the program goes on, nothing starts.
        prompts.saveChangesAnswers = {prompts::IDCANCEL};
        QTest::mouseClick(updateButton, Qt::LeftButton);
        EXPECT_EQ(prompts.saveChangesAsked.size(), 1);
        EXPECT_TRUE(dialog->isVisible() && dialog->state() == UPDATE_DOWNLOADED);
        EXPECT_EQ(closed.count(), 0);
        QTest::qWait(300);
        EXPECT_FALSE(QFileInfo::exists(marker));
        prompts.saveChangesAnswers = {prompts::IDNO};
        QTest::mouseClick(updateButton, Qt::LeftButton);
    });
    poll.start(10);
    app.MainFrame()->Action(res::ID_APP_UPDATE)->trigger(); // runs the dialog modally
    ASSERT_FALSE(installer.isEmpty());
    EXPECT_EQ(prompts.saveChangesAsked.size(), 2); // not asked once more by the shut-down
    EXPECT_TRUE(prompts.boxes.empty());
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
