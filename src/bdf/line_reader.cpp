#include "line_reader.h"

#include <stdlib.h>
#include <string.h>

enum { BLOCK = 65536 };

/* Text mode in place: drops the CR of every CR LF pair and cuts the data at
 * 0x1A. A CR at the end of the data waits for the next block to know what
 * follows it. */
static size_t filter_text(bdf_line_source *source, char *data, size_t n, bool at_end) {
    if (char *eof = (char *)memchr(data, 0x1A, n)) {
        n = (size_t)(eof - data);
        source->ended = true;
        at_end = true;
    }
    char *out = data;
    const char *p = data;
    const char *end = data + n;
    while (const char *cr = (const char *)memchr(p, '\r', (size_t)(end - p))) {
        size_t run = (size_t)(cr - p);
        memmove(out, p, run);
        out += run;
        p = cr + 1;
        if (p == end) {
            if (at_end)
                *out++ = '\r';
            else
                source->pending_cr = true;
            break;
        }
        if (*p != '\n')
            *out++ = '\r';
    }
    if (p < end) {
        memmove(out, p, (size_t)(end - p));
        out += end - p;
    }
    return (size_t)(out - data);
}

/* Up to `room` bytes of the source, from its file or its memory. */
static size_t take(bdf_line_source *source, char *data, size_t room) {
    if (source->file)
        return fread(data, 1, room, source->file);
    size_t n = room < source->memory_left ? room : source->memory_left;
    memcpy(data, source->memory, n);
    source->memory += n;
    source->memory_left -= n;
    return n;
}

/* Reads up to `room` bytes (room >= 2, for a held CR and one byte more) into
 * `data`; 0 at the end of the data. */
static size_t read_block(bdf_line_source *source, char *data, size_t room, uint64_t *bytes_read) {
    if (!source->text_mode) {
        size_t n = take(source, data, room);
        *bytes_read += n;
        return n;
    }
    for (;;) {
        if (source->ended)
            return 0;
        size_t held = 0;
        if (source->pending_cr) {
            data[held++] = '\r';
            source->pending_cr = false;
        }
        size_t n = take(source, data + held, room - held);
        *bytes_read += n;
        n = filter_text(source, data, held + n, n == 0);
        /* A block that was only a held CR now waiting again reads once more. */
        if (n > 0 || !source->pending_cr)
            return n;
    }
}

/* The next `c` at or after `p`, or `end` when there is none. */
static inline char *find(char *p, char *end, char c) {
    char *found = (char *)memchr(p, c, (size_t)(end - p));
    return found ? found : end;
}

/* Hands the line from `p` to its end (a NUL) to the current handler, unless it
 * is empty or starts with "#" or 0x1A. */
static inline int deliver(bdf_handler_slot &slot, char *p, char *end, uint32_t line,
                          bdf_parse_state *state) {
    if (end == p || *p == '#' || *p == 0x1A)
        return 0;
    return slot.handler(p, (uint32_t)(end - p), line, &slot, state);
}

int bdf_read_lines(bdf_line_source *source, bdf_line_handler handler, bdf_parse_state *state,
                   uint32_t *lineno) {
    uint32_t line = 1;
    size_t size = BLOCK;
    char *buffer = (char *)malloc(size + 1);
    if (!buffer) {
        *lineno = line;
        return bdf_out_of_memory(state, line);
    }

    bdf_handler_slot slot = {handler};
    int result = 0;
    size_t length = read_block(source, buffer, size, &state->bytes_read);
    size_t start = 0;
    bool skip_cr = false; /* the last line ended in an LF at the end of the data */

    while (length > 0) {
        char *p = buffer + start;
        char *data_end = buffer + length;
        if (skip_cr && p < data_end) {
            if (*p == '\r')
                p++;
            skip_cr = false;
        }
        /* The next CR and LF; data_end when there is none. */
        char *cr = find(p, data_end, '\r');
        char *lf = nullptr; /* looked for when a CR is ahead */
        for (;;) {
            if (cr < p)
                cr = find(p, data_end, '\r');
            if (cr == data_end) {
                /* No CR in the rest of the data, the usual case: lines end at
                 * an LF alone, and a loop without the CR cases cuts them. */
                while (char *end = (char *)memchr(p, '\n', (size_t)(data_end - p))) {
                    *end = '\0';
                    result = deliver(slot, p, end, line, state);
                    if (result != 0) {
                        state->stop_line = line++;
                        goto done;
                    }
                    p = end + 1;
                    skip_cr = p == data_end;
                    line++;
                }
                break;
            }
            if (!lf || lf < p)
                lf = find(p, data_end, '\n');
            char *end = lf < cr ? lf : cr;
            char terminator = *end;
            *end = '\0';
            result = deliver(slot, p, end, line, state);
            if (result != 0) {
                state->stop_line = line++;
                goto done;
            }
            p = end + 1;
            if (terminator == '\n') {
                if (p < data_end) {
                    if (*p == '\r')
                        p++;
                } else {
                    skip_cr = true;
                }
            }
            line++;
        }
        /* No line end in the data: keep the unfinished line and read behind it. */
        start = (size_t)(p - buffer);
        size_t kept = length - start;
        if (kept + 2 > size) {
            char *grown = (char *)realloc(buffer, size * 2 + 1);
            if (!grown) {
                state->stop_line = line;
                result = bdf_out_of_memory(state, line);
                break;
            }
            buffer = grown;
            size *= 2;
        }
        memmove(buffer, buffer + start, kept);
        start = 0;
        size_t room = size - kept;
        if (room > BLOCK)
            room = BLOCK;
        size_t n = read_block(source, buffer + kept, room, &state->bytes_read);
        if (n == 0)
            break;
        length = kept + n;
    }
done:
    free(buffer);
    *lineno = line;
    return result;
}
