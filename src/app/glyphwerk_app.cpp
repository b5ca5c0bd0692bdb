#include "glyphwerk_app.h"

#include "about_box.h"
#include "glyph_clipboard.h"
#include "glyph_edit.h"
#include "glyph_edit_dialog.h"
#include "glyphwerk_doc.h"
#include "glyphwerk_view.h"
#include "load_report_dialog.h"
#include "main_frame.h"
#include "main_menu.h"
#include "metrics.h"
#include "preview_dialog.h"
#include "new_glyph_dialog.h"
#include "prompts.h"
#include "single_instance.h"
#include "string_table.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QSettings>

#include <algorithm>

namespace {

QString absolutePath(const QString &path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

// The file named on the command line: the first argument that is not an option.
QString commandLineFile(const QStringList &arguments) {
    for (const QString &argument : arguments.mid(1))
        if (!argument.startsWith(QLatin1Char('-')))
            return argument;
    return {};
}

} // namespace

CGlyphwerkApp::CGlyphwerkApp() : m_recentFiles(res::kRecentFileCount) {}

CGlyphwerkApp::~CGlyphwerkApp() { ExitInstance(); }

bool CGlyphwerkApp::ForwardToRunningInstance(const QStringList &arguments) {
    const QString file = commandLineFile(arguments);
    return !file.isEmpty() && CSingleInstance::ForwardToRunning({absolutePath(file)});
}

bool CGlyphwerkApp::InitInstance(const QStringList &arguments) {
    // 1. The property registry and the load and save options.
    bdf_setup();
    m_bLibraryReady = true;

    // 2, 3. The settings root and the recent-file list.
    QSettings settings(SettingsOrganization(), SettingsApplication());
    m_recentFiles.ReadList(settings);

    // 4. Document, frame and view.
    CreateFrame();

    // 5. Open requests from other instances, as the shell's.
    m_pInstance = new CSingleInstance(this);
    m_pInstance->Listen();
    connect(m_pInstance, &CSingleInstance::openRequested, this,
            [this](const QString &path) {
                OpenDocumentFile(path);
                m_pFrame->ActivateFrame();
            },
            Qt::QueuedConnection);

    // 6. The command line: a file to open, or a new untitled document.
    const QString file = commandLineFile(arguments);
    if (!file.isEmpty()) {
        if (OpenDocumentFile(file) != OpenResult::Opened)
            return false;
    } else {
        m_pDoc->OnNewDocument();
        m_pView->OnInitialUpdate();
    }

    // 7. The window, its start-up caption, dropped files.
    m_pFrame->show();
    m_pFrame->setWindowTitle(res::startupCaption());
    m_pFrame->setAcceptDrops(true);
    m_pView->setFocus(); // arrow keys move the selection from the start
    return true;
}

void CGlyphwerkApp::CreateFrame() {
    m_pDoc = std::make_unique<CGlyphwerkDoc>();
    m_pFrame = std::make_unique<CMainFrame>();
    m_pView = new CGlyphwerkView(m_pDoc.get());
    m_pView->SetEditorHook(GlyphEditorHook{
        [this](QWidget *view, std::function<void()> glyphChanged) -> QWidget * {
            auto *editor = new CGlyphEditDlg(view);
            // What OK is about to overwrite is kept for Undo.
            connect(editor, &CGlyphEditDlg::glyphAboutToChange, m_pDoc.get(),
                    [this] { m_pDoc->GlyphAboutToChange(m_pView->EditedEncoding()); });
            connect(editor, &CGlyphEditDlg::glyphChanged, view, glyphChanged);
            return editor;
        },
        [](QWidget *editor, bdf_glyph *glyph, const bdf_font *font) {
            static_cast<CGlyphEditDlg *>(editor)->SetGlyph(glyph, font->bbx, font->bpp, bdf_common_dwidth(font));
        },
        [](QWidget *editor) { static_cast<CGlyphEditDlg *>(editor)->DetachFont(); },
        [](QWidget *editor) { return static_cast<CGlyphEditDlg *>(editor)->ResolvePendingChanges(); },
        [](QWidget *editor, bdf_glyph *glyph) { static_cast<CGlyphEditDlg *>(editor)->RebindGlyph(glyph); }});
    m_pFrame->setCentralWidget(m_pView);
    m_pDoc->SetPromptParent(m_pFrame.get());
    m_pFrame->UpdateRecentFileMenu(m_recentFiles.Paths());

    connect(m_pDoc.get(), &CGlyphwerkDoc::updateAllViews, m_pView, &CGlyphwerkView::OnUpdate);
    connect(m_pDoc.get(), &CGlyphwerkDoc::updateAllViews, this, &CGlyphwerkApp::OnFontOpened);
    connect(m_pDoc.get(), &CGlyphwerkDoc::fontReleasing, m_pView, &CGlyphwerkView::OnFontReleasing);
    connect(m_pDoc.get(), &CGlyphwerkDoc::titleChanged, m_pFrame.get(), &CMainFrame::OnUpdateFrameTitle);
    connect(m_pDoc.get(), &CGlyphwerkDoc::pathAdded, this, &CGlyphwerkApp::OnPathAdded);
    connect(m_pDoc.get(), &CGlyphwerkDoc::stateChanged, this, &CGlyphwerkApp::UpdateCommandUI);
    connect(m_pDoc.get(), &CGlyphwerkDoc::glyphsEdited, m_pView, &CGlyphwerkView::OnGlyphsEdited);
    connect(m_pView, &CGlyphwerkView::selectionChanged, this, &CGlyphwerkApp::UpdateCommandUI);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &CGlyphwerkApp::UpdateCommandUI);
    connect(m_pFrame.get(), &CMainFrame::fileDropped, this, [this](const QString &path) { OpenDocumentFile(path); });
    m_pFrame->canClose = [this] { return SaveModified(); };
    ConnectCommands();
    UpdateCommandUI();
}

