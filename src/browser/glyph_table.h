#ifndef GLYPHWERK_BROWSER_GLYPH_TABLE_H
#define GLYPHWERK_BROWSER_GLYPH_TABLE_H

// The glyph table: every encoded glyph of the open font in a grid of equal
// cells, one font pixel to one screen pixel. A plain object owned by the font
// view, not a window: it lays out the grid, composes a page into an off-screen
// QImage and tells the area window which part to show, keeps the selection,
// maps points to glyph indexes, moves the selection with the arrow keys,
// scrolls by whole rows and finds glyphs by encoding. No widget types here:
// the windows it drives are reached through the two small interfaces below.

#include "bdf.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <vector>

// The table's drawing area (IDC_GLYPH_TABLE): its client size, and a way to
// show a part of the table's buffer once it has been composed.
class CTableArea {
public:
    virtual ~CTableArea() = default;
    virtual QSize ClientSize() const = 0;
    // The buffer's pixels inside `rect` (area client coordinates) changed.
    virtual void ShowBuffer(const QRect &rect) = 0;
};

// The table's vertical scroll bar window, as far as the table drives it.
class CTableScrollBar {
public:
    virtual ~CTableScrollBar() = default;
    virtual void SetScrollRange(int minimum, int maximum) = 0;
    virtual void ShowScrollBar(bool show) = 0;
    // Moves the bar to the right edge of its parent (the view), keeping its width.
    virtual void PlaceAtParentRightEdge(int top, int height) = 0;
    virtual void SetScrollPos(int position) = 0;
};

class CGlyphTable {
public:
    enum CellMode { CELL_NORMAL = 0, CELL_SELECTED = 1, CELL_UNSELECTED = 2 };

    // Scroll codes of the table's scroll bar.
    enum ScrollCode {
        SB_LINEUP = 0,
        SB_LINEDOWN = 1,
        SB_PAGEUP = 2,
        SB_PAGEDOWN = 3,
        SB_THUMBPOSITION = 4,
        SB_THUMBTRACK = 5,
        SB_TOP = 6,
        SB_BOTTOM = 7,
        SB_ENDSCROLL = 8,
    };

    // Arrow key codes understood by Navigate.
    enum Key { VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40 };

    static constexpr QRgb kBackground = qRgb(255, 255, 255);
    static constexpr QRgb kInk = qRgb(0, 0, 0);
    static constexpr QRgb kSelectedFill = qRgb(0, 0, 128);
    static constexpr QRgb kSelectedInk = qRgb(255, 255, 255);
    static constexpr QRgb kGridLine = qRgb(192, 192, 192);
    // The rightmost strip of the area the table never draws (the scroll bar stands there).
    static constexpr int kRightMargin = 15;

    // Forgets the font without painting, so a released font is never used.
    void DetachFont() { m_pFont = nullptr; }

    // Lays the grid out for `font` and the area's current size, updates the
    // scroll bar (may be null) and composes the page. False when the area or
    // the font is missing.
    bool Draw(CTableArea *area, const bdf_font *font, CTableScrollBar *scrollBar);

    void SetGrid(int cellWidth, int cellHeight, int areaWidth, int areaHeight, int glyphCount);
    void UpdateScrollBar();
    // Composes the current page into the buffer and shows it in the area.
    void Paint(CTableArea *area);
    // Draws one cell with its top-left corner at (x, y) of `surface`.
    // `blankBox` says the font box of the cell holds only background (the
    // page was just filled), which allows copying whole bytes of pixels.
    // Returns false when the glyph reached outside its box.
    static bool DrawCell(QImage &surface, int x, int y, const bdf_bbx &fontBox, const bdf_glyph *glyph,
                         CellMode mode, int bitsPerPixel, bool blankBox = false);
    // Draws a glyph's bitmap with its top-left pixel at (left, top) of `surface`:
    // ink on its set pixels, a grey between paper and ink for each level of 2,
    // 4 or 8 bits per pixel, clipped to the surface; other pixels stay as they are.
    static void DrawBitmap(QImage &surface, int left, int top, const bdf_glyph *glyph, int bitsPerPixel);
    void SetFirstRow(int row, CTableArea *area);
    // Back to the first row without painting (a newly opened font).
    void ResetFirstRow() { m_nFirstRow = 0; }
    int HitTest(int x, int y);
    void UpdateHighlight(CTableArea *area);
    // Draws the cell of `index` into the buffer when it is on the visible page;
    // returns the cell's rectangle, or an empty one when nothing was drawn.
    QRect DrawCellAt(int index, bool selected);
    // Moves the selection by an arrow key. True on a move, with the new index
    // and the row delta (-1, 0, +1) in the out-arguments.
    bool Navigate(int key, int *newIndex, int *rowDelta);
    // The index of the glyph with `encoding`, or -1; when found, selects it
    // and writes the first row that shows it to `targetRow`.
    int FindEncoding(int32_t encoding, int *targetRow);
    // Selects `index` and writes the first row that shows it to `targetRow`:
    // the current one when the index is on the visible page, else its own row.
    void Select(int index, int *targetRow);
    // The scroll bar's message: moves the first row and the thumb.
    void Scroll(int code, int thumbPosition, CTableArea *area);

    const bdf_font *Font() const { return m_pFont; }
    int FirstRow() const { return m_nFirstRow; }
    // The scroll bar's range maximum: total rows less visible rows, at least 0.
    int ScrollMaximum() const { return m_nTotalRows > m_nRows ? m_nTotalRows - m_nRows : 0; }
    int Selected() const { return m_nSelected; }
    int Columns() const { return m_nColumns; }
    int Rows() const { return m_nRows; }
    int TotalRows() const { return m_nTotalRows; }
    int PageCells() const { return m_nPageCells; }
    int CellWidth() const { return m_nCellWidth; }
    int CellHeight() const { return m_nCellHeight; }
    QRect AreaRect() const { return m_rcArea; }
    // The composed page; meaningful while HasPage().
    const QImage &Buffer() const { return m_buffer; }
    // True when the last Paint put a page into the buffer for the area to show.
    bool HasPage() const { return m_bPageShown && m_pFont; }

private:
    bool IndexOnPage(int index) const;
    void EnsureBuffer();
    // The page with every pixel written once, line by line; false (leaving a
    // partial page) when a glyph reaches out of its box, the pixels are deeper
    // than one bit, or a cell is wider than the area.
    bool ComposeLines(int firstIndex, int end);
    // The page as a fill, the grid, and the cells drawn one by one in order.
    void PaintCells(int firstIndex, int end);
    void PaintGrid();

    bool m_bBufferReady = false;
    CTableArea *m_pAreaWnd = nullptr;
    int m_nPageCells = 0;
    int m_nColumns = 0;
    int m_nRows = 0;
    int m_nTotalRows = 0;
    int m_nFirstRow = 0;
    int m_nSelected = 0;
    int m_nDrawnSelected = 0;
    const bdf_font *m_pFont = nullptr;
    CTableScrollBar *m_pScrollBar = nullptr;
    QRect m_rcArea;
    QImage m_buffer;
    int m_nCellWidth = 0;
    int m_nCellHeight = 0;
    bool m_bPageShown = false;
    // One bit per pixel of the cell row being composed, kept between pages.
    std::vector<uint8_t> m_cellRowBits;
};

#endif
