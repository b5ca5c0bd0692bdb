#include "progress_relay.h"

#include <QMetaObject>
#include <QProgressBar>
#include <algorithm>

namespace update {

void ProgressRelay::report(int percent, const QString &progressLine) {
    std::unique_lock lock(m_mutex);
    if (m_detached)
        return;
    const unsigned long long ticket = ++m_posted;
    // The bar is the call's context: were it gone, the call would be dropped.
    QMetaObject::invokeMethod(
        m_bar, [this, ticket, percent, progressLine] { deliver(ticket, percent, progressLine); },
        Qt::QueuedConnection);
    m_shown.wait(lock, [&] { return m_delivered >= ticket || m_detached; });
}

void ProgressRelay::deliver(unsigned long long ticket, int percent, const QString &progressLine) {
    std::lock_guard lock(m_mutex);
    if (!m_detached) {
        m_bar->setValue(std::clamp(percent, m_bar->minimum(), m_bar->maximum()));
        m_bar->setToolTip(progressLine);
    }
    m_delivered = std::max(m_delivered, ticket);
    m_shown.notify_all();
}

void ProgressRelay::detach() {
    std::lock_guard lock(m_mutex);
    m_detached = true;
    m_shown.notify_all();
}

} // namespace update
