#include "progress_relay.h"

#include <QMetaObject>
#include <QProgressBar>
#include <algorithm>

namespace update {

void ProgressRelay::report(int percent, const QString &progressLine) {
    std::unique_lock lock(m_mutex);
    if (m_bDetached)
        return;
    const unsigned long long ticket = ++m_nPosted;
    // The bar is the call's context: were it gone, the call would be dropped.
    QMetaObject::invokeMethod(
        m_pBar, [this, ticket, percent, progressLine] { deliver(ticket, percent, progressLine); },
        Qt::QueuedConnection);
    m_shown.wait(lock, [&] { return m_nDelivered >= ticket || m_bDetached; });
}

void ProgressRelay::deliver(unsigned long long ticket, int percent, const QString &progressLine) {
    std::lock_guard lock(m_mutex);
    if (!m_bDetached) {
        m_pBar->setValue(std::clamp(percent, m_pBar->minimum(), m_pBar->maximum()));
        m_pBar->setToolTip(progressLine);
    }
    m_nDelivered = std::max(m_nDelivered, ticket);
    m_shown.notify_all();
}

void ProgressRelay::detach() {
    std::lock_guard lock(m_mutex);
    m_bDetached = true;
    m_shown.notify_all();
}

} // namespace update
