#include "about_template.h"

namespace res {

const DialogTemplate &aboutTemplate() {
    static const DialogTemplate dialog{
        IDD_ABOUTBOX, "IDD_ABOUTBOX", "About Glyphwerk", 264, 111, "宋体", 9,
        {
            {-1, "IDR_MAINFRAME", ControlKind::Custom, "", 11, 17, 20, 20, None}, // the application icon
            {IDC_ABOUT_VERSION, "IDC_ABOUT_VERSION", ControlKind::Label, "", 40, 10, 140, 8, NoPrefix},
            {-1, "IDC_STATIC", ControlKind::Label, "A bitmap font editor for BDF 2.1", 40, 25, 119, 8, NoPrefix},
            {IDOK, "IDOK", ControlKind::DefPushButton, "OK", 207, 7, 50, 14, TabStop | Group},
            {IDC_ABOUT_README, "IDC_ABOUT_README", ControlKind::PushButton, "Readme", 207, 24, 50, 14, TabStop},
            {-1, "IDC_STATIC", ControlKind::GroupBox, "contact", 7, 46, 249, 59, None},
            {-1, "IDC_STATIC", ControlKind::Label, "Email:", 29, 61, 25, 8, None},
            {-1, "IDC_STATIC", ControlKind::Label, "Msn:", 29, 75, 17, 8, None},
            {-1, "IDC_STATIC", ControlKind::Label, "Blog:", 29, 89, 21, 8, None},
            {IDC_ABOUT_MAIL, "IDC_ABOUT_MAIL", ControlKind::Label, kAuthorMail, 57, 61, 57, 8, None},
            {-1, "IDC_STATIC", ControlKind::Label, kAuthorMessenger, 57, 75, 93, 8, None},
            {IDC_ABOUT_WEB, "IDC_ABOUT_WEB", ControlKind::Label, kAuthorWeb, 57, 89, 145, 8, None},
        }};
    return dialog;
}

} // namespace res
