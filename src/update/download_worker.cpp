#include "download_worker.h"

#include "installer_check.h"
#include "progress_relay.h"

#include <QDateTime>
#include <QFile>

namespace update {

DownloadWorker::DownloadWorker(UpdateInfo info, QString installerPath, QByteArray publicKey, ProgressRelay &relay)
    : m_info(std::move(info)), m_strInstallerPath(std::move(installerPath)), m_strPublicKey(std::move(publicKey)),
      m_relay(relay) {}

void DownloadWorker::run() {
    m_gate.acquire();
    CDownloadProgress observer;
    observer.setOwner([this](const QString &, const QString &line, int percent) { m_relay.report(percent, line); });
    observer.enableDeadline(QDateTime::currentSecsSinceEpoch() + kDownloadDeadlineSeconds);
    m_result = DownloadUrlToFile(m_info.updateUrl, m_strInstallerPath, &observer);
    if (m_result.ok)
        m_result = verifyInstaller(m_strInstallerPath, m_info, m_strPublicKey);
    if (!m_result.ok)
        QFile::remove(m_strInstallerPath);
}

} // namespace update
