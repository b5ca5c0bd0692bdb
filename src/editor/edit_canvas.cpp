#include "edit_canvas.h"

#include "cell_colours.h"
#include "grid_bitmap.h"
#include "read_back_canvas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace cell_colours;

CEditCanvas::SetUpResult CEditCanvas::SetUp(bdf_glyph *glyph, const bdf_bbx &fontBox, int bpp) {
    // Whatever happens next, nothing of the previous glyph is kept.
    m_bReady = false;
    m_pGlyph = nullptr;
    m_history.Reset();
    m_selection.Discard();
    m_bDirty = false;
    if (!glyph)
        return SETUP_NO_GLYPH;
    if (bpp != 1 && bpp != 2 && bpp != 4)
        return SETUP_BAD_DEPTH;
    bdf_bbx grid;
    if (!GridBoxFor(fontBox, glyph, &grid) ||
        std::max<int>(grid.width, grid.height) * (kMinZoom + 1) + 1 > kLargestOpenableSide)
        return SETUP_TOO_LARGE;
    m_pGlyph = glyph;
    m_box = grid;
    m_nBpp = bpp;
    if (!m_history.Create(glyph, grid, bpp))
        return SETUP_NO_MEMORY;
    // A large box lowers the zoom limit; the zoom otherwise survives from glyph to glyph.
    m_nZoom = std::min(m_nZoom, MaxZoom());
    m_eraser.Render(m_nZoom);
    m_bReady = true;
    Rebuild();
    return SETUP_READY;
}

void CEditCanvas::Detach() {
    m_bReady = false;
    m_pGlyph = nullptr;
    m_history.Reset();
    m_selection.Discard();
    m_eraser.visible = 0;
    m_bDirty = false;
    m_bLeftDown = m_bRightDown = false;
}

bool CEditCanvas::HasUnappliedChanges() const {
    if (!m_bReady)
        return false;
    if (m_selection.active && m_bDirty)
        return true;
    if (!m_history.CanUndo())
        return false;
    const uint32_t bytes = GridBytes(m_box.width, m_box.height, m_nBpp);
    auto *stored = static_cast<unsigned char *>(calloc(bytes ? bytes : 1, 1));
    if (!stored)
        return true; // when in doubt, ask rather than drop
    UnpackGlyph(stored, m_pGlyph, m_box, m_nBpp);
    const bool differs = memcmp(stored, m_history.CurrentBitmap(), bytes) != 0;
    free(stored);
    return differs;
}

int CEditCanvas::MaxZoom() const {
    const int side = std::max<int>(m_box.width, m_box.height);
    int zoom = kMaxZoom;
    while (zoom > kMinZoom && side * (zoom + 1) + 1 > kMaxContentSide)
        zoom -= 2;
    return zoom;
}

void CEditCanvas::Rebuild(bool keepScroll) {
    const int width = std::max(ContentWidth(), 1), height = std::max(ContentHeight(), 1);
    if (m_canvas.width() != width || m_canvas.height() != height) {
        m_canvas = QImage(width, height, QImage::Format_RGB32);
        keepScroll = false;
    }
    m_canvas.fill(kWhite);
    if (m_bReady) {
        const int pitch = Pitch(), W = m_box.width, H = m_box.height;
        m_painter.DrawGrid(m_canvas, 0, 0, H, W, m_nZoom, m_nZoom, kGridLine, PEN_SOLID);
        const int origin = -m_box.x_offset, baseline = m_box.ascent;
        if (show_font_axes) {
            m_painter.DrawLine(m_canvas, origin * pitch, 0, origin * pitch, H * pitch, kAxes, PEN_SOLID);
            m_painter.DrawLine(m_canvas, 0, baseline * pitch, W * pitch, baseline * pitch, kAxes, PEN_SOLID);
        }
        if (show_advance_box && m_pGlyph->dwidth != 0)
            m_painter.DrawFrame(m_canvas, origin * pitch, 0, (origin + m_pGlyph->dwidth) * pitch, H * pitch,
                                kAdvanceBox, PEN_DOT);
        DrawPixels();
    }
    if (!keepScroll)
        m_nScrollX = m_nScrollY = 0;
    if (onRebuild)
        onRebuild();
}

