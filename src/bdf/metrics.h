#ifndef GLYPHWERK_BDF_METRICS_H
#define GLYPHWERK_BDF_METRICS_H

#include "bdf.h"

/* The scalable width of device width `dwidth` at the font's point size and
 * horizontal resolution: trunc(dwidth * 72000 / (point_size * resolution_x)),
 * kept as its low 16 bits; 0 when the divisor is 0. */
uint16_t bdf_scalable_width(const bdf_font *font, uint16_t dwidth);

/* Bytes in one bitmap row of a box `width` pixels wide at `bpp` bits per pixel. */
static inline uint32_t bdf_row_bytes(uint32_t width, uint32_t bpp) {
    return (width * bpp + 7) / 8;
}

#endif
