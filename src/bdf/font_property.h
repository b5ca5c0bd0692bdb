#ifndef GLYPHWERK_BDF_FONT_PROPERTY_H
#define GLYPHWERK_BDF_FONT_PROPERTY_H

#include "bdf.h"

/* bdf_add_font_property, telling the reader whether it worked: 1 when the
 * property was set or added (or the name is null or empty, which adds nothing),
 * 0 when memory ran out (the font is then unchanged). */
int bdf_add_font_property_checked(bdf_font *font, const char *name, const char *value);

#endif
