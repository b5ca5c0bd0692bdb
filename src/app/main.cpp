#include "glyphwerk_app.h"
#include "main_frame.h"
#include "qt_prompts.h"

#include "glyphwerk_version.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstring>

namespace {

const char usage_text[] =
    "usage: glyphwerk [FILE]\n"
    "       glyphwerk --help | --version\n"
    "\n"
    "Glyphwerk edits bitmap fonts in the BDF 2.1 format.\n"
    "\n"
    "  glyphwerk           start with no font open\n"
    "  glyphwerk FILE      open the font FILE; when Glyphwerk is already running,\n"
    "                      FILE opens in its window instead\n"
    "  glyphwerk --help    print this text\n"
    "  glyphwerk --version print the program's name and version\n"
    "\n"
    "Qt's own options (for example -platform offscreen) are accepted as well.\n"
    "The environment variable GLYPHWERK_UPDATE_URL names the update server.\n";

// Answers --help and --version before any window system is needed, so both
// work without a display. True when the argument was one of them.
bool answeredWithoutWindows(int argc, char **argv) {
    if (argc != 2)
        return false;
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)
        std::fputs(usage_text, stdout);
    else if (std::strcmp(argv[1], "--version") == 0)
        std::fputs("glyphwerk " GLYPHWERK_VERSION "\n", stdout);
    else
        return false;
    return true;
}

} // namespace

int main(int argc, char **argv) {
    if (answeredWithoutWindows(argc, argv))
        return 0;
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(app_icon);
    QIcon icon(QStringLiteral(":/app/glyphwerk-64.png"));
    icon.addFile(QStringLiteral(":/app/glyphwerk-128.png"));
    QApplication::setWindowIcon(icon);
    QApplication::setDesktopFileName(QStringLiteral("org.example.glyphwerk.Glyphwerk"));
    QApplication::setOrganizationName(QString::fromLatin1(CGlyphwerkApp::SettingsOrganization()));
    QApplication::setApplicationName(QString::fromLatin1(CGlyphwerkApp::SettingsApplication()));
    QApplication::setQuitOnLastWindowClosed(false); // only closing the main window ends the program

    QtPrompts qtPrompts;
    prompts::install(&qtPrompts);

    const QStringList arguments = QApplication::arguments();
    if (CGlyphwerkApp::ForwardToRunningInstance(arguments))
        return 0;

    CGlyphwerkApp app;
    int result = 1;
    if (app.InitInstance(arguments)) {
        QObject::connect(app.MainFrame(), &CMainFrame::closed, &application, &QApplication::quit);
        result = QApplication::exec();
    }
    app.ExitInstance();
    return result;
}
