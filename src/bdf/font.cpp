/* The font record: its default options and its release. */
#include "bdf.h"
#include "glyph_edit.h"
#include "hash.h"

#include <stdlib.h>

bdf_options bdf_global_options;

void bdf_default_options(bdf_options *options) {
    if (!options)
        return;
    *options = bdf_options{0, 1, 1, 1, 1, BDF_SPACING_PROPORTIONAL, 12, 0, 0, 1, BDF_EOL_LF, 3};
}

static void free_glyphs(bdf_glyph *glyphs, uint32_t used) {
    for (uint32_t i = 0; i < used; i++)
        bdf_free_glyph(&glyphs[i]);
    free(glyphs);
}

void bdf_free_font(bdf_font *font) {
    if (!font)
        return;
    free(font->name);
    bdf_hash_free(&font->prop_index);
    free(font->comments);
    free(font->messages);
    for (uint32_t i = 0; i < font->props_used; i++) {
        if (font->props[i].format == BDF_PROP_ATOM)
            free(font->props[i].value.atom);
    }
    free(font->props);
    free_glyphs(font->glyphs, font->glyphs_used);
    free_glyphs(font->unencoded, font->unencoded_used);
    free(font);
}
