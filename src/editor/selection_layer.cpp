#include "selection_layer.h"

#include "cell_colours.h"
#include "grid_bitmap.h"

void CSelectionLayer::Render(const unsigned char *grid, int width, int height, int bpp, int zoomLevel,
                             const CellRect &cells) {
    const int pitch = zoomLevel + 1;
    const int w = cells.right - cells.left, h = cells.bottom - cells.top;
    const int pw = w * pitch, ph = h * pitch;
    if (m_image.width() != pw + 1 || m_image.height() != ph + 1)
        m_image = QImage(pw + 1, ph + 1, QImage::Format_RGB32);
    m_painter.FillRect(m_image, 0, 0, pw + 1, ph + 1, cell_colours::kWhite);
    m_painter.DrawGrid(m_image, 0, 0, h, w, zoomLevel, zoomLevel, cell_colours::kGridLine, PEN_SOLID);
    m_painter.DrawFrame(m_image, 0, 0, pw, ph, cell_colours::kSelectionFrame, PEN_DOT);
    for (int i = 0; i < h; ++i)
        for (int j = 0; j < w; ++j)
            if (const int level = GridPixel(grid, width, height, bpp, cells.left + j, cells.top + i))
                m_painter.FillRect(m_image, j * pitch + 1, i * pitch + 1, zoomLevel, zoomLevel,
                                   cell_colours::LevelColour(level, bpp));
    zoom = zoomLevel;
    source = current = cells;
    m_nDestinationX = cells.left * pitch;
    m_nDestinationY = cells.top * pitch;
    m_nSourceX = m_nSourceY = 0;
    m_nCopyWidth = pw + 1;
    m_nCopyHeight = ph + 1;
    m_nGridWidth = width;
    m_nGridHeight = height;
}

bool CSelectionLayer::MoveSelection(const CellRect &cells) {
    if (m_image.isNull() || cells == current || cells.left > m_nGridWidth || cells.top > m_nGridHeight ||
        cells.right < 0 || cells.bottom < 0)
        return false;
    const int pitch = zoom + 1;
    // One axis at a time: the part hanging over an edge is not copied.
    auto place = [pitch](int low, int high, int limit, int &destination, int &sourceOffset, int &copy) {
        if (low < 0) {
            destination = 0;
            sourceOffset = -low * pitch;
            copy = high * pitch;
        } else if (high >= limit) {
            destination = low * pitch;
            sourceOffset = 0;
            copy = (limit - low) * pitch;
        } else {
            destination = low * pitch;
            sourceOffset = 0;
            copy = (high - low) * pitch;
        }
        copy += 1;
    };
    place(cells.left, cells.right, m_nGridWidth, m_nDestinationX, m_nSourceX, m_nCopyWidth);
    place(cells.top, cells.bottom, m_nGridHeight, m_nDestinationY, m_nSourceY, m_nCopyHeight);
    current = cells;
    return true;
}

void CSelectionLayer::ComposeOnto(QImage &target, int originX, int originY) const {
    if (!m_image.isNull())
        m_painter.CopyRect(target, m_nDestinationX - originX, m_nDestinationY - originY, m_image, m_nSourceX,
                           m_nSourceY, m_nCopyWidth, m_nCopyHeight);
}
