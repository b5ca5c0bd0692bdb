#include "grid_bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr ShiftStep kSteps[9] = {
    {0, 0}, {0, -1}, {0, 1}, {-1, 0}, {1, 0}, {-1, -1}, {-1, 1}, {1, -1}, {1, 1},
};

bool Inside(int width, int height, int k, int r) { return k >= 0 && k < width && r >= 0 && r < height; }

} // namespace

ShiftStep DirectionStep(int direction) {
    return direction >= 1 && direction <= 8 ? kSteps[direction] : kSteps[0];
}

int GridPixel(const unsigned char *grid, int width, int height, int bpp, int k, int r) {
    if (!Inside(width, height, k, r))
        return 0;
    const uint32_t bit = uint32_t(k) * uint32_t(bpp);
    const unsigned char byte = grid[size_t(r) * GridRowBytes(width, bpp) + bit / 8];
    return (byte >> (8 - bpp - bit % 8)) & MaxLevel(bpp);
}

void SetGridPixel(unsigned char *grid, int width, int height, int bpp, int k, int r, int level) {
    if (!Inside(width, height, k, r))
        return;
    const uint32_t bit = uint32_t(k) * uint32_t(bpp);
    const int shift = 8 - bpp - int(bit % 8);
    unsigned char &byte = grid[size_t(r) * GridRowBytes(width, bpp) + bit / 8];
    byte = static_cast<unsigned char>((byte & ~(MaxLevel(bpp) << shift)) | ((level & MaxLevel(bpp)) << shift));
}

bool GridBoxFor(const bdf_bbx &fontBox, const bdf_glyph *glyph, bdf_bbx *gridBox) {
    *gridBox = fontBox;
    if (!glyph || glyph->bbx.width == 0 || glyph->bbx.height == 0)
        return true;
    const bdf_bbx &g = glyph->bbx;
    const int left = std::min<int>(fontBox.x_offset, g.x_offset);
    const int right = std::max<int>(fontBox.x_offset + fontBox.width, g.x_offset + g.width);
    const int top = std::max<int>(fontBox.ascent, g.ascent);
    const int bottom = std::min<int>(fontBox.ascent - fontBox.height, g.ascent - g.height);
    if (left == fontBox.x_offset && right == fontBox.x_offset + fontBox.width && top == fontBox.ascent &&
        bottom == fontBox.ascent - fontBox.height)
        return true;
    if (right - left > 65535 || top - bottom > 65535 || top > INT16_MAX || bottom < INT16_MIN ||
        -bottom > INT16_MAX)
        return false;
    gridBox->width = uint16_t(right - left);
    gridBox->height = uint16_t(top - bottom);
    gridBox->x_offset = int16_t(left);
    gridBox->y_offset = int16_t(bottom);
    gridBox->ascent = int16_t(top);
    gridBox->descent = int16_t(-bottom);
    return true;
}

void UnpackGlyph(unsigned char *grid, const bdf_glyph *glyph, const bdf_bbx &gridBox, int bpp) {
    if (!glyph || glyph->bytes == 0 || !glyph->bitmap || glyph->bbx.width == 0)
        return;
    const int width = gridBox.width, height = gridBox.height;
    const int column0 = int(glyph->bbx.x_offset) - int(gridBox.x_offset);
    const int row0 = int(gridBox.ascent) - int(glyph->bbx.ascent);
    const uint32_t rowBytes = GridRowBytes(glyph->bbx.width, bpp);
    const int perByte = 8 / bpp;
    // Byte by byte, as far as the bytes reach; the bits after a row's last pixel are ignored.
    for (uint32_t i = 0; i < glyph->bytes; ++i) {
        const uint32_t row = i / rowBytes;
        if (row >= glyph->bbx.height)
            break;
        const unsigned char byte = glyph->bitmap[i];
        if (byte == 0)
            continue;
        const int firstColumn = int(i % rowBytes) * perByte;
        for (int p = 0; p < perByte && firstColumn + p < glyph->bbx.width; ++p) {
            const int level = (byte >> (8 - bpp * (p + 1))) & MaxLevel(bpp);
            if (level)
                SetGridPixel(grid, width, height, bpp, column0 + firstColumn + p, row0 + int(row), level);
        }
    }
}

void ShiftBitmap(const unsigned char *source, unsigned char *destination, int direction, int width,
                 int height, int bpp) {
    const ShiftStep step = DirectionStep(direction);
    for (int r = 0; r < height; ++r)
        for (int k = 0; k < width; ++k)
            if (const int level = GridPixel(source, width, height, bpp, k, r))
                SetGridPixel(destination, width, height, bpp, k + step.dx, r + step.dy, level);
}

InkExtent *ComputeInkExtent(const unsigned char *grid, int width, int height, int bpp) {
    auto *extent = static_cast<InkExtent *>(malloc(sizeof(InkExtent)));
    if (!extent)
        return nullptr;
    *extent = {INK_EXTENT_EMPTY, INK_EXTENT_EMPTY, 0, 0, GridBytes(width, height, bpp), grid};
    for (int r = 0; r < height; ++r)
        for (int k = 0; k < width; ++k)
            if (GridPixel(grid, width, height, bpp, k, r)) {
                extent->min_x = std::min(extent->min_x, k);
                extent->max_x = std::max(extent->max_x, k);
                extent->min_y = std::min(extent->min_y, r);
                extent->max_y = std::max(extent->max_y, r);
            }
    return extent;
}

bool PackIntoGlyph(bdf_glyph *glyph, const InkExtent &extent, const bdf_bbx &gridBox, int bpp) {
    if (extent.min_x == INK_EXTENT_EMPTY) {
        glyph->bbx.width = 0;
        glyph->bbx.height = 0;
        glyph->bytes = 0;
        free(glyph->bitmap);
        glyph->bitmap = nullptr;
        return true;
    }
    const int w = extent.max_x - extent.min_x + 1, h = extent.max_y - extent.min_y + 1;
    const uint32_t size = GridBytes(w, h, bpp);
    unsigned char *storage = glyph->bitmap;
    if (!storage)
        storage = static_cast<unsigned char *>(malloc(size));
    else if (glyph->bytes < size)
        storage = static_cast<unsigned char *>(realloc(storage, size));
    if (!storage)
        return false;
    glyph->bitmap = storage;
    memset(storage, 0, size);
    const int gridWidth = gridBox.width, gridHeight = gridBox.height;
    for (int r = extent.min_y; r <= extent.max_y; ++r)
        for (int k = extent.min_x; k <= extent.max_x; ++k)
            if (const int level = GridPixel(extent.bitmap, gridWidth, gridHeight, bpp, k, r))
                SetGridPixel(storage, w, h, bpp, k - extent.min_x, r - extent.min_y, level);
    glyph->bbx.height = uint16_t(h);
    glyph->bbx.width = uint16_t(w);
    glyph->bbx.x_offset = int16_t(gridBox.x_offset + extent.min_x);
    glyph->bbx.y_offset = int16_t(gridBox.ascent - extent.max_y - 1);
    glyph->bbx.ascent = int16_t(glyph->bbx.y_offset + h);
    glyph->bbx.descent = int16_t(-glyph->bbx.y_offset);
    glyph->bytes = size;
    return true;
}
