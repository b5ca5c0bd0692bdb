#ifndef GLYPHWERK_RES_FIND_GLYPH_TEMPLATE_H
#define GLYPHWERK_RES_FIND_GLYPH_TEMPLATE_H

// Dialog 158, IDD_FIND_GLYPH: asks for a glyph encoding in decimal or hexadecimal.

#include "dialog_template.h"

namespace res {

enum FindGlyphIds : int {
    IDD_FIND_GLYPH = 158,
    IDC_ENCODING = 1056,
    IDC_RADIO_DEC = 1057,
    IDC_RADIO_HEX = 1058,
    IDC_RANGE = 1059,
};

const DialogTemplate &findGlyphTemplate();

} // namespace res

#endif
