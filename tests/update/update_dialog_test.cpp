// The update dialog against a real HTTP server on 127.0.0.1: every state with
// its texts and layout, the download with progress, cancel, failure and
// checksum. Installing, with the application's hooks: help_menu_test.

#include "dialog_builder.h"
#include "scripted_prompts.h"
#include "test_http_server.h"
#include "update_dialog.h"
#include "update_template.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace update;

namespace {

constexpr int kWaitMs = 20000;
const QString kAbortMessage = "Download failed.  Error = 0x80004004\n\n";

QByteArray installerBody(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char('a' + i % 26);
    return bytes;
}

template <typename T> T *ctl(const CUpdateDlg &dialog, int id) { return res::controlById<T>(&dialog, id); }
QString labelText(const CUpdateDlg &d, int id) { return ctl<QLabel>(d, id)->text(); }
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

// The dialog at a glance, as its state sets it: the message, the buttons
// ("-" after a disabled one), what is shown between them, and the height: the
// template's, or shorter by the notes box, less the progress bar when shown.
std::string look(const CUpdateDlg &d) {
    const QSize base = res::dialogBaseUnits(&d);
    const int full = res::dialogUnitsToPixels(0, 0, 213, 204, base).height();
    const int notes = res::dialogUnitsToPixels(11, 66, 191, 111, base).height();
    const int bar = res::dialogUnitsToPixels(11, 66, 190, 14, base).height();
    const int shrink = full - d.height();
    const int buttonTop = res::dialogUnitsToPixels(97, 183, 50, 14, base).top() - shrink;
    EXPECT_EQ(updateButton(d)->y(), buttonTop);
    EXPECT_EQ(closeButton(d)->y(), buttonTop);
    const auto button = [](const QPushButton *b) { return "[" + b->text() + (b->isEnabled() ? "]" : "-]"); };
    QStringList shown;
    if (notesBox(d)->isVisible())
        shown << "notes";
    if (progressBar(d)->isVisible())
        shown << "bar";
    const QString height = shrink == 0             ? "full"
                           : shrink == notes       ? "full - notes"
                           : shrink == notes - bar ? "full - notes + bar"
                                                   : QString("full - %1 pixels").arg(shrink);
    return QStringList{message(d), button(updateButton(d)) + " " + button(closeButton(d)), shown.join(", "), height}
        .join(" | ")
        .toStdString();
}

// Enter or Return as the user types it: to the focused control of the active dialog.
void pressEnter(CUpdateDlg &d, Qt::Key key = Qt::Key_Return) {
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    QTest::keyClick(QApplication::focusWidget(), key);
}

struct Fixture {
    TestHttpServer server;
    ScriptedPrompts prompts;
    int hookCalls = 0; // the close question and the quit: for installing only

    void describe(const QByteArray &version, const QByteArray &extra = {}) {
        const QByteArray base = server.url().toLatin1();
        server.serve("/Glyphwerk/Update.txt", "[Update]\r\nAppname=Glyphwerk\r\nVersion=" + version +
                                                  "\r\nUrlNote=" + base + "/notes.txt\r\nUrlUpdate=" + base +
                                                  "/setup\r\n" + extra);
    }

    // Shows the dialog while it checks; `checked`: once its check has ended.
    std::unique_ptr<CUpdateDlg> open(const QString &url = {}, bool checked = true) {
        const UpdateHooks hooks{[this] { ++hookCalls; return true; }, [this] { ++hookCalls; }};
        auto dialog = std::make_unique<CUpdateDlg>(url.isEmpty() ? server.url() : url, hooks);
        dialog->show();
        if (checked) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->checking(); }, kWaitMs));
        }
        return dialog;
    }

    // Opens the dialog, presses Update and waits until `until` holds.
    std::unique_ptr<CUpdateDlg> download(const std::function<bool(const CUpdateDlg &)> &until) {
        auto dialog = open();
        QTest::mouseClick(updateButton(*dialog), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return until(*dialog); }, kWaitMs));
        return dialog;
    }
    std::unique_ptr<CUpdateDlg> downloaded() {
        return download([](const CUpdateDlg &d) { return d.state() == UPDATE_DOWNLOADED; });
    }
    std::unique_ptr<CUpdateDlg> failedDownload() {
        return download([this](const CUpdateDlg &) { return !prompts.boxes.empty(); });
    }
    // A large installer sent slowly, shown once the first progress arrived.
    std::unique_ptr<CUpdateDlg> slowDownload() {
        describe("V1.03");
        server.serve("/setup", TestHttpServer::Response{200, installerBody(400 * 1024), 1024, 20});
        return download([](const CUpdateDlg &d) { return progressBar(d)->value() > 0; });
    }
};

} // namespace

