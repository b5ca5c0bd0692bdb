#ifndef GLYPHWERK_RES_MAIN_MENU_H
#define GLYPHWERK_RES_MAIN_MENU_H

// Resource 128: the main menu and its accelerators, as one table.

#include <vector>

namespace res {

enum CommandId : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_MRU_FILE1 = 57616, // and the three following ids
    ID_EDIT_CLEAR = 57632,
    ID_EDIT_COPY = 57634,
    ID_EDIT_FIND = 57636,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_APP_UPDATE = 32771,
    ID_VIEW_LOAD_REPORT = 32772,
    ID_EDIT_NEW_GLYPH = 32773,
    ID_VIEW_PREVIEW = 32774,
};

inline constexpr int kRecentFileCount = 4;

enum MenuFlag : unsigned {
    MenuNone = 0,
    MenuSeparator = 1u << 0,
    MenuGrayed = 1u << 1,
};

// One row per menu item, in menu order, then the accelerators without an
// item (popup null). `text` carries the mnemonic ('&') and, after a tab, the
// shortcut as the menu shows it; `accelerator` is the key sequence ("Ctrl+O").
struct MenuEntry {
    const char *popup;
    const char *text;
    int id;
    const char *accelerator;
    unsigned flags;
};

const std::vector<MenuEntry> &mainMenu();

} // namespace res

#endif
