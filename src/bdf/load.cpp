/* bdf_load_font and bdf_load_font_path: the line reader over the handlers, then
 * the end-of-load checks. */
#include "glyph_bitmap.h"
#include "line_reader.h"
#include "reader_state.h"

#include <sys/stat.h>

#include <algorithm>
#include <stdlib.h>
#include <string.h>

namespace {

bool by_encoding(const bdf_glyph &a, const bdf_glyph &b) { return a.encoding < b.encoding; }

/* The most common device width over every glyph, the smaller one on a tie; the
 * font box width when the font has no glyph. Counted per width up to the
 * largest: far cheaper than sorting the widths, and only the pages of counts
 * that widths fall on are touched. */
uint16_t most_common_width(const bdf_font *font) {
    if (font->glyphs_used + font->unencoded_used == 0)
        return font->bbx.width;
    uint16_t widest = 0;
    for (uint32_t i = 0; i < font->glyphs_used; i++)
        widest = std::max(widest, font->glyphs[i].dwidth);
    for (uint32_t i = 0; i < font->unencoded_used; i++)
        widest = std::max(widest, font->unencoded[i].dwidth);
    uint32_t *counts = (uint32_t *)calloc((size_t)widest + 1, sizeof *counts);
    if (!counts)
        return font->bbx.width;
    for (uint32_t i = 0; i < font->glyphs_used; i++)
        counts[font->glyphs[i].dwidth]++;
    for (uint32_t i = 0; i < font->unencoded_used; i++)
        counts[font->unencoded[i].dwidth]++;
    uint16_t best = 0;
    for (uint32_t width = 1; width <= widest; width++) {
        if (counts[width] > counts[best])
            best = (uint16_t)width;
    }
    free(counts);
    return best;
}

/* The font box as the glyph boxes span it (only when some glyph had a BBX). */
void correct_font_box(bdf_parse_state *state) {
    bdf_font *font = state->font;
    bdf_bbx &box = font->bbx;
    const bdf_bbx actual = bdf_box_span_box(&state->glyph_boxes);
    if (actual.width != box.width) {
        bdf_message(state, "Font width != actual width.  Old: %hd New: %hd.", (short)box.width,
                    (short)actual.width);
        box.width = actual.width;
        font->modified = 1;
    }
    if (box.x_offset != actual.x_offset) {
        bdf_message(state, "Font left bearing != actual left bearing.  Old: %hd New: %hd.",
                    box.x_offset, actual.x_offset);
        box.x_offset = actual.x_offset;
        font->modified = 1;
    }
    if (box.ascent != actual.ascent) {
        bdf_message(state, "Font ascent != actual ascent.  Old: %hd New: %hd.", box.ascent,
                    actual.ascent);
        box.ascent = actual.ascent;
        font->modified = 1;
    }
    if (box.descent != actual.descent) {
        bdf_message(state, "Font descent != actual descent.  Old: %hd New: %hd.", box.descent,
                    actual.descent);
        box.descent = actual.descent;
        box.y_offset = actual.y_offset;
        font->modified = 1;
    }
    if (actual.height != box.height)
        bdf_message(state, "Font height != actual height. Old: %hd New: %hd.", (short)box.height,
                    (short)actual.height);
    box.height = actual.height;
}

void trim(char **buffer, uint32_t length) {
    if (length == 0)
        return;
    if (char *trimmed = (char *)realloc(*buffer, length + 1))
        *buffer = trimmed;
}

void finish(bdf_parse_state *state, int result, uint32_t lineno) {
    bdf_font *font = state->font;
    if (font) {
        bdf_bitmap_end(state);
        /* A load that stopped before the glyph section may not have settled the
         * pixel size (ENDPROPERTIES does, with a message). */
        if (font->bpp == 0)
            font->bpp = 1;
        /* Without ENDFONT the data ended too soon: the missing part starts at
         * the line after the last one. */
        font->stop_line = state->stop_line     ? state->stop_line
                          : state->flags & BDF_START ? lineno
                                                     : 0;
        if (!std::is_sorted(font->glyphs, font->glyphs + font->glyphs_used, by_encoding))
            std::sort(font->glyphs, font->glyphs + font->glyphs_used, by_encoding);
        if (font->spacing != BDF_SPACING_PROPORTIONAL)
            font->monowidth = most_common_width(font);
        uint32_t found = font->glyphs_used + font->unencoded_used;
        if (found != state->count) {
            bdf_message(state, "Incorrect glyph count: %lu indicated but %lu found.",
                        (unsigned long)state->count, (unsigned long)found);
            font->modified = 1;
        }
        if (state->options.correct_metrics && found > 0) {
            if (state->any_bbx)
                correct_font_box(state);
            if (state->flags & BDF_SWIDTH_ADJUSTED)
                bdf_message(state, "Glyph scalable width (SWIDTH) adjustments made.");
        }
    }

    if (result < 0 && state->callback) {
        state->progress.reason = BDF_LOAD_ERROR;
        state->progress.error_line = lineno;
        state->callback(&state->progress, state->client_data);
    } else if (state->flags & BDF_START) {
        if (font) {
            if (state->flags & BDF_GLYPHS)
                bdf_message(state, "[line %ld] Font glyphs corrupted or missing fields.",
                            (long)lineno);
            else
                bdf_message(state, "[line %ld] Font header corrupted or missing fields.",
                            (long)lineno);
        }
        if (state->callback) {
            state->progress.reason = BDF_LOAD_ERROR;
            state->progress.error_line = lineno;
            state->callback(&state->progress, state->client_data);
        }
    } else if (state->callback) {
        state->progress.current = state->progress.total;
        state->callback(&state->progress, state->client_data);
    }

    bdf_list_free(&state->fields);
    bdf_encoding_set_free(&state->seen_encodings);
    free(state->glyph_name);
    state->glyph_name = nullptr;
    if (font) {
        trim(&font->comments, font->comments_len);
        trim(&font->messages, font->messages_len);
    }
}

/* Bytes left in the file from its current position, or -1 when unknown. */
int64_t remaining_size(FILE *file) {
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    long position = ftell(file);
    if (position < 0 || position > info.st_size)
        return -1;
    return (int64_t)info.st_size - position;
}

bdf_font *load(bdf_line_source *source, int64_t size, const bdf_options *options, bdf_callback callback,
               void *client_data) {
    bdf_parse_state *state = (bdf_parse_state *)calloc(1, sizeof *state);
    if (!state)
        return nullptr;
    if (options)
        state->options = *options;
    else
        bdf_default_options(&state->options);
    state->callback = callback;
    state->client_data = client_data;
    bdf_box_span_start(&state->glyph_boxes);
    state->file_size = size;

    uint32_t lineno = 0;
    int result = bdf_read_lines(source, bdf_header_handler, state, &lineno);
    finish(state, result, lineno);
    bdf_font *font = state->font;
    free(state);
    return font;
}

bdf_font *load_file(FILE *file, const bdf_options *options, bdf_callback callback, void *client_data,
                    bool text_mode) {
    if (!file)
        return nullptr;
    bdf_line_source source = {file, text_mode, false, false, nullptr, 0};
    return load(&source, remaining_size(file), options, callback, client_data);
}

} // namespace

bdf_font *bdf_load_font(FILE *file, const bdf_options *options, bdf_callback callback,
                        void *client_data) {
    return load_file(file, options, callback, client_data, false);
}

bdf_font *bdf_load_font_path(const char *path) {
    if (!path)
        return nullptr;
    FILE *file = fopen(path, "rb");
    if (!file)
        return nullptr;
    bdf_font *font = load_file(file, &bdf_global_options, nullptr, nullptr, true);
    fclose(file);
    return font;
}

bdf_font *bdf_load_font_text(const char *text, size_t length, const bdf_options *options) {
    if (!text)
        return nullptr;
    bdf_line_source source = {nullptr, true, false, false, text, length};
    return load(&source, (int64_t)length, options, nullptr, nullptr);
}
