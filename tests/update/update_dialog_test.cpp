// The update dialog against a real HTTP server on 127.0.0.1: every state, the
// layout and captions of each, the download with progress, cancel, failure,
// checksum, and the installer's start.

#include "dialog_builder.h"
#include "scripted_prompts.h"
#include "test_http_server.h"
#include "update_dialog.h"
#include "update_template.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace update;

namespace {

constexpr char kDescriptionPath[] = "/Glyphwerk/Update.txt";
constexpr int kWaitMs = 20000;

QByteArray installerBody(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char('a' + i % 26);
    return bytes;
}

struct Fixture {
    TestHttpServer server;
    ScriptedPrompts prompts;
    int closeQuestions = 0;
    bool closeAnswer = true;
    int quits = 0;

    void describe(const QByteArray &version, const QByteArray &extra = {}) {
        const QByteArray base = server.url().toLatin1();
        server.serve(kDescriptionPath, "[Update]\r\nAppname=Glyphwerk\r\nVersion=" + version + "\r\nUrlNote=" + base +
                                           "/notes.txt\r\nUrlUpdate=" + base + "/setup\r\n" + extra);
    }

    std::unique_ptr<CUpdateDlg> open(const QString &url = {}) {
        UpdateHooks hooks{[this] {
                              ++closeQuestions;
                              return closeAnswer;
                          },
                          [this] { ++quits; }};
        auto dialog = std::make_unique<CUpdateDlg>(url.isEmpty() ? server.url() : url, hooks);
        dialog->show();
        return dialog;
    }
};

template <typename T> T *ctl(const CUpdateDlg &dialog, int id) { return res::controlById<T>(&dialog, id); }
QPushButton *updateButton(const CUpdateDlg &d) { return ctl<QPushButton>(d, res::IDC_UPDATE_BUTTON); }
QPushButton *closeButton(const CUpdateDlg &d) { return ctl<QPushButton>(d, res::IDC_CLOSE_BUTTON); }
QProgressBar *progressBar(const CUpdateDlg &d) { return ctl<QProgressBar>(d, res::IDC_DOWNLOAD_PROGRESS); }
QPlainTextEdit *notesBox(const CUpdateDlg &d) { return ctl<QPlainTextEdit>(d, res::IDC_RELEASE_NOTES); }
// The state message, checked to be shown whole (it wraps inside its label).
QString message(const CUpdateDlg &d) {
    const QLabel *label = ctl<QLabel>(d, res::IDC_UPDATE_MESSAGE);
    const int wrap = label->wordWrap() ? Qt::TextWordWrap : 0;
    const QRect needed = QFontMetrics(label->font())
                             .boundingRect(QRect(0, 0, label->width(), 1000), wrap | Qt::TextExpandTabs, label->text());
    EXPECT_LE(needed.width(), label->width()) << label->text().toStdString();
    EXPECT_LE(needed.height(), label->height()) << label->text().toStdString();
    return label->text();
}
QString latest(const CUpdateDlg &d) { return ctl<QLabel>(d, res::IDC_LATEST_VERSION)->text(); }

// The dialog's full (template) height, and the two heights it shrinks by.
struct Heights {
    int full, notes, progress;
};
Heights templateHeights(const CUpdateDlg &d) {
    const QSize base = res::dialogBaseUnits(&d);
    return {res::dialogUnitsToPixels(0, 0, 213, 204, base).height(),
            res::dialogUnitsToPixels(11, 66, 191, 111, base).height(),
            res::dialogUnitsToPixels(11, 66, 190, 14, base).height()};
}
int buttonTop(const CUpdateDlg &d) { return res::dialogUnitsToPixels(97, 183, 50, 14, res::dialogBaseUnits(&d)).top(); }

} // namespace

