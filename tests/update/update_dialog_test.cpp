// The update dialog against a real HTTP server on 127.0.0.1: every state with
// its texts and layout, the download with progress, cancel and failure.
// Installing with the application's hooks: help_menu_test.

#include "dialog_builder.h"
#include "scripted_prompts.h"
#include "test_http_server.h"
#include "update_dialog.h"
#include "update_template.h"

#include <QApplication>
#include <QCryptographicHash>
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
const QString kAbortMessage = "Download failed.  Error = 0x80004004\n\n";

template <typename T = QLabel> T *ctl(const CUpdateDlg &dialog, int id) { return res::controlById<T>(&dialog, id); }
QPushButton *updateButton(const CUpdateDlg &d) { return ctl<QPushButton>(d, res::IDC_UPDATE_BUTTON); }
QPushButton *closeButton(const CUpdateDlg &d) { return ctl<QPushButton>(d, res::IDC_CLOSE_BUTTON); }
QProgressBar *progressBar(const CUpdateDlg &d) { return ctl<QProgressBar>(d, res::IDC_DOWNLOAD_PROGRESS); }

// The dialog at a glance, as its state sets it: the message (checked to be
// shown whole), the buttons ("-" after a disabled one), what is shown between
// them, and the height: the template's, or shorter by the notes box, less the
// progress bar when shown; the buttons move with the bottom edge.
std::string look(const CUpdateDlg &d) {
    const QLabel *message = ctl(d, res::IDC_UPDATE_MESSAGE);
    const QRect needed = QFontMetrics(message->font())
                             .boundingRect(QRect(0, 0, message->width(), 1000),
                                           Qt::TextWordWrap * message->wordWrap() | Qt::TextExpandTabs, message->text());
    EXPECT_TRUE(needed.width() <= message->width() && needed.height() <= message->height()) << message->text().toStdString();
    const QSize base = res::dialogBaseUnits(&d);
    const auto pixels = [&](int x, int y, int w, int h) { return res::dialogUnitsToPixels(x, y, w, h, base); };
    const int shrink = pixels(0, 0, 213, 204).height() - d.height(), notes = pixels(11, 66, 191, 111).height();
    for (const QPushButton *button : {updateButton(d), closeButton(d)})
        EXPECT_EQ(button->y(), pixels(97, 183, 50, 14).top() - shrink);
    const auto button = [](const QPushButton *b) { return "[" + b->text() + (b->isEnabled() ? "]" : "-]"); };
    QStringList shown;
    if (ctl<QPlainTextEdit>(d, res::IDC_RELEASE_NOTES)->isVisible())
        shown << "notes";
    if (progressBar(d)->isVisible())
        shown << "bar";
    const QString height = shrink == 0 ? "full"
                           : shrink == notes ? "full - notes"
                           : shrink == notes - pixels(11, 66, 190, 14).height() ? "full - notes + bar"
                                                                                : QString("full - %1 pixels").arg(shrink);
    return QStringList{message->text(), button(updateButton(d)) + " " + button(closeButton(d)), shown.join(", "), height}
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
        server.serve("/Glyphwerk/Update.txt", "[Update]\r\nAppname=Glyphwerk\r\nVersion=" + version + "\r\nUrlNote=" +
                                                  base + "/notes.txt\r\nUrlUpdate=" + base + "/setup\r\n" + extra);
    }
    // Shows the dialog while it checks; `checked`: once its check has ended.
    std::unique_ptr<CUpdateDlg> open(const QString &url = {}, bool checked = true) {
        const UpdateHooks hooks{[this] { return ++hookCalls > 0; }, [this] { ++hookCalls; }};
        auto dialog = std::make_unique<CUpdateDlg>(url.isEmpty() ? server.url() : url, hooks);
        dialog->show();
        if (checked)
            EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->checking(); }, kWaitMs));
        return dialog;
    }
    // Opens the dialog, presses Update and waits until `until` holds.
    std::unique_ptr<CUpdateDlg> download(const std::function<bool(const CUpdateDlg &)> &until) {
        auto dialog = open();
        QTest::mouseClick(updateButton(*dialog), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return until(*dialog); }, kWaitMs));
        return dialog;
    }
    // A large installer sent slowly, shown once the first progress arrived.
    std::unique_ptr<CUpdateDlg> slowDownload() {
        describe("V1.03");
        server.serve("/setup", TestHttpServer::Response{200, QByteArray(400 * 1024, 'i'), 1024, 20});
        return download([](const CUpdateDlg &d) { return progressBar(d)->value() > 0; });
    }
};

} // namespace

