#ifndef GLYPHWERK_TESTS_EDITOR_GLYPH_FIXTURE_H
#define GLYPHWERK_TESTS_EDITOR_GLYPH_FIXTURE_H

// Glyphs and grids as pictures: a string per row, '.' for background, '1'..'f' for a pixel's level ('#' is 1).

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
    return {uint16_t(width),   uint16_t(height),           int16_t(x_offset),
            int16_t(y_offset), int16_t(y_offset + height), int16_t(-y_offset)};
}

// A grid (malloc'd, one spare byte) of the picture's size.
inline unsigned char *GridFrom(const Picture &rows, int bpp = 1) {
    const int width = rows.empty() ? 0 : int(rows[0].size()), height = int(rows.size());
    auto *grid = static_cast<unsigned char *>(calloc(GridBytes(width, height, bpp) + 1, 1));
    for (int r = 0; r < height; ++r)
        for (int k = 0; k < width; ++k)
            SetGridPixel(grid, width, height, bpp, k, r,
                         rows[r][k] == '#' ? 1 : int(std::string(".123456789abcdef").find(rows[r][k])));
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

struct GlyphDeleter {
    void operator()(bdf_glyph *glyph) const { free(glyph->name), free(glyph->bitmap), delete glyph; }
};
using GlyphPtr = std::unique_ptr<bdf_glyph, GlyphDeleter>;

inline GlyphPtr MakeGlyph(const Picture &rows, int x_offset, int y_offset, int bpp = 1, const char *name = "g") {
    const int width = rows.empty() ? 0 : int(rows[0].size()), height = int(rows.size());
    const uint32_t bytes = GridBytes(width, height, bpp);
    return GlyphPtr(new bdf_glyph{name ? strdup(name) : nullptr, 65, 0, 8, Box(width, height, x_offset, y_offset),
                                  bytes ? GridFrom(rows, bpp) : nullptr, bytes});
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
