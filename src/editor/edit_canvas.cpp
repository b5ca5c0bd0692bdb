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
    ready_ = false;
    glyph_ = nullptr;
    history_.Reset();
    selection_.Discard();
    dirty_ = false;
    if (!glyph)
        return SETUP_NO_GLYPH;
    if (bpp != 1 && bpp != 2 && bpp != 4)
        return SETUP_BAD_DEPTH;
    bdf_bbx grid;
    if (!GridBoxFor(fontBox, glyph, &grid) ||
        std::max<int>(grid.width, grid.height) * (kMinZoom + 1) + 1 > kLargestOpenableSide)
        return SETUP_TOO_LARGE;
    glyph_ = glyph;
    box_ = grid;
    bpp_ = bpp;
    if (!history_.Create(glyph, grid, bpp))
        return SETUP_NO_MEMORY;
    // A large box lowers the zoom limit; the zoom otherwise survives from glyph to glyph.
    zoom_ = std::min(zoom_, MaxZoom());
    eraser_.Render(zoom_);
    ready_ = true;
    Rebuild();
    return SETUP_READY;
}

void CEditCanvas::Detach() {
    ready_ = false;
    glyph_ = nullptr;
    history_.Reset();
    selection_.Discard();
    eraser_.visible = 0;
    dirty_ = false;
    leftDown_ = rightDown_ = false;
}

bool CEditCanvas::HasUnappliedChanges() const {
    if (!ready_)
        return false;
    if (selection_.active && dirty_)
        return true;
    if (!history_.CanUndo())
        return false;
    const uint32_t bytes = GridBytes(box_.width, box_.height, bpp_);
    auto *stored = static_cast<unsigned char *>(calloc(bytes ? bytes : 1, 1));
    if (!stored)
        return true; // when in doubt, ask rather than drop
    UnpackGlyph(stored, glyph_, box_, bpp_);
    const bool differs = memcmp(stored, history_.CurrentBitmap(), bytes) != 0;
    free(stored);
    return differs;
}

int CEditCanvas::MaxZoom() const {
    const int side = std::max<int>(box_.width, box_.height);
    int zoom = kMaxZoom;
    while (zoom > kMinZoom && side * (zoom + 1) + 1 > kMaxContentSide)
        zoom -= 2;
    return zoom;
}

void CEditCanvas::Rebuild(bool keepScroll) {
    const int width = std::max(ContentWidth(), 1), height = std::max(ContentHeight(), 1);
    if (canvas_.width() != width || canvas_.height() != height) {
        canvas_ = QImage(width, height, QImage::Format_RGB32);
        keepScroll = false;
    }
    canvas_.fill(kWhite);
    if (ready_) {
        const int pitch = Pitch(), W = box_.width, H = box_.height;
        painter_.DrawGrid(canvas_, 0, 0, H, W, zoom_, zoom_, kGridLine, PEN_SOLID);
        const int origin = -box_.x_offset, baseline = box_.ascent;
        if (show_font_axes) {
            painter_.DrawLine(canvas_, origin * pitch, 0, origin * pitch, H * pitch, kAxes, PEN_SOLID);
            painter_.DrawLine(canvas_, 0, baseline * pitch, W * pitch, baseline * pitch, kAxes, PEN_SOLID);
        }
        if (show_advance_box && glyph_->dwidth != 0)
            painter_.DrawFrame(canvas_, origin * pitch, 0, (origin + glyph_->dwidth) * pitch, H * pitch,
                               kAdvanceBox, PEN_DOT);
        DrawPixels();
    }
    if (!keepScroll)
        scrollX_ = scrollY_ = 0;
    if (onRebuild)
        onRebuild();
}

void CEditCanvas::DrawPixels() {
    const unsigned char *grid = history_.CurrentBitmap();
    const int W = box_.width, H = box_.height;
    const bool hideSource = selection_.lifted;
    for (int r = 0; r < H; ++r)
        for (int k = 0; k < W; ++k) {
            const int level = GridPixel(grid, W, H, bpp_, k, r);
            if (level && !(hideSource && selection_.source.Contains(k, r)))
                PaintCell(k, r, LevelColour(level, bpp_));
        }
}