void CEditCanvas::DrawPixels() {
    const unsigned char *grid = m_history.CurrentBitmap();
    const int W = m_box.width, H = m_box.height;
    const bool hideSource = m_selection.lifted;
    for (int r = 0; r < H; ++r)
        for (int k = 0; k < W; ++k) {
            const int level = GridPixel(grid, W, H, m_nBpp, k, r);
            if (level && !(hideSource && m_selection.source.Contains(k, r)))
                PaintCell(k, r, LevelColour(level, m_nBpp));
        }
}

void CEditCanvas::PaintCell(int k, int r, QRgb colour) {
    if (k < 0 || k >= m_box.width || r < 0 || r >= m_box.height)
        return;
    const int pitch = Pitch();
    m_painter.FillRect(m_canvas, k * pitch + 1, r * pitch + 1, m_nZoom, m_nZoom, colour);
}

void CEditCanvas::Present() {
    if (!m_bReady)
        return;
    if (m_back.width() != m_nViewWidth || m_back.height() != m_nViewHeight)
        m_back = QImage(std::max(m_nViewWidth, 1), std::max(m_nViewHeight, 1), QImage::Format_RGB32);
    // Only the view's part of the content is composed; past the content's edge the view is white.
    if (m_nScrollX + m_back.width() > m_canvas.width() || m_nScrollY + m_back.height() > m_canvas.height())
        m_back.fill(kWhite);
    m_painter.CopyRect(m_back, 0, 0, m_canvas, m_nScrollX, m_nScrollY, m_back.width(), m_back.height());
    if (m_eraser.visible)
        m_eraser.ComposeOnto(m_back, m_nScrollX, m_nScrollY, m_eraserCell.k, m_eraserCell.r, m_box.width, m_box.height);
    if (m_selection.active)
        m_selection.ComposeOnto(m_back, m_nScrollX, m_nScrollY);
    if (onPresent)
        onPresent();
}

QImage CEditCanvas::ComposeContent() const {
    QImage content = m_canvas.copy();
    if (m_selection.active)
        m_selection.ComposeOnto(content, 0, 0);
    return content;
}

bool CEditCanvas::ZoomIn() {
    CommitSelection();
    if (m_nZoom >= MaxZoom())
        return false;
    m_nZoom += 2;
    m_eraser.Render(m_nZoom);
    Rebuild();
    return true;
}

bool CEditCanvas::ZoomOut() {
    CommitSelection();
    if (m_nZoom <= kMinZoom)
        return false;
    m_nZoom -= 2;
    m_eraser.Render(m_nZoom);
    Rebuild();
    return true;
}

bool CEditCanvas::CellAtContent(int x, int y, Cell *cell) const {
    const int pitch = Pitch();
    if (x < 0 || y < 0 || x >= m_box.width * pitch || y >= m_box.height * pitch)
        return false;
    *cell = {x / pitch, y / pitch};
    return true;
}

// ---- Tools -----------------------------------------------------------------

void CEditCanvas::SelectTool(int newTool, bool checked) {
    CommitSelection();
    m_nTool = checked ? newTool : TOOL_NONE;
    // The eraser's cursor belongs to the eraser: left visible under another tool
    // it would be composed into the back buffer and read back as cleared cells.
    if (m_nTool != TOOL_ERASER && m_eraser.visible) {
        m_eraser.visible = 0;
        Present();
    }
}

