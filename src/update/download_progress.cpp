#include "download_progress.h"

#include <QDateTime>
#include <QLocale>
#include <climits>

namespace update {

std::atomic<std::int32_t> g_abortDownload{0};

int progressPercent(quint64 progress, quint64 progressMax) {
    if (progressMax == 0)
        return 0;
    const double percent = double(progress) * 100.0 / double(progressMax);
    return percent >= double(INT_MAX) ? INT_MAX : int(percent);
}

QString progressLine(quint64 progress, quint64 progressMax) {
    const QLocale c = QLocale::c();
    const auto size = [&](quint64 bytes) {
        return c.formattedDataSize(qint64(bytes), 2, QLocale::DataSizeTraditionalFormat);
    };
    if (progressMax == 0)
        return QStringLiteral("Downloaded %1 (total size unknown)").arg(size(progress));
    return QStringLiteral("Downloaded %1 of %2").arg(size(progress), size(progressMax));
}

bool CDownloadProgress::mustStop() const {
    if (g_abortDownload.load() != 0)
        return true;
    return m_bDeadlineEnabled && QDateTime::currentSecsSinceEpoch() > m_nDeadline;
}

std::uint32_t CDownloadProgress::OnProgress(quint64 progress, quint64 progressMax, std::uint32_t,
                                            const QString &statusText) {
    if (mustStop())
        return E_ABORT_;
    if (m_owner)
        m_owner(statusText, progressLine(progress, progressMax), progressPercent(progress, progressMax));
    return S_OK_;
}

} // namespace update
