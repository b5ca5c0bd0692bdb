#ifndef GLYPHWERK_APP_GLYPHWERK_DOC_H
#define GLYPHWERK_APP_GLYPHWERK_DOC_H

// The one document: owns the open font and knows its path, title and
// modified flag. Four states: empty (no font, no path), loaded (font and
// path), failed (the path of a file that held no font, no font), detached
// (a font kept by New, untitled).

#include "font_document.h"
#include "font_ptr.h"
#include "load_report.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

class CGlyphwerkDoc : public QObject, public CFontDocument {
    Q_OBJECT
public:
    CGlyphwerkDoc();
    ~CGlyphwerkDoc() override;

    // The window that owns this document's prompts.
    void SetPromptParent(QWidget *parent) { m_pPromptParent = parent; }

    bdf_font *Font() const override { return m_pFont.get(); }
    bool FontLoaded() const override { return m_bFontLoaded != 0; }
    QString PathName() const override { return m_strPathName; }
    void SetModifiedFlag(bool modified = true) override;
    bool IsModified() const { return m_bModified; }
    QString GetTitle() const { return m_strTitle; }
    // What the reader did in the last open that gave a font; empty otherwise.
    const LoadReport &GetLoadReport() const { return m_loadReport; }

    bool OnNewDocument();
    // Opens `path` (absolute). False when the file cannot be opened for
    // reading (after the failure message); the document is then unchanged.
    bool OnOpenDocument(const QString &path);
    // Writes the font to `path`. False, after an error message, when it could
    // not be saved: the modified flag stays and the old file is untouched.
    bool OnSaveDocument(const QString &path);
    // Save As: a copy under a chosen name; path, title and modified flag stay.
    void OnFileSaveAs();
    // Save: to the document's file, or to a name asked for when it has none,
    // or its file is gone or read-only. Asks first when that file was read only
    // in part. False when cancelled or failed.
    bool DoFileSave();
    // Before Open, New and Exit: the save-changes question when modified.
    // False when the user cancels (or the save fails).
    bool SaveModified();

signals:
    // The title changed (Open, New, Save under a new name): the frame's caption follows.
    void titleChanged(const QString &title);
    // A path became the document's path: it enters the recent-file list.
    void pathAdded(const QString &path);
    // The font is about to be released: nothing may keep pointers into it.
    void fontReleasing();
    // UpdateAllViews after an Open, with the new font as hint (null after a failure).
    void updateAllViews(const bdf_font *hint);
    // The font, path or modified flag changed: commands re-check their state.
    void stateChanged();
    // Glyphs of the open font changed in memory (an edit applied from the glyph editor).
    void fontEdited();

private:
    bool DoSave(const QString &path, bool replace);
    void SetPathName(const QString &path);
    void SetTitle(const QString &title);
    bool SaveFontTo(const QString &path);

    FontPtr m_pFont;
    int m_bFontLoaded = 0;
    QString m_strPathName;
    QString m_strTitle;
    bool m_bModified = false;
    LoadReport m_loadReport;
    QString m_strPartlyReadPath; // the file the font was read from in part, until Save replaces it
    QPointer<QWidget> m_pPromptParent;
};

#endif
