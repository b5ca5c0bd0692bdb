/* The reader's growing text buffers (messages, comments) and its shared helpers. */
#include "reader_state.h"

#include <stdarg.h>
#include <stdlib.h>
#include <string.h>

/* Appends text and "\n", keeping a NUL behind. The buffer grows geometrically;
 * the finish step trims it to its length. */
static int append_line(char **buffer, uint32_t *length, uint32_t *size, const char *text,
                       size_t n) {
    uint64_t needed = (uint64_t)*length + n + 2;
    if (needed > UINT32_MAX)
        return 0;
    if (needed > *size) {
        uint64_t grown_size = *size ? (uint64_t)*size * 2 : 256;
        if (grown_size < needed)
            grown_size = needed;
        if (grown_size > UINT32_MAX)
            grown_size = UINT32_MAX;
        char *grown = (char *)realloc(*buffer, (size_t)grown_size);
        if (!grown)
            return 0;
        *buffer = grown;
        *size = (uint32_t)grown_size;
    }
    memcpy(*buffer + *length, text, n);
    *length += (uint32_t)n;
    (*buffer)[(*length)++] = '\n';
    (*buffer)[*length] = '\0';
    return 1;
}

void bdf_message(bdf_parse_state *state, const char *format, ...) {
    bdf_font *font = state->font;
    if (!font)
        return;
    char small[256];
    va_list args;
    va_start(args, format);
    int n = vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (n < 0)
        return;
    if ((size_t)n < sizeof small) {
        append_line(&font->messages, &font->messages_len, &state->messages_size, small, (size_t)n);
        return;
    }
    /* Only a message quoting a long glyph name gets here. */
    char *large = (char *)malloc((size_t)n + 1);
    if (!large)
        return;
    va_start(args, format);
    vsnprintf(large, (size_t)n + 1, format, args);
    va_end(args);
    append_line(&font->messages, &font->messages_len, &state->messages_size, large, (size_t)n);
    free(large);
}

int bdf_add_comment(bdf_parse_state *state, const char *text, size_t length) {
    bdf_font *font = state->font;
    return append_line(&font->comments, &font->comments_len, &state->comments_size, text, length);
}

int bdf_out_of_memory(bdf_parse_state *state, uint32_t lineno) {
    bdf_message(state, "[line %ld] Out of memory.", (long)lineno);
    return BDF_OUT_OF_MEMORY;
}

int bdf_missing(bdf_parse_state *state, uint32_t lineno, const char *keyword, int code) {
    bdf_message(state, "[line %ld] Missing \"%s\" line.", (long)lineno, keyword);
    return code;
}

int bdf_split_blanks(bdf_parse_state *state, char *line, uint32_t length) {
    return bdf_split(" +", line, length, &state->fields);
}
