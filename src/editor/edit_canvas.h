#ifndef GLYPHWERK_EDITOR_EDIT_CANVAS_H
#define GLYPHWERK_EDITOR_EDIT_CANVAS_H

// The glyph editor without its window: the zoomed canvas of the current history
// entry (grid lines, origin and baseline, advance box, pixels), the back buffer
// composed for the visible view, and the three tools acting on it (pencil,
// 3 x 3 eraser, rectangle selection). The dialog forwards mouse events as cells
// and shows what this draws; tests and benchmarks drive it directly.
//
// Every raster is sized to what it holds: the canvas to the content
// (W * pitch + 1 by H * pitch + 1), the back buffer to the view, the selection
// and eraser images to their blocks. The largest zoom of a glyph keeps its
// canvas within kMaxContentSide pixels a side.

#include "bdf.h"
#include "cell_rect.h"
#include "edit_history.h"
#include "eraser_cursor.h"
#include "grid_painter.h"
#include "selection_layer.h"

#include <QImage>
#include <functional>

enum Tool { TOOL_NONE = 0, TOOL_SELECT = 1, TOOL_PENCIL = 2, TOOL_ERASER = 3 };

// Mouse events as the editor numbers them.
enum CanvasMouseEvent {
    MOUSE_LEFT_DOWN = 0,
    MOUSE_LEFT_UP = 1,
    MOUSE_RIGHT_DOWN = 2,
    MOUSE_RIGHT_UP = 3,
    MOUSE_MOVE = 4,
};

struct Cell {
    int k = 0;
    int r = 0;
    bool operator==(const Cell &) const = default;
};

class CEditCanvas {
public:
    static constexpr int kMinZoom = 2;
    static constexpr int kMaxZoom = 20;
    static constexpr int kMaxContentSide = 4096;
    // A grid whose canvas would exceed this even at the smallest zoom is not opened.
    static constexpr int kLargestOpenableSide = 16384;

    enum SetUpResult { SETUP_READY, SETUP_NO_GLYPH, SETUP_TOO_LARGE, SETUP_BAD_DEPTH, SETUP_NO_MEMORY };

    // Starts editing `glyph` (not owned; it must stay valid until Detach or the
    // next SetUp) of a font with box `fontBox` and `bpp` bits per pixel. Any
    // selection is discarded and the history starts over. Rebuilds when ready.
    SetUpResult SetUp(bdf_glyph *glyph, const bdf_bbx &fontBox, int bpp);
    // Drops every reference to the glyph and its font; nothing is shown until
    // the next SetUp.
    void Detach();
    // Whether applying now would change the glyph's pixels: a recorded change
    // whose grid differs from the glyph as stored (OK keeps the history, so
    // what it applied stays undoable), or a moved selection not yet dropped.
    bool HasUnappliedChanges() const;

    // Redraws the canvas from the current history entry and resets the scroll
    // offsets; `onRebuild` then lets the window refresh fields and scroll bars.
    // An edit of the same grid (undo, redo, a shift, lifting or dropping a
    // selection) keeps the offsets instead, while the content keeps its size.
    void Rebuild(bool keepScroll = false);
    // Composes the visible part of the content (at the scroll offsets, the size
    // of the view) with the eraser and the selection into the back buffer.
    void Present();
    // Fills the interior of cell (k, r) of the canvas; cells outside the grid are skipped.
    void PaintCell(int k, int r, QRgb colour);

    // Zoom steps of 2 between kMinZoom and MaxZoom(); false at the limit.
    bool ZoomIn();
    bool ZoomOut();
    int MaxZoom() const;

    // The cell under content pixel (x, y); a pixel on a grid line belongs to the
    // cell right of or below it, the right and bottom border lines to none.
    bool CellAtContent(int x, int y, Cell *cell) const;

    // The tools and the mouse protocol.
    void SelectTool(int newTool, bool checked);
    void OnCanvasMouse(int event, const Cell *cell);
    void CommitStroke();
    void MakeSelection(Cell from, Cell to, bool lift);
    void DragSelection(Cell from, Cell to);
    void CommitSelection();
    void ShiftOrMove(int direction);
    void EraseBlock(int k, int r);
    bool Undo();
    bool Redo();
    bool OverLiftedSelection(const Cell &cell) const;
    // While both buttons are held, moves do nothing at all.
    bool BothButtonsDown() const { return m_bLeftDown && m_bRightDown; }

    // Canvas plus selection over the whole content: what the user sees, unscrolled.
    QImage ComposeContent() const;

    void SetViewSize(int width, int height) { m_nViewWidth = width; m_nViewHeight = height; }
    void SetScroll(int x, int y) { m_nScrollX = x; m_nScrollY = y; }
    int ScrollX() const { return m_nScrollX; }
    int ScrollY() const { return m_nScrollY; }
    int Zoom() const { return m_nZoom; }
    int Pitch() const { return m_nZoom + 1; }
    int ContentWidth() const { return m_box.width * Pitch() + 1; }
    int ContentHeight() const { return m_box.height * Pitch() + 1; }
    bool Ready() const { return m_bReady; }
    int CurrentTool() const { return m_nTool; }
    bool Dirty() const { return m_bDirty; }
    const bdf_bbx &GridBox() const { return m_box; }
    int Bpp() const { return m_nBpp; }
    bdf_glyph *Glyph() const { return m_pGlyph; }
    // The same glyph at another address: nothing else changes.
    void RebindGlyph(bdf_glyph *glyph) {
        if (m_pGlyph)
            m_pGlyph = glyph;
    }
    CEditHistory &History() { return m_history; }
    const CSelectionLayer &Selection() const { return m_selection; }
    const CEraserCursor &Eraser() const { return m_eraser; }
    const QImage &Canvas() const { return m_canvas; }
    const QImage &BackBuffer() const { return m_back; }

    bool show_font_axes = true;
    bool show_advance_box = true;
    std::function<void()> onRebuild; // after every Rebuild
    std::function<void()> onPresent; // after every Present

private:
    void DrawPixels();

    bdf_glyph *m_pGlyph = nullptr;
    bdf_bbx m_box{};
    int m_nBpp = 1;
    bool m_bReady = false;
    CEditHistory m_history;
    QImage m_canvas;
    QImage m_back;
    CGridPainter m_painter;
    int m_nZoom = 10;
    int m_nScrollX = 0, m_nScrollY = 0;
    int m_nViewWidth = 0, m_nViewHeight = 0;

    int m_nTool = TOOL_NONE;
    bool m_bLeftDown = false, m_bRightDown = false;
    bool m_bDirty = false;
    QRgb m_nPaint = 0;
    Cell m_anchor, m_moveReference, m_rubberEnd, m_eraserCell;
    CEraserCursor m_eraser;
    CSelectionLayer m_selection;
};

#endif
