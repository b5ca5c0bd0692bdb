#ifndef GLYPHWERK_UPDATE_UPDATE_INFO_H
#define GLYPHWERK_UPDATE_UPDATE_INFO_H

// The update description: an INI file served as "/Glyphwerk/Update.txt" whose
// section "Update" names the latest version, its release notes and its installer.

#include <QString>
#include <string>
#include <string_view>

namespace update {

// Characters kept of each value; longer values are cut, as the classic
// profile reader's fixed buffers did.
inline constexpr std::size_t kAppNameKept = 15;
inline constexpr std::size_t kVersionKept = 7;
inline constexpr std::size_t kUrlKept = 259;

struct UpdateInfo {
    std::string appName;   // read and not used further
    std::string version;   // e.g. "V1.03"
    std::string noteUrl;   // absolute URL of the release notes
    std::string updateUrl; // absolute URL of the installer
    std::string sha256;    // optional: hexadecimal SHA-256 of the installer; empty when absent
    std::string signature; // hexadecimal Ed25519 signature of the installer; empty when absent
};

// One value of an INI text, looked up like GetPrivateProfileString: section and
// key names compare case-insensitively, the first match wins, blanks around
// names and values are dropped and one pair of matching quotes around a value
// is removed. A missing section or key reads as empty.
std::string profileString(std::string_view iniText, std::string_view section, std::string_view key);

// Fills `info` from the section "Update" of `iniText`, reading "Appname",
// "Version", "UrlNote", "UrlUpdate" in that order and stopping at the first
// required one that is empty (the rest stay empty). True when "Version",
// "UrlNote" and "UrlUpdate" are all non-empty. "Sha256" and "Signature" are
// read in full.
bool parseUpdateInfo(UpdateInfo &info, std::string_view iniText);

// parseUpdateInfo on the contents of the file at `path`; false when it cannot be read.
bool ReadUpdateInfo(UpdateInfo &info, const QString &path);

} // namespace update

#endif
