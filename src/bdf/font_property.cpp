#include "font_property.h"
#include "hash.h"
#include "numbers.h"

#include <stdlib.h>
#include <string.h>

/* Stores the text as the format asks; 0 when an atom cannot be copied. */
static int set_value(bdf_property *prop, const char *text) {
    switch (prop->format) {
    case BDF_PROP_ATOM: {
        char *copy = nullptr;
        if (text && *text && !(copy = strdup(text)))
            return 0;
        free(prop->value.atom);
        prop->value.atom = copy;
        return 1;
    }
    case BDF_PROP_INTEGER:
        prop->value.int32 = bdf_parse_signed(text, nullptr, 10);
        return 1;
    default:
        prop->value.card32 = bdf_parse_unsigned(text, nullptr, 10);
        return 1;
    }
}

/* The four names that also set font fields, matched as prefixes. A value of
 * another format than the field needs (possible for longer user-defined names
 * that merely start with one of them) sets nothing. */
static void apply_special(bdf_font *font, const char *name, const bdf_property *prop) {
    bool number = prop->format != BDF_PROP_ATOM;
    if (strncmp(name, "DEFAULT_CHAR", 12) == 0) {
        if (number)
            font->default_glyph = prop->value.int32;
    } else if (strncmp(name, "FONT_ASCENT", 11) == 0) {
        if (number)
            font->font_ascent = prop->value.int32;
    } else if (strncmp(name, "FONT_DESCENT", 12) == 0) {
        if (number)
            font->font_descent = prop->value.int32;
    } else if (strncmp(name, "SPACING", 7) == 0) {
        if (number || !prop->value.atom)
            return;
        switch (prop->value.atom[0]) {
        case 'P': case 'p': font->spacing = BDF_SPACING_PROPORTIONAL; break;
        case 'M': case 'm': font->spacing = BDF_SPACING_MONO; break;
        case 'C': case 'c': font->spacing = BDF_SPACING_CELL; break;
        default: break;
        }
    }
}

int bdf_add_font_property_checked(bdf_font *font, const char *name, const char *value) {
    if (!font || !name || !*name)
        return 1;
    if (!font->prop_index.buckets && !bdf_hash_init(&font->prop_index))
        return 0;
    bdf_hash_entry **bucket = bdf_hash_lookup(name, &font->prop_index);
    if (bucket && *bucket)
        return set_value(&font->props[(*bucket)->index], value);

    bdf_property *known = bdf_get_property(name);
    if (!known) {
        bdf_create_property(name, BDF_PROP_ATOM);
        if (!(known = bdf_get_property(name)))
            return 0;
    }
    if (font->props_used == font->props_size) {
        uint32_t size = font->props_size ? font->props_size * 2 : 8;
        bdf_property *grown = (bdf_property *)realloc(font->props, size * sizeof *grown);
        if (!grown)
            return 0;
        memset(grown + font->props_size, 0, (size - font->props_size) * sizeof *grown);
        font->props = grown;
        font->props_size = size;
    }
    bdf_property *prop = &font->props[font->props_used];
    prop->name = known->name;
    prop->format = known->format;
    prop->builtin = known->builtin;
    prop->value.atom = nullptr;
    if (!set_value(prop, value))
        return 0;
    if (strncmp(name, "COMMENT", 7) != 0 &&
        !bdf_hash_insert(known->name, (int32_t)font->props_used, &font->prop_index)) {
        if (prop->format == BDF_PROP_ATOM)
            free(prop->value.atom);
        prop->value.atom = nullptr;
        return 0;
    }
    font->props_used++;
    apply_special(font, name, prop);
    return 1;
}

void bdf_add_font_property(bdf_font *font, const char *name, const char *value) {
    bdf_add_font_property_checked(font, name, value);
}

bdf_property *bdf_get_font_property(bdf_font *font, const char *name) {
    if (!font || font->props_size == 0 || !name || !*name)
        return nullptr;
    bdf_hash_entry **bucket = bdf_hash_lookup(name, &font->prop_index);
    if (!bucket || !*bucket)
        return nullptr;
    return &font->props[(*bucket)->index];
}
