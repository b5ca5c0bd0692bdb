#include "metrics.h"

#include "normalize.h"

#include <algorithm>
#include <cmath>
#include <cstring>

uint16_t bdf_scalable_width(const bdf_font *font, uint16_t dwidth) {
    double divisor = (double)font->point_size * (double)font->resolution_x;
    if (divisor == 0.0)
        return 0;
    double width = std::trunc((double)dwidth * 72000.0 / divisor);
    /* Keep the low 16 bits as the integer conversion of the original did;
     * go through int64 so that out-of-range values wrap instead of being UB. */
    if (!(width > -9.2e18 && width < 9.2e18))
        return 0;
    return (uint16_t)(int64_t)width;
}

int32_t bdf_common_dwidth(const bdf_font *font) {
    return font->spacing == BDF_SPACING_PROPORTIONAL ? -1 : font->monowidth;
}

void bdf_box_span_start(bdf_box_span *span) { *span = bdf_box_span{INT16_MAX, 0, 0, 0}; }

void bdf_box_span_add(bdf_box_span *span, const bdf_bbx *box) {
    const int16_t right = (int16_t)(box->x_offset + box->width);
    const int16_t ascent = (int16_t)(box->y_offset + box->height);
    const int16_t descent = (int16_t)-box->y_offset;
    span->min_left = std::min(span->min_left, box->x_offset);
    span->max_right = std::max(span->max_right, right);
    span->max_ascent = std::max(span->max_ascent, ascent);
    span->max_descent = std::max(span->max_descent, descent);
}

bdf_bbx bdf_box_span_box(const bdf_box_span *span) {
    bdf_bbx box;
    box.width = (uint16_t)(span->max_right - span->min_left);
    box.height = (uint16_t)(span->max_ascent + span->max_descent);
    box.x_offset = span->min_left;
    box.y_offset = (int16_t)-span->max_descent;
    box.ascent = span->max_ascent;
    box.descent = span->max_descent;
    return box;
}

int bdf_update_metrics(bdf_font *font, const bdf_options *options) {
    bdf_options defaults;
    if (options == nullptr) {
        bdf_default_options(&defaults);
        options = &defaults;
    }
    const bool padded = font->spacing == BDF_SPACING_CELL && options->pad_cells != 0;
    bdf_box_span span;
    bdf_box_span_start(&span);
    auto update = [&](bdf_glyph *list, uint32_t used) {
        for (uint32_t i = 0; i < used; ++i) {
            bdf_glyph &glyph = list[i];
            glyph.swidth = bdf_scalable_width(font, glyph.dwidth);
            const bdf_bbx written = padded ? glyph.bbx : bdf_cropped_box(&glyph, font->bpp);
            bdf_box_span_add(&span, &written);
        }
    };
    update(font->glyphs, font->glyphs_used);
    update(font->unencoded, font->unencoded_used);
    if (font->glyphs_used + font->unencoded_used == 0)
        return 0;
    const bdf_bbx box = bdf_box_span_box(&span);
    if (memcmp(&box, &font->bbx, sizeof box) == 0)
        return 0;
    font->bbx = box;
    return 1;
}
