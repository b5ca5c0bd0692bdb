// Composing the glyph table's page: the dotted grid and the cells.

#include "glyph_table.h"

#include <algorithm>
#include <climits>

namespace {

QRgb blend(QRgb background, QRgb ink, unsigned value, unsigned maximum) {
    auto mix = [&](int from, int to) { return from + (to - from) * int(value) / int(maximum); };
    return qRgb(mix(qRed(background), qRed(ink)), mix(qGreen(background), qGreen(ink)),
                mix(qBlue(background), qBlue(ink)));
}

void fillRect(QImage &surface, const QRect &rect, QRgb colour) {
    const QRect clipped = rect.intersected(surface.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(surface.scanLine(y));
        std::fill(line + clipped.left(), line + clipped.right() + 1, colour);
    }
}

} // namespace

void CGlyphTable::Paint(CTableArea *area) {
    m_bPageShown = false;
    if (!m_pFont || !area)
        return;
    EnsureBuffer();
    fillRect(m_imgBuffer, m_rcArea, kBackground);
    PaintGrid();

    const int count = int(std::min<uint32_t>(m_pFont->glyphs_used, INT_MAX));
    const int firstIndex = m_nFirstRow * m_nColumns;
    if (firstIndex >= count) // no glyph on this page: nothing to show
        return;
    const int end = std::min(firstIndex + m_nPageCells, count);
    for (int index = firstIndex; index < end; ++index) {
        const int p = index - firstIndex;
        DrawCell(m_imgBuffer, (p % m_nColumns) * m_nCellWidth, (p / m_nColumns) * m_nCellHeight, m_pFont->bbx,
                 &m_pFont->glyphs[index], index == m_nSelected ? CELL_SELECTED : CELL_NORMAL, m_pFont->bpp);
    }
    m_nDrawnSelected = m_nSelected;
    m_bPageShown = true;
    area->ShowBuffer(m_rcArea);
}

void CGlyphTable::PaintGrid() {
    // A dotted line: every other pixel from the line's start, end point excluded.
    const QRect clip = m_rcArea.intersected(m_imgBuffer.rect());
    const int gridHeight = m_nRows * m_nCellHeight;
    const int gridWidth = m_nColumns * m_nCellWidth;
    for (int k = 1; k <= m_nColumns; ++k) {
        const int x = k * m_nCellWidth - 1;
        if (x < clip.left() || x > clip.right())
            continue;
        for (int y = 0; y < gridHeight && y <= clip.bottom(); y += 2)
            reinterpret_cast<QRgb *>(m_imgBuffer.scanLine(y))[x] = kGridLine;
    }
    for (int k = 1; k <= m_nRows; ++k) {
        const int y = k * m_nCellHeight - 1;
        if (y < clip.top() || y > clip.bottom())
            continue;
        auto *line = reinterpret_cast<QRgb *>(m_imgBuffer.scanLine(y));
        for (int x = 0; x < gridWidth && x <= clip.right(); x += 2)
            line[x] = kGridLine;
    }
}

void CGlyphTable::DrawCell(QImage &surface, int x, int y, const bdf_bbx &fontBox, const bdf_glyph *glyph,
                           CellMode mode, int bitsPerPixel) {
    if (!glyph || glyph->bytes == 0 || !glyph->bitmap)
        return;
    const int fw = fontBox.width;
    const int fh = fontBox.height;
    const int gw = glyph->bbx.width;
    // Centred in the font box's width; every glyph's top sits as far below the
    // cell's top as the font's ascent exceeds its own, so all share one baseline.
    const int left = x + (fw - gw) / 2;
    const int top = y + fontBox.ascent - glyph->bbx.ascent;

    QRgb ink = kInk;
    QRgb paper = kBackground;
    if (mode == CELL_SELECTED) {
        fillRect(surface, QRect(x, y, fw, fh), kSelectedFill);
        ink = kSelectedInk;
        paper = kSelectedFill;
    } else if (mode == CELL_UNSELECTED) {
        fillRect(surface, QRect(x, y, fw, fh), kBackground);
    }

    // Pixels of 1, 2, 4 or 8 bits; a deeper pixel is a grey level between the
    // paper and the ink, by its value.
    const unsigned bpp = (bitsPerPixel == 2 || bitsPerPixel == 4 || bitsPerPixel == 8) ? unsigned(bitsPerPixel) : 1u;
    const unsigned maximum = (1u << bpp) - 1;
    const unsigned rowBytes = (unsigned(gw) * bpp + 7) / 8;
    if (rowBytes == 0)
        return;
    const unsigned rows = (glyph->bytes + rowBytes - 1) / rowBytes;
    const int width = surface.width();
    const int height = surface.height();
    for (unsigned r = 0; r < rows; ++r) {
        const int py = top + int(r);
        if (py < 0 || py >= height)
            continue;
        auto *line = reinterpret_cast<QRgb *>(surface.scanLine(py));
        const unsigned char *row = glyph->bitmap + size_t(r) * rowBytes;
        const unsigned available = std::min(rowBytes, glyph->bytes - r * rowBytes);
        for (int c = 0; c < gw; ++c) {
            const unsigned bit = unsigned(c) * bpp;
            if (bit / 8 >= available)
                break;
            const unsigned value = (row[bit / 8] >> (8 - bpp - bit % 8)) & maximum;
            const int px = left + c;
            if (value == 0 || px < 0 || px >= width)
                continue;
            line[px] = value == maximum ? ink : blend(paper, ink, value, maximum);
        }
    }
}
