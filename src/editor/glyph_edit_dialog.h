#ifndef GLYPHWERK_EDITOR_GLYPH_EDIT_DIALOG_H
#define GLYPHWERK_EDITOR_GLYPH_EDIT_DIALOG_H

// The modeless "Glyph Edit" window (dialog 131). The font view creates it once,
// hands it a glyph of the document's font with SetGlyph and shows it. OK writes
// the name, the device width and the edited pixels into that glyph record in
// place and emits glyphChanged (the view's WM_GLYPH_CHANGED); Cancel hides it
// without writing anything. Escape and the close box first ask about changes
// not yet applied, as must everything else that would drop them.
//
// The dialog holds a pointer into the document's font while it is open: the
// document calls DetachFont before it replaces or releases the font.

#include "bdf.h"
#include "edit_canvas.h"
#include "wheel_notches.h"

#include <QDialog>
#include <QTimer>

#include <optional>

class CCanvasFrame;
class CIconButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QScrollBar;

class CGlyphEditDlg : public QDialog {
    Q_OBJECT

public:
    // The message the view receives after OK changed a glyph.
    static constexpr int WM_GLYPH_CHANGED = 1025;

    explicit CGlyphEditDlg(QWidget *view);
    ~CGlyphEditDlg() override;

    // Starts editing `glyph` (an entry of the font's glyphs; null leaves the
    // window blank) of a font with box `fontBox` and `bpp` bits per pixel (the
    // font's `bpp`: a 2- or 4-bit font is edited at its own depth),
    // discarding unapplied changes. `commonWidth` is the device width Save
    // gives every glyph of a monospaced or character-cell font (-1 in a
    // proportional font): the Device Width field then shows it and cannot be
    // edited, since a width of the glyph's own would be lost on Save.
    // Returns false, with a notice, for a glyph that cannot be edited; the
    // window then stays blank.
    bool SetGlyph(bdf_glyph *glyph, const bdf_bbx &fontBox, int bpp, int commonWidth = -1);
    // Hides the window and forgets the glyph and every reference into its font.
    void DetachFont();
    // The glyph being edited moved in memory (its font's glyph list changed
    // around it): edit on at `glyph`, keeping the history and every change
    // not yet applied.
    void RebindGlyph(bdf_glyph *glyph) { m_canvas.RebindGlyph(glyph); }

    // What OK does; returns whether the glyph changed (and glyphChanged was emitted).
    bool OnOK();
    // Writes the fields and the current pixels into the glyph; true when anything changed.
    bool ApplyToGlyph();
    // Before anything that would drop changes on show and not yet applied
    // (pixels, a typed name or device width): asks whether to apply them to the glyph. Yes applies them as OK
    // does, No starts the glyph over as stored; false (Cancel) leaves the window
    // and its changes as they were. Without such changes nothing is asked.
    bool ResolvePendingChanges();

    // Canvas operations bound to the buttons and keys.
    void ZoomIn();
    void ZoomOut();
    void Undo();
    void Redo();
    void Rebuild();
    void Present();
    // The part of the canvas frame (in its own coordinates) that shows content.
    QRect GetViewRect() const;
    // The cell under a point of the dialog, if any.
    bool PointToCell(QPoint point, Cell *cell) const;
    void ShowCoordinates(int k, int r);
    void ShowGlyphFields();
    // Enables Undo and Redo as the history allows (every 500 ms).
    void OnTimer();

    CEditCanvas &Canvas() { return m_canvas; }
    const QTimer &UndoRedoTimer() const { return m_timer; }

signals:
    // OK is about to write into the glyph: its state before, for font-wide undo.
    void glyphAboutToChange();
    // WM_GLYPH_CHANGED: emitted synchronously after OK wrote a change into the glyph.
    void glyphChanged();

protected:
    // Escape and the close box.
    void reject() override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void OnCanvasMouse(int event, QPoint point);
    // Arrow keys move a selection; Ctrl+Z, Ctrl+Y, Ctrl with '+' or '-' undo,
    // redo and zoom. Returns nothing: the key goes on to its widget all the same.
    void OnKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void SelectTool(int tool, CIconButton *button);
    void UpdateScrollBars();
    void OnWheel(const QWheelEvent *event, bool overHorizontalBar);
    // The name and device width OK would store; empty or no value where the
    // field holds what the glyph already has (or cannot be applied).
    QByteArray TypedName(const bdf_glyph &glyph) const;
    std::optional<int> TypedDeviceWidth(const bdf_glyph &glyph) const;

    CEditCanvas m_canvas;
    int m_nCommonWidth = -1;
    QTimer m_timer;
    CCanvasFrame *m_pFrame = nullptr;
    QScrollBar *m_pHBar = nullptr;
    QScrollBar *m_pVBar = nullptr;
    QLineEdit *m_pNameEdit = nullptr;
    QLineEdit *m_pDwidthEdit = nullptr;
    QLabel *m_pEncodingLabel = nullptr;
    QLabel *m_pMetricsLabel = nullptr;
    QLabel *m_pCoordinates = nullptr;
    CIconButton *m_pZoomIn = nullptr;
    CIconButton *m_pZoomOut = nullptr;
    CIconButton *m_pUndo = nullptr;
    CIconButton *m_pRedo = nullptr;
    CIconButton *m_pSelect = nullptr;
    CIconButton *m_pPencil = nullptr;
    CIconButton *m_pEraser = nullptr;
    QCheckBox *m_pShowAxes = nullptr;
    QCheckBox *m_pShowAdvance = nullptr;
    WheelNotches m_wheelX, m_wheelY;
};

#endif
