#ifndef GLYPHWERK_EDITOR_GRID_PAINTER_H
#define GLYPHWERK_EDITOR_GRID_PAINTER_H

// Rectangles, axis-aligned lines and grids drawn straight into an RGB32 image,
// pixel-exact and clipped to the image. Lines exclude their end point; a dotted
// pen sets every pixel whose x + y is even, so dots line up across lines.

#include <QImage>
#include <QRgb>

enum PenStyle { PEN_SOLID = 0, PEN_DOT = 2 };

class CGridPainter {
public:
    void FillRect(QImage &image, int x, int y, int width, int height, QRgb colour) const;
    // Outline through left-top, right-top, right-bottom, left-bottom: every pixel
    // of the rectangle's border, right and bottom included.
    void DrawFrame(QImage &image, int left, int top, int right, int bottom, QRgb colour, PenStyle pen) const;
    // A horizontal or vertical line from (x1, y1) up to, not including, (x2, y2).
    void DrawLine(QImage &image, int x1, int y1, int x2, int y2, QRgb colour, PenStyle pen) const;
    void DrawGrid(QImage &image, int x0, int y0, int rows, int columns, int cellWidth, int cellHeight,
                  QRgb colour, PenStyle pen) const;

    // Copies a width x height block of `source` at (sourceX, sourceY) opaquely onto
    // `target` at (x, y); both images are 32-bit RGB.
    void CopyRect(QImage &target, int x, int y, const QImage &source, int sourceX, int sourceY, int width,
                  int height) const;

    int pen_width = 1;

private:
    void Plot(QImage &image, int x, int y, QRgb colour, PenStyle pen) const;
};

#endif