TEST(UpdateDialog, EveryStateShowsItsTextsAndEnterPressesItsDefaultButton) {
    Fixture f;
    auto failed = f.open(TestHttpServer::unreachableUrl());
    EXPECT_EQ(failed->state(), UPDATE_CHECK_FAILED);
    EXPECT_EQ(failed->windowTitle(), "Glyphwerk version information");
    const int labels[] = {res::IDC_CURRENT_LABEL, res::IDC_LATEST_LABEL, res::IDC_CURRENT_VERSION, res::IDC_LATEST_VERSION};
    QStringList texts;
    for (int id : labels)
        texts << ctl(*failed, id)->text();
    EXPECT_EQ(texts, QStringList({"Current version", "The latest version", "V1.02", ""}));
    EXPECT_EQ(look(*failed),
              "Failed to detect the new version, please contact the author! | [Update-] [Cancel] |  | full - notes");
    EXPECT_EQ(ctl(*failed, res::IDC_UPDATE_MESSAGE)->font().weight(), QFont::Bold);
    pressEnter(*failed);
    EXPECT_FALSE(failed->isVisible());
    EXPECT_EQ(failed->result(), QDialog::Accepted);

    f.describe("V1.02");
    auto upToDate = f.open();
    EXPECT_EQ(ctl(*upToDate, res::IDC_LATEST_VERSION)->text(), "V1.02");
    EXPECT_EQ(look(*upToDate), "Is already the latest version, no need to update. | [Update-] [OK] |  | full - notes");
    pressEnter(*upToDate, Qt::Key_Enter);
    EXPECT_EQ(upToDate->result(), QDialog::Accepted);

    // Available: Update. Downloading: Cancel, with its question. Downloaded: Install.
    f.describe("V1.0300000"); // cut to seven characters
    f.server.serve("/notes.txt", QByteArray("What's new:\r\n- more glyphs\0not shown", 37));
    const QByteArray body = "#!/bin/sh\n" + QByteArray(48 * 1024, '#');
    f.server.serve("/setup", TestHttpServer::Response{200, body, 2048, 25});
    auto d = f.open();
    EXPECT_EQ(ctl(*d, res::IDC_LATEST_VERSION)->text(), "V1.0300");
    EXPECT_EQ(look(*d), "Found new version, whether it requires immediate update? | [Update] [Cancel] | notes | full");
    const auto *notes = ctl<QPlainTextEdit>(*d, res::IDC_RELEASE_NOTES);
    EXPECT_TRUE(notes->isReadOnly());
    EXPECT_EQ(notes->toPlainText(), "What's new:\n- more glyphs");
    std::vector<int> values;
    QObject::connect(progressBar(*d), &QProgressBar::valueChanged, [&](int v) { values.push_back(v); });
    pressEnter(*d);
    EXPECT_EQ(d->state(), UPDATE_DOWNLOADING);
    EXPECT_EQ(look(*d), "Downloading new version:\tV1.0300 | [Update-] [Cancel] | bar | full - notes + bar");
    EXPECT_EQ(d->focusWidget(), closeButton(*d));
    f.prompts.boxAnswers = {prompts::IDCANCEL};
    pressEnter(*d);
    ASSERT_EQ(f.prompts.boxes.size(), 1u);
    EXPECT_EQ(f.prompts.boxes[0].text, "Are you sure you want to interrupt the download operation?");
    EXPECT_EQ(f.prompts.boxes[0].type, 49u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return d->state() == UPDATE_DOWNLOADED; }, kWaitMs));
    EXPECT_EQ(look(*d), "Download is complete, click to install the upgrade is complete. | [Install] [Cancel] | bar | "
                        "full - notes + bar");
    // Only changes are signalled: at least three distinct, rising values.
    ASSERT_GE(values.size(), 3u);
    EXPECT_TRUE(std::ranges::is_sorted(values) && values.back() == 100);
    // The installer sits alone in a private folder, under a name of safe characters.
    const QFileInfo installer(d->installerPath());
    EXPECT_EQ(installer.fileName(), "Glyphwerk_V1.0300_setup");
    QFile file(installer.filePath());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly) && file.readAll() == body);
    const auto others = QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    EXPECT_EQ(QFileInfo(installer.path()).permissions() & others, QFile::Permissions());
    EXPECT_TRUE(installer.path().startsWith(QDir::tempPath() + "/glyphwerk-update-"));
    pressEnter(*d);
    EXPECT_EQ(f.hookCalls, 2); // asked to close, then ended the program
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(f.prompts.boxes.size(), 1u);
    QDir(installer.path()).removeRecursively(); // left for the installer
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
        EXPECT_EQ(ctl(*dialog, res::IDC_LATEST_VERSION)->text(), "");
        ends[i](*dialog);
        EXPECT_FALSE(dialog->isVisible() || dialog->checking()) << i;
        EXPECT_TRUE(QTest::qWaitFor([&] { return f.server.transfersCutShort() == i + 1; }, kWaitMs)) << i;
    }
    EXPECT_TRUE(f.prompts.boxes.empty());
}

