#ifndef GLYPHWERK_APP_MAIN_FRAME_H
#define GLYPHWERK_APP_MAIN_FRAME_H

// The main window: 1024 x 768 outside (window manager decorations included),
// not resizable, no maximise box, the menu and accelerators of resource 128,
// the view, no tool bar and no status bar. Accepts dropped files.

#include <QMainWindow>
#include <QMap>
#include <functional>

class QAction;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame();

    // The action of command `id` (menu items, accelerators, recent files).
    QAction *Action(int id) const { return m_actions.value(id); }

    // The framework's title rule: "<document title> - Glyphwerk".
    void OnUpdateFrameTitle(const QString &documentTitle);
    // The recent-file entries of the File menu, newest first.
    void UpdateRecentFileMenu(const QStringList &paths);
    // Brings the window to the front (an open request from the shell).
    void ActivateFrame();
    // ID_APP_UPDATE: the update dialog, modally.
    void OnAppUpdate();

    // Asked before the window closes; false keeps it open.
    std::function<bool()> canClose;

signals:
    void fileDropped(const QString &path);
    // The window closed: the program ends.
    void closed();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void BuildMenu();
    void FitDecorations();

    QMap<int, QAction *> m_actions;
    bool m_bCloseConfirmed = false; // the close question was already answered
    QSize m_decorations{0, 0}; // frame size less client size, as last fitted
};

#endif
