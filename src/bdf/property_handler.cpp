/* The lines from STARTPROPERTIES to ENDPROPERTIES. */
#include "font_property.h"
#include "reader_state.h"

#include <stdio.h>
#include <string.h>

static bool is_blank(char c) { return c == ' ' || c == '\t'; }

/* Cuts an atom line into name and value in place: the name runs to the first
 * blank or tab, the value is the rest without surrounding blanks and tabs and
 * without one pair of outer double quotes. Fails (returns false, line intact)
 * when the name is registered with a numeric format. */
static bool split_name_value(char *line, uint32_t length, char **name, char **value) {
    char *end = line + strnlen(line, length);
    char *p = line;
    while (p < end && !is_blank(*p))
        p++;
    char saved = *p;
    *p = '\0';
    const bdf_property *known = bdf_get_property(line);
    if (known && known->format != BDF_PROP_ATOM) {
        *p = saved;
        return false;
    }
    *name = line;
    if (p < end)
        p++;
    while (p < end && is_blank(*p))
        p++;
    if (p < end && *p == '"')
        p++;
    *value = p;
    while (end > p && is_blank(end[-1]))
        end--;
    if (end > p && end[-1] == '"')
        end--;
    *end = '\0';
    return true;
}

/* A missing FONT_ASCENT or FONT_DESCENT is taken from the font bounding box. */
static int add_missing_metric(bdf_parse_state *state, const char *name, int16_t value,
                              int32_t *field) {
    bdf_font *font = state->font;
    if (bdf_get_font_property(font, name))
        return 1;
    *field = value;
    char text[16];
    snprintf(text, sizeof text, "%hd", value);
    if (!bdf_add_font_property_checked(font, name, text))
        return 0;
    bdf_message(state, "%s property missing.  Added \"%s %hd\".", name, name, value);
    font->modified = 1;
    return 1;
}

static int end_properties(uint32_t lineno, bdf_handler_slot *next, bdf_parse_state *state) {
    bdf_font *font = state->font;
    if (!add_missing_metric(state, "FONT_ASCENT", font->bbx.ascent, &font->font_ascent) ||
        !add_missing_metric(state, "FONT_DESCENT", font->bbx.descent, &font->font_descent))
        return bdf_out_of_memory(state, lineno);
    /* Glyph bitmaps need a pixel size: a font whose SIZE line gave none (or that
     * had no SIZE line) is read as one bit per pixel. */
    if (font->bpp == 0) {
        font->bpp = 1;
        bdf_message(state, "SIZE bits per pixel field adjusted to %hd.", (short)1);
    }
    state->flags &= ~(uint32_t)BDF_PROPS;
    next->handler = bdf_glyph_handler;
    return BDF_OK;
}

int bdf_property_handler(char *line, uint32_t length, uint32_t lineno, bdf_handler_slot *next,
                         bdf_parse_state *state) {
    bdf_font *font = state->font;
    if (BDF_KEYWORD(line, length, "ENDPROPERTIES"))
        return end_properties(lineno, next, state);
    if (BDF_KEYWORD(line, length, "_XFREE86_GLYPH_RANGES"))
        return BDF_OK;
    if (BDF_KEYWORD(line, length, "COMMENT")) {
        line[7] = '\0';
        const char *text = length > 7 ? line + 8 : "";
        return bdf_add_font_property_checked(font, line, text) ? BDF_OK
                                                                : bdf_out_of_memory(state, lineno);
    }
    char *name, *value;
    if (!split_name_value(line, length, &name, &value)) {
        /* A numeric property: its name ends at a blank or a tab. */
        if (!bdf_split(" \t+", line, length, &state->fields))
            return bdf_out_of_memory(state, lineno);
        name = state->fields.field[0];
        bdf_shift(1, &state->fields);
        value = bdf_join(' ', &state->fields, nullptr);
    }
    return bdf_add_font_property_checked(font, name, value) ? BDF_OK
                                                            : bdf_out_of_memory(state, lineno);
}
