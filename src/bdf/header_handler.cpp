/* The lines from STARTFONT to STARTPROPERTIES. */
#include "hash.h"
#include "numbers.h"
#include "reader_state.h"

#include <stdlib.h>
#include <string.h>

/* STARTPROPERTIES reserves no more records than this before any arrive; the
 * list grows with the properties the file really holds. */
constexpr uint32_t MAX_RESERVED_PROPERTIES = 1024;

static int start_font(bdf_parse_state *state, uint32_t lineno) {
    bdf_font *font = (bdf_font *)calloc(1, sizeof *font);
    if (!font)
        return bdf_out_of_memory(state, lineno);
    if (!bdf_hash_init(&font->prop_index)) {
        free(font);
        return bdf_out_of_memory(state, lineno);
    }
    font->spacing = state->options.font_spacing;
    font->default_glyph = -1;
    state->font = font;
    state->flags = BDF_START;
    return BDF_OK;
}

/* An XLFD name has 14 fields behind dashes; the 11th is the spacing. */
static int detect_spacing(bdf_parse_state *state, uint32_t lineno) {
    bdf_font *font = state->font;
    font->spacing = state->options.font_spacing;
    char *copy = strdup(font->name);
    if (!copy)
        return bdf_out_of_memory(state, lineno);
    int ok = bdf_split("-", copy, (uint32_t)strlen(copy), &state->fields);
    if (ok && state->fields.used == 15) {
        switch (state->fields.field[11][0]) {
        case 'C': case 'c': font->spacing = BDF_SPACING_CELL; break;
        case 'M': case 'm': font->spacing = BDF_SPACING_MONO; break;
        case 'P': case 'p': font->spacing = BDF_SPACING_PROPORTIONAL; break;
        default: break;
        }
    }
    free(copy);
    return ok ? BDF_OK : bdf_out_of_memory(state, lineno);
}

/* FONT: every word after the keyword, joined by single blanks; a line without
 * any leaves the font without a name. */
static int font_name(uint32_t lineno, bdf_parse_state *state) {
    bdf_font *font = state->font;
    bdf_shift(1, &state->fields);
    const char *joined = bdf_join(' ', &state->fields, nullptr);
    char *name = nullptr;
    if (joined && *joined && !(name = strdup(joined)))
        return bdf_out_of_memory(state, lineno);
    free(font->name);
    font->name = name;
    state->flags |= BDF_FONT_NAME;
    return name ? detect_spacing(state, lineno) : BDF_OK;
}

static void size_line(bdf_parse_state *state) {
    bdf_font *font = state->font;
    font->point_size = (int32_t)bdf_parse_unsigned(bdf_field(state, 1), nullptr, 10);
    font->resolution_x = bdf_parse_unsigned(bdf_field(state, 2), nullptr, 10);
    font->resolution_y = bdf_parse_unsigned(bdf_field(state, 3), nullptr, 10);
    /* A blank at the end of the line leaves an empty last field, which is no
     * bits-per-pixel field. */
    uint32_t fields = state->fields.used;
    if (fields > 0 && !*state->fields.field[fields - 1])
        fields--;
    if (fields != 5) {
        font->bpp = 1;
        return;
    }
    uint16_t bpp = (uint16_t)bdf_parse_short(bdf_field(state, 4), nullptr, 10);
    if (bpp > 1 && (bpp & 1)) {
        bpp++;
        if (bpp <= 4)
            bdf_message(state, "SIZE bits per pixel field adjusted to %hd.", (short)bpp);
    }
    if (bpp > 4) {
        bdf_message(state, "SIZE bits per pixel field adjusted to %hd.", (short)4);
        bpp = 4;
    }
    font->bpp = bpp;
}

