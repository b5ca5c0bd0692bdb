#ifndef GLYPHWERK_RES_GLYPH_EDIT_TEMPLATE_H
#define GLYPHWERK_RES_GLYPH_EDIT_TEMPLATE_H

// Dialog 131, IDD_GLYPH_EDIT: the glyph editor's window.

#include "dialog_template.h"

namespace res {

enum GlyphEditIds : int {
    IDD_GLYPH_EDIT = 131,
    IDC_HSCROLL = 1009,
    IDC_GLYPH_NAME = 1013,
    IDC_NAME_LABEL = 1014,
    IDC_ENCODING_LABEL = 1015,
    IDC_DWIDTH_LABEL = 1016,
    IDC_METRICS_LABEL = 1017,
    IDC_DWIDTH = 1018,
    IDC_ENCODING_TEXT = 1019,
    IDC_METRICS = 1020,
    IDC_ZOOM_IN = 1021,
    IDC_INFO_GROUP = 1022,
    IDC_CANVAS = 1025,
    IDC_VSCROLL = 1026,
    IDC_COORDINATES = 1027,
    IDC_ZOOM_OUT = 1029,
    IDC_LEFT_UP = 1030,
    IDC_UP = 1031,
    IDC_RIGHT_UP = 1032,
    IDC_LEFT = 1033,
    IDC_RIGHT = 1034,
    IDC_LEFT_DOWN = 1035,
    IDC_DOWN = 1036,
    IDC_RIGHT_DOWN = 1037,
    IDC_PENCIL = 1044,
    IDC_ERASER = 1045,
    IDC_SELECT = 1046,
    IDC_SHOW_FONT_AXES = 1049,
    IDC_SHOW_ADVANCE_BOX = 1050,
    IDC_UNDO = 1051,
    IDC_REDO = 1052,
};

const DialogTemplate &glyphEditTemplate();

} // namespace res

#endif
