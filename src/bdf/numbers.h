#ifndef GLYPHWERK_BDF_NUMBERS_H
#define GLYPHWERK_BDF_NUMBERS_H

/* The reader's number parsers. None skips blanks or accepts "+"; parsing stops at
 * the first character that is no digit of the base, whose position goes to `end`
 * when it is non-null. `base` 8 or 16, anything else means 10; a prefix switches
 * to 16. Values accumulate modulo 2^32. Null or empty text gives 0. */

#include <stdint.h>

/* Prefixes "0x", "0X", "U+", "U-", "u+", "u-"; a leading "-" gives 0. */
uint32_t bdf_parse_unsigned(const char *text, const char **end, int base);

/* A leading "-" negates; the prefixes of the unsigned parser may follow it. */
int32_t bdf_parse_signed(const char *text, const char **end, int base);

/* A leading "-" negates; prefixes "0x" and "0X" only; the low 16 bits. */
int16_t bdf_parse_short(const char *text, const char **end, int base);

#endif