static int start_properties(uint32_t lineno, bdf_handler_slot *next, bdf_parse_state *state) {
    bdf_font *font = state->font;
    uint32_t n = bdf_parse_unsigned(bdf_field(state, 1), nullptr, 10);
    uint32_t reserved = n < MAX_RESERVED_PROPERTIES ? n : MAX_RESERVED_PROPERTIES;
    state->count = n;
    if (reserved > 0) {
        font->props = (bdf_property *)calloc(reserved, sizeof(bdf_property));
        if (!font->props)
            return bdf_out_of_memory(state, lineno);
    }
    font->props_size = reserved;
    state->flags |= BDF_PROPS;
    next->handler = bdf_property_handler;
    return BDF_OK;
}

int bdf_header_handler(char *line, uint32_t length, uint32_t lineno, bdf_handler_slot *next,
                       bdf_parse_state *state) {
    bdf_font *font = state->font;
    if (BDF_KEYWORD(line, length, "COMMENT")) {
        if (state->options.keep_comments && font) {
            const char *text = length > 7 ? line + 8 : "";
            size_t n = length > 7 ? strnlen(text, length - 8) : 0;
            if (!bdf_add_comment(state, text, n))
                return bdf_out_of_memory(state, lineno);
        }
        return BDF_OK;
    }
    if (!(state->flags & BDF_START)) {
        if (!BDF_KEYWORD(line, length, "STARTFONT"))
            return BDF_MISSING_START;
        return start_font(state, lineno);
    }

    if (!bdf_split_blanks(state, line, length))
        return bdf_out_of_memory(state, lineno);
    if (BDF_KEYWORD(line, length, "STARTPROPERTIES"))
        return start_properties(lineno, next, state);
    if (BDF_KEYWORD(line, length, "FONTBOUNDINGBOX")) {
        if (!(state->flags & BDF_SIZE))
            return bdf_missing(state, lineno, "SIZE", BDF_MISSING_SIZE);
        bdf_bbx &box = font->bbx;
        box.width = (uint16_t)bdf_parse_short(bdf_field(state, 1), nullptr, 10);
        box.height = (uint16_t)bdf_parse_short(bdf_field(state, 2), nullptr, 10);
        box.x_offset = bdf_parse_short(bdf_field(state, 3), nullptr, 10);
        box.y_offset = bdf_parse_short(bdf_field(state, 4), nullptr, 10);
        box.ascent = (int16_t)(box.y_offset + box.height);
        box.descent = (int16_t)-box.y_offset;
        state->flags |= BDF_FONT_BBX;
        return BDF_OK;
    }
    if (BDF_KEYWORD(line, length, "FONT"))
        return font_name(lineno, state);
    if (BDF_KEYWORD(line, length, "SIZE")) {
        if (!(state->flags & BDF_FONT_NAME))
            return bdf_missing(state, lineno, "FONT", BDF_MISSING_FONTNAME);
        size_line(state);
        state->flags |= BDF_SIZE;
        return BDF_OK;
    }
    if (BDF_KEYWORD(line, length, "METRICSSET")) {
        if (!(state->flags & BDF_FONT_BBX))
            return bdf_missing(state, lineno, "FONTBOUNDINGBOX", BDF_MISSING_FONTBBX);
        font->metrics_set = bdf_parse_short(bdf_field(state, 1), nullptr, 10);
        return BDF_OK;
    }
    int16_t value = bdf_parse_short(bdf_field(state, 1), nullptr, 10);
    if (BDF_KEYWORD(line, length, "SWIDTH1"))
        font->swidth1 = value;
    else if (BDF_KEYWORD(line, length, "DWIDTH1"))
        font->dwidth1 = value;
    else if (BDF_KEYWORD(line, length, "SWIDTH"))
        font->swidth = value;
    else if (BDF_KEYWORD(line, length, "DWIDTH"))
        font->dwidth = value;
    else if (BDF_KEYWORD(line, length, "VVECTOR")) {
        font->vvector_x = value;
        font->vvector_y = bdf_parse_short(bdf_field(state, 2), nullptr, 10);
    } else
        return BDF_UNKNOWN_KEYWORD;
    return BDF_OK;
}
