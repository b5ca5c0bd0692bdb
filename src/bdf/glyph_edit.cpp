/* The glyph operations of editors: the encoded list as a sorted array, whole
 * copies, depth conversion, and glyphs as BDF text. */
#include "glyph_edit.h"

#include "metrics.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

/* The first index whose encoding is not below `encoding`. */
uint32_t first_not_below(const bdf_font *font, int32_t encoding) {
    const bdf_glyph *begin = font->glyphs, *end = begin + font->glyphs_used;
    const bdf_glyph *at =
        std::lower_bound(begin, end, encoding, [](const bdf_glyph &g, int32_t e) { return g.encoding < e; });
    return (uint32_t)(at - begin);
}

unsigned pixel(const unsigned char *row, uint32_t x, unsigned bpp) {
    const uint32_t bit = x * bpp;
    return (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
}

bool valid_depth(unsigned bpp) { return bpp == 1 || bpp == 2 || bpp == 4; }

char *copy_text(const char *text) { return text ? strdup(text) : nullptr; }

/* Starts with `word` at the start of the text or of one of its lines. */
bool has_line_starting(const std::string &text, const char *word) {
    const size_t n = strlen(word);
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        if ((at == 0 || text[at - 1] == '\n' || text[at - 1] == '\r') && text.compare(at, n, word) == 0)
            return true;
    }
    return false;
}

/* The depth at which the rows of the first glyph block of `text` fit its BBX
 * width: `bpp` when they fit it, else the one other depth they fit, else `bpp`. */
uint16_t block_depth(const std::string &text, uint16_t bpp) {
    const size_t box = text.find("BBX");
    const size_t bitmap = text.find("BITMAP", box == std::string::npos ? 0 : box);
    if (box == std::string::npos || bitmap == std::string::npos)
        return bpp;
    const long width = strtol(text.c_str() + box + 3, nullptr, 10);
    size_t row = text.find('\n', bitmap);
    if (width <= 0 || row == std::string::npos)
        return bpp;
    ++row;
    size_t digits = 0;
    while (row + digits < text.size() && isxdigit((unsigned char)text[row + digits]))
        ++digits;
    auto fits = [&](uint16_t depth) { return digits == 2 * bdf_row_bytes((uint32_t)width, depth); };
    if (fits(bpp))
        return bpp;
    for (uint16_t depth : {1, 2, 4})
        if (fits(depth))
            return depth;
    return bpp;
}

} // namespace

int32_t bdf_find_glyph(const bdf_font *font, int32_t encoding) {
    if (!font)
        return -1;
    uint32_t at = first_not_below(font, encoding);
    return at < font->glyphs_used && font->glyphs[at].encoding == encoding ? (int32_t)at : -1;
}

int32_t bdf_insert_glyph(bdf_font *font, bdf_glyph *glyph) {
    if (!font || !glyph || glyph->encoding < 0 || font->glyphs_used >= INT32_MAX)
        return -1;
    const uint32_t at = first_not_below(font, glyph->encoding);
    if (at < font->glyphs_used && font->glyphs[at].encoding == glyph->encoding)
        return -1;
    if (font->glyphs_used == font->glyphs_size) {
        /* Doubling keeps a run of inserts cheap on a large font. */
        uint64_t size = font->glyphs_size ? (uint64_t)font->glyphs_size * 2 : 64;
        if (size * sizeof(bdf_glyph) > SIZE_MAX / 2)
            return -1;
        bdf_glyph *grown = (bdf_glyph *)realloc(font->glyphs, (size_t)size * sizeof(bdf_glyph));
        if (!grown)
            return -1;
        memset(grown + font->glyphs_size, 0, (size_t)(size - font->glyphs_size) * sizeof(bdf_glyph));
        font->glyphs = grown;
        font->glyphs_size = (uint32_t)size;
    }
    memmove(font->glyphs + at + 1, font->glyphs + at, (font->glyphs_used - at) * sizeof(bdf_glyph));
    font->glyphs[at] = *glyph;
    font->glyphs_used++;
    *glyph = bdf_glyph{};
    return (int32_t)at;
}

int bdf_remove_glyph(bdf_font *font, uint32_t index, bdf_glyph *out) {
    if (!font || !out || index >= font->glyphs_used)
        return 0;
    *out = font->glyphs[index];
    memmove(font->glyphs + index, font->glyphs + index + 1,
            (font->glyphs_used - index - 1) * sizeof(bdf_glyph));
    font->glyphs_used--;
    font->glyphs[font->glyphs_used] = bdf_glyph{};
    return 1;
}

