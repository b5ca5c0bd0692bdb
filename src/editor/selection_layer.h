#ifndef GLYPHWERK_EDITOR_SELECTION_LAYER_H
#define GLYPHWERK_EDITOR_SELECTION_LAYER_H

// The rectangle selection: an image of a block of cells (grid lines, the cells'
// levels, a red dotted border) drawn over the canvas at its current place. The
// image is sized to the block at the zoom it was rendered at, so no part of a
// selection is ever cut off by a fixed raster size.

#include "cell_rect.h"
#include "grid_painter.h"

#include <QImage>

class CSelectionLayer {
public:
    // Renders `cells` of `grid` (W x H at `bpp`) at `zoom` and places the image there.
    void Render(const unsigned char *grid, int width, int height, int bpp, int zoom, const CellRect &cells);
    // Moves the image to `cells`; refused (false) when nothing is rendered, when
    // nothing would change, or when the rectangle would leave the grid entirely.
    bool MoveSelection(const CellRect &cells);
    // Copies the visible part of the image onto `target`, whose top-left corner is
    // content pixel (originX, originY).
    void ComposeOnto(QImage &target, int originX, int originY) const;
    // Forgets the selection without recording anything.
    void Discard() { active = lifted = 0; }

    int active = 0;
    int lifted = 0;
    CellRect source;  // where the block was taken
    CellRect current; // where it is now
    int zoom = 0;
    const QImage &Image() const { return m_image; }

private:
    QImage m_image;
    CGridPainter m_painter;
    int m_nGridWidth = 0, m_nGridHeight = 0;
    int m_nDestinationX = 0, m_nDestinationY = 0;
    int m_nCopyWidth = 0, m_nCopyHeight = 0;
    int m_nSourceX = 0, m_nSourceY = 0;
};

#endif