void CEditCanvas::PaintCell(int k, int r, QRgb colour) {
    if (k < 0 || k >= box_.width || r < 0 || r >= box_.height)
        return;
    const int pitch = Pitch();
    painter_.FillRect(canvas_, k * pitch + 1, r * pitch + 1, zoom_, zoom_, colour);
}

void CEditCanvas::Present() {
    if (!ready_)
        return;
    if (back_.width() != viewWidth_ || back_.height() != viewHeight_)
        back_ = QImage(std::max(viewWidth_, 1), std::max(viewHeight_, 1), QImage::Format_RGB32);
    // Only the view's part of the content is composed; past the content's edge the view is white.
    if (scrollX_ + back_.width() > canvas_.width() || scrollY_ + back_.height() > canvas_.height())
        back_.fill(kWhite);
    painter_.CopyRect(back_, 0, 0, canvas_, scrollX_, scrollY_, back_.width(), back_.height());
    if (eraser_.visible)
        eraser_.ComposeOnto(back_, scrollX_, scrollY_, eraserCell_.k, eraserCell_.r, box_.width, box_.height);
    if (selection_.active)
        selection_.ComposeOnto(back_, scrollX_, scrollY_);
    if (onPresent)
        onPresent();
}

QImage CEditCanvas::ComposeContent() const {
    QImage content = canvas_.copy();
    if (selection_.active)
        selection_.ComposeOnto(content, 0, 0);
    return content;
}

bool CEditCanvas::ZoomIn() {
    CommitSelection();
    if (zoom_ >= MaxZoom())
        return false;
    zoom_ += 2;
    eraser_.Render(zoom_);
    Rebuild();
    return true;
}

bool CEditCanvas::ZoomOut() {
    CommitSelection();
    if (zoom_ <= kMinZoom)
        return false;
    zoom_ -= 2;
    eraser_.Render(zoom_);
    Rebuild();
    return true;
}

bool CEditCanvas::CellAtContent(int x, int y, Cell *cell) const {
    const int pitch = Pitch();
    if (x < 0 || y < 0 || x >= box_.width * pitch || y >= box_.height * pitch)
        return false;
    *cell = {x / pitch, y / pitch};
    return true;
}

// ---- Tools -----------------------------------------------------------------

void CEditCanvas::SelectTool(int newTool, bool checked) {
    CommitSelection();
    tool_ = checked ? newTool : TOOL_NONE;
    // The eraser's cursor belongs to the eraser: left visible under another tool
    // it would be composed into the back buffer and read back as cleared cells.
    if (tool_ != TOOL_ERASER && eraser_.visible) {
        eraser_.visible = 0;
        Present();
    }
}

