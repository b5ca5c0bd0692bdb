/* The lines from ENDPROPERTIES on: CHARS, the glyph blocks and ENDFONT. */
#include "glyph_bitmap.h"
#include "metrics.h"
#include "numbers.h"
#include "reader_state.h"

#include <stdlib.h>
#include <string.h>

namespace {

/* The shortest glyph that reaches a list, "STARTCHAR\nENCODING\n", is 19 bytes:
 * a CHARS count never reserves more entries than the file could fill. */
constexpr uint32_t MIN_GLYPH_BYTES = 19;
constexpr uint32_t RESERVE_UNKNOWN_SIZE = 4096;

void report(bdf_parse_state *state, int32_t reason, uint32_t current, uint32_t total) {
    if (!state->callback)
        return;
    state->progress.reason = reason;
    state->progress.current = current;
    state->progress.total = total;
    state->callback(&state->progress, state->client_data);
}

/* Field 1 of a line that starts with `keyword`: a keyword holds no blank, so
 * the search can start behind it. */
template <size_t N>
const char *field_after(const char *line, [[maybe_unused]] const char (&keyword)[N]) {
    return bdf_field_at(line + N - 1, 1);
}

/* The glyphs of a font share a few device widths, and the point size and
 * resolution are fixed once the glyphs begin: the last answer is kept. */
uint16_t scalable_width(bdf_parse_state *state, uint16_t dwidth) {
    if (!state->known_swidth || state->known_dwidth != dwidth) {
        state->known_dwidth = dwidth;
        state->known_swidth_value = bdf_scalable_width(state->font, dwidth);
        state->known_swidth = true;
    }
    return state->known_swidth_value;
}

int chars(uint32_t lineno, bdf_parse_state *state) {
    bdf_font *font = state->font;
    uint32_t n = bdf_parse_unsigned(bdf_field(state, 1), nullptr, 10);
    uint64_t limit = state->file_size >= 0 ? (uint64_t)state->file_size / MIN_GLYPH_BYTES + 64
                                           : RESERVE_UNKNOWN_SIZE;
    uint32_t size = n ? n : 64;
    if (size > limit)
        size = (uint32_t)limit;
    state->count = n;
    font->glyphs = (bdf_glyph *)calloc(size, sizeof(bdf_glyph));
    if (!font->glyphs)
        return bdf_out_of_memory(state, lineno);
    font->glyphs_size = size;
    report(state, BDF_LOADING_START, 0, n);
    state->flags |= BDF_GLYPHS;
    return BDF_OK;
}

/* Appends a zero-filled glyph to a list, doubling it when full. */
bdf_glyph *append(bdf_glyph **list, uint32_t *used, uint32_t *size, uint32_t first_size) {
    if (*used == *size) {
        uint64_t grown_size = *size ? (uint64_t)*size * 2 : first_size;
        if (grown_size > UINT32_MAX / sizeof(bdf_glyph))
            return nullptr;
        bdf_glyph *grown = (bdf_glyph *)realloc(*list, (size_t)grown_size * sizeof(bdf_glyph));
        if (!grown)
            return nullptr;
        memset(grown + *size, 0, (size_t)(grown_size - *size) * sizeof(bdf_glyph));
        *list = grown;
        *size = (uint32_t)grown_size;
    }
    return &(*list)[(*used)++];
}

/* The name of a STARTCHAR line: its words after the first, joined by single
 * blanks; `*name_length` 0 for none. Most names are one word behind a single
 * blank and are taken as they stand; any other line goes through the general
 * field split. Returns 0 when memory ran out. */
int glyph_name(char *line, uint32_t length, bdf_parse_state *state, const char **name,
               uint32_t *name_length) {
    constexpr uint32_t start = sizeof "STARTCHAR";
    if (length > start && line[start - 1] == ' ') {
        uint32_t i = start;
        while (i < length && line[i] != ' ' && line[i] != '\0')
            i++;
        if (i == length) {
            *name = line + start;
            *name_length = length - start;
            return 1;
        }
    }
    if (!bdf_split_blanks(state, line, length))
        return 0;
    bdf_shift(1, &state->fields);
    *name = bdf_join(' ', &state->fields, name_length);
    return 1;
}

int start_glyph(char *line, uint32_t length, uint32_t lineno, bdf_parse_state *state) {
    /* A glyph still open without its ENDCHAR ends here. */
    bdf_bitmap_end(state);
    state->flags &= ~(uint32_t)BDF_GLYPH_LINES;
    free(state->glyph_name);
    state->glyph_name = nullptr;
    const char *name = nullptr;
    uint32_t n = 0;
    if (!glyph_name(line, length, state, &name, &n))
        return bdf_out_of_memory(state, lineno);
    if (n > 0) {
        if (!(state->glyph_name = (char *)malloc(n + 1)))
            return bdf_out_of_memory(state, lineno);
        memcpy(state->glyph_name, name, n);
        state->glyph_name[n] = '\0';
    }
    state->flags |= BDF_GLYPH;
    return BDF_OK;
}

int encoding(const char *line, uint32_t lineno, bdf_parse_state *state) {
    bdf_font *font = state->font;
    bdf_bitmap_end(state);
    int32_t e = bdf_parse_signed(field_after(line, "ENCODING"), nullptr, 10);
    state->glyph_encoding = e;
    if (e >= 0) {
        int added = bdf_encoding_set_add(&state->seen_encodings, e);
        if (added < 0)
            return bdf_out_of_memory(state, lineno);
        if (added == 0) {
            bdf_message(state, "Duplicate encoding %ld (%s) changed to unencoded.", (long)e,
                        state->glyph_name ? state->glyph_name : "(null)");
            state->glyph_encoding = -1;
            font->modified = 1;
        }
    }
    if (state->glyph_encoding < 0) {
        state->glyph_encoding = -1;
        if (!state->options.keep_unencoded) {
            free(state->glyph_name);
        } else {
            bdf_glyph *glyph = append(&font->unencoded, &font->unencoded_used,
                                      &font->unencoded_size, 4);
            if (!glyph)
                return bdf_out_of_memory(state, lineno);
            glyph->name = state->glyph_name;
            glyph->encoding = (int32_t)(font->unencoded_used - 1);
        }
    } else {
        bdf_glyph *glyph = append(&font->glyphs, &font->glyphs_used, &font->glyphs_size, 64);
        if (!glyph)
            return bdf_out_of_memory(state, lineno);
        glyph->name = state->glyph_name;
        glyph->encoding = e;
    }
    state->glyph_name = nullptr;
    /* A second ENCODING in one block starts a new glyph with no lines of its own. */
    state->flags &= ~(BDF_GLYPH_WIDTH_CHECK | BDF_GLYPH_HEIGHT_CHECK | BDF_GLYPH_LINES);
    state->flags |= BDF_ENCODING;
    return BDF_OK;
}

void bbx(const char *line, bdf_parse_state *state, bdf_glyph *glyph, uint32_t lineno) {
    bdf_font *font = state->font;
    bdf_bbx &box = glyph->bbx;
    const char *field = field_after(line, "BBX");
    box.width = (uint16_t)bdf_parse_short(field, nullptr, 10);
    field = field ? bdf_field_at(field, 1) : nullptr;
    box.height = (uint16_t)bdf_parse_short(field, nullptr, 10);
    field = field ? bdf_field_at(field, 1) : nullptr;
    box.x_offset = bdf_parse_short(field, nullptr, 10);
    field = field ? bdf_field_at(field, 1) : nullptr;
    box.y_offset = bdf_parse_short(field, nullptr, 10);
    box.ascent = (int16_t)(box.y_offset + box.height);
    box.descent = (int16_t)-box.y_offset;

    bdf_box_span_add(&state->glyph_boxes, &box);

    if (!(state->flags & BDF_DWIDTH)) {
        if (font->metrics_set == 0) {
            bdf_message(state, "DWIDTH field missing at line %ld.  Set to glyph width.",
                        (long)lineno);
            glyph->dwidth = box.width;
        } else {
            if (!(state->flags & BDF_SWIDTH))
                glyph->swidth = (uint16_t)font->swidth;
            glyph->dwidth = (uint16_t)font->dwidth;
        }
    }
    if (state->options.correct_metrics) {
        uint16_t swidth = scalable_width(state, glyph->dwidth);
        if (swidth != glyph->swidth) {
            glyph->swidth = swidth;
            state->flags |= BDF_SWIDTH_ADJUSTED;
            font->modified = 1;
        }
    }
    state->flags |= BDF_BBX;
    state->any_bbx = true;
    bdf_bitmap_begin(state, glyph);
}

/* A DWIDTH, BBX or BITMAP line that no glyph owns (between ENDCHAR and the next
 * ENCODING) changes no glyph. BBX and BITMAP still count for the order of the
 * lines after them, and the rows after such a BITMAP go with it. */
int stray_line(const char *keyword, uint32_t order_flag, uint32_t lineno, bdf_parse_state *state) {
    bdf_message(state, "[line %ld] \"%s\" line outside a glyph ignored.", (long)lineno, keyword);
    state->font->modified = 1;
    state->flags |= order_flag;
    return BDF_OK;
}

/* SWIDTH, DWIDTH, BBX, BITMAP and the rows: the lines about the current glyph. */
int glyph_line(char *line, uint32_t length, uint32_t lineno, bdf_parse_state *state) {
    if (state->flags & BDF_BITMAP)
        return bdf_bitmap_row(state, line, length) ? BDF_OK : bdf_out_of_memory(state, lineno);
    if (BDF_KEYWORD(line, length, "SWIDTH1") || BDF_KEYWORD(line, length, "DWIDTH1"))
        return BDF_OK;
    bool swidth = BDF_KEYWORD(line, length, "SWIDTH");
    bool dwidth = !swidth && BDF_KEYWORD(line, length, "DWIDTH");
    bool box = !swidth && !dwidth && BDF_KEYWORD(line, length, "BBX");
    bool bitmap = !swidth && !dwidth && !box && BDF_KEYWORD(line, length, "BITMAP");
    if (!swidth && !dwidth && !box && !bitmap)
        return BDF_UNKNOWN_KEYWORD;
    if (swidth && !(state->flags & BDF_ENCODING))
        return bdf_missing(state, lineno, "ENCODING", BDF_MISSING_ENCODING);
    if (bitmap && !(state->flags & BDF_BBX))
        return bdf_missing(state, lineno, "BBX", BDF_MISSING_BBX);
    /* Until this block's ENCODING the last glyph of a list is another block's. */
    bdf_glyph *glyph = (state->flags & BDF_ENCODING) ? bdf_current_glyph(state) : nullptr;
    if (!glyph)
        return stray_line(dwidth ? "DWIDTH" : box ? "BBX" : "BITMAP",
                          box ? uint32_t(BDF_BBX) : bitmap ? uint32_t(BDF_BITMAP) : 0u, lineno, state);
    if (bitmap) {
        state->row = 0;
        state->flags |= BDF_BITMAP;
        return BDF_OK;
    }
    if (swidth) {
        glyph->swidth = (uint16_t)bdf_parse_unsigned(field_after(line, "SWIDTH"), nullptr, 10);
        state->flags |= BDF_SWIDTH;
    } else if (dwidth) {
        glyph->dwidth = (uint16_t)bdf_parse_unsigned(field_after(line, "DWIDTH"), nullptr, 10);
        if (!(state->flags & BDF_SWIDTH)) {
            bdf_message(state, "SWIDTH field missing at line %ld.  Set automatically.",
                        (long)lineno);
            glyph->swidth = scalable_width(state, glyph->dwidth);
        }
        state->flags |= BDF_DWIDTH;
    } else {
        bbx(line, state, glyph, lineno);
    }
    return BDF_OK;
}

} // namespace

