#ifndef GLYPHWERK_BDF_FIELDS_H
#define GLYPHWERK_BDF_FIELDS_H

/* Cutting a line into fields in place. */

#include <stdint.h>

/* The fields of one line; the array is kept from line to line. */
struct bdf_list {
    char **field; /* pointers into the line; the entry after the last is null */
    uint32_t size;
    uint32_t used;
};

/* Splits `line` (`length` bytes and a NUL, or up to an earlier NUL) at the characters of
 * `separators`; a "+" as the last character collapses runs of separators. Every
 * separator is overwritten with NUL; empty fields point at a NUL inside the line,
 * so that joining them in place is always safe. A trailing separator (run) gives
 * one empty field at the end. Returns 0 when the field array cannot grow. */
int bdf_split(const char *separators, char *line, uint32_t length, bdf_list *list);

/* Drops the first `n` fields. */
void bdf_shift(uint32_t n, bdf_list *list);

/* Joins the fields in place in the first field's storage, separated by `c`.
 * Returns the joined text, or null for an empty list; `length` (when non-null)
 * gets its length. */
char *bdf_join(char c, const bdf_list *list, uint32_t *length);

void bdf_list_free(bdf_list *list);

/* Where field `n` of `line` would start if it were split on blanks with runs
 * collapsed, without cutting the line: the number parsers stop at the blank
 * after it just as at the NUL a split would leave. Null when the line has fewer
 * fields. Inline, for the numbers on most lines of a font. */
static inline const char *bdf_field_at(const char *line, uint32_t n) {
    const char *p = line;
    if (!*p)
        return nullptr;
    for (uint32_t k = 0; k < n; k++) {
        while (*p && *p != ' ')
            p++;
        if (!*p)
            return nullptr;
        while (*p == ' ')
            p++;
    }
    return p;
}

#endif
