#include "bdf.h"
#include "hash.h"

#include <stdlib.h>
#include <string.h>

namespace {

#define ATOM(name) {name, BDF_PROP_ATOM, 1, {nullptr}}
#define INTEGER(name) {name, BDF_PROP_INTEGER, 1, {nullptr}}
#define CARDINAL(name) {name, BDF_PROP_CARDINAL, 1, {nullptr}}

/* Registry indices 0 to 82 are the positions in this table. */
bdf_property predefined[BDF_PREDEFINED_PROPERTIES] = {
    ATOM("ADD_STYLE_NAME"),
    INTEGER("AVERAGE_WIDTH"),
    INTEGER("AVG_CAPITAL_WIDTH"),
    INTEGER("AVG_LOWERCASE_WIDTH"),
    INTEGER("CAP_HEIGHT"),
    ATOM("CHARSET_COLLECTIONS"),
    ATOM("CHARSET_ENCODING"),
    ATOM("CHARSET_REGISTRY"),
    ATOM("COMMENT"),
    ATOM("COPYRIGHT"),
    CARDINAL("DEFAULT_CHAR"),
    CARDINAL("DESTINATION"),
    ATOM("DEVICE_FONT_NAME"),
    INTEGER("END_SPACE"),
    ATOM("FACE_NAME"),
    ATOM("FAMILY_NAME"),
    INTEGER("FIGURE_WIDTH"),
    ATOM("FONT"),
    ATOM("FONTNAME_REGISTRY"),
    INTEGER("FONT_ASCENT"),
    INTEGER("FONT_DESCENT"),
    ATOM("FOUNDRY"),
    ATOM("FULL_NAME"),
    INTEGER("ITALIC_ANGLE"),
    INTEGER("MAX_SPACE"),
    INTEGER("MIN_SPACE"),
    INTEGER("NORM_SPACE"),
    ATOM("NOTICE"),
    INTEGER("PIXEL_SIZE"),
    INTEGER("POINT_SIZE"),
    INTEGER("QUAD_WIDTH"),
    INTEGER("RAW_ASCENT"),
    INTEGER("RAW_AVERAGE_WIDTH"),
    INTEGER("RAW_AVG_CAPITAL_WIDTH"),
    INTEGER("RAW_AVG_LOWERCASE_WIDTH"),
    INTEGER("RAW_CAP_HEIGHT"),
    INTEGER("RAW_DESCENT"),
    INTEGER("RAW_END_SPACE"),
    INTEGER("RAW_FIGURE_WIDTH"),
    INTEGER("RAW_MAX_SPACE"),
    INTEGER("RAW_MIN_SPACE"),
    INTEGER("RAW_NORM_SPACE"),
    INTEGER("RAW_PIXEL_SIZE"),
    INTEGER("RAW_POINT_SIZE"),
    INTEGER("RAW_PIXELSIZE"),
    INTEGER("RAW_POINTSIZE"),
    INTEGER("RAW_QUAD_WIDTH"),
    INTEGER("RAW_SMALL_CAP_SIZE"),
    INTEGER("RAW_STRIKEOUT_ASCENT"),
    INTEGER("RAW_STRIKEOUT_DESCENT"),
    INTEGER("RAW_SUBSCRIPT_SIZE"),
    INTEGER("RAW_SUBSCRIPT_X"),
    INTEGER("RAW_SUBSCRIPT_Y"),
    INTEGER("RAW_SUPERSCRIPT_SIZE"),
    INTEGER("RAW_SUPERSCRIPT_X"),
    INTEGER("RAW_SUPERSCRIPT_Y"),
    INTEGER("RAW_UNDERLINE_POSITION"),
    INTEGER("RAW_UNDERLINE_THICKNESS"),
    INTEGER("RAW_X_HEIGHT"),
    CARDINAL("RELATIVE_SETWIDTH"),
    CARDINAL("RELATIVE_WEIGHT"),
    INTEGER("RESOLUTION"),
    CARDINAL("RESOLUTION_X"),
    CARDINAL("RESOLUTION_Y"),
    ATOM("SETWIDTH_NAME"),
    ATOM("SLANT"),
    INTEGER("SMALL_CAP_SIZE"),
    ATOM("SPACING"),
    INTEGER("STRIKEOUT_ASCENT"),
    INTEGER("STRIKEOUT_DESCENT"),
    INTEGER("SUBSCRIPT_SIZE"),
    INTEGER("SUBSCRIPT_X"),
    INTEGER("SUBSCRIPT_Y"),
    INTEGER("SUPERSCRIPT_SIZE"),
    INTEGER("SUPERSCRIPT_X"),
    INTEGER("SUPERSCRIPT_Y"),
    INTEGER("UNDERLINE_POSITION"),
    INTEGER("UNDERLINE_THICKNESS"),
    CARDINAL("WEIGHT"),
    ATOM("WEIGHT_NAME"),
    INTEGER("X_HEIGHT"),
    INTEGER("_MULE_BASELINE_OFFSET"),
    INTEGER("_MULE_RELATIVE_COMPOSE"),
};

#undef ATOM
#undef INTEGER
#undef CARDINAL

/* User-defined names: registry index 83 + position. The array grows
 * geometrically so that a file with many new names loads in linear time; the
 * names themselves are separate allocations, so growth never moves them. */
bdf_property *user_props;
uint32_t user_used;
uint32_t user_size;

bdf_hash registry;

} // namespace

void bdf_setup(void) {
    bdf_hash_init(&registry);
    for (int32_t i = 0; i < BDF_PREDEFINED_PROPERTIES; i++)
        bdf_hash_insert(predefined[i].name, i, &registry);
    bdf_default_options(&bdf_global_options);
}

void bdf_cleanup(void) {
    bdf_hash_free(&registry);
    for (uint32_t i = 0; i < user_used; i++) {
        free((char *)user_props[i].name);
        if (user_props[i].format == BDF_PROP_ATOM)
            free(user_props[i].value.atom);
    }
    free(user_props);
    user_props = nullptr;
    user_used = user_size = 0;
}

void bdf_create_property(const char *name, int32_t format) {
    if (!name || !*name)
        return;
    bdf_hash_entry **bucket = bdf_hash_lookup(name, &registry);
    if (!bucket || *bucket)
        return;
    if (user_used == user_size) {
        uint32_t size = user_size ? user_size * 2 : 16;
        bdf_property *grown = (bdf_property *)realloc(user_props, size * sizeof *grown);
        if (!grown)
            return;
        user_props = grown;
        user_size = size;
    }
    char *copy = strdup(name);
    if (!copy)
        return;
    if (!bdf_hash_insert(copy, BDF_PREDEFINED_PROPERTIES + (int32_t)user_used, &registry)) {
        free(copy);
        return;
    }
    bdf_property *prop = &user_props[user_used++];
    prop->name = copy;
    prop->format = format;
    prop->builtin = 0;
    prop->value.atom = nullptr;
}

bdf_property *bdf_get_property(const char *name) {
    if (!name || !*name)
        return nullptr;
    bdf_hash_entry **bucket = bdf_hash_lookup(name, &registry);
    if (!bucket || !*bucket)
        return nullptr;
    int32_t index = (*bucket)->index;
    if (index < BDF_PREDEFINED_PROPERTIES)
        return &predefined[index];
    return &user_props[index - BDF_PREDEFINED_PROPERTIES];
}
