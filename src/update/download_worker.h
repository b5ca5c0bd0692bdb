#ifndef GLYPHWERK_UPDATE_DOWNLOAD_WORKER_H
#define GLYPHWERK_UPDATE_DOWNLOAD_WORKER_H

// The installer download's thread. It is started held, so that the dialog can
// show the downloading state before any byte arrives, and released with
// resume(). It reaches the dialog only through the progress relay; its result
// is read by the dialog after the thread has finished.

#include "download.h"

#include <QSemaphore>
#include <QThread>
#include <string>

namespace update {

class ProgressRelay;

inline constexpr qint64 kDownloadDeadlineSeconds = 30 * 60;

class DownloadWorker : public QThread {
    Q_OBJECT
public:
    // `sha256`: the description's checksum of the installer, or empty for none.
    DownloadWorker(std::string url, QString installerPath, std::string sha256, ProgressRelay &relay);

    void resume() { m_gate.release(); }

    // After the thread has finished: the download's outcome. A failed download
    // (also one whose checksum does not match) leaves no file behind.
    const DownloadResult &result() const { return m_result; }

protected:
    void run() override;

private:
    const std::string m_url;
    const QString m_installerPath;
    const std::string m_sha256;
    ProgressRelay &m_relay;
    QSemaphore m_gate;
    DownloadResult m_result;
};

} // namespace update

#endif