TEST(UpdateDialog, AFailedCheckOrNoNewerVersionShowsTheDialogWithoutTheNotes) {
    Fixture f;
    auto failed = f.open(TestHttpServer::unreachableUrl());
    const CUpdateDlg &d = *failed;
    EXPECT_EQ(d.state(), UPDATE_CHECK_FAILED);
    EXPECT_EQ(d.windowTitle(), "Glyphwerk version information");
    EXPECT_EQ(labelText(d, res::IDC_CURRENT_LABEL), "Current version");
    EXPECT_EQ(labelText(d, res::IDC_LATEST_LABEL), "The latest version");
    EXPECT_EQ(labelText(d, res::IDC_CURRENT_VERSION), "V1.02");
    EXPECT_EQ(labelText(d, res::IDC_LATEST_VERSION), "");
    EXPECT_EQ(look(d),
              "Failed to detect the new version, please contact the author! | [Update-] [Cancel] |  | full - notes");
    EXPECT_EQ(ctl<QLabel>(d, res::IDC_UPDATE_MESSAGE)->font().weight(), QFont::Bold);
    QTest::mouseClick(closeButton(d), Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(f.open()->state(), UPDATE_CHECK_FAILED) << "a server without the description (404)";

    f.describe("V1.02");
    auto upToDate = f.open();
    EXPECT_EQ(upToDate->state(), UPDATE_UP_TO_DATE);
    EXPECT_EQ(labelText(*upToDate, res::IDC_LATEST_VERSION), "V1.02");
    EXPECT_EQ(look(*upToDate), "Is already the latest version, no need to update. | [Update-] [OK] |  | full - notes");
    QTest::mouseClick(closeButton(*upToDate), Qt::LeftButton);
    EXPECT_FALSE(upToDate->isVisible());
    EXPECT_EQ(upToDate->result(), QDialog::Accepted);
    EXPECT_TRUE(f.prompts.boxes.empty());
}

TEST(UpdateDialog, TheCheckRunsWhileTheDialogRespondsAndEndsWithIt) {
    Fixture f;
    // A description trickling in for 5 s: three dialogs, each ended during the
    // check, which the server sees end at once.
    const QByteArray text = "[Update]\r\nVersion=V1.03\r\nUrlNote=x\r\nUrlUpdate=y\r\n";
    f.server.serve("/Glyphwerk/Update.txt", TestHttpServer::Response{200, text, 1, 100});
    const std::function<void(CUpdateDlg &)> ends[] = {
        [](CUpdateDlg &d) { QTest::mouseClick(closeButton(d), Qt::LeftButton); },
        [](CUpdateDlg &d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](CUpdateDlg &d) { d.close(); },
    };
    for (int i = 0; i < 3; ++i) {
        auto dialog = f.open({}, false);
        ASSERT_TRUE(QTest::qWaitFor([&] { return f.server.requests().size() == i + 1; }, kWaitMs));
        EXPECT_TRUE(dialog->checking());
        EXPECT_EQ(look(*dialog), "Checking for the new version, please wait... | [Update-] [Cancel] |  | full - notes");
        EXPECT_EQ(labelText(*dialog, res::IDC_LATEST_VERSION), "");
        ends[i](*dialog);
        EXPECT_FALSE(dialog->isVisible()) << i;
        EXPECT_FALSE(dialog->checking()) << i;
        EXPECT_TRUE(QTest::qWaitFor([&] { return f.server.transfersCutShort() == i + 1; }, kWaitMs)) << i;
    }
    EXPECT_TRUE(f.prompts.boxes.empty());
}

TEST(UpdateDialog, EnterPressesTheDefaultButtonOfEveryState) {
    Fixture f;
    auto failed = f.open(TestHttpServer::unreachableUrl());
    pressEnter(*failed);
    EXPECT_FALSE(failed->isVisible());
    EXPECT_EQ(failed->result(), QDialog::Accepted);

    f.describe("V1.02");
    auto upToDate = f.open();
    pressEnter(*upToDate, Qt::Key_Enter);
    EXPECT_FALSE(upToDate->isVisible());
    EXPECT_EQ(upToDate->result(), QDialog::Accepted);

    // Available: Update. Downloading: Cancel, with its question. Downloaded: Install.
    f.describe("V1.03");
    f.server.serve("/notes.txt", QByteArray("notes"));
    f.server.serve("/setup", TestHttpServer::Response{200, "#!/bin/sh\n" + QByteArray(8 * 1024, '#'), 1024, 40});
    auto dialog = f.open();
    EXPECT_EQ(dialog->state(), UPDATE_AVAILABLE);
    pressEnter(*dialog);
    EXPECT_EQ(dialog->state(), UPDATE_DOWNLOADING);
    f.prompts.boxAnswers = {prompts::IDCANCEL};
    pressEnter(*dialog);
    ASSERT_EQ(f.prompts.boxes.size(), 1u);
    EXPECT_EQ(f.prompts.boxes[0].text, "Are you sure you want to interrupt the download operation?");
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->state() == UPDATE_DOWNLOADED; }, kWaitMs));
    const QString installer = dialog->installerPath();
    pressEnter(*dialog);
    EXPECT_EQ(f.hookCalls, 2); // asked to close, then ended the program
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(f.prompts.boxes.size(), 1u);
    QDir(QFileInfo(installer).path()).removeRecursively(); // left for the installer
}

