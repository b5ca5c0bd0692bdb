#ifndef GLYPHWERK_BDF_ENCODING_SET_H
#define GLYPHWERK_BDF_ENCODING_SET_H

/* The encodings stored so far in one load, for finding repeats: one bit each for
 * 0 to 65535, and an open-addressing table for larger values, which grows with
 * the glyphs that use them. */

#include <stdint.h>

struct bdf_encoding_set {
    uint32_t bits[2048]; /* encoding e: word e / 32, bit e % 32 */
    uint32_t *large;     /* 0 marks an empty slot; every stored value is >= 65536 */
    uint32_t large_size; /* a power of two, or 0 */
    uint32_t large_used;
};

/* Adds a non-negative encoding. Returns 1 when it was new, 0 when it was there
 * already, -1 when memory ran out. */
int bdf_encoding_set_add(bdf_encoding_set *set, int32_t encoding);

void bdf_encoding_set_free(bdf_encoding_set *set);

#endif
