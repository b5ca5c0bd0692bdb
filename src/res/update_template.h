#ifndef GLYPHWERK_RES_UPDATE_TEMPLATE_H
#define GLYPHWERK_RES_UPDATE_TEMPLATE_H

// Dialog 102, IDD_UPDATE: the online update's versions, release notes,
// download progress and buttons. Every caption is replaced at run time.

#include "dialog_template.h"

namespace res {

enum UpdateIds : int {
    IDD_UPDATE = 102,
    IDC_UPDATE_BUTTON = 1045,
    IDC_CLOSE_BUTTON = 1082,
    IDC_CURRENT_LABEL = 1083,
    IDC_LATEST_LABEL = 1084,
    IDC_UPDATE_MESSAGE = 1085,
    IDC_RELEASE_NOTES = 1086,
    IDC_DOWNLOAD_PROGRESS = 1087,
    IDC_CURRENT_VERSION = 1090,
    IDC_LATEST_VERSION = 1091,
};

const DialogTemplate &updateTemplate();

} // namespace res

#endif
