// The update dialog against a real HTTP server on 127.0.0.1.

#include "dialog_builder.h"
#include "scripted_prompts.h"
#include "test_http_server.h"
#include "update_dialog.h"
#include "update_template.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace update;

namespace {

constexpr int kWaitMs = 20000;

template <typename T = QLabel> T *ctl(const CUpdateDlg &dialog, int id) { return res::controlById<T>(&dialog, id); }
QProgressBar *progressBar(const CUpdateDlg &d) { return ctl<QProgressBar>(d, res::IDC_DOWNLOAD_PROGRESS); }

// The dialog at a glance, as its state sets it: the latest version, the message,
// the buttons ("-" after a disabled one), what is shown between them, and the
// height: the template's, or shorter by the notes box, less the progress bar when shown.
std::string look(const CUpdateDlg &d) {
    const QSize base = res::dialogBaseUnits(&d);
    const auto height = [&](int h) { return res::dialogUnitsToPixels(0, 0, 10, h, base).height(); };
    const int shrink = height(204) - d.height();
    const auto button = [&](int id) { const auto *b = ctl<QPushButton>(d, id); return "[" + b->text() + (b->isEnabled() ? "]" : "-]"); };
    const QString shown = QString(ctl<QPlainTextEdit>(d, res::IDC_RELEASE_NOTES)->isVisible() ? "notes" : "") +
                          (progressBar(d)->isVisible() ? "bar" : "");
    const QString size = shrink == 0 ? "full"
                         : shrink == height(111) ? "full - notes"
                         : shrink == height(111) - height(14) ? "full - notes + bar"
                                                              : QString("full - %1 pixels").arg(shrink);
    return QStringList{ctl(d, res::IDC_LATEST_VERSION)->text(), ctl(d, res::IDC_UPDATE_MESSAGE)->text(),
                       button(res::IDC_UPDATE_BUTTON) + " " + button(res::IDC_CLOSE_BUTTON), shown, size}.join(" | ").toStdString();
}

// Enter or Return as the user types it: to the focused control of the active dialog.
void pressEnter(CUpdateDlg &d, Qt::Key key = Qt::Key_Return) {
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    QTest::keyClick(QApplication::focusWidget(), key);
}

} // namespace

