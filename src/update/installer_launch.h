#ifndef GLYPHWERK_UPDATE_INSTALLER_LAUNCH_H
#define GLYPHWERK_UPDATE_INSTALLER_LAUNCH_H

#include <QString>

namespace update {

// Starts the downloaded installer: on Windows with the desktop's open action
// (which also raises it to administrator rights when it asks for them),
// elsewhere as a program of its own, made executable for its owner first.
// False when it could not be started.
bool startInstaller(const QString &path);

} // namespace update

#endif
