#ifndef GLYPHWERK_RES_FONT_FORM_TEMPLATE_H
#define GLYPHWERK_RES_FONT_FORM_TEMPLATE_H

// Form 101, IDD_FONT_FORM: the font view with the glyph table, its scroll bar
// and the two information panels.

#include "dialog_template.h"

namespace res {

enum FontFormIds : int {
    IDD_FONT_FORM = 101,
    IDC_GLYPH_INFO = 1003,
    IDC_FONT_INFO = 1004,
    IDC_GLYPH_GROUP = 1005,
    IDC_FONT_GROUP = 1006,
    IDC_GLYPH_TABLE = 1007,
    IDC_TABLE_SCROLL = 1009,
};

const DialogTemplate &fontFormTemplate();

} // namespace res

#endif
