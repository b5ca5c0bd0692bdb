#ifndef GLYPHWERK_TESTS_INK_FONT_H
#define GLYPHWERK_TESTS_INK_FONT_H

// The tests' own BDF reader, independent of the library: per glyph only what
// must survive any round trip (name, encoding, device width, ink).

#include <map>
#include <string>
#include <vector>

// x right from the origin, y up from the baseline, value 1 ... 2^bpp - 1.
struct ink_pixel {
    int x, y, value;
    auto operator<=>(const ink_pixel &) const = default;
};

struct ink_glyph {
    std::string name;
    long encoding = -1;
    int dwidth = 0;
    std::vector<ink_pixel> ink; // sorted
};

struct ink_font {
    int bpp = 1;
    std::string spacing;               // the SPACING property's value, "" when absent
    std::map<long, ink_glyph> encoded; // by encoding
    std::vector<ink_glyph> unencoded;  // negative encodings and repeats, in file order
    long glyphs_in_file = 0, chars_count = -1;
};

// Parses BDF text; throws std::runtime_error with the line number on a line it cannot place.
ink_font read_ink_font(const std::string &text);

// "" when the glyphs have the same name, device width and ink; otherwise what differs.
std::string glyph_difference(const ink_glyph &expected, const ink_glyph &actual);

// The most common device width among the encoded glyphs (0 for none).
int common_dwidth(const ink_font &font);

#endif
