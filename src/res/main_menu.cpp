#include "main_menu.h"

namespace res {

const std::vector<MenuEntry> &mainMenu() {
    static const std::vector<MenuEntry> menu{
        {"&File", "&Open...\tCtrl+O", ID_FILE_OPEN, "Ctrl+O", MenuNone},
        {"&File", "&Save\tCtrl+S", ID_FILE_SAVE, "Ctrl+S", MenuNone},
        {"&File", "Save &As...", ID_FILE_SAVE_AS, nullptr, MenuNone},
        {"&File", nullptr, 0, nullptr, MenuSeparator},
        {"&File", "Recent &Files", ID_FILE_MRU_FILE1, nullptr, MenuGrayed},
        {"&File", nullptr, 0, nullptr, MenuSeparator},
        {"&File", "E&xit", ID_APP_EXIT, nullptr, MenuNone},
        {"&Edit", "&Find...\tCtrl+F", ID_EDIT_FIND, "Ctrl+F", MenuNone},
        {"&Edit", nullptr, 0, nullptr, MenuSeparator},
        {"&Edit", "&New Glyph...", ID_EDIT_NEW_GLYPH, nullptr, MenuNone},
        {"&Edit", "&Delete Glyph\tDel", ID_EDIT_CLEAR, "Del", MenuNone},
        {"&Edit", "&Copy Glyph\tCtrl+C", ID_EDIT_COPY, "Ctrl+C", MenuNone},
        {"&Edit", "&Paste Glyph\tCtrl+V", ID_EDIT_PASTE, "Ctrl+V", MenuNone},
        {"&Edit", nullptr, 0, nullptr, MenuSeparator},
        {"&Edit", "&Undo\tCtrl+Z", ID_EDIT_UNDO, "Ctrl+Z", MenuNone},
        {"&Edit", "&Redo\tCtrl+Y", ID_EDIT_REDO, "Ctrl+Y", MenuNone},
        {"&View", "&Preview...", ID_VIEW_PREVIEW, nullptr, MenuNone},
        {"&View", "&Load Report...", ID_VIEW_LOAD_REPORT, nullptr, MenuNone},
        {"&Help", "&Update...", ID_APP_UPDATE, nullptr, MenuNone},
        {"&Help", nullptr, 0, nullptr, MenuSeparator},
        {"&Help", "&About Glyphwerk...", ID_APP_ABOUT, nullptr, MenuNone},
        {nullptr, nullptr, ID_FILE_NEW, "Ctrl+N", MenuNone},
    };
    return menu;
}

} // namespace res
