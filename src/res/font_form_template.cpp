#include "font_form_template.h"

namespace res {

const DialogTemplate &fontFormTemplate() {
    static const DialogTemplate form{
        IDD_FONT_FORM, "IDD_FONT_FORM", nullptr, 657, 452, "宋体", 9,
        {
            {IDC_GLYPH_GROUP, "IDC_GLYPH_GROUP", ControlKind::GroupBox, "Selected Glyph Information", 0, 250, 187, 83,
             None},
            {IDC_FONT_GROUP, "IDC_FONT_GROUP", ControlKind::GroupBox, "Font Information", 264, 250, 393, 83, None},
            {IDC_GLYPH_TABLE, "IDC_GLYPH_TABLE", ControlKind::Frame, "", 0, 0, 55, 52, Border},
            {IDC_GLYPH_INFO, "IDC_GLYPH_INFO", ControlKind::Label, "No glyph is selected.", 11, 269, 165, 49, WordWrap},
            {IDC_FONT_INFO, "IDC_FONT_INFO", ControlKind::Label, "No file is opened.", 208, 268, 350, 58, WordWrap},
            {IDC_TABLE_SCROLL, "IDC_TABLE_SCROLL", ControlKind::VScrollBar, "", 647, 0, 10, 116, None},
        }};
    return form;
}

} // namespace res
