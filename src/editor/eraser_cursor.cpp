#include "eraser_cursor.h"

#include "cell_colours.h"

int CEraserCursor::BlockStart(int k, int extent) {
    if (k < 1)
        return 0;
    if (k == extent - 1)
        return extent - block_size;
    return k - 1;
}

void CEraserCursor::Render(int zoom) {
    if (zoom == rendered_zoom)
        return;
    const int side = block_size * (zoom + 1);
    m_image = QImage(side + 1, side + 1, QImage::Format_RGB32);
    m_painter.FillRect(m_image, 0, 0, side + 1, side + 1, cell_colours::kWhite);
    m_painter.DrawGrid(m_image, 0, 0, block_size, block_size, zoom, zoom, cell_colours::kGridLine, PEN_SOLID);
    m_painter.DrawFrame(m_image, 0, 0, side, side, cell_colours::kBlack, PEN_SOLID);
    rendered_zoom = zoom;
}

void CEraserCursor::ComposeOnto(QImage &target, int originX, int originY, int k, int r, int width,
                                int height) const {
    const int pitch = rendered_zoom + 1;
    m_painter.CopyRect(target, BlockStart(k, width) * pitch - originX, BlockStart(r, height) * pitch - originY,
                       m_image, 0, 0, m_image.width(), m_image.height());
}