TEST(UpdateDialog, AnUnreachableServerOpensInTheFailedStateShorterByTheNotes) {
    Fixture f;
    auto dialog = f.open(TestHttpServer::unreachableUrl());
    const CUpdateDlg &d = *dialog;
    EXPECT_EQ(d.state(), UPDATE_CHECK_FAILED);
    EXPECT_EQ(d.windowTitle(), "Glyphwerk version information");
    EXPECT_EQ(ctl<QLabel>(d, res::IDC_CURRENT_LABEL)->text(), "Current version");
    EXPECT_EQ(ctl<QLabel>(d, res::IDC_LATEST_LABEL)->text(), "The latest version");
    EXPECT_EQ(ctl<QLabel>(d, res::IDC_CURRENT_VERSION)->text(), "V1.02");
    EXPECT_EQ(latest(d), "");
    EXPECT_EQ(message(d), "Failed to detect the new version, please contact the author!");
    EXPECT_EQ(ctl<QLabel>(d, res::IDC_UPDATE_MESSAGE)->font().weight(), QFont::Bold);
    EXPECT_FALSE(notesBox(d)->isVisible());
    EXPECT_FALSE(progressBar(d)->isVisible());
    EXPECT_FALSE(updateButton(d)->isEnabled());
    EXPECT_EQ(updateButton(d)->text(), "Update");
    EXPECT_EQ(closeButton(d)->text(), "Cancel");
    const Heights h = templateHeights(d);
    EXPECT_EQ(d.height(), h.full - h.notes);
    EXPECT_EQ(updateButton(d)->y(), buttonTop(d) - h.notes);
    EXPECT_EQ(closeButton(d)->y(), buttonTop(d) - h.notes);
    EXPECT_TRUE(f.prompts.boxes.empty());

    QTest::mouseClick(closeButton(*dialog), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());

    // A server without the description (404) fails the same way.
    auto missing = f.open();
    EXPECT_EQ(missing->state(), UPDATE_CHECK_FAILED);
}

