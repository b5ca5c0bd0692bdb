#ifndef GLYPHWERK_UPDATE_INSTALLER_NAME_H
#define GLYPHWERK_UPDATE_INSTALLER_NAME_H

#include <string>
#include <string_view>

namespace update {

// The version text with every character other than ASCII letters, digits,
// '.', '_' and '-' dropped: the server's text never reaches a path unfiltered.
std::string sanitizedVersion(std::string_view version);

// "Glyphwerk_<version>_setup" plus ".exe" on Windows: the installer's file
// name inside its private download folder.
std::string installerFileName(std::string_view version);

} // namespace update

#endif
