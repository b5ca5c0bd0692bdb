#include "download_worker.h"

#include "checksum.h"
#include "download_error.h"
#include "progress_relay.h"

#include <QDateTime>
#include <QFile>

namespace update {

DownloadWorker::DownloadWorker(std::string url, QString installerPath, std::string sha256, ProgressRelay &relay)
    : m_url(std::move(url)), m_installerPath(std::move(installerPath)), m_sha256(std::move(sha256)),
      m_relay(relay) {}

void DownloadWorker::run() {
    m_gate.acquire();
    CDownloadProgress observer;
    observer.setOwner([this](const QString &, const QString &line, int percent) { m_relay.report(percent, line); });
    observer.enableDeadline(QDateTime::currentSecsSinceEpoch() + kDownloadDeadlineSeconds);
    m_result = DownloadUrlToFile(m_url, m_installerPath, &observer);
    if (m_result.ok && !m_sha256.empty()) {
        const ChecksumCheck check = checkSha256(m_installerPath, m_sha256);
        if (check != ChecksumCheck::Match)
            m_result = {false, kErrorChecksum, checksumFailureText(check)};
    }
    if (!m_result.ok)
        QFile::remove(m_installerPath);
}

} // namespace update