void CGlyphwerkApp::ConnectCommands() {
    auto on = [this](int id, auto handler) { connect(m_pFrame->Action(id), &QAction::triggered, this, handler); };
    on(res::ID_FILE_OPEN, [this] { OnFileOpen(); });
    on(res::ID_FILE_NEW, [this] { OnFileNew(); });
    on(res::ID_FILE_SAVE, [this] {
        if (m_pView->ResolvePendingEdit())
            m_pDoc->DoFileSave();
    });
    on(res::ID_FILE_SAVE_AS, [this] {
        if (m_pView->ResolvePendingEdit())
            m_pDoc->OnFileSaveAs();
    });
    on(res::ID_APP_EXIT, [this] { m_pFrame->close(); });
    on(res::ID_EDIT_FIND, [this] { m_pView->OnEditFind(); });
    on(res::ID_APP_ABOUT, [this] { OnAppAbout(); });
    on(res::ID_APP_UPDATE, [this] { m_pFrame->OnAppUpdate(); });
    on(res::ID_VIEW_LOAD_REPORT, [this] { OnViewLoadReport(); });
    on(res::ID_VIEW_PREVIEW, [this] { OnViewPreview(); });
    for (int i = 0; i < res::kRecentFileCount; ++i)
        on(res::ID_FILE_MRU_FILE1 + i, [this, i] { OnOpenRecentFile(i); });
    on(res::ID_EDIT_NEW_GLYPH, [this] { OnEditNewGlyph(); });
    on(res::ID_EDIT_CLEAR, [this] { OnEditDeleteGlyph(); });
    on(res::ID_EDIT_COPY, [this] { OnEditCopyGlyph(); });
    on(res::ID_EDIT_PASTE, [this] { OnEditPasteGlyph(); });
    on(res::ID_EDIT_UNDO, [this] { OnEditUndo(); });
    on(res::ID_EDIT_REDO, [this] { OnEditRedo(); });
}