TEST(UpdateDialog, CancellingADownloadAsksAndOnlyOkOrEscapeAbortsItLeavingNothingBehind) {
    Fixture f;
    for (const bool escape : {false, true}) {
        auto dialog = f.slowDownload();
        const QString installer = dialog->installerPath();
        if (escape) {
            QTest::keyClick(dialog.get(), Qt::Key_Escape); // no question
            EXPECT_EQ(dialog->result(), QDialog::Rejected);
        } else {
            f.prompts.boxAnswers = {prompts::IDCANCEL};
            QTest::mouseClick(closeButton(*dialog), Qt::LeftButton);
            ASSERT_EQ(f.prompts.boxes.size(), 1u);
            EXPECT_EQ(f.prompts.boxes[0].text, "Are you sure you want to interrupt the download operation?");
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_EQ(dialog->state(), UPDATE_DOWNLOADING);
            const int before = progressBar(*dialog)->value();
            ASSERT_TRUE(QTest::qWaitFor([&] { return progressBar(*dialog)->value() > before; }, kWaitMs)); // still going
            f.prompts.boxAnswers = {prompts::IDOK};
            QTest::mouseClick(closeButton(*dialog), Qt::LeftButton);
        }
        EXPECT_FALSE(dialog->isVisible());
        ASSERT_EQ(f.prompts.boxes.size(), escape ? 4u : 3u);
        EXPECT_TRUE(f.prompts.boxes.back().text.startsWith(kAbortMessage)) << f.prompts.boxes.back().text.toStdString();
        EXPECT_EQ(f.prompts.boxes.back().type, 0u);
        EXPECT_FALSE(QFileInfo::exists(installer) || QFileInfo::exists(QFileInfo(installer).path()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return f.server.transfersCutShort() == 1 + escape; }, kWaitMs));
        dialog.reset(); // the worker is gone already: nothing can reach the deleted dialog
    }
}

TEST(UpdateDialog, AFailedOrUnverifiedDownloadStaysInTheDownloadingStateAndCancelLeavesNothingBehind) {
    const QByteArray body = QByteArray("installer").repeated(1000);
    const QByteArray digest = QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex().toUpper();
    const struct {
        QByteArray served; // empty: none
        QString failure;   // empty: the download succeeds
    } cases[] = {
        {body, ""},
        {"", "Download failed.  Error = 0x800C0006\n\n"},
        {body + "tampered", "Download failed.  Error = 0x80091007\n\nThe downloaded installer does not match the "
                            "SHA-256 checksum of the update description."},
    };
    for (const auto &c : cases) {
        Fixture f;
        f.describe("V1.03", "Sha256=" + digest + "\r\n");
        if (!c.served.isEmpty())
            f.server.serve("/setup", c.served);
        auto d = f.download([&](const CUpdateDlg &d) { return d.state() == UPDATE_DOWNLOADED || !f.prompts.boxes.empty(); });
        const QString installer = d->installerPath();
        if (!c.failure.isEmpty()) {
            ASSERT_EQ(f.prompts.boxes.size(), 1u);
            const QString text = f.prompts.boxes[0].text;
            EXPECT_TRUE(text.startsWith(c.failure) && (c.served.size() || text.contains("Not Found"))) << text.toStdString();
            EXPECT_EQ(f.prompts.boxes[0].type, 0u);
            QTest::qWait(100);
            EXPECT_EQ(look(*d), "Downloading new version:\tV1.03 | [Update-] [Cancel] | bar | full - notes + bar");
            EXPECT_FALSE(QFileInfo::exists(installer));
        }
        // Cancel, with its question while downloading, leaves no installer and no folder.
        QTest::mouseClick(closeButton(*d), Qt::LeftButton);
        EXPECT_EQ(f.prompts.boxes.size(), c.failure.isEmpty() ? 0u : 2u);
        EXPECT_FALSE(d->isVisible() || QFileInfo::exists(installer) || QFileInfo::exists(QFileInfo(installer).path()));
        EXPECT_EQ(f.hookCalls, 0);
    }
}
