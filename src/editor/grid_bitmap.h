#ifndef GLYPHWERK_EDITOR_GRID_BITMAP_H
#define GLYPHWERK_EDITOR_GRID_BITMAP_H

// The editor's working form of a glyph: one bitmap as large as the grid box
// (the font box, grown to hold a glyph that reaches outside it), rows top to
// bottom of (W * bpp + 7) / 8 bytes, leftmost pixel in the most significant
// bits, bits past the last column always 0. Grids are malloc'd byte blocks.
//
// A pixel is `bpp` bits (1, 2 or 4) as in the font, so 2- and 4-bit fonts are
// edited at their own depth: level 0 is background, the highest level ink.

#include "bdf.h"

#include <cstddef>
#include <cstdint>

enum ShiftDirection {
    SHIFT_UP = 1,
    SHIFT_DOWN = 2,
    SHIFT_LEFT = 3,
    SHIFT_RIGHT = 4,
    SHIFT_LEFT_UP = 5,
    SHIFT_LEFT_DOWN = 6,
    SHIFT_RIGHT_UP = 7,
    SHIFT_RIGHT_DOWN = 8,
};

struct ShiftStep {
    int dx;
    int dy;
};

// Column and row change of a direction; (0, 0) for a value outside 1 to 8.
ShiftStep DirectionStep(int direction);

// Smallest box around the set pixels of a grid; min_x 65535 marks an empty grid.
struct InkExtent {
    int32_t min_x;
    int32_t min_y;
    int32_t max_x;
    int32_t max_y;
    uint32_t bytes;
    const unsigned char *bitmap; // not owned
};

enum { INK_EXTENT_EMPTY = 65535 };

inline uint32_t GridRowBytes(int width, int bpp) { return (uint32_t(width) * uint32_t(bpp) + 7) / 8; }
inline uint32_t GridBytes(int width, int height, int bpp) { return GridRowBytes(width, bpp) * uint32_t(height); }
inline int MaxLevel(int bpp) { return (1 << bpp) - 1; }

// Pixel level at column k, row r (0 when outside the grid).
int GridPixel(const unsigned char *grid, int width, int height, int bpp, int k, int r);
// Writes a level at column k, row r; nothing when outside the grid.
void SetGridPixel(unsigned char *grid, int width, int height, int bpp, int k, int r, int level);

// The box the editor's grid covers for `glyph`: the font box itself when the
// glyph's box lies within it, otherwise the union of both. Returns false when
// that union does not fit the 16-bit fields of a box.
bool GridBoxFor(const bdf_bbx &fontBox, const bdf_glyph *glyph, bdf_bbx *gridBox);

// Places the glyph's set pixels into a zero-filled grid of the box; a null
// glyph or one without bytes leaves it blank. Pixels outside the grid are skipped.
void UnpackGlyph(unsigned char *grid, const bdf_glyph *glyph, const bdf_bbx &gridBox, int bpp = 1);

// Writes `source` moved one pixel in `direction` into the zero-filled `destination`;
// pixels pushed over an edge are lost.
void ShiftBitmap(const unsigned char *source, unsigned char *destination, int direction, int width,
                 int height, int bpp = 1);

// The ink extent of a grid, malloc'd (the caller frees it), or null when out of memory.
InkExtent *ComputeInkExtent(const unsigned char *grid, int width, int height, int bpp = 1);

// Replaces the glyph's bitmap, box and byte count with the pixels inside the
// extent; an empty extent leaves a 0 x 0 box without bitmap and the old offsets.
// Returns false, the glyph unchanged, when memory runs out.
bool PackIntoGlyph(bdf_glyph *glyph, const InkExtent &extent, const bdf_bbx &gridBox, int bpp = 1);

#endif
