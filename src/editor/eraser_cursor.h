#ifndef GLYPHWERK_EDITOR_ERASER_CURSOR_H
#define GLYPHWERK_EDITOR_ERASER_CURSOR_H

// The eraser's on-canvas cursor: a 3 x 3 block of white cells inside a black
// square, drawn where the eraser would clear. The image is sized to the zoom.

#include "grid_painter.h"

#include <QImage>

class CEraserCursor {
public:
    // First column (or row) of the block the eraser clears around cell `k` of a
    // grid `extent` cells wide (or high): the 3 x 3 square centred on the
    // pointer, pushed inwards at the grid's edges.
    static int BlockStart(int k, int extent);

    // Renders the image for `zoom` unless it is already rendered at it.
    void Render(int zoom);
    // Copies the image onto `target` (top-left at content pixel originX, originY)
    // over the block around cell (k, r) of a W x H grid.
    void ComposeOnto(QImage &target, int originX, int originY, int k, int r, int width, int height) const;

    int visible = 0;
    int rendered_zoom = 0;
    static constexpr int block_size = 3;
    const QImage &Image() const { return m_image; }

private:
    QImage m_image;
    CGridPainter m_painter;
};

#endif
