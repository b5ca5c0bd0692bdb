#include "glyph_edit_template.h"

namespace res {

const DialogTemplate &glyphEditTemplate() {
    using K = ControlKind;
    // IDOK is the dialog's default button: Enter presses OK, as in every dialog.
    static const DialogTemplate dialog{
        IDD_GLYPH_EDIT, "IDD_GLYPH_EDIT", "Glyph Edit", 347, 262, "Arial Narrow", 10,
        {
            {IDC_INFO_GROUP, "IDC_INFO_GROUP", K::GroupBox, "Glyph Information", 7, 7, 204, 71, None},
            {IDC_NAME_LABEL, "IDC_NAME_LABEL", K::Label, "Glyph Name:", 24, 19, 43, 8, None},
            {IDC_GLYPH_NAME, "IDC_GLYPH_NAME", K::Edit, "", 73, 18, 125, 12, TabStop | Border | AutoHScroll},
            {IDC_ENCODING_LABEL, "IDC_ENCODING_LABEL", K::Label, "Encodeing:", 24, 31, 37, 8, None},
            {IDC_ENCODING_TEXT, "IDC_ENCODING_TEXT", K::Label, "", 73, 31, 125, 8, None},
            {IDC_DWIDTH_LABEL, "IDC_DWIDTH_LABEL", K::Label, "Device Width:", 24, 43, 47, 8, None},
            {IDC_DWIDTH, "IDC_DWIDTH", K::Edit, "", 73, 42, 125, 12, TabStop | Border | AutoHScroll},
            {IDC_METRICS_LABEL, "IDC_METRICS_LABEL", K::Label, "Metrics:", 24, 59, 27, 8, None},
            // The metrics reach the group's right edge and are two full lines high.
            {IDC_METRICS, "IDC_METRICS", K::Label, "", 73, 56, 133, 18, None},
            {IDOK, "IDOK", K::DefPushButton, "OK", 240, 15, 56, 14, TabStop},
            {IDCANCEL, "IDCANCEL", K::PushButton, "Cancel", 240, 33, 56, 14, TabStop},
            {-1, "IDC_STATIC", K::GroupBox, "", 7, 77, 333, 178, None},
            {IDC_COORDINATES, "IDC_COORDINATES", K::Label, "(0, 0)", 64, 82, 93, 8, Center},
            {IDC_CANVAS, "IDC_CANVAS", K::Frame, "", 12, 90, 206, 161, Border},
            {IDC_VSCROLL, "IDC_VSCROLL", K::VScrollBar, "", 207, 90, 10, 153, Hidden},
            {IDC_HSCROLL, "IDC_HSCROLL", K::HScrollBar, "", 12, 243, 196, 8, Hidden},
            {-1, "IDC_STATIC", K::GroupBox, "", 221, 86, 29, 166, None},
            {IDC_SELECT, "IDC_SELECT", K::CheckBox, "", 224, 96, 23, 15, TabStop},
            {IDC_PENCIL, "IDC_PENCIL", K::CheckBox, "", 224, 114, 23, 15, TabStop},
            {IDC_ERASER, "IDC_ERASER", K::CheckBox, "", 224, 132, 23, 15, TabStop},
            {IDC_ZOOM_IN, "IDC_ZOOM_IN", K::PushButton, "+", 268, 96, 25, 15, TabStop},
            {IDC_ZOOM_OUT, "IDC_ZOOM_OUT", K::PushButton, "-", 294, 96, 25, 15, TabStop},
            {IDC_UNDO, "IDC_UNDO", K::PushButton, "Undo", 268, 117, 25, 15, TabStop},
            {IDC_REDO, "IDC_REDO", K::PushButton, "Redo", 294, 117, 25, 15, TabStop},
            {IDC_LEFT_UP, "IDC_LEFT_UP", K::PushButton, "LtUp", 256, 137, 25, 15, TabStop},
            {IDC_UP, "IDC_UP", K::PushButton, "Up", 282, 137, 25, 15, TabStop},
            {IDC_RIGHT_UP, "IDC_RIGHT_UP", K::PushButton, "RtUp", 308, 137, 25, 15, TabStop},
            {IDC_LEFT, "IDC_LEFT", K::PushButton, "Left", 256, 152, 25, 15, TabStop},
            {IDC_RIGHT, "IDC_RIGHT", K::PushButton, "Ritght", 308, 152, 25, 15, TabStop},
            {IDC_LEFT_DOWN, "IDC_LEFT_DOWN", K::PushButton, "LtDw", 256, 167, 25, 15, TabStop},
            {IDC_DOWN, "IDC_DOWN", K::PushButton, "Down", 282, 167, 25, 15, TabStop},
            {IDC_RIGHT_DOWN, "IDC_RIGHT_DOWN", K::PushButton, "RtDw", 308, 167, 25, 15, TabStop},
            {IDC_SHOW_FONT_AXES, "IDC_SHOW_FONT_AXES", K::CheckBox, "Font Bounding box", 257, 226, 76, 10, TabStop},
            {IDC_SHOW_ADVANCE_BOX, "IDC_SHOW_ADVANCE_BOX", K::CheckBox, "Glyph bbx", 257, 238, 49, 10, TabStop},
        }};
    return dialog;
}

} // namespace res
