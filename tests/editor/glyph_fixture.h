#ifndef GLYPHWERK_TESTS_EDITOR_GLYPH_FIXTURE_H
#define GLYPHWERK_TESTS_EDITOR_GLYPH_FIXTURE_H

// Glyphs and grids written as pictures: one string per row, '.' for
// background and '1' to 'f' (hexadecimal) for a pixel's level ('#' is 1).

#include "bdf.h"
#include "edit_history.h"
#include "grid_bitmap.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using Picture = std::vector<std::string>;

inline bdf_bbx Box(int width, int height, int x_offset, int y_offset) {
    return {uint16_t(width), uint16_t(height), int16_t(x_offset), int16_t(y_offset), int16_t(y_offset + height),
            int16_t(-y_offset)};
}

// A grid (malloc'd) of the picture's size.
inline unsigned char *GridFrom(const Picture &rows, int bpp = 1) {
    const int width = rows.empty() ? 0 : int(rows[0].size()), height = int(rows.size());
    auto *grid = static_cast<unsigned char *>(calloc(GridBytes(width, height, bpp) + 1, 1));
    for (int r = 0; r < height; ++r)
        for (int k = 0; k < width; ++k)
            if (rows[r][k] != '.')
                SetGridPixel(grid, width, height, bpp, k, r,
                             rows[r][k] == '#' ? 1 : int(std::string("0123456789abcdef").find(rows[r][k])));
    return grid;
}

inline Picture PictureOf(const unsigned char *grid, int width, int height, int bpp = 1) {
    Picture rows(height, std::string(width, '.'));
    for (int r = 0; r < height; ++r)
        for (int k = 0; k < width; ++k)
            if (const int level = GridPixel(grid, width, height, bpp, k, r))
                rows[r][k] = bpp == 1 ? '#' : ".123456789abcdef"[level];
    return rows;
}

// A glyph owning its name and bitmap.
struct GlyphDeleter {
    void operator()(bdf_glyph *glyph) const {
        free(glyph->name);
        free(glyph->bitmap);
        delete glyph;
    }
};
using GlyphPtr = std::unique_ptr<bdf_glyph, GlyphDeleter>;

inline GlyphPtr MakeGlyph(const Picture &rows, int x_offset, int y_offset, int bpp = 1, const char *name = "g") {
    auto *glyph = new bdf_glyph{};
    const int width = rows.empty() ? 0 : int(rows[0].size()), height = int(rows.size());
    glyph->name = name ? strdup(name) : nullptr;
    glyph->encoding = 65;
    glyph->dwidth = 8;
    glyph->bbx = Box(width, height, x_offset, y_offset);
    glyph->bytes = GridBytes(width, height, bpp);
    glyph->bitmap = glyph->bytes ? GridFrom(rows, bpp) : nullptr;
    return GlyphPtr(glyph);
}

inline Picture GlyphPicture(const bdf_glyph &glyph, int bpp = 1) {
    return PictureOf(glyph.bitmap, glyph.bbx.width, glyph.bbx.height, bpp);
}

inline int HistoryEntries(const CEditHistory &history) {
    int count = 0;
    for (const HistoryEntry *entry = history.List()->first; entry; entry = entry->next)
        ++count;
    return count;
}

#endif
