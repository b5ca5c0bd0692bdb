#include "numbers.h"

static int digit_value(char c, int base) {
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

static bool hex_prefix(const char *p, bool unicode_prefix) {
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))
        return true;
    return unicode_prefix && (p[0] == 'U' || p[0] == 'u') && (p[1] == '+' || p[1] == '-');
}

/* Digits (after an optional prefix) from `p`, in the given base. */
static uint32_t digits(const char *p, const char **end, int base, bool unicode_prefix) {
    if (base != 8 && base != 16)
        base = 10;
    if (hex_prefix(p, unicode_prefix)) {
        base = 16;
        p += 2;
    }
    uint32_t value = 0;
    if (base == 10) {
        /* Nearly every number in a font: one compare per digit. */
        for (uint32_t d; (d = (uint32_t)(unsigned char)*p - '0') < 10; p++)
            value = value * 10 + d;
    } else {
        for (int d; (d = digit_value(*p, base)) >= 0; p++)
            value = value * (uint32_t)base + (uint32_t)d;
    }
    if (end)
        *end = p;
    return value;
}

uint32_t bdf_parse_unsigned(const char *text, const char **end, int base) {
    if (end)
        *end = text;
    if (!text || !*text || *text == '-')
        return 0;
    return digits(text, end, base, true);
}

int32_t bdf_parse_signed(const char *text, const char **end, int base) {
    if (end)
        *end = text;
    if (!text || !*text)
        return 0;
    bool negative = *text == '-';
    uint32_t value = digits(text + negative, end, base, true);
    return (int32_t)(negative ? 0u - value : value);
}

int16_t bdf_parse_short(const char *text, const char **end, int base) {
    if (end)
        *end = text;
    if (!text || !*text)
        return 0;
    bool negative = *text == '-';
    uint32_t value = digits(text + negative, end, base, false);
    return (int16_t)(uint16_t)(negative ? 0u - value : value);
}
