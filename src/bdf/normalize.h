#ifndef GLYPHWERK_BDF_NORMALIZE_H
#define GLYPHWERK_BDF_NORMALIZE_H

// The shapes in which the writer puts glyphs before writing them.

#include "bdf.h"

// The box bdf_crop_glyph gives the glyph, which is the box the writer writes
// it with outside padded character-cell fonts. The glyph is not changed.
bdf_bbx bdf_cropped_box(const bdf_glyph *glyph, uint16_t bpp);

// Crops the glyph in place to the box of its set pixels. A glyph without ink
// loses its bitmap and gets an all-zero box. When the cropped box has the same
// row size and height as the old one, nothing changes. Returns 0 only when
// memory ran out (the glyph is then unchanged).
int bdf_crop_glyph(bdf_glyph *glyph, uint16_t bpp);

// Draws the glyph into `cell`, a cleared bitmap the size of the font box
// `box`, the glyph's origin and baseline placed on the font box's. Pixels that
// fall outside the cell are clipped. A glyph whose box has the size of the
// font box is copied unchanged.
void bdf_pad_glyph(const bdf_glyph *glyph, const bdf_bbx *box, uint16_t bpp, unsigned char *cell,
                   uint32_t cell_bytes);

#endif
