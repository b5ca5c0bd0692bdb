#include "glyph_bitmap.h"
#include "metrics.h"

#include <stdlib.h>
#include <string.h>

namespace {

struct hex_tables {
    unsigned char value[256]; /* the digit's value; 0 for any other character */
    bool digit[256];
    constexpr hex_tables() : value(), digit() {
        for (int c = 0; c < 256; c++) {
            int v = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                           : -1;
            value[c] = (unsigned char)(v < 0 ? 0 : v);
            digit[c] = v >= 0;
        }
    }
};
constexpr hex_tables hex;

constexpr uint64_t PADDING_ALLOWANCE = 1u << 20;
constexpr uint64_t PADDING_PER_BYTE_READ = 4;

uint64_t full_size(const bdf_parse_state *state, const bdf_glyph *glyph) {
    return (uint64_t)glyph->bbx.height * state->row_bytes;
}

/* Makes room for `needed` bytes, growing geometrically up to the full bitmap.
 * Kept out of the row path, which needs it once per glyph. */
[[gnu::noinline]] int grow(bdf_parse_state *state, bdf_glyph *glyph, uint64_t needed) {
    uint64_t full = full_size(state, glyph);
    uint64_t size = (uint64_t)state->bitmap_size * 2;
    if (size < 256)
        size = 256;
    if (size < needed)
        size = needed;
    if (size > full)
        size = full;
    unsigned char *grown = (unsigned char *)realloc(glyph->bitmap, (size_t)size);
    if (!grown)
        return 0;
    glyph->bitmap = grown;
    state->bitmap_size = (uint32_t)size;
    return 1;
}

inline int reserve(bdf_parse_state *state, bdf_glyph *glyph, uint64_t needed) {
    return needed <= state->bitmap_size || grow(state, glyph, needed);
}

} // namespace

void bdf_bitmap_begin(bdf_parse_state *state, bdf_glyph *glyph) {
    free(glyph->bitmap);
    glyph->bitmap = nullptr;
    glyph->bytes = 0;
    state->row = 0;
    state->row_bytes = bdf_row_bytes(glyph->bbx.width, state->font->bpp);
    state->bitmap_glyph = glyph;
    state->bitmap_size = 0;
}

/* Rows beyond the box height are dropped, with one message per glyph. */
[[gnu::cold, gnu::noinline]] static int extra_row(bdf_parse_state *state, const bdf_glyph *glyph) {
    if (!(state->flags & BDF_GLYPH_HEIGHT_CHECK)) {
        bdf_message(state, "Glyph %ld extra rows removed.", (long)glyph->encoding);
        state->flags |= BDF_GLYPH_HEIGHT_CHECK;
        state->font->modified = 1;
    }
    return 1;
}

/* Digits behind the row's last byte are dropped, with one message per glyph. */
[[gnu::cold, gnu::noinline]] static int extra_columns(bdf_parse_state *state,
                                                    const bdf_glyph *glyph) {
    if (!(state->flags & BDF_GLYPH_WIDTH_CHECK)) {
        bdf_message(state, "Glyph %ld extra columns removed.", (long)glyph->encoding);
        state->flags |= BDF_GLYPH_WIDTH_CHECK;
        state->font->modified = 1;
    }
    return BDF_OK;
}

/* Decodes `row_bytes` bytes from as many digit pairs; true when a digit
 * follows them in the line's `length` characters. */
static inline bool decode_row(unsigned char *out, const unsigned char *in, uint32_t length,
                              uint32_t row_bytes) {
    for (const unsigned char *end = out + row_bytes; out < end; out++, in += 2)
        *out = (unsigned char)(hex.value[in[0]] << 4 | hex.value[in[1]]);
    return length > 2 * row_bytes && hex.digit[*in];
}

