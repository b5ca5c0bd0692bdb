#include "selection_layer.h"

#include "cell_colours.h"
#include "grid_bitmap.h"

void CSelectionLayer::Render(const unsigned char *grid, int width, int height, int bpp, int zoomLevel,
                             const CellRect &cells) {
    const int pitch = zoomLevel + 1;
    const int w = cells.right - cells.left, h = cells.bottom - cells.top;
    const int pw = w * pitch, ph = h * pitch;
    if (image_.width() != pw + 1 || image_.height() != ph + 1)
        image_ = QImage(pw + 1, ph + 1, QImage::Format_RGB32);
    painter_.FillRect(image_, 0, 0, pw + 1, ph + 1, cell_colours::kWhite);
    painter_.DrawGrid(image_, 0, 0, h, w, zoomLevel, zoomLevel, cell_colours::kGridLine, PEN_SOLID);
    painter_.DrawFrame(image_, 0, 0, pw, ph, cell_colours::kSelectionFrame, PEN_DOT);
    for (int i = 0; i < h; ++i)
        for (int j = 0; j < w; ++j)
            if (const int level = GridPixel(grid, width, height, bpp, cells.left + j, cells.top + i))
                painter_.FillRect(image_, j * pitch + 1, i * pitch + 1, zoomLevel, zoomLevel,
                                  cell_colours::LevelColour(level, bpp));
    zoom = zoomLevel;
    source = current = cells;
    destinationX_ = cells.left * pitch;
    destinationY_ = cells.top * pitch;
    sourceX_ = sourceY_ = 0;
    copyWidth_ = pw + 1;
    copyHeight_ = ph + 1;
    gridWidth_ = width;
    gridHeight_ = height;
}

bool CSelectionLayer::MoveSelection(const CellRect &cells) {
    if (image_.isNull() || cells == current || cells.left > gridWidth_ || cells.top > gridHeight_ ||
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
    place(cells.left, cells.right, gridWidth_, destinationX_, sourceX_, copyWidth_);
    place(cells.top, cells.bottom, gridHeight_, destinationY_, sourceY_, copyHeight_);
    current = cells;
    return true;
}

void CSelectionLayer::ComposeOnto(QImage &target, int originX, int originY) const {
    if (!image_.isNull())
        painter_.CopyRect(target, destinationX_ - originX, destinationY_ - originY, image_, sourceX_, sourceY_,
                          copyWidth_, copyHeight_);
}
