// Composing the glyph table's page: the dotted grid and the cells.

#include "glyph_table.h"
#include "glyph_table_pixels.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>

namespace {

using namespace glyph_table_pixels;

void fillRect(const Pixels &pixels, int x, int y, int w, int h, QRgb colour) {
    const int left = std::max(x, 0), right = std::min(x + w, pixels.width);
    const int top = std::max(y, 0), bottom = std::min(y + h, pixels.height);
    for (int row = top; row < bottom; ++row) {
        QRgb *line = pixels.line(row);
        std::fill(line + left, line + std::max(left, right), colour);
    }
}

QRgb blend(QRgb background, QRgb ink, unsigned value, unsigned maximum) {
    auto mix = [&](int from, int to) { return from + (to - from) * int(value) / int(maximum); };
    return qRgb(mix(qRed(background), qRed(ink)), mix(qGreen(background), qGreen(ink)),
                mix(qBlue(background), qBlue(ink)));
}

// A glyph of one bit per pixel inside its box, on a box that holds nothing but
// paper: a byte's eight pixels are copied whole from the pattern table.
void drawBitsOnPaper(const Pixels &pixels, int left, int top, const bdf_glyph *glyph, const Rows &rows,
                     const BytePatterns &patterns) {
    const unsigned lastBits = unsigned(rows.width) - (rows.bytes - 1) * 8;
    const unsigned char *row = glyph->bitmap;
    unsigned remaining = glyph->bytes;
    for (unsigned r = 0; r < rows.count; ++r, row += rows.bytes, remaining -= rows.bytes) {
        QRgb *line = pixels.line(top + int(r)) + left;
        const unsigned available = std::min(rows.bytes, remaining);
        for (unsigned b = 0; b < available; ++b) {
            if (row[b] == 0) // paper already
                continue;
            if (b + 1 < rows.bytes || lastBits == 8)
                std::memcpy(line + b * 8, patterns[row[b]].data(), 8 * sizeof(QRgb));
            else
                std::memcpy(line + b * 8, patterns[row[b]].data(), lastBits * sizeof(QRgb));
        }
        if (remaining <= rows.bytes)
            break;
    }
}

// Calls visit(line, row, available) for every row of the glyph that lands on
// the surface: the surface line, the row's bytes and how many of them exist.
template <typename Visit>
void forEachVisibleRow(const Pixels &pixels, int top, const bdf_glyph *glyph, const Rows &rows, Visit visit) {
    for (unsigned r = 0; r < rows.count; ++r) {
        const int py = top + int(r);
        if (py < 0 || py >= pixels.height)
            continue;
        const unsigned char *row = glyph->bitmap + size_t(r) * rows.bytes;
        visit(pixels.line(py), row, std::min(rows.bytes, glyph->bytes - r * rows.bytes));
    }
}

// Any glyph of one bit per pixel: only set bits are drawn, clipped to the surface.
void drawBits(const Pixels &pixels, int left, int top, const bdf_glyph *glyph, QRgb ink) {
    const Rows rows(glyph, 1);
    const bool inside = left >= 0 && left + rows.width <= pixels.width;
    const unsigned lastBits = unsigned(rows.width) - (rows.bytes - 1) * 8;
    const unsigned lastMask = (0xFF00u >> lastBits) & 0xFFu;
    forEachVisibleRow(pixels, top, glyph, rows, [&](QRgb *line, const unsigned char *row, unsigned available) {
        for (unsigned b = 0; b < available; ++b) {
            unsigned bits = row[b];
            if (b == rows.bytes - 1)
                bits &= lastMask;
            const int base = left + int(b) * 8;
            while (bits) {
                const int k = std::countl_zero(static_cast<uint8_t>(bits));
                bits &= ~(0x80u >> k);
                const int px = base + k;
                if (inside || (px >= 0 && px < pixels.width))
                    line[px] = ink;
            }
        }
    });
}

// Pixels of 2, 4 or 8 bits: a grey level between the paper and the ink, by value.
void drawLevels(const Pixels &pixels, int left, int top, const bdf_glyph *glyph, unsigned bpp, QRgb paper,
                QRgb ink) {
    const Rows rows(glyph, bpp);
    const unsigned maximum = (1u << bpp) - 1;
    forEachVisibleRow(pixels, top, glyph, rows, [&](QRgb *line, const unsigned char *row, unsigned available) {
        for (int c = 0; c < rows.width; ++c) {
            const unsigned bit = unsigned(c) * bpp;
            if (bit / 8 >= available)
                break;
            const unsigned value = (row[bit / 8] >> (8 - bpp - bit % 8)) & maximum;
            const int px = left + c;
            if (value == 0 || px < 0 || px >= pixels.width)
                continue;
            line[px] = value == maximum ? ink : blend(paper, ink, value, maximum);
        }
    });
}

// DrawCell on prepared pixels; false when the glyph reaches outside its box.
bool drawCell(const Pixels &pixels, int x, int y, const bdf_bbx &fontBox, const bdf_glyph *glyph,
              CGlyphTable::CellMode mode, int bitsPerPixel, bool blankBox) {
    if (!glyph || glyph->bytes == 0 || !glyph->bitmap)
        return true;
    const int fw = fontBox.width;
    const int fh = fontBox.height;
    QRgb ink = CGlyphTable::kInk;
    QRgb paper = CGlyphTable::kBackground;
    if (mode == CGlyphTable::CELL_SELECTED) {
        fillRect(pixels, x, y, fw, fh, CGlyphTable::kSelectedFill);
        ink = CGlyphTable::kSelectedInk;
        paper = CGlyphTable::kSelectedFill;
    } else if (mode == CGlyphTable::CELL_UNSELECTED) {
        fillRect(pixels, x, y, fw, fh, CGlyphTable::kBackground);
    }

    const bool deep = bitsPerPixel == 2 || bitsPerPixel == 4 || bitsPerPixel == 8;
    const Placement place(x, y, fontBox, glyph, deep ? unsigned(bitsPerPixel) : 1u);
    const bool onSurface = x >= 0 && y >= 0 && x + fw <= pixels.width && y + fh <= pixels.height;

    if (deep)
        drawLevels(pixels, place.left, place.top, glyph, unsigned(bitsPerPixel), paper, ink);
    else if (place.fits && onSurface && place.rows.bytes && (mode != CGlyphTable::CELL_NORMAL || blankBox))
        drawBitsOnPaper(pixels, place.left, place.top, glyph, place.rows,
                        mode == CGlyphTable::CELL_SELECTED ? kWhiteOnNavy : kBlackOnWhite);
    else if (place.rows.bytes)
        drawBits(pixels, place.left, place.top, glyph, ink);
    return place.fits;
}

} // namespace