/* A row with fewer digits than the box needs: the missing ones read as 0. */
[[gnu::cold, gnu::noinline]] static void decode_short(unsigned char *out, const unsigned char *in,
                                                    uint32_t length, uint32_t row_bytes) {
    for (uint32_t i = 0; i < row_bytes; i++) {
        uint32_t d = 2 * i;
        unsigned hi = d < length ? hex.value[in[d]] : 0;
        unsigned lo = d + 1 < length ? hex.value[in[d + 1]] : 0;
        out[i] = (unsigned char)(hi << 4 | lo);
    }
}

int bdf_bitmap_row(bdf_parse_state *state, const char *line, uint32_t length) {
    bdf_glyph *glyph = state->bitmap_glyph;
    if (!glyph)
        return 1;
    if (state->row >= glyph->bbx.height)
        return extra_row(state, glyph);
    uint32_t row_bytes = state->row_bytes;
    uint64_t offset = (uint64_t)state->row * row_bytes;
    if (!reserve(state, glyph, offset + row_bytes))
        return 0;
    unsigned char *out = glyph->bitmap + offset;
    const unsigned char *in = (const unsigned char *)line;
    if (length < 2 * row_bytes)
        decode_short(out, in, length, row_bytes);
    else if (decode_row(out, in, length, row_bytes))
        extra_columns(state, glyph);
    state->row++;
    return 1;
}

/* The general row path, for the row handler to tail-call. */
[[gnu::noinline]] static int row_line(char *line, uint32_t length, uint32_t lineno,
                                      bdf_parse_state *state) {
    return bdf_bitmap_row(state, line, length) ? BDF_OK : bdf_out_of_memory(state, lineno);
}

int bdf_row_handler(char *line, uint32_t length, uint32_t lineno, bdf_handler_slot *next,
                    bdf_parse_state *state) {
    if (bdf_ends_rows(line, length)) {
        next->handler = bdf_glyph_handler;
        return bdf_glyph_handler(line, length, lineno, next, state);
    }
    /* The usual row: whole, inside the box and into room already there. Every
     * other case is tail-called, so this path calls nothing and saves no
     * registers. */
    const bdf_glyph *glyph = state->bitmap_glyph;
    uint32_t row = state->row;
    uint32_t row_bytes = state->row_bytes;
    if (!glyph || row >= glyph->bbx.height || length < 2 * row_bytes ||
        (uint64_t)(row + 1) * row_bytes > state->bitmap_size)
        return row_line(line, length, lineno, state);
    state->row = row + 1;
    if (decode_row(glyph->bitmap + (size_t)row * row_bytes, (const unsigned char *)line, length,
                   row_bytes))
        return extra_columns(state, glyph);
    return BDF_OK;
}

void bdf_bitmap_end(bdf_parse_state *state) {
    bdf_glyph *glyph = state->bitmap_glyph;
    state->bitmap_glyph = nullptr;
    if (!glyph)
        return;
    uint64_t stored = (uint64_t)state->row * state->row_bytes;
    uint64_t full = full_size(state, glyph);
    uint64_t missing = full - stored;
    uint64_t allowance = PADDING_ALLOWANCE + PADDING_PER_BYTE_READ * state->bytes_read;
    if (missing == 0 ||
        (state->padding_used + missing <= allowance && reserve(state, glyph, full))) {
        if (missing > 0)
            memset(glyph->bitmap + stored, 0, (size_t)missing);
        state->padding_used += missing;
    } else {
        bdf_message(state, "Glyph %ld missing rows removed.", (long)glyph->encoding);
        state->font->modified = 1;
        glyph->bbx.height = (uint16_t)state->row;
        glyph->bbx.ascent = (int16_t)(glyph->bbx.y_offset + glyph->bbx.height);
        full = stored;
    }
    if (full == 0) {
        free(glyph->bitmap);
        glyph->bitmap = nullptr;
    } else if (full < state->bitmap_size) {
        if (unsigned char *trimmed = (unsigned char *)realloc(glyph->bitmap, (size_t)full))
            glyph->bitmap = trimmed;
    }
    glyph->bytes = (uint32_t)full;
}