void CGlyphwerkApp::UpdateCommandUI() {
    const bool enabled = m_pView->IsFontCommandEnabled();
    for (int id : {res::ID_FILE_SAVE, res::ID_FILE_SAVE_AS, res::ID_EDIT_FIND, res::ID_EDIT_NEW_GLYPH,
                   res::ID_VIEW_PREVIEW})
        m_pFrame->Action(id)->setEnabled(enabled);
    m_pFrame->Action(res::ID_VIEW_LOAD_REPORT)->setEnabled(!m_pDoc->GetLoadReport().isEmpty());
    const bool selected = enabled && m_pView->SelectedGlyph() >= 0;
    m_pFrame->Action(res::ID_EDIT_CLEAR)->setEnabled(selected);
    m_pFrame->Action(res::ID_EDIT_COPY)->setEnabled(selected);
    m_pFrame->Action(res::ID_EDIT_PASTE)->setEnabled(selected &&
                                                     glyph_clipboard::CanPaste(QGuiApplication::clipboard()->mimeData()));
    m_pFrame->Action(res::ID_EDIT_UNDO)->setEnabled(m_pDoc->UndoStack().canUndo());
    m_pFrame->Action(res::ID_EDIT_REDO)->setEnabled(m_pDoc->UndoStack().canRedo());
}

void CGlyphwerkApp::OnEditNewGlyph() {
    bdf_font *font = m_pDoc->Font();
    if (!font)
        return;
    CNewGlyphDlg dialog(m_pFrame.get(), [font](int32_t encoding) { return bdf_find_glyph(font, encoding) >= 0; });
    if (dialog.exec() == QDialog::Accepted)
        m_pDoc->NewGlyph(dialog.Encoding(), dialog.Name());
}

void CGlyphwerkApp::OnEditDeleteGlyph() {
    const int index = m_pView->SelectedGlyph();
    if (index >= 0 && m_pView->ResolvePendingEditOf(m_pDoc->Font()->glyphs[index].encoding))
        m_pDoc->DeleteGlyph(index);
}

void CGlyphwerkApp::OnEditCopyGlyph() {
    const int index = m_pView->SelectedGlyph();
    if (index < 0)
        return;
    if (QMimeData *data = glyph_clipboard::Copy(m_pDoc->Font(), &m_pDoc->Font()->glyphs[index]))
        QGuiApplication::clipboard()->setMimeData(data);
}

void CGlyphwerkApp::OnEditPasteGlyph() {
    const int index = m_pView->SelectedGlyph();
    if (index < 0 || !m_pView->ResolvePendingEditOf(m_pDoc->Font()->glyphs[index].encoding))
        return;
    bdf_glyph shape{};
    QString error;
    if (!glyph_clipboard::Paste(QGuiApplication::clipboard()->mimeData(), m_pDoc->Font(), &shape, &error)) {
        prompts::messageBox(m_pFrame.get(), error, prompts::MB_ICONEXCLAMATION_OK);
        return;
    }
    if (!m_pDoc->ReshapeGlyph(index, &shape))
        bdf_free_glyph(&shape);
}

void CGlyphwerkApp::OnEditUndo() {
    if (m_pView->ResolvePendingEditOf(m_pDoc->UndoEncoding()))
        m_pDoc->Undo();
}

void CGlyphwerkApp::OnEditRedo() {
    if (m_pView->ResolvePendingEditOf(m_pDoc->RedoEncoding()))
        m_pDoc->Redo();
}

bool CGlyphwerkApp::SaveModified() { return m_pView->ResolvePendingEdit() && m_pDoc->SaveModified(); }

void CGlyphwerkApp::OnPathAdded(const QString &path) {
    m_recentFiles.Add(path);
    m_pFrame->UpdateRecentFileMenu(m_recentFiles.Paths());
}

void CGlyphwerkApp::WriteProfileSettings() const {
    QSettings settings(SettingsOrganization(), SettingsApplication());
    m_recentFiles.WriteList(settings);
}

