#ifndef GLYPHWERK_UPDATE_DOWNLOAD_PROGRESS_H
#define GLYPHWERK_UPDATE_DOWNLOAD_PROGRESS_H

// The installer download's progress observer: turns byte counts into a
// percentage for the dialog's progress bar and decides, at each report and at
// each poll, whether the transfer must stop (the user's abort or the deadline).

#include <QString>
#include <QtGlobal>
#include <atomic>
#include <cstdint>
#include <functional>

namespace update {

// Set to 1 by the user-interface thread when the user confirms a cancel (or
// leaves the dialog); cleared before a download starts; read by the observer.
extern std::atomic<std::int32_t> g_abortDownload;

inline constexpr std::uint32_t S_OK_ = 0;
inline constexpr std::uint32_t E_ABORT_ = 0x80004004;

// 0 when the total is unknown (0); otherwise progress * 100 / total truncated
// toward zero, not clamped (a progress above the total gives more than 100).
int progressPercent(quint64 progress, quint64 progressMax);

// "Downloaded <progress> of <total>", or "Downloaded <progress> (total size unknown)".
QString progressLine(quint64 progress, quint64 progressMax);

class CDownloadProgress {
public:
    // Receives the status text, the progress line and the percentage; called on
    // the downloading thread.
    using Owner = std::function<void(const QString &statusText, const QString &progressLine, int percent)>;

    void setOwner(Owner owner) { m_owner = std::move(owner); }

    // The transfer stops at the first report or poll strictly later than
    // `deadline` (seconds since the epoch).
    void enableDeadline(qint64 deadline) {
        m_bDeadlineEnabled = true;
        m_nDeadline = deadline;
    }

    // True when the transfer must end: the abort flag is set or the deadline passed.
    bool mustStop() const;

    // One progress report: E_ABORT_ when the transfer must end, otherwise the
    // percentage goes to the owner and the result is S_OK_. The status code is
    // not used.
    std::uint32_t OnProgress(quint64 progress, quint64 progressMax, std::uint32_t statusCode,
                             const QString &statusText);

private:
    Owner m_owner;
    bool m_bDeadlineEnabled = false;
    qint64 m_nDeadline = 0;
};

} // namespace update

#endif
