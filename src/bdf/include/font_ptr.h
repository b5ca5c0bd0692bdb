#ifndef GLYPHWERK_BDF_FONT_PTR_H
#define GLYPHWERK_BDF_FONT_PTR_H

// An owned font for C++ callers: released with bdf_free_font.

#include "bdf.h"

#include <memory>

struct FontDeleter {
    void operator()(bdf_font *font) const { bdf_free_font(font); }
};
using FontPtr = std::unique_ptr<bdf_font, FontDeleter>;

#endif
