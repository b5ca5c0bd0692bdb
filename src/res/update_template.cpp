#include "update_template.h"

namespace res {

const DialogTemplate &updateTemplate() {
    static const DialogTemplate dialog{
        IDD_UPDATE, "IDD_UPDATE", "", 213, 204, "宋体", 10,
        {
            // Two lines that wrap: the bold messages are wider than one line of the dialog.
            {IDC_UPDATE_MESSAGE, "IDC_UPDATE_MESSAGE", ControlKind::Label, "", 11, 8, 150, 21, NoPrefix | WordWrap},
            {IDC_CURRENT_LABEL, "IDC_CURRENT_LABEL", ControlKind::Label, "", 11, 34, 78, 8, None},
            {IDC_LATEST_LABEL, "IDC_LATEST_LABEL", ControlKind::Label, "", 11, 50, 78, 8, None},
            {IDC_CURRENT_VERSION, "IDC_CURRENT_VERSION", ControlKind::Label, "", 95, 33, 42, 10, Center | NoPrefix},
            {IDC_LATEST_VERSION, "IDC_LATEST_VERSION", ControlKind::Label, "", 95, 49, 42, 10, Center | NoPrefix},
            {-1, "IDI_UPDATE", ControlKind::Custom, "", 170, 22, 20, 20, None}, // icon 156
            {IDC_DOWNLOAD_PROGRESS, "IDC_DOWNLOAD_PROGRESS", ControlKind::ProgressBar, "", 11, 66, 190, 14,
             Border | Hidden},
            {IDC_RELEASE_NOTES, "IDC_RELEASE_NOTES", ControlKind::Edit, "", 11, 66, 191, 111,
             Multiline | ReadOnly | Border | HScroll | VScroll | AutoHScroll | AutoVScroll | WantReturn | TabStop |
                 Hidden},
            {IDC_UPDATE_BUTTON, "IDC_UPDATE_BUTTON", ControlKind::PushButton, "", 97, 183, 50, 14, TabStop},
            {IDC_CLOSE_BUTTON, "IDC_CLOSE_BUTTON", ControlKind::PushButton, "", 152, 183, 50, 14, TabStop},
        }};
    return dialog;
}

} // namespace res
