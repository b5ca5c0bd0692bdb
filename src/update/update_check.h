#ifndef GLYPHWERK_UPDATE_UPDATE_CHECK_H
#define GLYPHWERK_UPDATE_UPDATE_CHECK_H

// The check sequence: fetch the update description, read it, compare the
// versions and, when the latest is newer, fetch its release notes.

#include "update_info.h"
#include "update_state.h"

#include <QByteArray>
#include <atomic>
#include <string_view>

namespace update {

struct CheckOutcome {
    UpdateState state = UPDATE_CHECK_FAILED; // 0, 1 or 3
    UpdateInfo info;         // what the description held (empty when it was not read)
    bool versionKnown = false; // the description was read: info.version is to be shown
    QByteArray notes;        // the release notes up to their first zero byte; empty when missing
};

// What a server may cost a check: each file's size, the wait for data, and the
// whole check's time. A description or notes beyond their size, a time-out or
// a cancel fail the check (notes that are missing or cannot be fetched do not).
inline constexpr qint64 kDescriptionMaxBytes = 64 * 1024;
inline constexpr qint64 kNotesMaxBytes = 1024 * 1024;
inline constexpr int kCheckStallTimeoutMs = 30000;
inline constexpr int kCheckDeadlineMs = 30000;

// Runs the whole check against the description at `descriptionUrl`, blocking
// the calling thread (any thread) until it ends, fails or `cancel` is set. The
// description copy and the notes go to private temporary files (unique names,
// readable by the user only) that are removed before this returns, on every
// outcome.
CheckOutcome checkForUpdate(std::string_view descriptionUrl, const std::atomic<bool> *cancel = nullptr,
                            int deadlineMs = kCheckDeadlineMs);

// The notes as shown: the bytes up to the first zero byte.
QByteArray notesText(const QByteArray &bytes);

} // namespace update

#endif