TEST(UpdateDialog, UpToDateShowsTheServersVersionAndOk) {
    Fixture f;
    f.describe("V1.02");
    auto dialog = f.open();
    EXPECT_EQ(dialog->state(), UPDATE_UP_TO_DATE);
    EXPECT_EQ(latest(*dialog), "V1.02");
    EXPECT_EQ(message(*dialog), "Is already the latest version, no need to update.");
    EXPECT_EQ(closeButton(*dialog)->text(), "OK");
    EXPECT_FALSE(updateButton(*dialog)->isEnabled());
    const Heights h = templateHeights(*dialog);
    EXPECT_EQ(dialog->height(), h.full - h.notes);
    QTest::mouseClick(closeButton(*dialog), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST(UpdateDialog, ANewerVersionShowsItsNotesAtFullHeight) {
    Fixture f;
    f.describe("V1.0300000"); // cut to seven characters
    f.server.serve("/notes.txt", QByteArray("What's new:\r\n- more glyphs\0not shown", 37));
    auto dialog = f.open();
    const CUpdateDlg &d = *dialog;
    EXPECT_EQ(d.state(), UPDATE_AVAILABLE);
    EXPECT_EQ(latest(d), "V1.0300");
    EXPECT_EQ(message(d), "Found new version, whether it requires immediate update?");
    EXPECT_TRUE(notesBox(d)->isVisible());
    EXPECT_TRUE(notesBox(d)->isReadOnly());
    EXPECT_EQ(notesBox(d)->toPlainText(), "What's new:\n- more glyphs");
    EXPECT_FALSE(progressBar(d)->isVisible());
    EXPECT_TRUE(updateButton(d)->isEnabled());
    EXPECT_EQ(updateButton(d)->text(), "Update");
    EXPECT_EQ(closeButton(d)->text(), "Cancel");
    EXPECT_EQ(d.height(), templateHeights(d).full);
    EXPECT_EQ(updateButton(d)->y(), buttonTop(d));

    f.server.serve("/notes.txt", QByteArray());
    auto empty = f.open();
    EXPECT_EQ(empty->state(), UPDATE_AVAILABLE);
    EXPECT_EQ(notesBox(*empty)->toPlainText(), "");
}

TEST(UpdateDialog, DownloadsWithRisingProgressThenOffersToInstall) {
    Fixture f;
    f.describe("V1.03");
    const QByteArray body = installerBody(48 * 1024);
    f.server.serve("/setup", TestHttpServer::Response{200, body, 2048, 25});
    auto dialog = f.open();
    std::vector<int> values;
    QObject::connect(progressBar(*dialog), &QProgressBar::valueChanged, [&](int v) { values.push_back(v); });

    QTest::mouseClick(updateButton(*dialog), Qt::LeftButton);
    const CUpdateDlg &d = *dialog;
    EXPECT_EQ(d.state(), UPDATE_DOWNLOADING);
    EXPECT_EQ(message(d), "Downloading new version:\tV1.03");
    EXPECT_TRUE(progressBar(d)->isVisible());
    EXPECT_FALSE(notesBox(d)->isVisible());
    EXPECT_FALSE(updateButton(d)->isEnabled());
    EXPECT_EQ(closeButton(d)->text(), "Cancel");
    EXPECT_EQ(d.focusWidget(), closeButton(d));
    const Heights h = templateHeights(d);
    EXPECT_EQ(d.height(), h.full - (h.notes - h.progress));
    EXPECT_EQ(updateButton(d)->y(), buttonTop(d) - (h.notes - h.progress));

    ASSERT_TRUE(QTest::qWaitFor([&] { return d.state() == UPDATE_DOWNLOADED; }, kWaitMs));
    EXPECT_EQ(message(d), "Download is complete, click to install the upgrade is complete.");
    EXPECT_TRUE(updateButton(d)->isEnabled());
    EXPECT_EQ(updateButton(d)->text(), "Install");
    EXPECT_EQ(closeButton(d)->text(), "Cancel");
    EXPECT_TRUE(progressBar(d)->isVisible());
    EXPECT_EQ(d.height(), h.full - (h.notes - h.progress));
    EXPECT_TRUE(f.prompts.boxes.empty());

    ASSERT_GE(values.size(), 3u);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    EXPECT_EQ(values.back(), 100);

    // The installer sits alone in a private folder, under a name of safe characters.
    const QFileInfo installer(d.installerPath());
    EXPECT_EQ(installer.fileName(), "Glyphwerk_V1.03_setup");
    QFile file(installer.filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), body);
    const QFileInfo folder(installer.path());
    EXPECT_EQ(folder.permissions() & (QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther),
              QFile::Permissions());
    EXPECT_NE(QDir(folder.path()).canonicalPath(), QDir(installer.path()).canonicalPath());

    // Cancel in state 4 removes the installer.
    QTest::mouseClick(closeButton(*dialog), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(installer.exists());
    EXPECT_FALSE(QFileInfo::exists(installer.path()));
    EXPECT_EQ(f.closeQuestions, 0);
}

TEST(UpdateDialog, AnUnknownInstallerSizeKeepsTheBarAtZero) {
    Fixture f;
    f.describe("V2");
    f.server.serve("/setup", TestHttpServer::Response{200, installerBody(24 * 1024), 2048, 25, false});
    auto dialog = f.open();
    std::vector<int> values;
    QObject::connect(progressBar(*dialog), &QProgressBar::valueChanged, [&](int v) { values.push_back(v); });
    QTest::mouseClick(updateButton(*dialog), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->state() == UPDATE_DOWNLOADED; }, kWaitMs));
    EXPECT_EQ(progressBar(*dialog)->value(), 0);
    for (int v : values)
        EXPECT_EQ(v, 0);
}

TEST(UpdateDialog, CancellingASlowDownloadAsksAndOnlyOkAbortsIt) {
    Fixture f;
    f.describe("V1.03");
    f.server.serve("/setup", TestHttpServer::Response{200, installerBody(400 * 1024), 1024, 20});
    auto dialog = f.open();
    QTest::mouseClick(updateButton(*dialog), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return progressBar(*dialog)->value() > 0; }, kWaitMs));
    const QString installer = dialog->installerPath();

    f.prompts.boxAnswers = {prompts::IDCANCEL};
    QTest::mouseClick(closeButton(*dialog), Qt::LeftButton);
    ASSERT_EQ(f.prompts.boxes.size(), 1u);
    EXPECT_EQ(f.prompts.boxes[0].text, "Are you sure you want to interrupt the download operation?");
    EXPECT_EQ(f.prompts.boxes[0].type, 49u);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->state(), UPDATE_DOWNLOADING);
    const int before = progressBar(*dialog)->value();
    ASSERT_TRUE(QTest::qWaitFor([&] { return progressBar(*dialog)->value() > before; }, kWaitMs)); // still going

    f.prompts.boxAnswers = {prompts::IDOK};
    QTest::mouseClick(closeButton(*dialog), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    ASSERT_EQ(f.prompts.boxes.size(), 3u);
    EXPECT_TRUE(f.prompts.boxes[2].text.startsWith("Download failed.  Error = 0x80004004\n\n"))
        << f.prompts.boxes[2].text.toStdString();
    EXPECT_EQ(f.prompts.boxes[2].type, 0u);
    EXPECT_FALSE(QFileInfo::exists(installer));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(installer).path()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.server.transfersCutShort() == 1; }, kWaitMs));
}

