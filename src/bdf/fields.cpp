#include "fields.h"

#include <stdlib.h>
#include <string.h>

static int grow(bdf_list *list) {
    uint32_t size = list->size ? list->size * 2 : 8;
    char **grown = (char **)realloc(list->field, size * sizeof(char *));
    if (!grown)
        return 0;
    list->field = grown;
    list->size = size;
    return 1;
}

static inline int add_field(bdf_list *list, char *field) {
    /* One entry more than the fields for the null terminator. */
    if (list->used + 2 > list->size && !grow(list))
        return 0;
    list->field[list->used++] = field;
    list->field[list->used] = nullptr;
    return 1;
}

/* One separator character, or several (slower). */
static inline bool is_separator(char c, const char *separators, size_t count) {
    if (count == 1)
        return c == separators[0];
    for (size_t i = 0; i < count; i++) {
        if (c == separators[i])
            return true;
    }
    return false;
}

int bdf_split(const char *separators, char *line, uint32_t length, bdf_list *list) {
    list->used = 0;
    if (list->field)
        list->field[0] = nullptr;
    if (!line || length == 0 || !*line)
        return 1;
    size_t count = strlen(separators);
    bool collapse = count > 0 && separators[count - 1] == '+';
    if (collapse)
        count--;

    char *p = line;
    char *end = line + length;
    while (p < end && *p) {
        char *start = p;
        while (p < end && *p && !is_separator(*p, separators, count))
            p++;
        if (!add_field(list, start))
            return 0;
        if (p >= end || !*p)
            break;
        /* p is at a separator. */
        *p++ = '\0';
        while (collapse && p < end && is_separator(*p, separators, count))
            *p++ = '\0';
        if (p >= end || !*p) {
            /* The separators reached the end: one empty field closes the list. */
            return add_field(list, p - 1);
        }
    }
    return 1;
}

void bdf_shift(uint32_t n, bdf_list *list) {
    if (n >= list->used) {
        list->used = 0;
        if (list->field)
            list->field[0] = nullptr;
        return;
    }
    memmove(list->field, list->field + n, (list->used - n + 1) * sizeof(char *));
    list->used -= n;
}

char *bdf_join(char c, const bdf_list *list, uint32_t *length) {
    if (length)
        *length = 0;
    if (list->used == 0)
        return nullptr;
    char *out = list->field[0];
    char *p = out + strlen(out);
    for (uint32_t i = 1; i < list->used; i++) {
        const char *field = list->field[i];
        size_t n = strlen(field);
        *p++ = c;
        memmove(p, field, n);
        p += n;
    }
    *p = '\0';
    if (length)
        *length = (uint32_t)(p - out);
    return out;
}

void bdf_list_free(bdf_list *list) {
    free(list->field);
    list->field = nullptr;
    list->size = list->used = 0;
}