void CEditCanvas::OnCanvasMouse(int event, const Cell *cell) {
    switch (event) {
    case MOUSE_LEFT_DOWN:
        leftDown_ = true;
        paint_ = kBlack;
        break;
    case MOUSE_RIGHT_DOWN:
        rightDown_ = true;
        paint_ = kWhite;
        break;
    case MOUSE_LEFT_UP:
        leftDown_ = false;
        if (tool_ == TOOL_SELECT && selection_.active && !selection_.lifted)
            MakeSelection(anchor_, rubberEnd_, true);
        else if (tool_ != TOOL_NONE)
            CommitStroke();
        return;
    case MOUSE_RIGHT_UP:
        rightDown_ = false;
        if (tool_ != TOOL_NONE)
            CommitStroke();
        return;
    case MOUSE_MOVE:
        if (leftDown_ && rightDown_)
            return;
        paint_ = leftDown_ ? kBlack : rightDown_ ? kWhite : paint_;
        break;
    default:
        return;
    }
    if (!cell) {
        if (tool_ == TOOL_ERASER) {
            eraser_.visible = 0;
            Present();
        }
        return;
    }
    const Cell c = *cell;
    switch (tool_) {
    case TOOL_PENCIL:
        if (leftDown_ || rightDown_) {
            dirty_ = true;
            PaintCell(c.k, c.r, paint_);
        }
        break;
    case TOOL_ERASER:
        if (leftDown_) {
            dirty_ = true;
            EraseBlock(c.k, c.r);
        }
        if (event == MOUSE_MOVE) {
            eraserCell_ = c;
            eraser_.visible = 1;
        }
        break;
    case TOOL_SELECT:
        if (leftDown_ && event == MOUSE_LEFT_DOWN) {
            if (selection_.lifted && selection_.current.Contains(c.k, c.r)) {
                moveReference_ = c;
            } else {
                if (selection_.lifted)
                    CommitSelection();
                anchor_ = c;
            }
        } else if (leftDown_ && event == MOUSE_MOVE) {
            rubberEnd_ = c;
            if (selection_.lifted)
                DragSelection(moveReference_, c);
            else
                MakeSelection(anchor_, c, false);
        }
        break;
    default:
        break;
    }
    Present();
}

void CEditCanvas::CommitStroke() {
    if (!dirty_)
        return;
    history_.Push(ReadBackCanvas(tool_ == TOOL_SELECT ? ComposeContent() : canvas_, Pitch(), box_.width,
                                 box_.height, bpp_));
    dirty_ = false;
}

void CEditCanvas::MakeSelection(Cell from, Cell to, bool lift) {
    if (from == to)
        return;
    const CellRect cells{std::min(from.k, to.k), std::min(from.r, to.r), std::max(from.k, to.k) + 1,
                         std::max(from.r, to.r) + 1};
    selection_.active = 1;
    selection_.Render(history_.CurrentBitmap(), box_.width, box_.height, bpp_, zoom_, cells);
    if (lift) {
        selection_.lifted = 1;
        Rebuild(true);
    }
}

void CEditCanvas::DragSelection(Cell from, Cell to) {
    if (from == to || !selection_.active)
        return;
    selection_.MoveSelection(selection_.current.Offset(to.k - from.k, to.r - from.r));
    moveReference_ = to;
    dirty_ = true;
}

void CEditCanvas::CommitSelection() {
    if (!selection_.active)
        return;
    // Read back while the selection is still composed: it lands where it is shown.
    unsigned char *grid =
        dirty_ ? ReadBackCanvas(ComposeContent(), Pitch(), box_.width, box_.height, bpp_) : nullptr;
    selection_.Discard();
    if (grid)
        history_.Push(grid);
    dirty_ = false;
    Rebuild(true);
}

void CEditCanvas::ShiftOrMove(int direction) {
    const ShiftStep step = DirectionStep(direction);
    if (selection_.active) {
        if (selection_.MoveSelection(selection_.current.Offset(step.dx, step.dy))) {
            dirty_ = true;
            Present();
        }
    } else if (history_.ShiftGrid(direction)) {
        Rebuild(true);
    }
}

void CEditCanvas::EraseBlock(int k, int r) {
    const int k0 = CEraserCursor::BlockStart(k, box_.width), r0 = CEraserCursor::BlockStart(r, box_.height);
    for (int i = 0; i < CEraserCursor::block_size; ++i)
        for (int j = 0; j < CEraserCursor::block_size; ++j)
            PaintCell(k0 + j, r0 + i, kWhite);
}

bool CEditCanvas::Undo() {
    if (!history_.Undo())
        return false;
    CommitSelection();
    Rebuild(true);
    return true;
}

bool CEditCanvas::Redo() {
    if (!history_.Redo())
        return false;
    CommitSelection();
    Rebuild(true);
    return true;
}

bool CEditCanvas::OverLiftedSelection(const Cell &cell) const {
    return selection_.lifted && selection_.current.Contains(cell.k, cell.r);
}