TEST(UpdateDialog, EscapeDuringADownloadAbortsItAndWaitsForTheWorker) {
    Fixture f;
    f.describe("V1.03");
    f.server.serve("/setup", TestHttpServer::Response{200, installerBody(400 * 1024), 1024, 20});
    auto dialog = f.open();
    QTest::mouseClick(updateButton(*dialog), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return progressBar(*dialog)->value() > 0; }, kWaitMs));
    const QString installer = dialog->installerPath();

    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    ASSERT_EQ(f.prompts.boxes.size(), 1u); // no question, only the abort's message
    EXPECT_TRUE(f.prompts.boxes[0].text.startsWith("Download failed.  Error = 0x80004004\n\n"));
    EXPECT_FALSE(QFileInfo::exists(installer));
    dialog.reset(); // the worker is gone already: nothing can reach the deleted dialog
    QTest::qWait(200);
}

TEST(UpdateDialog, AFailedDownloadShowsItsCodeAndStaysInTheDownloadingState) {
    Fixture f;
    f.describe("V1.03"); // no installer on the server
    auto dialog = f.open();
    QTest::mouseClick(updateButton(*dialog), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.prompts.boxes.empty(); }, kWaitMs));
    EXPECT_TRUE(f.prompts.boxes[0].text.startsWith("Download failed.  Error = 0x800C0006\n\n"))
        << f.prompts.boxes[0].text.toStdString();
    EXPECT_TRUE(f.prompts.boxes[0].text.contains("Not Found"));
    EXPECT_EQ(f.prompts.boxes[0].type, 0u);
    QTest::qWait(100);
    EXPECT_EQ(dialog->state(), UPDATE_DOWNLOADING);
    EXPECT_FALSE(updateButton(*dialog)->isEnabled());
    EXPECT_TRUE(progressBar(*dialog)->isVisible());
    EXPECT_FALSE(QFileInfo::exists(dialog->installerPath()));

    // Only the close button (with its question) or Escape is left.
    f.prompts.boxAnswers = {prompts::IDOK};
    QTest::mouseClick(closeButton(*dialog), Qt::LeftButton);
    EXPECT_EQ(f.prompts.boxes.size(), 2u);
    EXPECT_FALSE(dialog->isVisible());
}

TEST(UpdateDialog, TheInstallerMustMatchTheDescriptionsChecksum) {
    const QByteArray body = installerBody(10000);
    const QByteArray digest = QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
    {
        Fixture f;
        f.describe("V1.03", "Sha256=" + digest.toUpper() + "\r\n");
        f.server.serve("/setup", body);
        auto dialog = f.open();
        QTest::mouseClick(updateButton(*dialog), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->state() == UPDATE_DOWNLOADED; }, kWaitMs));
        EXPECT_TRUE(f.prompts.boxes.empty());
    }
    {
        Fixture f;
        f.describe("V1.03", "Sha256=" + digest + "\r\n");
        f.server.serve("/setup", body + "tampered");
        auto dialog = f.open();
        QTest::mouseClick(updateButton(*dialog), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !f.prompts.boxes.empty(); }, kWaitMs));
        EXPECT_EQ(f.prompts.boxes[0].text,
                  "Download failed.  Error = 0x80091007\n\n"
                  "The downloaded installer does not match the SHA-256 checksum of the update description.");
        EXPECT_EQ(dialog->state(), UPDATE_DOWNLOADING);
        EXPECT_FALSE(QFileInfo::exists(dialog->installerPath()));
    }
    {
        Fixture f;
        f.describe("V1.03", "Sha256=" + digest.left(63) + "\r\n");
        f.server.serve("/setup", body);
        auto dialog = f.open();
        QTest::mouseClick(updateButton(*dialog), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !f.prompts.boxes.empty(); }, kWaitMs));
        EXPECT_EQ(f.prompts.boxes[0].text, "Download failed.  Error = 0x80091007\n\n"
                                           "The update description's SHA-256 checksum is not 64 hexadecimal digits.");
        EXPECT_FALSE(QFileInfo::exists(dialog->installerPath()));
    }
}