TEST(UpdateDialog, ANewerVersionShowsItsNotesAtFullHeight) {
    Fixture f;
    f.describe("V1.0300000"); // cut to seven characters
    f.server.serve("/notes.txt", QByteArray("What's new:\r\n- more glyphs\0not shown", 37));
    auto dialog = f.open();
    EXPECT_EQ(dialog->state(), UPDATE_AVAILABLE);
    EXPECT_EQ(labelText(*dialog, res::IDC_LATEST_VERSION), "V1.0300");
    EXPECT_EQ(look(*dialog),
              "Found new version, whether it requires immediate update? | [Update] [Cancel] | notes | full");
    EXPECT_TRUE(notesBox(*dialog)->isReadOnly());
    EXPECT_EQ(notesBox(*dialog)->toPlainText(), "What's new:\n- more glyphs");
}

TEST(UpdateDialog, DownloadsWithRisingProgressThenOffersToInstall) {
    Fixture f;
    f.describe("V1.03");
    const QByteArray body = installerBody(48 * 1024);
    f.server.serve("/setup", TestHttpServer::Response{200, body, 2048, 25});
    auto dialog = f.open();
    const CUpdateDlg &d = *dialog;
    std::vector<int> values;
    QObject::connect(progressBar(d), &QProgressBar::valueChanged, [&](int v) { values.push_back(v); });

    QTest::mouseClick(updateButton(d), Qt::LeftButton);
    EXPECT_EQ(d.state(), UPDATE_DOWNLOADING);
    EXPECT_EQ(look(d), "Downloading new version:\tV1.03 | [Update-] [Cancel] | bar | full - notes + bar");
    EXPECT_EQ(d.focusWidget(), closeButton(d));

    ASSERT_TRUE(QTest::qWaitFor([&] { return d.state() == UPDATE_DOWNLOADED; }, kWaitMs));
    EXPECT_EQ(look(d),
              "Download is complete, click to install the upgrade is complete. | [Install] [Cancel] | bar | "
              "full - notes + bar");
    EXPECT_TRUE(f.prompts.boxes.empty());
    // Only changes are signalled: at least three distinct, rising values.
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
    QTest::mouseClick(closeButton(d), Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_FALSE(installer.exists());
    EXPECT_FALSE(QFileInfo::exists(installer.path()));
    EXPECT_EQ(f.hookCalls, 0);
}

TEST(UpdateDialog, CancellingADownloadAsksAndOnlyOkAbortsIt) {
    Fixture f;
    auto dialog = f.slowDownload();
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
    EXPECT_TRUE(f.prompts.boxes[2].text.startsWith(kAbortMessage)) << f.prompts.boxes[2].text.toStdString();
    EXPECT_EQ(f.prompts.boxes[2].type, 0u);
    EXPECT_FALSE(QFileInfo::exists(installer));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(installer).path()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.server.transfersCutShort() == 1; }, kWaitMs));
}