int bdf_glyph_handler(char *line, uint32_t length, uint32_t lineno, bdf_handler_slot *next,
                      bdf_parse_state *state) {
    /* A kept glyph's first row: the row handler takes the rows from here on. */
    if ((state->flags & BDF_BITMAP) && !bdf_ends_rows(line, length) &&
        (state->glyph_encoding >= 0 || state->options.keep_unencoded)) {
        next->handler = bdf_row_handler;
        return bdf_bitmap_row(state, line, length) ? BDF_OK : bdf_out_of_memory(state, lineno);
    }
    if (BDF_KEYWORD(line, length, "COMMENT")) {
        const char *text = length > 7 ? line + 8 : "";
        size_t n = length > 7 ? strnlen(text, length - 8) : 0;
        return bdf_add_comment(state, text, n) ? BDF_OK : bdf_out_of_memory(state, lineno);
    }
    if (!(state->flags & BDF_GLYPHS)) {
        if (!BDF_KEYWORD(line, length, "CHARS"))
            return bdf_missing(state, lineno, "CHARS", BDF_MISSING_CHARS);
        if (!bdf_split_blanks(state, line, length))
            return bdf_out_of_memory(state, lineno);
        return chars(lineno, state);
    }
    if (BDF_KEYWORD(line, length, "ENDFONT")) {
        /* The encoded list is sorted once, when the load finishes. */
        state->flags &= ~(uint32_t)BDF_START;
        return BDF_OK;
    }
    if (BDF_KEYWORD(line, length, "ENDCHAR")) {
        bdf_bitmap_end(state);
        report(state, BDF_LOADING_GLYPH, state->font->glyphs_used, state->font->glyphs_size);
        state->glyph_encoding = 0;
        state->flags &= ~(uint32_t)(BDF_GLYPH | BDF_GLYPH_LINES);
        return BDF_OK;
    }
    if ((state->flags & BDF_GLYPH) && state->glyph_encoding < 0 && !state->options.keep_unencoded)
        return BDF_OK;
    if (BDF_KEYWORD(line, length, "STARTCHAR"))
        return start_glyph(line, length, lineno, state);
    if (BDF_KEYWORD(line, length, "ENCODING")) {
        if (!(state->flags & BDF_GLYPH))
            return bdf_missing(state, lineno, "STARTCHAR", BDF_MISSING_STARTCHAR);
        return encoding(line, lineno, state);
    }
    return glyph_line(line, length, lineno, state);
}
