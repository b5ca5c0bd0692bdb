#ifndef GLYPHWERK_BROWSER_PREVIEW_LAYOUT_H
#define GLYPHWERK_BROWSER_PREVIEW_LAYOUT_H

// A line of text set in a font: which glyph stands for each character, where
// its box lies, and the line drawn into an image. A character's glyph is the
// one whose encoding is its Unicode code point; a character the font lacks (no
// such glyph, or beyond U+FFFF, which no encoding of the program reaches)
// takes the glyph of the font's DEFAULT_CHAR, or an empty box of the font box's
// size when the font has no such glyph. Glyphs stand on one baseline by their
// BBX offsets and the pen moves on by their device widths (an empty box by its
// width). A layout points into the font: lay the line out again after the font
// changed.

#include "bdf.h"

#include <QImage>
#include <QRect>
#include <QStringView>

#include <vector>

struct PreviewPlacement {
    char32_t character;
    const bdf_glyph *glyph; // null: the empty box
    QRect box;              // the glyph's box, or the empty box, in the image at zoom 1
};

class CPreviewLayout {
public:
    static constexpr int kMinZoom = 1;
    static constexpr int kMaxZoom = 8;
    // Beyond this many image pixels a line is not drawn: a font with huge boxes
    // must not take the memory of the machine.
    static constexpr qint64 kMaxPixels = qint64(1) << 24;

    CPreviewLayout(const bdf_font *font, QStringView text);

    const std::vector<PreviewPlacement> &Placements() const { return m_placements; }
    // The line at zoom 1: every box and the pen's whole way, and at least the
    // font box's height; at least one pixel each way.
    QSize Size() const { return m_size; }
    // Image rows above the baseline: the row where a glyph's descent begins.
    int Baseline() const { return m_nBaseline; }
    // The line in black on white (grey levels at 2 and 4 bits per pixel), each
    // font pixel a sharp square of `zoom` x `zoom` image pixels (zoom kept to
    // 1..8). A null image when it would be larger than kMaxPixels.
    QImage Render(int zoom) const;

private:
    std::vector<PreviewPlacement> m_placements;
    QSize m_size;
    int m_nBaseline = 0;
    int m_nBitsPerPixel = 1;
};

#endif
