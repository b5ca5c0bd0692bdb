#ifndef GLYPHWERK_UPDATE_PROGRESS_RELAY_H
#define GLYPHWERK_UPDATE_PROGRESS_RELAY_H

// Carries the download's percentage from the worker thread to the dialog's
// progress bar synchronously: the worker waits until the user-interface thread
// has set the bar. Unlike a blocking queued call it can be cut: once the
// dialog detaches, a waiting worker goes on at once and nothing more reaches
// the bar, so the dialog can wait for the worker without a deadlock.

#include <QString>
#include <condition_variable>
#include <mutex>

class QProgressBar;

namespace update {

class ProgressRelay {
public:
    explicit ProgressRelay(QProgressBar *bar) : m_pBar(bar) {}

    // Worker thread: shows `percent` (clamped to the bar's 0 to 100, as the
    // classic control does) with `progressLine` as the bar's tool tip.
    void report(int percent, const QString &progressLine);

    // User-interface thread: ends all reporting and releases a waiting worker.
    void detach();

private:
    void deliver(unsigned long long ticket, int percent, const QString &progressLine);

    QProgressBar *m_pBar;
    std::mutex m_mutex;
    std::condition_variable m_shown;
    unsigned long long m_nPosted = 0;
    unsigned long long m_nDelivered = 0;
    bool m_bDetached = false;
};

} // namespace update

#endif
