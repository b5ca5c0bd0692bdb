#ifndef GLYPHWERK_UPDATE_UPDATE_SETTINGS_H
#define GLYPHWERK_UPDATE_UPDATE_SETTINGS_H

// Where the update server is: the base URL under which "/Glyphwerk/Update.txt"
// is requested.

#include <QString>
#include <string>

namespace update {

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

} // namespace update

#endif
