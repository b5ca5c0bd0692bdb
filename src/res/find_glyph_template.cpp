#include "find_glyph_template.h"

namespace res {

const DialogTemplate &findGlyphTemplate() {
    static const DialogTemplate dialog{
        IDD_FIND_GLYPH, "IDD_FIND_GLYPH", "Find", 218, 71, "System", 10,
        {
            {IDC_ENCODING, "IDC_ENCODING", ControlKind::Edit, "", 60, 11, 36, 12, TabStop | Border | AutoHScroll},
            {IDOK, "IDOK", ControlKind::DefPushButton, "Find", 161, 7, 50, 14, TabStop},
            {IDCANCEL, "IDCANCEL", ControlKind::PushButton, "Cancel", 161, 24, 50, 14, TabStop},
            {-1, "IDC_STATIC", ControlKind::Label, "Glyph Encoding", 7, 12, 52, 8, None},
            {IDC_RANGE, "IDC_RANGE", ControlKind::Label, "(0000-FFFF)", 97, 12, 39, 8, None},
            {-1, "IDC_STATIC", ControlKind::GroupBox, "Format", 7, 27, 129, 38, None},
            {IDC_RADIO_DEC, "IDC_RADIO_DEC", ControlKind::RadioButton, "Decimal ( 10 )", 19, 40, 61, 10, Group},
            {IDC_RADIO_HEX, "IDC_RADIO_HEX", ControlKind::RadioButton, "Hexadecimal ( 16 )", 19, 51, 77, 10, None},
        }};
    return dialog;
}

} // namespace res