CGlyphwerkApp::OpenResult CGlyphwerkApp::OpenDocumentFile(const QString &path) {
    const QString absolute = absolutePath(path);
    if (!m_pDoc->PathName().isEmpty() && absolute == m_pDoc->PathName()) {
        m_pFrame->ActivateFrame();
        return OpenResult::AlreadyOpen;
    }
    if (!SaveModified())
        return OpenResult::Cancelled;
    if (!m_pDoc->OnOpenDocument(absolute))
        return OpenResult::CannotOpen;
    m_pView->OnInitialUpdate();
    return OpenResult::Opened;
}

void CGlyphwerkApp::OnFileOpen() {
    const QString filter = res::qtFilter(res::docString(res::filterName) + QStringLiteral("|*") +
                                         res::docString(res::filterExt) + QStringLiteral("|All Files (*.*)|*||"));
    const QString path = prompts::current().openFileName(m_pFrame.get(), filter);
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

void CGlyphwerkApp::OnFileNew() {
    if (!SaveModified())
        return;
    m_pDoc->OnNewDocument();
    m_pView->OnInitialUpdate();
}

void CGlyphwerkApp::OnOpenRecentFile(int index) {
    if (index < 0 || index >= m_recentFiles.Paths().size())
        return;
    if (OpenDocumentFile(m_recentFiles.Paths()[index]) != OpenResult::CannotOpen)
        return;
    m_recentFiles.Remove(index);
    m_pFrame->UpdateRecentFileMenu(m_recentFiles.Paths());
}

void CGlyphwerkApp::OnAppAbout() {
    CAboutDlg about(m_pFrame.get());
    about.exec();
}

void CGlyphwerkApp::OnFontOpened() {
    if (!m_pDoc->GetLoadReport().isEmpty())
        OnViewLoadReport();
    else if (m_pLoadReportDlg)
        m_pLoadReportDlg->hide();
}

void CGlyphwerkApp::OnViewLoadReport() {
    if (!m_pLoadReportDlg)
        m_pLoadReportDlg = new CLoadReportDlg(m_pFrame.get());
    m_pLoadReportDlg->SetReport(m_pDoc->GetLoadReport());
    m_pLoadReportDlg->show();
    m_pLoadReportDlg->raise();
    m_pLoadReportDlg->activateWindow();
}

void CGlyphwerkApp::OnViewPreview() {
    if (!m_pPreviewDlg) {
        m_pPreviewDlg = new CPreviewDlg(m_pDoc.get(), m_pFrame.get());
        connect(m_pDoc.get(), &CGlyphwerkDoc::fontEdited, m_pPreviewDlg, &CPreviewDlg::Refresh);
        connect(m_pDoc.get(), &CGlyphwerkDoc::updateAllViews, m_pPreviewDlg, &CPreviewDlg::Refresh);
        connect(m_pDoc.get(), &CGlyphwerkDoc::fontReleasing, m_pPreviewDlg, &CPreviewDlg::Clear);
        // Beside the main window, as far as the screen allows.
        const QRect frame = m_pFrame->frameGeometry();
        QPoint place(frame.right() + 1, frame.top());
        if (const QScreen *screen = m_pFrame->screen()) {
            const QRect available = screen->availableGeometry();
            place.setX(std::max(available.left(), std::min(place.x(), available.right() + 1 - m_pPreviewDlg->width())));
        }
        m_pPreviewDlg->move(place);
    }
    m_pPreviewDlg->Refresh();
    m_pPreviewDlg->show();
    m_pPreviewDlg->raise();
    m_pPreviewDlg->activateWindow();
}

void CGlyphwerkApp::ExitInstance() {
    if (!m_bLibraryReady)
        return;
    if (m_pFrame) // the framework's exit step: the recent-file list is stored
        WriteProfileSettings();
    m_pFrame.reset(); // the view, the editor and the load report window with it
    m_pView = nullptr;
    m_pLoadReportDlg = nullptr;
    m_pPreviewDlg = nullptr;
    m_pDoc.reset(); // releases the font
    delete m_pInstance;
    m_pInstance = nullptr;
    bdf_cleanup();
    m_bLibraryReady = false;
}
