#ifndef GLYPHWERK_TESTS_BROWSER_TEST_FONT_H
#define GLYPHWERK_TESTS_BROWSER_TEST_FONT_H

// Fonts built by hand for geometry and pixel tests: a font box and encoded
// glyphs with given bitmaps. The object owns everything it hands out.

#include "bdf.h"

#include <cstdlib>
#include <cstring>
#include <vector>

class TestFont {
public:
    // A font box of width x height with its bottom `yOffset` pixels from the baseline.
    TestFont(uint16_t width, uint16_t height, int16_t yOffset = 0, uint16_t bpp = 1) {
        font_.bbx = box(width, height, 0, yOffset);
        font_.bpp = bpp;
        font_.default_glyph = -1;
        font_.spacing = BDF_SPACING_CELL;
    }
    ~TestFont() {
        for (bdf_glyph &glyph : glyphs_)
            std::free(glyph.bitmap);
    }
    TestFont(const TestFont &) = delete;
    TestFont &operator=(const TestFont &) = delete;

    static bdf_bbx box(uint16_t width, uint16_t height, int16_t xOffset, int16_t yOffset) {
        return bdf_bbx{width, height, xOffset, yOffset, int16_t(yOffset + height), int16_t(-yOffset)};
    }

    // Adds an encoded glyph; `bitmap` holds its rows as packed bytes.
    bdf_glyph &add(int32_t encoding, bdf_bbx bbx, std::vector<unsigned char> bitmap = {}) {
        bdf_glyph glyph{};
        glyph.encoding = encoding;
        glyph.bbx = bbx;
        glyph.dwidth = bbx.width;
        glyph.bytes = uint32_t(bitmap.size());
        if (!bitmap.empty()) {
            glyph.bitmap = static_cast<unsigned char *>(std::malloc(bitmap.size()));
            std::memcpy(glyph.bitmap, bitmap.data(), bitmap.size());
        }
        glyphs_.push_back(glyph);
        sync();
        return glyphs_.back();
    }

    // Adds `count` full-box glyphs, each with only its top-left pixel set, encodings from `first`.
    void addMany(int count, int32_t first = 0) {
        const uint16_t w = font_.bbx.width, h = font_.bbx.height;
        const size_t rowBytes = (size_t(w) * font_.bpp + 7) / 8;
        for (int i = 0; i < count; ++i)
            add(first + i, font_.bbx, std::vector<unsigned char>(rowBytes * h, 0x80));
    }

    bdf_font *get() { return &font_; }

private:
    void sync() {
        font_.glyphs = glyphs_.empty() ? nullptr : &glyphs_[0];
        font_.glyphs_used = font_.glyphs_size = uint32_t(glyphs_.size());
    }

    bdf_font font_{};
    std::vector<bdf_glyph> glyphs_;
};

#endif
