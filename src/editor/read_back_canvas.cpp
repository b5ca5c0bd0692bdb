#include "read_back_canvas.h"

#include "cell_colours.h"
#include "grid_bitmap.h"

#include <cstdlib>

unsigned char *ReadBackCanvas(const QImage &input, int pitch, int width, int height, int bpp) {
    const QImage raster = input.format() == QImage::Format_RGB32 || input.format() == QImage::Format_ARGB32
                              ? input
                              : input.convertToFormat(QImage::Format_RGB32);
    const uint32_t bytes = GridBytes(width, height, bpp);
    auto *grid = static_cast<unsigned char *>(calloc(bytes ? bytes : 1, 1));
    if (!grid)
        return nullptr;
    for (int r = 0; r < height; ++r) {
        const int y = 1 + r * pitch;
        if (y >= raster.height())
            break;
        const auto *line = reinterpret_cast<const QRgb *>(raster.constScanLine(y));
        for (int k = 0; k < width; ++k) {
            const int x = 1 + k * pitch;
            if (x >= raster.width())
                break;
            if (const int level = cell_colours::LevelOfColour(line[x], bpp))
                SetGridPixel(grid, width, height, bpp, k, r, level);
        }
    }
    return grid;
}
