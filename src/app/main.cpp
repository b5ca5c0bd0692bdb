#include "glyphwerk_app.h"
#include "main_frame.h"
#include "qt_prompts.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(app_icon);
    QIcon icon(QStringLiteral(":/app/glyphwerk-64.png"));
    icon.addFile(QStringLiteral(":/app/glyphwerk-128.png"));
    QApplication::setWindowIcon(icon);
    QApplication::setDesktopFileName(QStringLiteral("glyphwerk"));
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
