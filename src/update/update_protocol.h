#ifndef GLYPHWERK_UPDATE_UPDATE_PROTOCOL_H
#define GLYPHWERK_UPDATE_UPDATE_PROTOCOL_H

// The update protocol's small rules: this program's version and how versions
// compare, where the update server is and what is requested from it, and what
// the downloaded installer is called.

#include "glyphwerk_version.h"

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

namespace update {

// This program's version and how versions compare.

// This program's version, shown unchanged; the text after its first character
// is its number.
inline constexpr std::string_view LOCAL_VERSION = "V" GLYPHWERK_VERSION;

// The number of a version text: its text after the first character read as a
// decimal number the way atof reads it (leading blanks and a sign allowed,
// "." as decimal point, an optional exponent, parsing stops at the first
// character that does not belong to the number); 0 when there is none.
double versionNumber(std::string_view version);

// True only when `latest` is strictly greater than LOCAL_VERSION by number.
bool isNewerThanLocal(std::string_view latest);

// Where the update server is: the base URL under which "/Glyphwerk/Update.txt"
// is requested.

inline constexpr char kUpdateUrlVariable[] = "GLYPHWERK_UPDATE_URL";
inline constexpr char kUpdateUrlSetting[] = "Update/ServerUrl";
inline constexpr char kDefaultUpdateUrl[] = "http://glyphwerk.example.org";

// The environment variable GLYPHWERK_UPDATE_URL when set and non-empty, else
// the setting "Update/ServerUrl" of the program's settings (organisation
// "Local AppWizard-Generated Applications", application "Glyphwerk"), else
// the default.
QString updateServerUrl();

// The description's URL under a base URL: trailing slashes of the base are dropped.
std::string descriptionUrl(const QString &serverUrl);

// What is requested: every URL carries the tick-count query.

// Milliseconds since the system started, wrapped to a signed 32-bit value.
std::int32_t tickCount();

// "%s?udp=%d": the URL with the query key udp and the tick count, so that
// consecutive requests for one file never hit a cache. The query is appended
// even when the URL already has one (it then holds a second "?").
std::string requestUrl(std::string_view url, std::int32_t tick);

// What the downloaded installer is called.

// The version text with every character other than ASCII letters, digits,
// '.', '_' and '-' dropped: the server's text never reaches a path unfiltered.
std::string sanitizedVersion(std::string_view version);

// "Glyphwerk_<version>_setup" plus ".exe" on Windows: the installer's file
// name inside its private download folder.
std::string installerFileName(std::string_view version);

} // namespace update

#endif
