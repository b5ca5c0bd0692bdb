#ifndef GLYPHWERK_BDF_METRICS_H
#define GLYPHWERK_BDF_METRICS_H

/* The metrics the reader derives from the glyphs, as one set of rules for the
 * reader, the writer and the program that edits glyphs in memory. */

#include "bdf.h"

/* The scalable width of device width `dwidth` at the font's point size and
 * horizontal resolution: trunc(dwidth * 72000 / (point_size * resolution_x)),
 * kept as its low 16 bits; 0 when the divisor is 0. */
uint16_t bdf_scalable_width(const bdf_font *font, uint16_t dwidth);

/* The device width the writer gives every glyph of a monospaced or
 * character-cell font (its `monowidth`), or -1 for a proportional font, whose
 * glyphs keep their own. */
int32_t bdf_common_dwidth(const bdf_font *font);

/* Bytes in one bitmap row of a box `width` pixels wide at `bpp` bits per pixel. */
static inline uint32_t bdf_row_bytes(uint32_t width, uint32_t bpp) {
    return (width * bpp + 7) / 8;
}

/* The extremes of a set of glyph boxes, from which the font box is derived.
 * Right edge, ascent and descent start at 0, so the derived box always
 * reaches the origin's column to its right and the baseline. */
typedef struct bdf_box_span {
    int16_t min_left;
    int16_t max_right;
    int16_t max_ascent;
    int16_t max_descent;
} bdf_box_span;

/* An empty span, before the first box is added. */
void bdf_box_span_start(bdf_box_span *span);

/* Widens the span to a glyph box given by its width, height and offsets (as
 * on a BBX line; the box's ascent and descent fields are not read). */
void bdf_box_span_add(bdf_box_span *span, const bdf_bbx *box);

/* The font box of the span: from its left extreme to its right one, from its
 * largest descent to its largest ascent. */
bdf_bbx bdf_box_span_box(const bdf_box_span *span);

/* After glyphs were changed in memory, derives what reading the saved font
 * back would: every glyph's scalable width from its device width, and the font
 * box from the boxes the writer gives the glyphs (cropped to their ink; in a
 * font written as padded cells, their boxes as they are). A font without
 * glyphs keeps its box. Null options mean the defaults. Returns 1 when the
 * font box changed. */
int bdf_update_metrics(bdf_font *font, const bdf_options *options);

#endif
