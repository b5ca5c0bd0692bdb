#include "update_check.h"

#include "download.h"
#include "download_error.h"
#include "update_protocol.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <optional>

namespace update {

namespace {

// A fresh private file in the temporary folder, closed but kept until the
// object dies; empty path when none can be made.
QString privateTemporaryFile(QTemporaryFile &file) {
    if (!file.open())
        return {};
    file.close();
    return file.fileName();
}

// The notes up to their first zero byte; empty when they are missing or cannot
// be read; nothing when the check must fail (too large, too slow, cancelled).
std::optional<QByteArray> downloadNotes(std::string_view url, const DownloadLimits &limits) {
    QTemporaryFile notesFile(QDir::tempPath() + QStringLiteral("/releasenote-XXXXXX.txt"));
    const QString path = privateTemporaryFile(notesFile);
    if (path.isEmpty())
        return QByteArray();
    const DownloadResult result = DownloadUrlToFile(url, path, nullptr, limits);
    // Limits fail the check; notes that are missing or cannot be fetched do not.
    if (result.code == kErrorTooLarge || result.code == kErrorTimeout || result.code == kErrorAborted)
        return std::nullopt;
    QFile file(path);
    if (!result.ok || !file.open(QIODevice::ReadOnly))
        return QByteArray();
    return notesText(file.readAll());
}

} // namespace

QByteArray notesText(const QByteArray &bytes) {
    const qsizetype zero = bytes.indexOf('\0');
    return zero < 0 ? bytes : bytes.left(zero);
}

CheckOutcome checkForUpdate(std::string_view descriptionUrl, const std::atomic<bool> *cancel, int deadlineMs) {
    DownloadLimits limits{kCheckStallTimeoutMs, kDescriptionMaxBytes, QDeadlineTimer(deadlineMs), cancel};
    CheckOutcome outcome;
    QTemporaryFile copy(QDir::tempPath() + QStringLiteral("/~upd-XXXXXX.ini"));
    const QString copyPath = privateTemporaryFile(copy);
    if (copyPath.isEmpty() || !DownloadUrlToFile(descriptionUrl, copyPath, nullptr, limits).ok)
        return outcome;
    if (!ReadUpdateInfo(outcome.info, copyPath))
        return outcome;
    outcome.versionKnown = true;
    if (!isNewerThanLocal(outcome.info.version)) {
        outcome.state = UPDATE_UP_TO_DATE;
        return outcome;
    }
    limits.maxBytes = kNotesMaxBytes;
    const std::optional<QByteArray> notes = downloadNotes(outcome.info.noteUrl, limits);
    if (!notes)
        return CheckOutcome{};
    outcome.notes = *notes;
    outcome.state = UPDATE_AVAILABLE;
    return outcome;
}

} // namespace update
