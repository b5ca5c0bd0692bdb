#ifndef GLYPHWERK_APP_GLYPHWERK_DOC_H
#define GLYPHWERK_APP_GLYPHWERK_DOC_H

// The one document: owns the open font and knows its path, title and
// modified flag. Four states: empty (no font, no path), loaded (font and
// path), failed (the path of a file that held no font, no font), detached
// (a font kept by New, untitled).

#include "font_document.h"
#include "font_ptr.h"
#include "glyph_commands.h"
#include "load_report.h"

#include <QObject>
#include <QPointer>
#include <QUndoStack>
#include <QWidget>

class CGlyphwerkDoc : public QObject, public CFontDocument, public CGlyphCommandTarget {
    Q_OBJECT
public:
    CGlyphwerkDoc();
    ~CGlyphwerkDoc() override;

    // The window that owns this document's prompts.
    void SetPromptParent(QWidget *parent) { m_pPromptParent = parent; }

    bdf_font *Font() const override { return m_pFont.get(); }
    bool FontLoaded() const override { return m_bFontLoaded != 0; }
    QString PathName() const override { return m_strPathName; }
    // Modified: a change outside the undo history, or the history away from
    // where the font was last opened or saved. Clearing it marks that place.
    void SetModifiedFlag(bool modified = true) override;
    bool IsModified() const { return m_bModified || !m_undoStack.isClean(); }
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

    // Font-wide edits, each one step of the undo history (unlimited).
    QUndoStack &UndoStack() { return m_undoStack; }
    // New Glyph: an empty glyph with `encoding` and `name` (the font's common
    // device width, the font box to draw in). Its index, or -1 when the font
    // already has that encoding (or memory ran out).
    int NewGlyph(int32_t encoding, const QByteArray &name);
    // Delete Glyph: the glyph at `index` leaves the font.
    void DeleteGlyph(int index);
    // Paste Glyph: the glyph at `index` takes the bitmap, box and widths of
    // `shape` (moved in), keeping its own name and encoding. False when there
    // is no such glyph (or memory ran out).
    bool ReshapeGlyph(int index, bdf_glyph *shape);
    // Undo and Redo of the last step, and the encoding of the glyph each would
    // change (-1 when there is nothing to undo or redo).
    void Undo();
    void Redo();
    int32_t UndoEncoding() const;
    int32_t RedoEncoding() const;
    // The editor is about to write into the glyph with `encoding`: it is kept as it was, for Undo.
    void GlyphAboutToChange(int32_t encoding);
    // The editor wrote into it (WM_GLYPH_CHANGED): one step of the history.
    void GlyphChanged(int32_t encoding) override;

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
    // A font-wide edit, its undo or redo changed glyphs: `reshaped` is the
    // encoding of a glyph that now has another shape (-1 for none), `select` the
    // index to select.
    void glyphsEdited(int32_t reshaped, int select);
    // Any change of the font's glyphs (New, Delete, Paste, an editor's OK, Undo, Redo).
    void fontEdited();

private:
    void OnGlyphsEdited(int32_t encoding, bool reshaped, int select) override;
    void Push(QUndoCommand *command);
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
    QUndoStack m_undoStack;
    bdf_glyph m_editedBefore{}; // the editor's glyph before its OK
    int32_t m_nEditedBefore = -1; // its encoding; -1 while none is kept
};

#endif
