#ifndef GLYPHWERK_CLI_SUMMARY_JSON_H
#define GLYPHWERK_CLI_SUMMARY_JSON_H

#include "bdf.h"

#include <string>

// The font summary of `info` as one JSON object on indented lines, ending in a
// line feed: file, font (null when the font has no name), point_size,
// bounding_box {width, height, x_offset, y_offset} and glyphs (the number of
// encoded glyphs). Bytes that are not UTF-8 become U+FFFD.
std::string font_summary_json(const bdf_font *font, const char *path);

#endif
