#ifndef GLYPHWERK_UPDATE_UPDATE_DIALOG_H
#define GLYPHWERK_UPDATE_UPDATE_DIALOG_H

// Help > Update...: checks the update server on a thread of its own, shows both
// versions and the release notes, downloads the installer on a worker thread
// with a progress bar, and starts it. One state (0 to 4), or the check still
// running, drives the layout, the enabled and visible controls, the captions
// and the button that Enter presses (ApplyState).

#include "progress_relay.h"
#include "update_check.h"
#include "update_info.h"
#include "update_state.h"

#include <QDialog>
#include <QRect>
#include <atomic>
#include <functional>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTemporaryDir;
class QThread;

namespace update {

class DownloadWorker;

// What the dialog needs from the application to install without losing work.
struct UpdateHooks {
    // The program's normal close question (save changes, Yes/No/Cancel); false
    // keeps the program running and nothing is started.
    std::function<bool()> confirmClose;
    // Ends the program through its normal shut-down, asking nothing more; called
    // after the installer has started.
    std::function<void()> quit;
};

class CUpdateDlg : public QDialog {
    Q_OBJECT
public:
    // Starts the check against the server at `serverUrl`; the dialog shows
    // that it is checking until the outcome arrives, and ending the dialog
    // cancels the check.
    CUpdateDlg(const QString &serverUrl, UpdateHooks hooks, QWidget *parent = nullptr);
    ~CUpdateDlg() override;

    bool checking() const { return m_pCheckThread != nullptr; }
    UpdateState state() const { return m_nState; }
    // The installer's path once a download has been started; empty before.
    QString installerPath() const { return m_strInstallerPath; }

    // The worker thread's stack size in bytes; 0 (the default) is the system's.
    void setWorkerStackSize(uint bytes) { m_nWorkerStackSize = bytes; }

    void ApplyState();

protected:
    // Every way out of the dialog comes here: a running check or download is
    // cancelled and waited for, so that neither thread outlives the dialog,
    // and a downloaded installer that is not being started is removed.
    void done(int result) override;

private:
    void CheckForUpdate(const QString &serverUrl);
    void onCheckFinished();
    void cancelCheck();
    void OnUpdateButton();
    void OnCloseButton();
    void StartDownload();
    void Install();
    void onWorkerFinished();
    // Waits for the worker after an abort (or its own end) and returns whether
    // its download succeeded; shows the failure message when it did not.
    bool collectWorker(QWidget *messageParent);
    void discardDownload();

    UpdateHooks m_hooks;
    QPushButton *m_pCloseButton;
    QPushButton *m_pUpdateButton;
    QProgressBar *m_pProgress;
    QLabel *m_pMessage;
    QLabel *m_pLatestVersion;
    QPlainTextEdit *m_pNotes;
    QString m_strInstallerPath;
    QSize m_dialogSize;
    int m_nNotesHeight = 0;
    int m_nProgressHeight = 0;
    QRect m_updateRect;
    QRect m_closeRect;
    UpdateState m_nState = UPDATE_CHECK_FAILED;
    UpdateInfo m_info;

    std::unique_ptr<QThread> m_pCheckThread; // while the check runs
    std::atomic<bool> m_bCancelCheck = false;
    CheckOutcome m_checkOutcome; // written by the check's thread, read once it has finished

    std::unique_ptr<ProgressRelay> m_pRelay;
    std::unique_ptr<QTemporaryDir> m_pDownloadDir; // private folder of the installer
    std::unique_ptr<DownloadWorker> m_pWorker;
    uint m_nWorkerStackSize = 0;
    bool m_bInstalling = false;
};

} // namespace update

#endif
