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

/* Reads up to `room` bytes (room >= 2, for a held CR and one byte more) into
 * `data`; 0 at the end of the data. */
static size_t read_block(bdf_line_source *source, char *data, size_t room, uint64_t *bytes_read) {
    if (!source->text_mode) {
        size_t n = fread(data, 1, room, source->file);
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
        size_t n = fread(data + held, 1, room - held, source->file);
        *bytes_read += n;
        n = filter_text(source, data, held + n, n == 0);
        /* A block that was only a held CR now waiting again reads once more. */
        if (n > 0 || !source->pending_cr)
            return n;
    }
}

int bdf_read_lines(bdf_line_source *source, bdf_line_handler handler, bdf_parse_state *state,
                   uint32_t *lineno) {
    *lineno = 1;
    size_t size = BLOCK;
    char *buffer = (char *)malloc(size + 1);
    if (!buffer)
        return bdf_out_of_memory(state, *lineno);

    bdf_handler_slot slot = {handler};
    int result = 0;
    size_t length = read_block(source, buffer, size, &state->bytes_read);
    size_t start = 0;
    /* Positions of the next LF and CR at or after `start`; `length` when none. */
    size_t next_lf = 0, next_cr = 0;
    bool lf_known = false, cr_known = false;
    bool skip_cr = false; /* the last line ended in an LF at the end of the data */

    while (length > 0) {
        if (skip_cr && start < length) {
            if (buffer[start] == '\r')
                start++;
            skip_cr = false;
        }
        if (!lf_known || next_lf < start) {
            const char *p = (const char *)memchr(buffer + start, '\n', length - start);
            next_lf = p ? (size_t)(p - buffer) : length;
            lf_known = true;
        }
        if (!cr_known || next_cr < start) {
            const char *p = (const char *)memchr(buffer + start, '\r', length - start);
            next_cr = p ? (size_t)(p - buffer) : length;
            cr_known = true;
        }
        size_t end = next_lf < next_cr ? next_lf : next_cr;
        if (end < length) {
            char terminator = buffer[end];
            buffer[end] = '\0';
            char first = buffer[start];
            if (end > start && first != '#' && first != 0x1A) {
                result = slot.handler(buffer + start, (uint32_t)(end - start), *lineno, &slot, state);
                if (result != 0) {
                    ++*lineno;
                    break;
                }
            }
            start = end + 1;
            if (terminator == '\n') {
                if (start < length) {
                    if (buffer[start] == '\r')
                        start++;
                } else {
                    skip_cr = true;
                }
            }
            ++*lineno;
            continue;
        }
        /* No line end in the data: keep the unfinished line and read behind it. */
        size_t kept = length - start;
        if (kept + 2 > size) {
            char *grown = (char *)realloc(buffer, size * 2 + 1);
            if (!grown) {
                result = bdf_out_of_memory(state, *lineno);
                break;
            }
            buffer = grown;
            size *= 2;
        }
        memmove(buffer, buffer + start, kept);
        start = 0;
        lf_known = cr_known = false;
        size_t room = size - kept;
        if (room > BLOCK)
            room = BLOCK;
        size_t n = read_block(source, buffer + kept, room, &state->bytes_read);
        if (n == 0)
            break;
        length = kept + n;
    }
    free(buffer);
    return result;
}