TEST(UpdateDialog, EscapeDuringADownloadAbortsItAndWaitsForTheWorker) {
    Fixture f;
    auto dialog = f.slowDownload();
    const QString installer = dialog->installerPath();

    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    ASSERT_EQ(f.prompts.boxes.size(), 1u); // no question, only the abort's message
    EXPECT_TRUE(f.prompts.boxes[0].text.startsWith(kAbortMessage));
    EXPECT_FALSE(QFileInfo::exists(installer));
    dialog.reset(); // the worker is gone already: nothing can reach the deleted dialog
    QTest::qWait(200);
}

TEST(UpdateDialog, AFailedDownloadShowsItsCodeAndStaysInTheDownloadingState) {
    Fixture f;
    f.describe("V1.03"); // no installer on the server
    auto dialog = f.failedDownload();
    ASSERT_EQ(f.prompts.boxes.size(), 1u);
    EXPECT_TRUE(f.prompts.boxes[0].text.startsWith("Download failed.  Error = 0x800C0006\n\n"))
        << f.prompts.boxes[0].text.toStdString();
    EXPECT_TRUE(f.prompts.boxes[0].text.contains("Not Found"));
    EXPECT_EQ(f.prompts.boxes[0].type, 0u);
    QTest::qWait(100);
    EXPECT_EQ(dialog->state(), UPDATE_DOWNLOADING);
    EXPECT_EQ(look(*dialog), "Downloading new version:\tV1.03 | [Update-] [Cancel] | bar | full - notes + bar");
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
    const struct {
        QByteArray sha256, served;
        QString failure; // empty: the download succeeds
    } cases[] = {
        {digest.toUpper(), body, ""},
        {digest, body + "tampered",
         "The downloaded installer does not match the SHA-256 checksum of the update description."},
        {digest.left(63), body, "The update description's SHA-256 checksum is not 64 hexadecimal digits."},
    };
    for (const auto &c : cases) {
        Fixture f;
        f.describe("V1.03", "Sha256=" + c.sha256 + "\r\n");
        f.server.serve("/setup", c.served);
        auto dialog =
            f.download([&](const CUpdateDlg &d) { return d.state() == UPDATE_DOWNLOADED || !f.prompts.boxes.empty(); });
        if (c.failure.isEmpty()) {
            EXPECT_EQ(dialog->state(), UPDATE_DOWNLOADED);
            EXPECT_TRUE(f.prompts.boxes.empty());
            continue;
        }
        ASSERT_EQ(f.prompts.boxes.size(), 1u);
        EXPECT_EQ(f.prompts.boxes[0].text, "Download failed.  Error = 0x80091007\n\n" + c.failure);
        EXPECT_EQ(dialog->state(), UPDATE_DOWNLOADING);
        EXPECT_FALSE(QFileInfo::exists(dialog->installerPath()));
    }
}

TEST(UpdateDialog, AHostileVersionTextNeverSteersWhereTheInstallerGoes) {
    Fixture f;
    f.describe("V9/../../../home/x");
    f.server.serve("/setup", QByteArray("payload"));
    auto dialog = f.downloaded();
    EXPECT_EQ(labelText(*dialog, res::IDC_LATEST_VERSION), "V9/../."); // shown as sent (cut to seven characters)
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
