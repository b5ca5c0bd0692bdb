// Makes the README's picture of the preview window: the program with FONT open,
// View > Preview... at zoom ZOOM, the window grabbed offscreen into OUT.
// Not a test; scripts/preview-screenshot builds and runs it.
//     preview_screenshot FONT ZOOM OUT

#include "glyphwerk_app.h"
#include "main_frame.h"
#include "main_menu.h"
#include "preview_dialog.h"
#include "qt_prompts.h"

#include <QAction>
#include <QApplication>
#include <QSpinBox>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv) {
    if (argc != 4) {
        std::fputs("usage: preview_screenshot FONT ZOOM OUT\n", stderr);
        return 2;
    }
    QTemporaryDir home; // no settings or recent files of the user
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_RUNTIME_DIR", (home.path() + "/runtime").toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QtPrompts qtPrompts;
    prompts::install(&qtPrompts);

    CGlyphwerkApp app;
    if (!app.InitInstance({QStringLiteral("glyphwerk"), QString::fromLocal8Bit(argv[1])}))
        return 1;
    app.MainFrame()->Action(res::ID_VIEW_PREVIEW)->trigger();
    CPreviewDlg *preview = app.PreviewDialog();
    preview->ZoomBox()->setValue(QString::fromLatin1(argv[2]).toInt());
    preview->resize(preview->sizeHint().expandedTo(preview->Image().size() + QSize(60, 90)));
    QApplication::processEvents();
    return preview->grab().save(QString::fromLocal8Bit(argv[3])) ? 0 : 1;
}
