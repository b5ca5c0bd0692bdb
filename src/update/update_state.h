#ifndef GLYPHWERK_UPDATE_UPDATE_STATE_H
#define GLYPHWERK_UPDATE_UPDATE_STATE_H

namespace update {

// What the update dialog shows; set by the check, the dialog and the download.
enum UpdateState : unsigned {
    UPDATE_CHECK_FAILED = 0, // description not fetched or not usable; the initial value
    UPDATE_AVAILABLE = 1,    // the latest version is newer
    UPDATE_DOWNLOADING = 2,  // the installer download has been started
    UPDATE_UP_TO_DATE = 3,   // this program is as new as the latest version or newer
    UPDATE_DOWNLOADED = 4,   // the installer is downloaded (and matches its checksum)
};

} // namespace update

#endif
