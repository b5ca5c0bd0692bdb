#ifndef GLYPHWERK_EDITOR_READ_BACK_CANVAS_H
#define GLYPHWERK_EDITOR_READ_BACK_CANVAS_H

// Turns a drawn canvas back into a grid bitmap by sampling the top-left
// interior pixel of every cell (x = 1 + k * pitch, y = 1 + r * pitch).

#include <QImage>

// A new zero-filled grid (malloc'd; the caller owns it) holding the level of
// every cell's sample; samples outside the image or of no level grey are clear.
// Null when out of memory.
unsigned char *ReadBackCanvas(const QImage &raster, int pitch, int width, int height, int bpp = 1);

#endif
