#ifndef GLYPHWERK_BDF_GLYPH_EDIT_H
#define GLYPHWERK_BDF_GLYPH_EDIT_H

/* Changing a font's glyphs in memory, for editors: glyphs move into and out of
 * the encoded list (kept ascending, no encoding twice), are copied whole, change
 * bit depth, and travel as BDF text. Inserting can move the whole list in
 * memory: pointers to its glyphs do not survive an insert or a removal. */

#include "bdf.h"

/* The index of the encoded glyph with `encoding`, or -1. */
int32_t bdf_find_glyph(const bdf_font *font, int32_t encoding);

/* Moves `glyph` into the encoded list at the place of its encoding; the font
 * takes over its name and bitmap and `*glyph` is zeroed. Returns the new index,
 * or -1 (the glyph stays the caller's) for a negative encoding, one the font
 * already has, or memory running out. */
int32_t bdf_insert_glyph(bdf_font *font, bdf_glyph *glyph);

/* Moves the encoded glyph at `index` out of the font into `*out`, which then
 * owns its name and bitmap (release them with bdf_free_glyph); the glyphs
 * behind it move up one place. 0 for an index out of range. */
int bdf_remove_glyph(bdf_font *font, uint32_t index, bdf_glyph *out);

/* Makes `to` a copy of `from` with a name and bitmap of its own, releasing what
 * `to` held. 0 when memory ran out (`to` then unchanged). */
int bdf_copy_glyph(bdf_glyph *to, const bdf_glyph *from);

/* Releases the glyph's name and bitmap and zeroes the record. */
void bdf_free_glyph(bdf_glyph *glyph);

/* Redraws the glyph's bitmap from `from_bpp` to `to_bpp` bits per pixel (1, 2
 * or 4), each pixel's level scaled to the nearest of the new depth: a set
 * pixel of a 1-bit glyph becomes the darkest level. 0 for another depth or
 * when memory ran out (the glyph then unchanged). */
int bdf_convert_glyph_depth(bdf_glyph *glyph, uint16_t from_bpp, uint16_t to_bpp);

/* A new font holding a copy of `glyph` and the header of `font` (name, size,
 * resolutions, box, spacing, common width, depth; no properties or comments):
 * what bdf_save_font_text turns into the glyph's block as Save writes it.
 * Null when memory ran out; the caller frees it with bdf_free_font. */
bdf_font *bdf_glyph_font(const bdf_font *font, const bdf_glyph *glyph);

/* Reads BDF text that holds glyphs: a whole font, or glyph blocks (STARTCHAR
 * to ENDCHAR) without a header, which are read as a font of depth `bpp` unless
 * the digits of their first bitmap row fit only another depth. Null when the
 * text holds neither; the caller frees the result with bdf_free_font. */
bdf_font *bdf_load_glyph_text(const char *text, size_t length, uint16_t bpp);

#endif
