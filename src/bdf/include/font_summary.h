#ifndef GLYPHWERK_BDF_FONT_SUMMARY_H
#define GLYPHWERK_BDF_FONT_SUMMARY_H

// The human-readable summaries of a font and of a glyph shown by the program's
// information panels and printed by `glyphwerk-bdf info`. Lines end in "\r\n".

#include "bdf.h"

#include <string>

// Six lines: File, Font, Size, Max Width, Max Height, Glyphs Num.
std::string bdf_font_summary(const bdf_font *font, const char *path);

// Seven lines: Glyph Name, Encodeing, DWidth, Width, Height, X_offset, Y_offset.
std::string bdf_glyph_summary(const bdf_glyph *glyph);

#endif
