#ifndef GLYPHWERK_CONTROLS_LINK_OPEN_H
#define GLYPHWERK_CONTROLS_LINK_OPEN_H

// How a link label opens its URL: the desktop's own open action first, then
// the command the desktop registered for web pages, run with the URL. The
// steps are plain functions over a small platform interface, so that tests can
// drive every branch without a desktop.
//
// Result codes follow the classic shell: above 32 is success; otherwise
// 2 file not found, 3 path not found, 5 access denied, 8 out of memory,
// 11 bad executable, 26 sharing violation, 27 incomplete association,
// 28-30 DDE failures, 31 no application associated, 32 library not found.

#include <QString>
#include <functional>
#include <optional>

namespace controls {

struct LinkPlatform {
    // Opens `url` with the desktop's open action; a code as above.
    std::function<int(const QString &url)> shellOpen;
    // The command registered for web pages (with its placeholder), if any.
    std::function<std::optional<QString>()> webPageCommand;
    // Starts `command`; above 31 is success, else a code as above.
    std::function<int(const QString &command)> runCommand;
};

// The platform of this desktop: QDesktopServices; the default web browser's
// command (the registry's ".htm" open command on Windows, the desktop entry of
// the x-scheme-handler/http default elsewhere); a detached process.
LinkPlatform desktopLinkPlatform();

// The registered command cut at its placeholder, then " " and the URL. The
// quoted placeholder ("%1" in quotes) is looked for first, then the bare one;
// desktop entries' %u, %U, %f and %F count as placeholders too. Without any,
// " " and the URL are appended to the whole command.
QString fallbackCommand(const QString &registered, const QString &url);

// The desktop's open action; when it fails, the registered web-page command
// with the URL. When no command is registered the shell's code is returned.
int openUrl(const QString &url, const LinkPlatform &platform);

// "Unable to open hyperlink:\n\n" and the text for `code`.
QString openErrorText(int code);

} // namespace controls

#endif
