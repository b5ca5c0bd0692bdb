#include "main_frame.h"

#include "main_menu.h"
#include "string_table.h"
#include "update_dialog.h"
#include "update_protocol.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>

namespace {

QString firstLocalFile(const QMimeData *data) {
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl &url : data->urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return {};
}

} // namespace

CMainFrame::CMainFrame() {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(1024, 768);
    setWindowTitle(res::loadString(res::AFX_IDS_APP_TITLE));
    BuildMenu();
}

void CMainFrame::BuildMenu() {
    QMap<QString, QMenu *> popups;
    for (const res::MenuEntry &entry : res::mainMenu()) {
        if (!entry.popup) { // an accelerator without a menu item
            auto *action = new QAction(this);
            action->setShortcut(QKeySequence(QString::fromLatin1(entry.accelerator)));
            addAction(action);
            m_actions.insert(entry.id, action);
            continue;
        }
        const QString popupText = QString::fromLatin1(entry.popup);
        QMenu *&menu = popups[popupText];
        if (!menu)
            menu = menuBar()->addMenu(popupText);
        if (entry.flags & res::MenuSeparator) {
            menu->addSeparator();
            continue;
        }
        const int count = entry.id == res::ID_FILE_MRU_FILE1 ? res::kRecentFileCount : 1;
        for (int i = 0; i < count; ++i) {
            // The text after the tab is the shortcut as the menu shows it.
            auto *action = menu->addAction(QString::fromLatin1(entry.text));
            if (entry.accelerator)
                action->setShortcut(QKeySequence(QString::fromLatin1(entry.accelerator)));
            action->setEnabled(!(entry.flags & res::MenuGrayed));
            action->setVisible(i == 0);
            m_actions.insert(entry.id + i, action);
        }
    }
}

bool CMainFrame::event(QEvent *event) {
    const bool handled = QMainWindow::event(event);
    // Decorations become known only once a window manager has framed the shown window.
    if (event->type() == QEvent::Show || event->type() == QEvent::Move || event->type() == QEvent::Resize)
        FitDecorations();
    return handled;
}

// The fixed size is the client area's: it gives up what the decorations take, so
// the outer size stays what it was set to, and any shrink the view made since stays too.
void CMainFrame::FitDecorations() {
    const QSize decorations = frameGeometry().size() - size();
    if (decorations == m_decorations)
        return;
    const QSize client = size() - (decorations - m_decorations);
    m_decorations = decorations;
    setFixedSize(client);
}

void CMainFrame::OnUpdateFrameTitle(const QString &documentTitle) {
    setWindowTitle(documentTitle + QStringLiteral(" - ") + res::docString(res::windowTitle));
}

void CMainFrame::UpdateRecentFileMenu(const QStringList &paths) {
    for (int i = 0; i < res::kRecentFileCount; ++i) {
        QAction *action = m_actions.value(res::ID_FILE_MRU_FILE1 + i);
        if (i < paths.size()) {
            QString path = QDir::toNativeSeparators(paths[i]);
            path.replace(QLatin1Char('&'), QLatin1String("&&"));
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
            action->setEnabled(true);
            action->setVisible(true);
        } else if (i == 0) {
            action->setText(QStringLiteral("Recent &Files"));
            action->setEnabled(false);
            action->setVisible(true);
        } else {
            action->setVisible(false);
        }
    }
}

void CMainFrame::ActivateFrame() {
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void CMainFrame::closeEvent(QCloseEvent *event) {
    if (!m_bCloseConfirmed && canClose && !canClose()) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

void CMainFrame::OnAppUpdate() {
    // Installing ends the program: first the normal close question, so that no
    // work is lost; after the installer has started, the normal shut-down.
    update::UpdateHooks hooks;
    hooks.confirmClose = [this] { return !canClose || canClose(); };
    hooks.quit = [this] {
        m_bCloseConfirmed = true; // answered already
        close();
    };
    update::CUpdateDlg dialog(update::updateServerUrl(), std::move(hooks), this);
    dialog.exec();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent *event) {
    if (!firstLocalFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent *event) {
    const QString path = firstLocalFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    emit fileDropped(path);
}
