#include "update_dialog.h"

#include "dialog_builder.h"
#include "dialog_icon.h"
#include "download_error.h"
#include "download_worker.h"
#include "installer_check.h"
#include "installer_launch.h"
#include "prompts.h"
#include "update_protocol.h"
#include "update_template.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>

namespace update {

namespace {

template <typename T> T *control(const QWidget *dialog, int id) {
    T *widget = res::controlById<T>(dialog, id);
    Q_ASSERT(widget);
    return widget;
}

} // namespace

CUpdateDlg::CUpdateDlg(const QString &serverUrl, UpdateHooks hooks, QWidget *parent)
    : QDialog(parent), m_hooks(std::move(hooks)) {
    res::BuildOptions options;
    options.createControl = [](const res::ControlTemplate &c, QWidget *dialog) -> QWidget * {
        return c.kind == res::ControlKind::Custom ? controls::makeDialogIcon(dialog) : nullptr;
    };
    res::buildDialog(res::updateTemplate(), this, options);
    m_pCloseButton = control<QPushButton>(this, res::IDC_CLOSE_BUTTON);
    m_pUpdateButton = control<QPushButton>(this, res::IDC_UPDATE_BUTTON);
    m_pProgress = control<QProgressBar>(this, res::IDC_DOWNLOAD_PROGRESS);
    m_pMessage = control<QLabel>(this, res::IDC_UPDATE_MESSAGE);
    m_pLatestVersion = control<QLabel>(this, res::IDC_LATEST_VERSION);
    m_pNotes = control<QPlainTextEdit>(this, res::IDC_RELEASE_NOTES);
    m_pRelay = std::make_unique<ProgressRelay>(m_pProgress);
    m_pProgress->setRange(0, 100);
    m_pProgress->setValue(0);
    // As on the platform: Enter presses the focused button, or else the default one.
    for (QPushButton *button : {m_pUpdateButton, m_pCloseButton})
        button->setAutoDefault(true);

    QFont bold = m_pMessage->font();
    bold.setWeight(QFont::Bold);
    m_pMessage->setFont(bold);

    setWindowTitle(QStringLiteral("Glyphwerk version information"));
    control<QLabel>(this, res::IDC_CURRENT_LABEL)->setText(QStringLiteral("Current version"));
    control<QLabel>(this, res::IDC_LATEST_LABEL)->setText(QStringLiteral("The latest version"));
    control<QLabel>(this, res::IDC_CURRENT_VERSION)->setText(QString::fromLatin1(LOCAL_VERSION.data(), LOCAL_VERSION.size()));

    m_dialogSize = size();
    m_nNotesHeight = m_pNotes->height();
    m_nProgressHeight = m_pProgress->height();
    m_updateRect = m_pUpdateButton->geometry();
    m_closeRect = m_pCloseButton->geometry();

    connect(m_pUpdateButton, &QPushButton::clicked, this, &CUpdateDlg::OnUpdateButton);
    connect(m_pCloseButton, &QPushButton::clicked, this, &CUpdateDlg::OnCloseButton);

    CheckForUpdate(serverUrl);
}

CUpdateDlg::~CUpdateDlg() {
    cancelCheck();
    if (m_pWorker) {
        g_abortDownload = 1;
        m_pRelay->detach();
        m_pWorker->wait();
    }
}

void CUpdateDlg::CheckForUpdate(const QString &serverUrl) {
    // Off the user-interface thread: the windows stay responsive and the
    // dialog's Cancel, Escape and close box end the check.
    m_pCheckThread.reset(QThread::create([this, url = descriptionUrl(serverUrl)] {
        m_checkOutcome = checkForUpdate(url, &m_bCancelCheck);
    }));
    connect(m_pCheckThread.get(), &QThread::finished, this, &CUpdateDlg::onCheckFinished, Qt::QueuedConnection);
    setCursor(Qt::BusyCursor);
    m_pCheckThread->start();
    ApplyState();
}

void CUpdateDlg::onCheckFinished() {
    if (!m_pCheckThread)
        return; // cancelled when the dialog ended
    m_pCheckThread->wait();
    m_pCheckThread.reset();
    unsetCursor();
    m_info = m_checkOutcome.info;
    if (m_checkOutcome.versionKnown)
        m_pLatestVersion->setText(QString::fromUtf8(m_info.version));
    m_pNotes->setPlainText(QString::fromUtf8(m_checkOutcome.notes));
    m_nState = m_checkOutcome.state;
    ApplyState();
}

void CUpdateDlg::cancelCheck() {
    if (!m_pCheckThread)
        return;
    m_bCancelCheck = true;
    m_pCheckThread->wait();
    m_pCheckThread.reset();
}

void CUpdateDlg::ApplyState() {
    struct Look {
        int shrink;
        bool updateEnabled, notesVisible, progressVisible;
        const char *message, *updateCaption, *closeCaption;
        bool updateIsDefault; // else the close button is
    };
    const int E = m_nNotesHeight, P = m_nProgressHeight;
    const Look looks[] = {
        {E, false, false, false, "Failed to detect the new version, please contact the author!", "Update", "Cancel",
         false},
        {0, true, true, false, "Found new version, whether it requires immediate update?", "Update", "Cancel", true},
        {E - P, false, false, true, nullptr, "Update", "Cancel", false},
        {E, false, false, false, "Is already the latest version, no need to update.", "Update", "OK", false},
        {E - P, true, false, true, "Download is complete, click to install the upgrade is complete.", "Install",
         "Cancel", true},
    };
    const Look checkingLook{E, false, false, false, "Checking for the new version, please wait...", "Update", "Cancel",
                            false};
    if (m_nState > UPDATE_DOWNLOADED)
        return;
    const Look &look = checking() ? checkingLook : looks[m_nState];

    m_pUpdateButton->setGeometry(m_updateRect.translated(0, -look.shrink));
    m_pCloseButton->setGeometry(m_closeRect.translated(0, -look.shrink));
    setFixedSize(m_dialogSize.width(), m_dialogSize.height() - look.shrink);

    m_pUpdateButton->setEnabled(look.updateEnabled);
    m_pNotes->setVisible(look.notesVisible);
    m_pProgress->setVisible(look.progressVisible);

    m_pMessage->setText(look.message ? QString::fromLatin1(look.message)
                                    : QStringLiteral("%1\t%2").arg(QStringLiteral("Downloading new version:"),
                                                                    QString::fromUtf8(m_info.version)));
    m_pUpdateButton->setText(QString::fromLatin1(look.updateCaption));
    m_pCloseButton->setText(QString::fromLatin1(look.closeCaption));

    // The focus goes with the default: a focused button would take Enter itself.
    QPushButton *defaultButton = look.updateIsDefault ? m_pUpdateButton : m_pCloseButton;
    defaultButton->setDefault(true);
    defaultButton->setFocus();
}

void CUpdateDlg::OnUpdateButton() {
    if (m_nState == UPDATE_AVAILABLE) {
        StartDownload();
        ApplyState();
    } else if (m_nState == UPDATE_DOWNLOADED) {
        Install();
    }
}

void CUpdateDlg::OnCloseButton() {
    if (m_nState == UPDATE_DOWNLOADING) {
        const int answer = prompts::messageBox(this, QStringLiteral("Are you sure you want to interrupt the download operation?"),
                                               prompts::MB_ICONEXCLAMATION_OKCANCEL);
        if (answer != prompts::IDOK)
            return;
        g_abortDownload = 1;
        accept();
        return;
    }
    accept(); // in state 4 done() removes the installer
}

void CUpdateDlg::StartDownload() {
    m_pDownloadDir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/glyphwerk-update-XXXXXX"));
    if (!m_pDownloadDir->isValid()) {
        prompts::messageBox(this, downloadFailedMessage(kErrorWriteFault, m_pDownloadDir->errorString()),
                            prompts::MB_OK);
        m_pDownloadDir.reset();
        return;
    }
    m_strInstallerPath = m_pDownloadDir->filePath(QString::fromStdString(installerFileName(m_info.version)));

    auto worker = std::make_unique<DownloadWorker>(m_info, m_strInstallerPath, builtInUpdateKey(), *m_pRelay);
    worker->setStackSize(m_nWorkerStackSize);
    connect(worker.get(), &QThread::finished, this, &CUpdateDlg::onWorkerFinished, Qt::QueuedConnection);
    worker->start(); // held until resume()
    if (!worker->isRunning() && !worker->isFinished()) {
        prompts::messageBox(this, QStringLiteral("Couldn't create worker thread!"), prompts::MB_ICONERROR_OK);
        discardDownload();
        return;
    }
    m_pWorker = std::move(worker);
    m_nState = UPDATE_DOWNLOADING;
    ApplyState();
    g_abortDownload = 0;
    m_pUpdateButton->setEnabled(false);
    m_pCloseButton->setFocus();
    m_pWorker->resume();
}

void CUpdateDlg::Install() {
    if (m_hooks.confirmClose && !m_hooks.confirmClose())
        return;
    if (!startInstaller(m_strInstallerPath)) {
        prompts::messageBox(this, QStringLiteral("Couldn't start the installer!"), prompts::MB_ICONERROR_OK);
        return;
    }
    m_bInstalling = true;
    m_pDownloadDir->setAutoRemove(false); // the installer runs from there
    accept();
    if (m_hooks.quit)
        m_hooks.quit();
}

bool CUpdateDlg::collectWorker(QWidget *messageParent) {
    m_pWorker->wait();
    const DownloadResult result = m_pWorker->result();
    m_pWorker.reset();
    if (!result.ok)
        prompts::messageBox(messageParent, downloadFailedMessage(result.code, result.text), prompts::MB_OK);
    return result.ok;
}

void CUpdateDlg::onWorkerFinished() {
    if (!m_pWorker)
        return; // already collected when the dialog ended
    if (collectWorker(this)) {
        m_nState = UPDATE_DOWNLOADED;
        ApplyState();
    }
    // A failed download keeps the dialog in the downloading state, as it
    // stopped; only closing is left.
}

void CUpdateDlg::done(int result) {
    QDialog::done(result);
    cancelCheck();
    if (m_pWorker) {
        g_abortDownload = 1;
        m_pRelay->detach();
        collectWorker(parentWidget());
    }
    if (!m_bInstalling)
        discardDownload();
}

void CUpdateDlg::discardDownload() {
    m_pDownloadDir.reset(); // removes the folder and whatever it holds
    m_strInstallerPath.clear();
}

} // namespace update
