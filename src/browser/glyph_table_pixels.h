#ifndef GLYPHWERK_BROWSER_GLYPH_TABLE_PIXELS_H
#define GLYPHWERK_BROWSER_GLYPH_TABLE_PIXELS_H

// What the two ways of painting the glyph table share (cell by cell in
// glyph_table_paint.cpp, line by line in glyph_table_lines.cpp): the buffer's
// pixel rows, the eight pixels of every bitmap byte, and where a glyph's
// bitmap lies in its cell.

#include "bdf.h"
#include "glyph_table.h"

#include <QImage>

#include <array>

namespace glyph_table_pixels {

// Pixel rows of a 32-bit image, addressed without Qt calls per row.
struct Pixels {
    explicit Pixels(QImage &image)
        : bits(image.bits()), stride(image.bytesPerLine()), width(image.width()), height(image.height()) {}
    QRgb *line(int y) const { return reinterpret_cast<QRgb *>(bits + stride * y); }
    uchar *bits;
    qsizetype stride;
    int width, height;
};

// The eight pixels of every byte value, most significant bit leftmost.
using BytePatterns = std::array<std::array<QRgb, 8>, 256>;
constexpr BytePatterns makePatterns(QRgb paper, QRgb ink) {
    BytePatterns table{};
    for (int byte = 0; byte < 256; ++byte)
        for (int bit = 0; bit < 8; ++bit)
            table[byte][bit] = (byte & (0x80 >> bit)) ? ink : paper;
    return table;
}
inline constexpr BytePatterns kBlackOnWhite = makePatterns(CGlyphTable::kBackground, CGlyphTable::kInk);
inline constexpr BytePatterns kWhiteOnNavy = makePatterns(CGlyphTable::kSelectedFill, CGlyphTable::kSelectedInk);

// Bitmap rows of a glyph at `bpp` bits per pixel: as many as its box is high
// when the bitmap has the size its box gives, else as many as the bytes hold.
struct Rows {
    Rows(const bdf_glyph *glyph, unsigned bpp)
        : width(glyph->bbx.width), bytes((unsigned(width) * bpp + 7) / 8),
          count(glyph->bytes == bytes * glyph->bbx.height ? glyph->bbx.height
                : bytes                                  ? (glyph->bytes + bytes - 1) / bytes
                                                         : 0) {}
    int width;
    unsigned bytes;
    unsigned count;
};

// A glyph's bitmap in the cell whose top-left corner is (x, y): centred in the
// font box's width; every glyph's top sits as far below the cell's top as the
// font's ascent exceeds its own, so all share one baseline.
struct Placement {
    Placement(int x, int y, const bdf_bbx &fontBox, const bdf_glyph *glyph, unsigned bpp)
        : left(x + (fontBox.width - glyph->bbx.width) / 2), top(y + fontBox.ascent - glyph->bbx.ascent),
          rows(glyph, bpp), fits(left >= x && left + rows.width <= x + fontBox.width && top >= y &&
                                 top + int(rows.count) <= y + fontBox.height) {}
    int left, top;
    Rows rows;
    // The bitmap lies inside the font box (else it draws over the neighbours).
    bool fits;
};

} // namespace glyph_table_pixels

#endif
