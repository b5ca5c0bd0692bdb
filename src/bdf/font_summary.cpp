#include "font_summary.h"

#include <cstdarg>
#include <cstdio>

namespace {

void appendf(std::string &out, const char *format, ...) {
    char buffer[64];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0)
        return;
    if ((size_t)n < sizeof buffer) {
        out.append(buffer, (size_t)n);
        return;
    }
    std::string long_text((size_t)n + 1, '\0');
    va_start(args, format);
    std::vsnprintf(long_text.data(), long_text.size(), format, args);
    va_end(args);
    long_text.resize((size_t)n);
    out += long_text;
}

// printf's own text for a null string, spelled out rather than left to the C library.
const char *or_null(const char *text) { return text ? text : "(null)"; }

} // namespace

std::string bdf_font_summary(const bdf_font *font, const char *path) {
    std::string out;
    appendf(out, "File: %s\r\n", or_null(path));
    appendf(out, "Font: %s\r\n", font->name ? font->name : "Unkonw");
    appendf(out, "Size: \t\t%d\r\n", (int)font->point_size);
    appendf(out, "Max Width:\t%d\r\n", (int)font->bbx.width);
    appendf(out, "Max Height:\t%d\r\n", (int)font->bbx.height);
    appendf(out, "Glyphs Num: \t%d\r\n", (int)font->glyphs_used);
    return out;
}

std::string bdf_glyph_summary(const bdf_glyph *glyph) {
    std::string out;
    appendf(out, "Glyph Name: %s\r\n", or_null(glyph->name));
    appendf(out, "Encodeing: %d [%04x]\r\n", (int)glyph->encoding, (unsigned)glyph->encoding);
    appendf(out, "DWidth:\t%d\r\n", (int)glyph->dwidth);
    appendf(out, "Width:\t%d\r\n", (int)glyph->bbx.width);
    appendf(out, "Height:\t%d\r\n", (int)glyph->bbx.height);
    appendf(out, "X_offset: %d\r\n", (int)glyph->bbx.x_offset);
    appendf(out, "Y_offset: %d\r\n", (int)glyph->bbx.y_offset);
    return out;
}
