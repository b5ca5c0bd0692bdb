#include "update_check.h"

#include "download.h"
#include "version.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

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

QByteArray downloadNotes(std::string_view url) {
    QTemporaryFile notesFile(QDir::tempPath() + QStringLiteral("/releasenote-XXXXXX.txt"));
    const QString path = privateTemporaryFile(notesFile);
    if (path.isEmpty() || !DownloadUrlToFile(url, path, nullptr, kCheckStallTimeoutMs).ok)
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return notesText(file.readAll());
}

} // namespace

QByteArray notesText(const QByteArray &bytes) {
    const qsizetype zero = bytes.indexOf('\0');
    return zero < 0 ? bytes : bytes.left(zero);
}

CheckOutcome checkForUpdate(std::string_view descriptionUrl) {
    CheckOutcome outcome;
    QTemporaryFile copy(QDir::tempPath() + QStringLiteral("/~upd-XXXXXX.ini"));
    const QString copyPath = privateTemporaryFile(copy);
    if (copyPath.isEmpty() || !DownloadUrlToFile(descriptionUrl, copyPath, nullptr, kCheckStallTimeoutMs).ok)
        return outcome;
    if (!ReadUpdateInfo(outcome.info, copyPath))
        return outcome;
    outcome.versionKnown = true;
    if (!isNewerThanLocal(outcome.info.version)) {
        outcome.state = UPDATE_UP_TO_DATE;
        return outcome;
    }
    outcome.notes = downloadNotes(outcome.info.noteUrl);
    outcome.state = UPDATE_AVAILABLE;
    return outcome;
}

} // namespace update
