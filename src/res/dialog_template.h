#ifndef GLYPHWERK_RES_DIALOG_TEMPLATE_H
#define GLYPHWERK_RES_DIALOG_TEMPLATE_H

// Dialogs as data: every control with its numeric id, symbolic name, kind, text
// and rectangle in dialog units. One builder (dialog_builder.h) turns a template
// into Qt widgets; code and tests find controls by id.

#include <vector>

namespace res {

// The buttons of every dialog and message box, numbered like the classic ones.
enum DialogButtonIds : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

enum class ControlKind {
    GroupBox,
    Label,            // static text
    Edit,
    PushButton,
    DefPushButton,
    CheckBox,         // auto check box (icon buttons of the editor use this type)
    RadioButton,      // auto radio button
    VScrollBar,
    HScrollBar,
    Frame,            // static frame (black or etched); a drawing area
    ProgressBar,
    Custom,           // placeholder filled by the code that owns the dialog
};

// Style flags; combine with |.
enum ControlFlag : unsigned {
    None = 0,
    Hidden = 1u << 0,       // not visible at creation
    TabStop = 1u << 1,
    Border = 1u << 2,
    Center = 1u << 3,       // centred text
    Right = 1u << 4,        // right-aligned text
    WordWrap = 1u << 5,
    Multiline = 1u << 6,
    ReadOnly = 1u << 7,
    AutoHScroll = 1u << 8,
    AutoVScroll = 1u << 9,
    HScroll = 1u << 10,
    VScroll = 1u << 11,
    WantReturn = 1u << 12,
    Disabled = 1u << 13,
    Group = 1u << 14,
    Notify = 1u << 15,      // static control that reports clicks
    NoPrefix = 1u << 16,    // '&' shown as is
};

struct ControlTemplate {
    int id;              // -1 for controls the code never addresses (IDC_STATIC)
    const char *symbol;  // e.g. "IDC_GLYPH_INFO"; becomes the widget's object name
    ControlKind kind;
    const char *text;    // UTF-8
    int x, y, cx, cy;    // dialog units
    unsigned flags;
};

struct DialogTemplate {
    int id;              // resource number, e.g. 131
    const char *symbol;  // e.g. "IDD_GLYPH_EDIT"
    const char *caption; // UTF-8; null for a child form without caption
    int cx, cy;          // dialog units
    const char *fontFace;
    int fontPointSize;
    std::vector<ControlTemplate> controls;
};

} // namespace res

#endif
