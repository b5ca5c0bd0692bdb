#ifndef GLYPHWERK_UPDATE_DOWNLOAD_H
#define GLYPHWERK_UPDATE_DOWNLOAD_H

// The download primitive: one GET of a URL (with the udp query added) into a
// file, blocking the calling thread until the transfer has ended.

#include "download_progress.h"

#include <QDeadlineTimer>
#include <QString>
#include <atomic>
#include <cstdint>
#include <string_view>

namespace update {

struct DownloadResult {
    bool ok = false;
    std::uint32_t code = 0; // download_error.h; 0 on success
    QString text;           // the network layer's description of the failure
};

// What a server may cost one transfer; the defaults bound nothing.
struct DownloadLimits {
    int stallTimeoutMs = 0; // above 0: fail with a time-out when no data arrives for this long
    qint64 maxBytes = 0;    // above 0: fail with kErrorTooLarge before the file would grow past this
    QDeadlineTimer deadline{QDeadlineTimer::Forever}; // fail with a time-out once it has passed
    const std::atomic<bool> *cancel = nullptr;         // polled: once set, the transfer ends as aborted
};

// Downloads `url` + "?udp=<tick count>" into `destination` (created or
// truncated). With an observer, every progress report goes through it, and its
// abort flag and deadline are also polled while no data arrives, so a stalled
// server cannot keep the transfer alive after a cancel; the limits' cancel
// flag is polled the same way. Runs a local event loop on the calling thread,
// which may be any thread. A missing URL or destination, or a URL that is not
// http or https, fails without a request. Shows nothing: the caller reports
// failures. A failed transfer may leave a partial file: the caller owns it.
DownloadResult DownloadUrlToFile(std::string_view url, const QString &destination, CDownloadProgress *observer,
                                 const DownloadLimits &limits = {});

} // namespace update

#endif
