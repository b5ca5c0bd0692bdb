// Composing the glyph table's page line by line. The glyphs of a row of cells
// are first gathered as one bit per pixel; then each line of the page is
// written once from left to right, eight pixels per byte of bits, with the
// grid's dots set in it. Drawing the cells one by one over a filled page
// wrote most pixels twice and spent its time per glyph and per byte.

#include "glyph_table.h"
#include "glyph_table_pixels.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

using namespace glyph_table_pixels;

// ORs the set bits of a glyph into the bit lines of its row of cells; false
// when the glyph reaches out of the font box of its cell at `x`.
bool addGlyph(uint8_t *bits, size_t stride, int x, const bdf_bbx &fontBox, const bdf_glyph &glyph) {
    if (!glyph.bitmap || glyph.bytes == 0)
        return true;
    const Placement place(x, 0, fontBox, &glyph, 1);
    if (!place.fits)
        return false;
    const Rows &rows = place.rows;
    if (rows.bytes == 0)
        return true;
    // Bits of the last byte past the glyph's width are padding, never ink.
    const unsigned lastMask = (0xFF00u >> (unsigned(rows.width) - (rows.bytes - 1) * 8)) & 0xFFu;
    const unsigned shift = unsigned(place.left) % 8;
    const unsigned char *row = glyph.bitmap;
    uint8_t *line = bits + size_t(place.top) * stride + unsigned(place.left) / 8;
    unsigned r = 0;
    // Rows of up to 24 pixels (most fonts) go as 32-bit words, the shift
    // fitting in the spare byte, as long as four bytes are left to read.
    if (rows.bytes <= 3 && glyph.bytes >= 4) {
        const unsigned wordRows = std::min(rows.count, (glyph.bytes - 4) / rows.bytes + 1);
        const uint32_t mask = ~uint32_t(0) << (32 - unsigned(rows.width));
        for (; r < wordRows; ++r, row += rows.bytes, line += stride)
            qToBigEndian<quint32>(qFromBigEndian<quint32>(line) | (qFromBigEndian<quint32>(row) & mask) >> shift,
                                  line);
    }
    // Byte by byte: the bits a byte shifts out go into the next one, so each target byte is written once.
    for (; r < rows.count; ++r, row += rows.bytes, line += stride) {
        const unsigned available = std::min(rows.bytes, glyph.bytes - r * rows.bytes);
        unsigned carry = 0;
        for (unsigned b = 0; b < available; ++b) {
            const unsigned value = b + 1 == rows.bytes ? row[b] & lastMask : row[b];
            line[b] |= uint8_t(carry | value >> shift);
            carry = value << (8 - shift);
        }
        line[available] |= uint8_t(carry);
    }
    return true;
}

// The first `width` pixels of a line from its bits.
void expand(const uint8_t *bits, QRgb *line, int width, const BytePatterns &patterns) {
    const int whole = width / 8;
    for (int i = 0; i < whole; ++i)
        std::memcpy(line + 8 * i, patterns[bits[i]].data(), 8 * sizeof(QRgb));
    if (width % 8)
        std::memcpy(line + 8 * whole, patterns[bits[whole]].data(), size_t(width % 8) * sizeof(QRgb));
}

// Pixels `from` to `to` (excluded) of a line from its bits, in the selected cell's colours.
void expandSelected(const uint8_t *bits, QRgb *line, int from, int to) {
    for (int x = from; x < to; ++x)
        line[x] = bits[x / 8] & (0x80 >> (x % 8)) ? CGlyphTable::kSelectedInk : CGlyphTable::kSelectedFill;
}

// A horizontal grid line: light grey on every other pixel from the left to
// `gridWidth` (excluded), background from there to `width`.
void dottedLine(QRgb *line, int gridWidth, int width) {
    constexpr QRgb grey = CGlyphTable::kGridLine, white = CGlyphTable::kBackground;
    constexpr QRgb dots[8] = {grey, white, grey, white, grey, white, grey, white};
    int x = 0;
    for (; x + 8 <= gridWidth; x += 8)
        std::memcpy(line + x, dots, sizeof dots);
    for (; x < gridWidth; ++x)
        line[x] = dots[x % 2];
    std::fill(line + gridWidth, line + width, white);
}

} // namespace

bool CGlyphTable::ComposeLines(int firstIndex, int end) {
    const bdf_font &font = *m_pFont;
    const int width = m_rcArea.width(), height = m_rcArea.height();
    const int gridWidth = m_nColumns * m_nCellWidth;
    if (font.bpp == 2 || font.bpp == 4 || font.bpp == 8 || gridWidth > width)
        return false;
    const Pixels pixels(m_buffer);
    // Spare bytes take the low bits of a glyph byte shifted past the right
    // edge, and the 32-bit words of short glyph rows there.
    const size_t stride = size_t(width) / 8 + 4;
    const int boxHeight = m_nCellHeight - 1;
    m_cellRowBits.resize(m_nRows > 0 ? stride * size_t(boxHeight) : 0);
    uint8_t *bits = m_cellRowBits.data();

    for (int row = 0; row < m_nRows; ++row) {
        const int top = row * m_nCellHeight;
        const int rowFirst = firstIndex + row * m_nColumns;
        const int rowEnd = std::min(rowFirst + m_nColumns, end);
        std::fill(m_cellRowBits.begin(), m_cellRowBits.end(), 0);
        for (int index = rowFirst; index < rowEnd; ++index)
            if (!addGlyph(bits, stride, (index - rowFirst) * m_nCellWidth, font.bbx, font.glyphs[index]))
                return false;
        // The selected cell's box is navy where its glyph has a bitmap (else it is not drawn at all).
        int selectedLeft = 0, selectedRight = 0;
        if (m_nSelected >= rowFirst && m_nSelected < rowEnd && font.glyphs[m_nSelected].bitmap &&
            font.glyphs[m_nSelected].bytes) {
            selectedLeft = (m_nSelected - rowFirst) * m_nCellWidth;
            selectedRight = selectedLeft + font.bbx.width;
        }
        for (int y = top; y <= top + boxHeight; ++y) {
            QRgb *line = pixels.line(y);
            if (y < top + boxHeight) {
                const uint8_t *lineBits = bits + size_t(y - top) * stride;
                expand(lineBits, line, width, kBlackOnWhite);
                expandSelected(lineBits, line, selectedLeft, selectedRight);
            } else {
                dottedLine(line, gridWidth, width);
            }
            // The vertical grid lines are dotted from the top: on every even line.
            if (y % 2 == 0)
                for (int x = m_nCellWidth - 1; x < gridWidth; x += m_nCellWidth)
                    line[x] = kGridLine;
        }
    }
    for (int y = m_nRows * m_nCellHeight; y < height; ++y)
        std::fill_n(pixels.line(y), width, kBackground);
    return true;
}
