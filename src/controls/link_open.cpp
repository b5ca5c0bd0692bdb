#include "link_open.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <array>

namespace controls {

namespace {

constexpr int kShellSuccess = 42;    // any value above 32
constexpr int kNoAssociation = 31;
constexpr int kFileNotFound = 2;
constexpr int kOutOfResources = 0;
constexpr int kCommandStarted = 33;  // any value above 31

constexpr std::array<const char *, 5> kPlaceholders = {"%1", "%u", "%U", "%f", "%F"};

#ifdef Q_OS_WIN
std::optional<QString> registeredDefault(const QString &key) {
    QSettings classes(QStringLiteral("HKEY_CLASSES_ROOT\\") + key, QSettings::NativeFormat);
    const QString value = classes.value(QStringLiteral("Default")).toString();
    return value.isEmpty() ? std::nullopt : std::optional<QString>(value);
}

std::optional<QString> registeredWebCommand() {
    const auto type = registeredDefault(QStringLiteral(".htm"));
    if (!type)
        return std::nullopt;
    return registeredDefault(*type + QStringLiteral("\\shell\\open\\command"));
}
#else
// The Exec line of the desktop entry that handles http links.
std::optional<QString> registeredWebCommand() {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                             QStringLiteral("x-scheme-handler/http")});
    if (!query.waitForFinished(3000) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return std::nullopt;
    const QString entry = QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
    const QString path = entry.isEmpty() ? QString()
                                         : QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entry);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inEntry = line == QLatin1String("[Desktop Entry]");
        else if (inEntry && line.startsWith(QLatin1String("Exec=")))
            return line.mid(5);
    }
    return std::nullopt;
}
#endif

int shellOpen(const QString &url) {
    const QUrl target(url);
    if (!target.isValid())
        return kFileNotFound;
    return QDesktopServices::openUrl(target) ? kShellSuccess : kNoAssociation;
}

int runCommand(const QString &command) {
    QStringList arguments = QProcess::splitCommand(command);
    if (arguments.isEmpty())
        return kFileNotFound;
    const QString program = arguments.takeFirst();
    const bool found = QFileInfo(program).isExecutable() || !QStandardPaths::findExecutable(program).isEmpty();
    if (!found)
        return kFileNotFound;
    return QProcess::startDetached(program, arguments) ? kCommandStarted : kOutOfResources;
}

} // namespace

LinkPlatform desktopLinkPlatform() { return {shellOpen, registeredWebCommand, runCommand}; }

QString fallbackCommand(const QString &registered, const QString &url) {
    qsizetype cut = -1;
    for (const char *placeholder : kPlaceholders) {
        if ((cut = registered.indexOf(QStringLiteral("\"%1\"").arg(QLatin1String(placeholder)))) >= 0)
            break;
    }
    if (cut < 0) {
        for (const char *placeholder : kPlaceholders) {
            if ((cut = registered.indexOf(QLatin1String(placeholder))) >= 0)
                break;
        }
    }
    return (cut < 0 ? registered : registered.left(cut)) + QLatin1Char(' ') + url;
}

int openUrl(const QString &url, const LinkPlatform &platform) {
    const int shellResult = platform.shellOpen(url);
    if (shellResult > 32)
        return shellResult;
    const std::optional<QString> command = platform.webPageCommand();
    if (!command)
        return shellResult;
    return platform.runCommand(fallbackCommand(*command, url));
}

QString openErrorText(int code) {
    QString reason;
    switch (code) {
    case 0: reason = QStringLiteral("The operating system is out\nof memory or resources."); break;
    case 2: reason = QStringLiteral("The specified file was not found."); break;
    case 3: reason = QStringLiteral("The specified path was not found."); break;
    case 5: reason = QStringLiteral("The operating system denied\naccess to the specified file."); break;
    case 8: reason = QStringLiteral("There was not enough memory to complete the operation."); break;
    case 11: reason = QStringLiteral("The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."); break;
    case 26: reason = QStringLiteral("A sharing violation occurred. "); break;
    case 27: reason = QStringLiteral("The filename association is\nincomplete or invalid."); break;
    case 28: reason = QStringLiteral("The DDE transaction could not\nbe completed because the request timed out."); break;
    case 29: reason = QStringLiteral("The DDE transaction failed."); break;
    case 30:
        reason = QStringLiteral("The DDE transaction could not\nbe completed because other DDE transactions\n"
                                "were being processed.");
        break;
    case 31: reason = QStringLiteral("There is no application associated\nwith the given filename extension."); break;
    case 32: reason = QStringLiteral("The specified dynamic-link library was not found."); break;
    default: reason = QStringLiteral("Unknown Error (%1) occurred.").arg(code); break;
    }
    return QStringLiteral("Unable to open hyperlink:\n\n") + reason;
}

} // namespace controls