int bdf_copy_glyph(bdf_glyph *to, const bdf_glyph *from) {
    if (to == from)
        return 1;
    char *name = copy_text(from->name);
    unsigned char *bitmap = nullptr;
    if (from->bytes && from->bitmap) {
        bitmap = (unsigned char *)malloc(from->bytes);
        if (bitmap)
            memcpy(bitmap, from->bitmap, from->bytes);
    }
    if ((from->name && !name) || (from->bytes && from->bitmap && !bitmap)) {
        free(name);
        free(bitmap);
        return 0;
    }
    bdf_free_glyph(to);
    *to = *from;
    to->name = name;
    to->bitmap = bitmap;
    if (!bitmap)
        to->bytes = 0;
    return 1;
}

void bdf_free_glyph(bdf_glyph *glyph) {
    free(glyph->name);
    free(glyph->bitmap);
    *glyph = bdf_glyph{};
}

int bdf_convert_glyph_depth(bdf_glyph *glyph, uint16_t from_bpp, uint16_t to_bpp) {
    if (!valid_depth(from_bpp) || !valid_depth(to_bpp))
        return 0;
    if (from_bpp == to_bpp)
        return 1;
    const uint32_t width = glyph->bbx.width, height = glyph->bbx.height;
    const uint32_t from_row = bdf_row_bytes(width, from_bpp), to_row = bdf_row_bytes(width, to_bpp);
    const uint64_t bytes = (uint64_t)to_row * height;
    if (bytes > UINT32_MAX)
        return 0;
    unsigned char *bitmap = bytes ? (unsigned char *)calloc((size_t)bytes, 1) : nullptr;
    if (bytes && !bitmap)
        return 0;
    const unsigned from_max = (1u << from_bpp) - 1, to_max = (1u << to_bpp) - 1;
    const uint32_t rows = glyph->bitmap && from_row ? std::min(height, glyph->bytes / from_row) : 0;
    for (uint32_t y = 0; y < rows; ++y) {
        const unsigned char *in = glyph->bitmap + (size_t)y * from_row;
        unsigned char *out = bitmap + (size_t)y * to_row;
        for (uint32_t x = 0; x < width; ++x) {
            const unsigned level = (pixel(in, x, from_bpp) * to_max + from_max / 2) / from_max;
            const uint32_t bit = x * to_bpp;
            out[bit / 8] |= (unsigned char)(level << (8 - to_bpp - bit % 8));
        }
    }
    free(glyph->bitmap);
    glyph->bitmap = bitmap;
    glyph->bytes = (uint32_t)bytes;
    return 1;
}

bdf_font *bdf_glyph_font(const bdf_font *font, const bdf_glyph *glyph) {
    bdf_font *copy = (bdf_font *)calloc(1, sizeof *copy);
    if (!copy)
        return nullptr;
    copy->name = copy_text(font->name);
    copy->bbx = font->bbx;
    copy->point_size = font->point_size;
    copy->resolution_x = font->resolution_x;
    copy->resolution_y = font->resolution_y;
    copy->spacing = font->spacing;
    copy->monowidth = font->monowidth;
    copy->default_glyph = -1;
    copy->bpp = font->bpp;
    copy->glyphs = (bdf_glyph *)calloc(1, sizeof(bdf_glyph));
    if ((font->name && !copy->name) || !copy->glyphs || !bdf_copy_glyph(copy->glyphs, glyph)) {
        bdf_free_font(copy);
        return nullptr;
    }
    copy->glyphs_size = copy->glyphs_used = 1;
    return copy;
}

bdf_font *bdf_load_glyph_text(const char *text, size_t length, uint16_t bpp) {
    if (!text)
        return nullptr;
    std::string data(text, length);
    if (has_line_starting(data, "STARTFONT"))
        return bdf_load_font_text(data.data(), data.size(), nullptr);
    if (!has_line_starting(data, "STARTCHAR"))
        return nullptr;
    /* A bare block gets the header and end a font needs around it. */
    const std::string header = "STARTFONT 2.1\nFONT glyph\nSIZE 16 75 75 " +
                               std::to_string(block_depth(data, bpp)) +
                               "\nFONTBOUNDINGBOX 1 1 0 0\nSTARTPROPERTIES 0\nENDPROPERTIES\nCHARS 1\n";
    data = header + data + "\nENDFONT\n";
    return bdf_load_font_text(data.data(), data.size(), nullptr);
}
