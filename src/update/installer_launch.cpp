#include "installer_launch.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace update {

bool startInstaller(const QString &path) {
#ifdef Q_OS_WIN
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
#else
    if (!QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return false;
    return QProcess::startDetached(path, {}, QFileInfo(path).absolutePath());
#endif
}

} // namespace update
