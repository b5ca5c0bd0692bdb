#ifndef GLYPHWERK_APP_GLYPHWERK_APP_H
#define GLYPHWERK_APP_GLYPHWERK_APP_H

// The application: start-up and shut-down in their order, the commands the
// application handles (Open, New, recent files, Exit, About) and every route
// that opens a file (File > Open, recent files, the command line, a dropped
// file, an open request from another instance).

#include "recent_file_list.h"

#include <QObject>
#include <memory>

class CGlyphwerkDoc;
class CLoadReportDlg;
class CPreviewDlg;
class CGlyphwerkView;
class CMainFrame;
class CSingleInstance;

class CGlyphwerkApp : public QObject {
    Q_OBJECT
public:
    enum class OpenResult { Opened, AlreadyOpen, Cancelled, CannotOpen };

    CGlyphwerkApp();
    ~CGlyphwerkApp() override;

    // The settings root of the program: organisation and application.
    static const char *SettingsOrganization() { return "Local AppWizard-Generated Applications"; }
    static const char *SettingsApplication() { return "Glyphwerk"; }

    // A second `glyphwerk FILE`: hands FILE to the running instance. True
    // when it took it (this process then ends).
    static bool ForwardToRunningInstance(const QStringList &arguments);

    // Start-up with the program's arguments (arguments[0] is the program).
    // False when the program must end: the file named on the command line
    // could not be opened.
    bool InitInstance(const QStringList &arguments);
    // Shut-down: the frame, view and document go (and with them the font),
    // the recent-file list is stored, then the BDF library is cleaned up.
    void ExitInstance();

    OpenResult OpenDocumentFile(const QString &path);
    void OnFileOpen();
    void OnFileNew();
    void OnOpenRecentFile(int index);
    void OnAppAbout();
    // View > Load Report...: the load report window, shown and brought forward.
    void OnViewLoadReport();
    // View > Preview...: the one preview window, beside the main window the first time.
    void OnViewPreview();
    // The Edit menu's glyph commands.
    void OnEditNewGlyph();
    void OnEditDeleteGlyph();
    void OnEditCopyGlyph();
    void OnEditPasteGlyph();
    void OnEditUndo();
    void OnEditRedo();

    CGlyphwerkDoc *Document() const { return m_pDoc.get(); }
    CMainFrame *MainFrame() const { return m_pFrame.get(); }
    CGlyphwerkView *View() const { return m_pView; }
    // The load report window; null until a report was first shown.
    CLoadReportDlg *LoadReportDialog() const { return m_pLoadReportDlg; }
    // The preview window; null until it was first opened.
    CPreviewDlg *PreviewDialog() const { return m_pPreviewDlg; }
    const CRecentFileList &RecentFiles() const { return m_recentFiles; }

private:
    void CreateFrame();
    void ConnectCommands();
    void UpdateCommandUI();
    // Before Open, New and Exit: the editor's changes not yet applied, then the
    // document's save-changes question. False when the user cancels either.
    bool SaveModified();
    void OnPathAdded(const QString &path);
    // After every open: the report when the reader recorded something, else no report window.
    void OnFontOpened();
    void WriteProfileSettings() const;

    bool m_bLibraryReady = false;
    CRecentFileList m_recentFiles;
    std::unique_ptr<CGlyphwerkDoc> m_pDoc;
    std::unique_ptr<CMainFrame> m_pFrame;
    CGlyphwerkView *m_pView = nullptr;
    CLoadReportDlg *m_pLoadReportDlg = nullptr; // owned by the frame
    CPreviewDlg *m_pPreviewDlg = nullptr;       // owned by the frame
    CSingleInstance *m_pInstance = nullptr;
};

#endif