void CEditCanvas::OnCanvasMouse(int event, const Cell *cell) {
    switch (event) {
    case MOUSE_LEFT_DOWN:
        m_bLeftDown = true;
        m_nPaint = kBlack;
        break;
    case MOUSE_RIGHT_DOWN:
        m_bRightDown = true;
        m_nPaint = kWhite;
        break;
    case MOUSE_LEFT_UP:
        m_bLeftDown = false;
        if (m_nTool == TOOL_SELECT && m_selection.active && !m_selection.lifted)
            MakeSelection(m_anchor, m_rubberEnd, true);
        else if (m_nTool != TOOL_NONE)
            CommitStroke();
        return;
    case MOUSE_RIGHT_UP:
        m_bRightDown = false;
        if (m_nTool != TOOL_NONE)
            CommitStroke();
        return;
    case MOUSE_MOVE:
        if (m_bLeftDown && m_bRightDown)
            return;
        m_nPaint = m_bLeftDown ? kBlack : m_bRightDown ? kWhite : m_nPaint;
        break;
    default:
        return;
    }
    if (!cell) {
        if (m_nTool == TOOL_ERASER) {
            m_eraser.visible = 0;
            Present();
        }
        return;
    }
    const Cell c = *cell;
    switch (m_nTool) {
    case TOOL_PENCIL:
        if (m_bLeftDown || m_bRightDown) {
            m_bDirty = true;
            PaintCell(c.k, c.r, m_nPaint);
        }
        break;
    case TOOL_ERASER:
        if (m_bLeftDown) {
            m_bDirty = true;
            EraseBlock(c.k, c.r);
        }
        if (event == MOUSE_MOVE) {
            m_eraserCell = c;
            m_eraser.visible = 1;
        }
        break;
    case TOOL_SELECT:
        if (m_bLeftDown && event == MOUSE_LEFT_DOWN) {
            if (m_selection.lifted && m_selection.current.Contains(c.k, c.r)) {
                m_moveReference = c;
            } else {
                if (m_selection.lifted)
                    CommitSelection();
                m_anchor = c;
            }
        } else if (m_bLeftDown && event == MOUSE_MOVE) {
            m_rubberEnd = c;
            if (m_selection.lifted)
                DragSelection(m_moveReference, c);
            else
                MakeSelection(m_anchor, c, false);
        }
        break;
    default:
        break;
    }
    Present();
}

void CEditCanvas::CommitStroke() {
    if (!m_bDirty)
        return;
    m_history.Push(ReadBackCanvas(m_nTool == TOOL_SELECT ? ComposeContent() : m_canvas, Pitch(), m_box.width,
                                  m_box.height, m_nBpp));
    m_bDirty = false;
}

void CEditCanvas::MakeSelection(Cell from, Cell to, bool lift) {
    if (from == to)
        return;
    const CellRect cells{std::min(from.k, to.k), std::min(from.r, to.r), std::max(from.k, to.k) + 1,
                         std::max(from.r, to.r) + 1};
    m_selection.active = 1;
    m_selection.Render(m_history.CurrentBitmap(), m_box.width, m_box.height, m_nBpp, m_nZoom, cells);
    if (lift) {
        m_selection.lifted = 1;
        Rebuild(true);
    }
}

void CEditCanvas::DragSelection(Cell from, Cell to) {
    if (from == to || !m_selection.active)
        return;
    m_selection.MoveSelection(m_selection.current.Offset(to.k - from.k, to.r - from.r));
    m_moveReference = to;
    m_bDirty = true;
}

void CEditCanvas::CommitSelection() {
    if (!m_selection.active)
        return;
    // Read back while the selection is still composed: it lands where it is shown.
    unsigned char *grid =
        m_bDirty ? ReadBackCanvas(ComposeContent(), Pitch(), m_box.width, m_box.height, m_nBpp) : nullptr;
    m_selection.Discard();
    if (grid)
        m_history.Push(grid);
    m_bDirty = false;
    Rebuild(true);
}

void CEditCanvas::ShiftOrMove(int direction) {
    const ShiftStep step = DirectionStep(direction);
    if (m_selection.active) {
        if (m_selection.MoveSelection(m_selection.current.Offset(step.dx, step.dy))) {
            m_bDirty = true;
            Present();
        }
    } else if (m_history.ShiftGrid(direction)) {
        Rebuild(true);
    }
}

void CEditCanvas::EraseBlock(int k, int r) {
    const int k0 = CEraserCursor::BlockStart(k, m_box.width), r0 = CEraserCursor::BlockStart(r, m_box.height);
    for (int i = 0; i < CEraserCursor::block_size; ++i)
        for (int j = 0; j < CEraserCursor::block_size; ++j)
            PaintCell(k0 + j, r0 + i, kWhite);
}

bool CEditCanvas::Undo() {
    if (!m_history.Undo())
        return false;
    CommitSelection();
    Rebuild(true);
    return true;
}

bool CEditCanvas::Redo() {
    if (!m_history.Redo())
        return false;
    CommitSelection();
    Rebuild(true);
    return true;
}

bool CEditCanvas::OverLiftedSelection(const Cell &cell) const {
    return m_selection.lifted && m_selection.current.Contains(cell.k, cell.r);
}
