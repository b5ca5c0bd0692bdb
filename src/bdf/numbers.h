#ifndef GLYPHWERK_BDF_NUMBERS_H
#define GLYPHWERK_BDF_NUMBERS_H

/* The reader's number parsers. None skips blanks or accepts "+"; parsing stops at
 * the first character that is no digit of the base, whose position goes to `end`
 * when it is non-null. `base` 8 or 16, anything else means 10; a prefix switches
 * to 16. Values accumulate modulo 2^32. Null or empty text gives 0.
 * Inline: most lines of a font hold numbers, and a call costs as much as the
 * digits. */

#include <stdint.h>

static inline int bdf_digit_value(char c, int base) {
    int value;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else
        return -1;
    return value < base ? value : -1;
}

static inline bool bdf_hex_prefix(const char *p, bool unicode_prefix) {
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))
        return true;
    return unicode_prefix && (p[0] == 'U' || p[0] == 'u') && (p[1] == '+' || p[1] == '-');
}

/* Digits (after an optional prefix) from `p`, in the given base. */
static inline uint32_t bdf_digits(const char *p, const char **end, int base, bool unicode_prefix) {
    if (base != 8 && base != 16)
        base = 10;
    if (bdf_hex_prefix(p, unicode_prefix)) {
        base = 16;
        p += 2;
    }
    uint32_t value = 0;
    if (base == 10) {
        /* Nearly every number in a font: one compare per digit. */
        for (uint32_t d; (d = (uint32_t)(unsigned char)*p - '0') < 10; p++)
            value = value * 10 + d;
    } else {
        for (int d; (d = bdf_digit_value(*p, base)) >= 0; p++)
            value = value * (uint32_t)base + (uint32_t)d;
    }
    if (end)
        *end = p;
    return value;
}

/* Prefixes "0x", "0X", "U+", "U-", "u+", "u-"; a leading "-" gives 0. */
static inline uint32_t bdf_parse_unsigned(const char *text, const char **end, int base) {
    if (end)
        *end = text;
    if (!text || !*text || *text == '-')
        return 0;
    return bdf_digits(text, end, base, true);
}

/* A leading "-" negates; the prefixes of the unsigned parser may follow it. */
static inline int32_t bdf_parse_signed(const char *text, const char **end, int base) {
    if (end)
        *end = text;
    if (!text || !*text)
        return 0;
    bool negative = *text == '-';
    uint32_t value = bdf_digits(text + negative, end, base, true);
    return (int32_t)(negative ? 0u - value : value);
}

/* A leading "-" negates; prefixes "0x" and "0X" only; the low 16 bits. */
static inline int16_t bdf_parse_short(const char *text, const char **end, int base) {
    if (end)
        *end = text;
    if (!text || !*text)
        return 0;
    bool negative = *text == '-';
    uint32_t value = bdf_digits(text + negative, end, base, false);
    return (int16_t)(uint16_t)(negative ? 0u - value : value);
}

#endif