TEST(UpdateDialog, AHostileVersionTextNeverSteersWhereTheInstallerGoes) {
    Fixture f;
    f.describe("V9/../../../home/x");
    f.server.serve("/setup", QByteArray("payload"));
    auto dialog = f.open();
    ASSERT_EQ(dialog->state(), UPDATE_AVAILABLE);
    EXPECT_EQ(latest(*dialog), "V9/../."); // shown as sent (cut to seven characters)
    QTest::mouseClick(updateButton(*dialog), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->state() == UPDATE_DOWNLOADED; }, kWaitMs));
    const QFileInfo installer(dialog->installerPath());
    EXPECT_EQ(installer.fileName(), "Glyphwerk_V9..._setup");
    EXPECT_TRUE(installer.path().startsWith(QDir::tempPath() + "/glyphwerk-update-"));
    EXPECT_TRUE(installer.exists());

    // Leaving with Escape does not install: nothing is left behind either.
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(QFileInfo::exists(installer.filePath()));
    EXPECT_FALSE(QFileInfo::exists(installer.path()));
    EXPECT_TRUE(f.prompts.boxes.empty());
}

TEST(UpdateDialog, InstallAsksTheNormalCloseQuestionFirstThenStartsTheInstallerAndQuits) {
    Fixture f;
    QTemporaryDir scratch;
    const QString marker = scratch.filePath("installer-ran");
    f.describe("V1.03");
    f.server.serve("/setup", "#!/bin/sh\necho \"$0\" > '" + marker.toUtf8() + "'\n");
    auto dialog = f.open();
    QTest::mouseClick(updateButton(*dialog), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->state() == UPDATE_DOWNLOADED; }, kWaitMs));
    const QString installer = dialog->installerPath();

    f.closeAnswer = false; // the user cancels the save-changes question
    QTest::mouseClick(updateButton(*dialog), Qt::LeftButton);
    EXPECT_EQ(f.closeQuestions, 1);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->state(), UPDATE_DOWNLOADED);
    EXPECT_EQ(f.quits, 0);
    QTest::qWait(300);
    EXPECT_FALSE(QFileInfo::exists(marker));

    f.closeAnswer = true;
    QTest::mouseClick(updateButton(*dialog), Qt::LeftButton);
    EXPECT_EQ(f.closeQuestions, 2);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(f.quits, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(marker).size() > 0; }, kWaitMs));
    QFile ran(marker);
    ASSERT_TRUE(ran.open(QIODevice::ReadOnly));
    EXPECT_EQ(ran.readAll().trimmed(), installer.toUtf8());
    dialog.reset();
    EXPECT_TRUE(QFileInfo::exists(installer)); // left for the running installer
    QDir(QFileInfo(installer).path()).removeRecursively();
}

TEST(UpdateDialog, AWorkerThatCannotBeCreatedLeavesTheUpdateAvailable) {
    Fixture f;
    f.describe("V1.03");
    f.server.serve("/setup", QByteArray("payload"));
    auto dialog = f.open();
    dialog->setWorkerStackSize(1); // below any system's minimum: the thread cannot start
    QTest::mouseClick(updateButton(*dialog), Qt::LeftButton);
    ASSERT_EQ(f.prompts.boxes.size(), 1u);
    EXPECT_EQ(f.prompts.boxes[0].text, "Couldn't create worker thread!");
    EXPECT_EQ(f.prompts.boxes[0].type, 16u);
    EXPECT_EQ(dialog->state(), UPDATE_AVAILABLE);
    EXPECT_TRUE(updateButton(*dialog)->isEnabled());

    dialog->setWorkerStackSize(0);
    QTest::mouseClick(updateButton(*dialog), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->state() == UPDATE_DOWNLOADED; }, kWaitMs));
}
