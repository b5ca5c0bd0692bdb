#ifndef GLYPHWERK_BDF_GLYPH_BITMAP_H
#define GLYPHWERK_BDF_GLYPH_BITMAP_H

/* Building the current glyph's bitmap from its rows. The storage grows with the
 * rows the file really gives (a BBX line alone reserves nothing), and the glyph
 * is completed when it ends, so that its `bytes` is always height x row bytes. */

#include "reader_state.h"

/* The glyph that SWIDTH, DWIDTH, BBX, BITMAP and rows apply to: the last glyph
 * of the list the current encoding points at; null before that list's first. */
static inline bdf_glyph *bdf_current_glyph(bdf_parse_state *state) {
    bdf_font *font = state->font;
    if (state->glyph_encoding < 0)
        return font->unencoded_used ? &font->unencoded[font->unencoded_used - 1] : nullptr;
    return font->glyphs_used ? &font->glyphs[font->glyphs_used - 1] : nullptr;
}

/* After a BBX line: drops any bitmap the glyph had and starts over at row 0.
 * The glyph stays open for rows until bdf_bitmap_end, which must come before
 * its list can move (the next ENCODING) or the current glyph changes. */
void bdf_bitmap_begin(bdf_parse_state *state, bdf_glyph *glyph);

/* The keywords that are handled before a bitmap row would be: while rows
 * come, any other line is one. */
static inline bool bdf_ends_rows(const char *line, uint32_t length) {
    switch (line[0]) {
    case 'C': return BDF_KEYWORD(line, length, "COMMENT");
    case 'E':
        return BDF_KEYWORD(line, length, "ENDCHAR") || BDF_KEYWORD(line, length, "ENCODING") ||
               BDF_KEYWORD(line, length, "ENDFONT");
    case 'S': return BDF_KEYWORD(line, length, "STARTCHAR");
    default: return false;
    }
}

/* The handler while the rows of a kept glyph come (bdf_glyph_handler installs
 * it at the first row): rows are most of a font, and this small function
 * stores them without the glyph handler's dispatch. A line that ends the rows
 * goes back to bdf_glyph_handler. */
int bdf_row_handler(char *line, uint32_t length, uint32_t lineno, bdf_handler_slot *next,
                    bdf_parse_state *state);

/* Stores one row of the open glyph (hexadecimal digits, two per byte; other characters and
 * missing digits read as 0) or notes an extra row. 0 when memory ran out. */
int bdf_bitmap_row(bdf_parse_state *state, const char *line, uint32_t length);

/* Completes the open glyph's bitmap, if any: rows the file did not give read as 0. When padding
 * them would cost more zero bytes than the file could justify (more than 1 MiB
 * plus 4 bytes per byte read so far, over the whole load), or memory runs out,
 * the glyph's box is cut to the rows given instead, with a message. */
void bdf_bitmap_end(bdf_parse_state *state);

#endif
