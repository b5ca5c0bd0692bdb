#ifndef GLYPHWERK_RES_ABOUT_TEMPLATE_H
#define GLYPHWERK_RES_ABOUT_TEMPLATE_H

// Dialog 100, IDD_ABOUTBOX: the program's name and version, the authors'
// addresses and the Readme button.

#include "dialog_template.h"

namespace res {

enum AboutIds : int {
    IDD_ABOUTBOX = 100,
    IDC_ABOUT_MAIL = 1001,
    IDC_ABOUT_WEB = 1002,
    IDC_ABOUT_VERSION = 1054,
    IDC_ABOUT_README = 1055,
};

// The project's contact addresses, shown in the About box.
inline constexpr char kAuthorMail[] = "team@glyphwerk.example.org";
inline constexpr char kAuthorMessenger[] = "glyphwerk@example.org";
inline constexpr char kAuthorWeb[] = "https://glyphwerk.example.org/";

const DialogTemplate &aboutTemplate();

} // namespace res

#endif
