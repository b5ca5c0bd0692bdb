#include "glyph_table.h"

#include <algorithm>
#include <climits>

namespace {

int glyphCount(const bdf_font *font) {
    return font ? int(std::min<uint32_t>(font->glyphs_used, INT_MAX)) : 0;
}

} // namespace

bool CGlyphTable::Draw(CTableArea *area, const bdf_font *font, CTableScrollBar *scrollBar) {
    if (!area || !font)
        return false;
    m_pAreaWnd = area;
    m_pFont = font;
    m_pScrollBar = scrollBar;

    const QSize client = area->ClientSize();
    m_rcArea = QRect(0, 0, std::max(0, client.width() - kRightMargin), std::max(0, client.height()));
    m_nCellWidth = font->bbx.width + 1;
    m_nCellHeight = font->bbx.height + 1;
    SetGrid(m_nCellWidth, m_nCellHeight, m_rcArea.width(), m_rcArea.height(), glyphCount(font));
    UpdateScrollBar();
    EnsureBuffer();
    Paint(area);
    return true;
}

void CGlyphTable::SetGrid(int cellWidth, int cellHeight, int areaWidth, int areaHeight, int glyphCount) {
    cellWidth = std::max(1, cellWidth);
    cellHeight = std::max(1, cellHeight);
    // A cell wider than the area still makes one column, so nothing below
    // divides by zero; an area lower than a cell has no rows (an empty page).
    m_nColumns = std::max(1, std::max(0, areaWidth) / cellWidth);
    m_nRows = std::max(0, areaHeight) / cellHeight;
    m_nPageCells = m_nColumns * m_nRows;
    m_nTotalRows = int((int64_t(m_nColumns) + std::max(0, glyphCount) - 1) / m_nColumns);
}

void CGlyphTable::UpdateScrollBar() {
    if (!m_pScrollBar)
        return;
    m_pScrollBar->SetScrollRange(0, ScrollMaximum());
    const bool show = m_nTotalRows > m_nRows;
    m_pScrollBar->ShowScrollBar(show);
    if (show) {
        m_pScrollBar->PlaceAtParentRightEdge(m_rcArea.top(), m_rcArea.height());
        // The thumb shows the first visible row, also after a repaint.
        m_pScrollBar->SetScrollPos(m_nFirstRow);
    }
}

void CGlyphTable::EnsureBuffer() {
    // The area can grow after the first draw (the view's layout widens it by
    // the scroll bar's width): the buffer grows with it, never copied past its edge.
    const QSize needed = m_rcArea.size().expandedTo(QSize(1, 1));
    if (m_bBufferReady && m_buffer.width() >= needed.width() && m_buffer.height() >= needed.height())
        return;
    m_buffer = QImage(needed.expandedTo(m_buffer.size()), QImage::Format_RGB32);
    m_buffer.fill(kBackground);
    m_bBufferReady = true;
}

bool CGlyphTable::IndexOnPage(int index) const {
    const int first = m_nFirstRow * m_nColumns;
    const int end = std::min((m_nFirstRow + m_nRows) * m_nColumns, glyphCount(m_pFont));
    return index >= 0 && index >= first && index < end;
}

void CGlyphTable::SetFirstRow(int row, CTableArea *area) {
    if (row < 0 || row >= m_nTotalRows || row == m_nFirstRow)
        return;
    m_nFirstRow = row;
    Paint(area);
}

int CGlyphTable::HitTest(int x, int y) {
    if (x < 0 || x >= m_nColumns * m_nCellWidth || y < 0 || y >= m_nRows * m_nCellHeight)
        return -1;
    const int index = (y / m_nCellHeight + m_nFirstRow) * m_nColumns + x / m_nCellWidth;
    m_nSelected = index;
    return index;
}

void CGlyphTable::UpdateHighlight(CTableArea *area) {
    if (m_nSelected == m_nDrawnSelected)
        return;
    const QRect cleared = DrawCellAt(m_nDrawnSelected, false);
    const QRect highlighted = DrawCellAt(m_nSelected, true);
    m_nDrawnSelected = m_nSelected;
    if (!area)
        return;
    if (!cleared.isEmpty())
        area->ShowBuffer(cleared);
    if (!highlighted.isEmpty())
        area->ShowBuffer(highlighted);
}

QRect CGlyphTable::DrawCellAt(int index, bool selected) {
    if (!m_pFont || !m_bBufferReady || !IndexOnPage(index))
        return {};
    const int p = index - m_nFirstRow * m_nColumns;
    const int x = (p % m_nColumns) * m_nCellWidth;
    const int y = (p / m_nColumns) * m_nCellHeight;
    DrawCell(m_buffer, x, y, m_pFont->bbx, &m_pFont->glyphs[index], selected ? CELL_SELECTED : CELL_UNSELECTED,
             m_pFont->bpp);
    return QRect(x, y, m_nCellWidth, m_nCellHeight);
}

bool CGlyphTable::Navigate(int key, int *newIndex, int *rowDelta) {
    *rowDelta = 0;
    const int cur = m_nSelected;
    m_nDrawnSelected = cur;
    const int cols = m_nColumns;
    if (cols <= 0)
        return false;

    int next = cur;
    switch (key) {
    case VK_LEFT:
        if (cur % cols == 0)
            return false;
        next = cur - 1;
        break;
    case VK_UP:
        if (cur < cols)
            return false;
        next = cur - cols;
        if (next < m_nFirstRow * cols)
            *rowDelta = -1;
        break;
    case VK_RIGHT:
        if (cur % cols == cols - 1)
            return false;
        next = cur + 1;
        break;
    case VK_DOWN:
        if (cur + cols >= m_nTotalRows * cols)
            return false;
        next = cur + cols;
        if (next >= m_nFirstRow * cols + m_nPageCells)
            *rowDelta = 1;
        break;
    default:
        return false;
    }
    m_nSelected = next;
    *newIndex = next;
    return true;
}

int CGlyphTable::FindEncoding(int32_t encoding, int *targetRow) {
    const int count = glyphCount(m_pFont);
    if (count < 1)
        return -1;
    for (int i = 0; i < count; ++i) {
        if (m_pFont->glyphs[i].encoding != encoding)
            continue;
        Select(i, targetRow);
        return i;
    }
    return -1;
}

void CGlyphTable::Select(int index, int *targetRow) {
    m_nSelected = index;
    const int first = m_nFirstRow * m_nColumns;
    const bool visible = index >= first && index < first + m_nPageCells;
    *targetRow = visible || m_nColumns <= 0 || index < 0 ? m_nFirstRow : index / m_nColumns;
}

void CGlyphTable::Scroll(int code, int thumbPosition, CTableArea *area) {
    const int maximum = ScrollMaximum();
    int row = m_nFirstRow;
    switch (code) {
    case SB_LINEUP:
        if (row > 0)
            --row;
        break;
    case SB_LINEDOWN:
        if (row < maximum)
            ++row;
        break;
    case SB_THUMBTRACK:
        row = std::clamp(thumbPosition, 0, maximum);
        break;
    case SB_TOP:
        row = 0;
        break;
    case SB_BOTTOM:
        row = maximum;
        break;
    default: // page up and down, thumb position, end scroll: no change
        break;
    }
    if (m_pScrollBar)
        m_pScrollBar->SetScrollPos(row);
    SetFirstRow(row, area);
}
