#ifndef GLYPHWERK_UPDATE_DOWNLOAD_H
#define GLYPHWERK_UPDATE_DOWNLOAD_H

// The download primitive: one GET of a URL (with the udp query added) into a
// file, blocking the calling thread until the transfer has ended.

#include "download_progress.h"

#include <QString>
#include <cstdint>
#include <string_view>

namespace update {

struct DownloadResult {
    bool ok = false;
    std::uint32_t code = 0; // download_error.h; 0 on success
    QString text;           // the network layer's description of the failure
};

// The check's small downloads block the user interface: they fail when no
// data arrives for this long.
inline constexpr int kCheckStallTimeoutMs = 30000;

// Downloads `url` + "?udp=<tick count>" into `destination` (created or
// truncated). With an observer, every progress report goes through it, and its
// abort flag and deadline are also polled while no data arrives, so a stalled
// server cannot keep the transfer alive after a cancel. With `stallTimeoutMs`
// above 0, a transfer that receives nothing for that long fails with a
// time-out. Runs a local event loop on the calling thread, which may be any
// thread. A missing URL or destination, or a URL that is not http or https,
// fails without a request. Shows nothing: the caller reports failures.
DownloadResult DownloadUrlToFile(std::string_view url, const QString &destination, CDownloadProgress *observer,
                                 int stallTimeoutMs = 0);

} // namespace update

#endif
