#ifndef GLYPHWERK_UPDATE_DOWNLOAD_WORKER_H
#define GLYPHWERK_UPDATE_DOWNLOAD_WORKER_H

// The installer download's thread. It is started held, so that the dialog can
// show the downloading state before any byte arrives, and released with
// resume(). It reaches the dialog only through the progress relay; its result
// is read by the dialog after the thread has finished.

#include "download.h"
#include "update_info.h"

#include <QByteArray>
#include <QSemaphore>
#include <QThread>

namespace update {

class ProgressRelay;

inline constexpr qint64 kDownloadDeadlineSeconds = 30 * 60;

class DownloadWorker : public QThread {
    Q_OBJECT
public:
    // Downloads the installer `info` names; it must pass verifyInstaller with
    // `publicKey` (empty: no signature required).
    DownloadWorker(UpdateInfo info, QString installerPath, QByteArray publicKey, ProgressRelay &relay);

    void resume() { m_gate.release(); }

    // After the thread has finished: the download's outcome. A failed download
    // (also one that fails its checksum or signature) leaves no file behind.
    const DownloadResult &result() const { return m_result; }

protected:
    void run() override;

private:
    const UpdateInfo m_info;
    const QString m_strInstallerPath;
    const QByteArray m_strPublicKey;
    ProgressRelay &m_relay;
    QSemaphore m_gate;
    DownloadResult m_result;
};

} // namespace update

#endif
