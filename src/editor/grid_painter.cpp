#include "grid_painter.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

void CGridPainter::FillRect(QImage &image, int x, int y, int width, int height, QRgb colour) const {
    const int left = std::max(x, 0), right = std::min(x + width, image.width());
    const int top = std::max(y, 0), bottom = std::min(y + height, image.height());
    if (left >= right)
        return;
    for (int row = top; row < bottom; ++row) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(row));
        std::fill(line + left, line + right, colour);
    }
}

void CGridPainter::Plot(QImage &image, int x, int y, QRgb colour, PenStyle pen) const {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return;
    if (pen == PEN_DOT && (x + y) % 2 != 0)
        return;
    reinterpret_cast<QRgb *>(image.scanLine(y))[x] = colour;
}

void CGridPainter::DrawLine(QImage &image, int x1, int y1, int x2, int y2, QRgb colour, PenStyle pen) const {
    if (y1 == y2) {
        if (pen == PEN_SOLID) {
            FillRect(image, std::min(x1, x2 + 1), y1, std::abs(x2 - x1), 1, colour);
            return;
        }
        const int step = x2 > x1 ? 1 : -1;
        for (int x = x1; x != x2; x += step)
            Plot(image, x, y1, colour, pen);
    } else if (x1 == x2) {
        const int step = y2 > y1 ? 1 : -1;
        for (int y = y1; y != y2; y += step)
            Plot(image, x1, y, colour, pen);
    }
}

void CGridPainter::DrawFrame(QImage &image, int left, int top, int right, int bottom, QRgb colour,
                             PenStyle pen) const {
    DrawLine(image, left, top, right, top, colour, pen);
    DrawLine(image, right, top, right, bottom, colour, pen);
    DrawLine(image, right, bottom, left, bottom, colour, pen);
    DrawLine(image, left, bottom, left, top, colour, pen);
}

void CGridPainter::DrawGrid(QImage &image, int x0, int y0, int rows, int columns, int cellWidth,
                            int cellHeight, QRgb colour, PenStyle pen) const {
    const int stepX = cellWidth + pen_width, stepY = cellHeight + pen_width;
    for (int i = 0; i <= columns; ++i)
        DrawLine(image, x0 + i * stepX, y0, x0 + i * stepX, y0 + rows * stepY, colour, pen);
    for (int j = 0; j <= rows; ++j)
        DrawLine(image, x0, y0 + j * stepY, x0 + columns * stepX, y0 + j * stepY, colour, pen);
}

void CGridPainter::CopyRect(QImage &target, int x, int y, const QImage &source, int sourceX, int sourceY,
                            int width, int height) const {
    // Clip against both images, moving the source and target corners together.
    if (x < 0) { sourceX -= x; width += x; x = 0; }
    if (y < 0) { sourceY -= y; height += y; y = 0; }
    if (sourceX < 0) { x -= sourceX; width += sourceX; sourceX = 0; }
    if (sourceY < 0) { y -= sourceY; height += sourceY; sourceY = 0; }
    width = std::min({width, target.width() - x, source.width() - sourceX});
    height = std::min({height, target.height() - y, source.height() - sourceY});
    if (width <= 0 || height <= 0)
        return;
    for (int row = 0; row < height; ++row)
        memcpy(reinterpret_cast<QRgb *>(target.scanLine(y + row)) + x,
               reinterpret_cast<const QRgb *>(source.constScanLine(sourceY + row)) + sourceX,
               size_t(width) * sizeof(QRgb));
}
