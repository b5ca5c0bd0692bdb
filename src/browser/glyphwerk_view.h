#ifndef GLYPHWERK_BROWSER_GLYPHWERK_VIEW_H
#define GLYPHWERK_BROWSER_GLYPHWERK_VIEW_H

// The font view (form 101): the glyph table with its scroll bar above, the
// "Selected Glyph Information" and "Font Information" panels below. Turns
// clicks and arrow keys into selections, shows the metrics, opens the glyph
// editor on a double-click and runs the Find command.

#include "font_document.h"
#include "glyph_editor_hook.h"
#include "glyph_table.h"
#include "wheel_notches.h"

#include <QPointer>
#include <QWidget>

class CGlyphTableArea;
class CKeylessScrollBar;
class QLabel;

class CGlyphwerkView : public QWidget {
    Q_OBJECT
public:
    CGlyphwerkView(CFontDocument *document, QWidget *parent = nullptr);
    ~CGlyphwerkView() override;

    void SetEditorHook(GlyphEditorHook hook) { m_editorHook = std::move(hook); }

    // After every Open and New: shrinks the frame to the form, hides the
    // scroll bar and shows the font from its first row.
    void OnInitialUpdate();
    // After every Open, with the font (null when the load failed).
    void OnUpdate(const bdf_font *hint);
    // The document is about to release its font: the editor lets go of it.
    void OnFontReleasing();

    // Before anything that would drop the editor's changes not yet applied
    // (another glyph, another font, Save, Exit): the editor asks whether to
    // apply them. False when the user cancels.
    bool ResolvePendingEdit();

    void SelectGlyph(int index, bool openEditor);
    // ID_EDIT_FIND.
    void OnEditFind();
    // Save, Save As and Find are enabled exactly while the document holds a font.
    bool IsFontCommandEnabled() const;
    // WM_GLYPH_CHANGED: the editor wrote a change into its glyph.
    void OnGlyphChanged();

    // For OnGlyphsEdited: the selection stays as it is.
    static constexpr int kKeepSelection = -2;
    // After the font's glyphs were inserted, removed or replaced (New, Delete,
    // Paste, Undo, Redo): the editor follows its glyph (started over when
    // `reshaped` names its glyph, hidden when its glyph is gone), the table
    // lays its grid out for the new count and shows `select` selected and in
    // view, and both panels show what the font holds now.
    void OnGlyphsEdited(int32_t reshaped, int select);
    // Before an edit replaces or removes the glyph with `encoding`: the editor's
    // changes to that glyph not yet applied are resolved (ResolvePendingEdit).
    // False when the user cancels.
    bool ResolvePendingEditOf(int32_t encoding);
    // The encoding of the glyph in the editor, or -1.
    int32_t EditedEncoding() const { return m_pEditFont ? m_nEditEncoding : -1; }
    // The selected glyph of the open font, or -1.
    int SelectedGlyph() const;

signals:
    // The selection or the font's glyph count changed: commands re-check their state.
    void selectionChanged();

public:

    // For tests and the frame.
    const CGlyphTable &GlyphTable() const { return m_glyphTable; }
    int Selected() const { return m_nSelected; }
    QWidget *EditDialog() const { return m_pEditDlg; }
    CGlyphTableArea *TableArea() const { return m_pArea; }
    CKeylessScrollBar *ScrollBar() const { return m_wndScrollBar; }
    // The form's size in pixels (template 101 in its font's base units).
    QSize FormSize() const { return m_formSize; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void LayoutControls(int cx, int cy);
    void OnDraw();
    void OnVScroll(int action);
    void ShowFontInfo(const bdf_font *font);
    void ShowGlyphInfo(const bdf_glyph *glyph);
    void SelectAtPoint(const QPoint &point, bool openEditor);
    void ScrollTo(int row);

    CFontDocument *m_pDocument;
    CKeylessScrollBar *m_wndScrollBar = nullptr;
    int m_nSelected = -1;
    CGlyphTable m_glyphTable;
    QPointer<QWidget> m_pEditDlg;
    const bdf_font *m_pEditFont = nullptr; // the font the editor points into, if any
    int32_t m_nEditEncoding = -1;          // the encoding of the editor's glyph
    GlyphEditorHook m_editorHook;

    CGlyphTableArea *m_pArea = nullptr;
    QLabel *m_pGlyphInfo = nullptr;
    QLabel *m_pFontInfo = nullptr;
    QWidget *m_pGlyphGroup = nullptr;
    QWidget *m_pFontGroup = nullptr;
    QSize m_formSize;
    WheelNotches m_wheel;
};

#endif