bool CGlyphTable::DrawCell(QImage &surface, int x, int y, const bdf_bbx &fontBox, const bdf_glyph *glyph,
                           CellMode mode, int bitsPerPixel, bool blankBox) {
    return drawCell(Pixels(surface), x, y, fontBox, glyph, mode, bitsPerPixel, blankBox);
}

void CGlyphTable::DrawBitmap(QImage &surface, int left, int top, const bdf_glyph *glyph, int bitsPerPixel) {
    if (!glyph || glyph->bytes == 0 || !glyph->bitmap || glyph->bbx.width == 0)
        return;
    const Pixels pixels(surface);
    if (bitsPerPixel == 2 || bitsPerPixel == 4 || bitsPerPixel == 8)
        drawLevels(pixels, left, top, glyph, unsigned(bitsPerPixel), kBackground, kInk);
    else
        drawBits(pixels, left, top, glyph, kInk);
}

void CGlyphTable::Paint(CTableArea *area) {
    m_bPageShown = false;
    if (!m_pFont || !area)
        return;
    EnsureBuffer();
    const int count = int(std::min<uint32_t>(m_pFont->glyphs_used, INT_MAX));
    const int firstIndex = m_nFirstRow * m_nColumns;
    const int end = std::max(firstIndex, std::min(firstIndex + m_nPageCells, count));
    // Line by line every pixel is written once; that needs every glyph of the
    // page inside its box and one bit per pixel, else the cells are drawn one
    // by one over the grid.
    if (!ComposeLines(firstIndex, end))
        PaintCells(firstIndex, end);
    if (firstIndex >= count) // no glyph on this page: nothing to show
        return;
    m_nDrawnSelected = m_nSelected;
    m_bPageShown = true;
    area->ShowBuffer(m_rcArea);
}

void CGlyphTable::PaintCells(int firstIndex, int end) {
    const Pixels pixels(m_buffer);
    if (m_rcArea.size() == m_buffer.size())
        m_buffer.fill(kBackground);
    else
        fillRect(pixels, 0, 0, m_rcArea.width(), m_rcArea.height(), kBackground);
    PaintGrid();

    // Cell boxes hold only background until a glyph larger than its box draws over its neighbours.
    bool blankBoxes = true;
    int x = 0, y = 0;
    for (int index = firstIndex; index < end; ++index) {
        blankBoxes &= drawCell(pixels, x, y, m_pFont->bbx, &m_pFont->glyphs[index],
                               index == m_nSelected ? CELL_SELECTED : CELL_NORMAL, m_pFont->bpp, blankBoxes);
        x += m_nCellWidth;
        if ((index - firstIndex) % m_nColumns == m_nColumns - 1) {
            x = 0;
            y += m_nCellHeight;
        }
    }
}

void CGlyphTable::PaintGrid() {
    // A dotted line: every other pixel from the line's start, end point excluded.
    const Pixels pixels(m_buffer);
    const QRect clip = m_rcArea.intersected(m_buffer.rect());
    const int gridHeight = std::min(m_nRows * m_nCellHeight, clip.bottom() + 1);
    const int gridWidth = std::min(m_nColumns * m_nCellWidth, clip.right() + 1);
    const int lastColumnLine = std::min(m_nColumns, (clip.right() + 1) / m_nCellWidth);
    for (int y = 0; y < gridHeight; y += 2) {
        QRgb *line = pixels.line(y);
        for (int k = 1; k <= lastColumnLine; ++k)
            line[k * m_nCellWidth - 1] = kGridLine;
    }
    for (int k = 1; k <= m_nRows; ++k) {
        const int y = k * m_nCellHeight - 1;
        if (y > clip.bottom())
            break;
        QRgb *line = pixels.line(y);
        for (int x = 0; x < gridWidth; x += 2)
            line[x] = kGridLine;
    }
}