TEST(UpdateDialog, EveryStateShowsItsTextsAndEnterPressesItsDefaultButton) {
    TestHttpServer server;
    ScriptedPrompts prompts;
    int hookCalls = 0; // the close question and the quit: for installing only
    // Shows the dialog while it checks; `checked`: once its check has ended.
    const auto open = [&](const QString &url = {}, bool checked = true) {
        auto dialog = std::make_unique<CUpdateDlg>(url.isEmpty() ? server.url() : url,
                                                   UpdateHooks{[&] { return ++hookCalls > 0; }, [&] { ++hookCalls; }});
        dialog->show();
        EXPECT_TRUE(!checked || QTest::qWaitFor([&] { return !dialog->checking(); }, kWaitMs));
        return dialog;
    };
    // A description trickling in for 5 s: the dialog responds, and ends the check at once.
    server.serve("/Glyphwerk/Update.txt", TestHttpServer::Response{200, "[Update]\r\nVersion=V1.03\r\n", 1, 200});
    auto checking = open({}, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests().size() == 1; }, kWaitMs));
    EXPECT_EQ(look(*checking), " | Checking for the new version, please wait... | [Update-] [Cancel] |  | full - notes");
    QTest::keyClick(checking.get(), Qt::Key_Escape);
    EXPECT_FALSE(checking->isVisible() || checking->checking());
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.transfersCutShort() == 1; }, kWaitMs));

    auto failed = open(TestHttpServer::unreachableUrl());
    EXPECT_EQ(QStringList({failed->windowTitle(), ctl(*failed, res::IDC_CURRENT_LABEL)->text(),
                           ctl(*failed, res::IDC_LATEST_LABEL)->text(), ctl(*failed, res::IDC_CURRENT_VERSION)->text()}),
              QStringList({"Glyphwerk version information", "Current version", "The latest version", "V1.02"}));
    EXPECT_EQ(look(*failed), " | Failed to detect the new version, please contact the author! | [Update-] [Cancel] |  | full - notes");
    EXPECT_EQ(ctl(*failed, res::IDC_UPDATE_MESSAGE)->font().weight(), QFont::Bold);
    pressEnter(*failed);
    EXPECT_TRUE(!failed->isVisible() && failed->result() == QDialog::Accepted);

    server.serve("/Glyphwerk/Update.txt", {200, server.description("V1.02")});
    auto upToDate = open();
    EXPECT_EQ(look(*upToDate), "V1.02 | Is already the latest version, no need to update. | [Update-] [OK] |  | full - notes");
    pressEnter(*upToDate, Qt::Key_Enter);
    EXPECT_EQ(upToDate->result(), QDialog::Accepted);

    // Available: Update. Downloading: Cancel, with its question. Downloaded: Install.
    server.serve("/Glyphwerk/Update.txt", {200, server.description("V1.0300000")}); // cut to seven characters
    server.serve("/notes.txt", {200, QByteArray("What's new:\r\n- more glyphs\0not shown", 37)});
    const QByteArray body = "#!/bin/sh\n" + QByteArray(48 * 1024, '#');
    server.serve("/setup", TestHttpServer::Response{200, body, 2048, 25});
    auto d = open();
    EXPECT_EQ(look(*d), "V1.0300 | Found new version, whether it requires immediate update? | [Update] [Cancel] | notes | full");
    const auto *notes = ctl<QPlainTextEdit>(*d, res::IDC_RELEASE_NOTES);
    EXPECT_TRUE(notes->isReadOnly() && notes->toPlainText() == "What's new:\n- more glyphs") << notes->toPlainText().toStdString();
    std::vector<int> values;
    QObject::connect(progressBar(*d), &QProgressBar::valueChanged, [&](int v) { values.push_back(v); });
    pressEnter(*d);
    EXPECT_EQ(look(*d), "V1.0300 | Downloading new version:\tV1.0300 | [Update-] [Cancel] | bar | full - notes + bar");
    prompts.boxAnswers = {prompts::IDCANCEL};
    pressEnter(*d);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text + QString::number(prompts.boxes[0].type),
              "Are you sure you want to interrupt the download operation?49"); // with its exclamation, OK and Cancel
    ASSERT_TRUE(QTest::qWaitFor([&] { return d->state() == UPDATE_DOWNLOADED; }, kWaitMs));
    EXPECT_EQ(look(*d), "V1.0300 | Download is complete, click to install the upgrade is complete. | [Install] [Cancel] | bar | "
                        "full - notes + bar");
    // Only changes are signalled: at least three distinct, rising values.
    EXPECT_TRUE(values.size() >= 3 && std::ranges::is_sorted(values) && values.back() == 100) << values.size();
    // The installer sits alone in a private folder, under a name of safe characters.
    const QFileInfo installer(d->installerPath());
    QFile file(installer.filePath());
    EXPECT_TRUE(installer.fileName() == "Glyphwerk_V1.0300_setup" && file.open(QIODevice::ReadOnly) && file.readAll() == body);
    const auto others = QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    EXPECT_EQ(QFileInfo(installer.path()).permissions() & others, QFile::Permissions());
    EXPECT_TRUE(installer.path().startsWith(QDir::tempPath() + "/glyphwerk-update-"));
    pressEnter(*d);
    EXPECT_EQ(hookCalls, 2); // asked to close, then ended the program
    EXPECT_TRUE(!d->isVisible() && prompts.boxes.size() == 1u);
    QDir(installer.path()).removeRecursively(); // left for the installer

    // OK in the question aborts the download: its message, and nothing is left.
    server.serve("/setup", TestHttpServer::Response{200, body, 512, 25});
    auto aborted = open();
    QTest::mouseClick(ctl<QPushButton>(*aborted, res::IDC_UPDATE_BUTTON), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return progressBar(*aborted)->value() > 0; }, kWaitMs));
    const QString partial = aborted->installerPath();
    QTest::mouseClick(ctl<QPushButton>(*aborted, res::IDC_CLOSE_BUTTON), Qt::LeftButton);
    ASSERT_EQ(prompts.boxes.size(), 3u);
    EXPECT_TRUE(!aborted->isVisible() && prompts.boxes[2].text.startsWith("Download failed.  Error = 0x80004004\n\n"));
    EXPECT_FALSE(partial.isEmpty() || QFileInfo::exists(partial) || QFileInfo::exists(QFileInfo(partial).path()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.transfersCutShort() == 2; }, kWaitMs));
}
