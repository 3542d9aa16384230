#pragma once

// The command numbers of the program's menus, accelerators and toolbar. The
// program's own commands are 32771 to 32810; the framework's keep their
// traditional numbers from 57600 up, so that saved habits and the string
// table line up.
enum ECommandId : int {
    ID_DOC_PROPERTIES = 32771,
    ID_INSERT_PAGE = 32773,
    ID_INSERT_PARAGRAPH = 32775,
    ID_INSERT_LINK = 32776,
    ID_ALIGN_LEFT = 32778,
    ID_ALIGN_CENTER = 32779,
    ID_ALIGN_RIGHT = 32781,
    ID_OBJECT_PROPERTIES = 32783,
    ID_HTML_PARAGRAPH = 32785,
    ID_FILE_GENERATE = 32786,
    ID_OBJECT_CONVERT = 32787,
    ID_STYLE_H2 = 32791,
    ID_STYLE_H3 = 32792,
    ID_STYLE_H1 = 32793,
    ID_STYLE_H4 = 32795,
    ID_STYLE_NORMAL = 32796,
    ID_STYLE_HIDE = 32798,
    ID_ORIGIN = 32799,
    ID_HTML_BOLD = 32800,
    ID_HTML_ITALIC = 32801,
    ID_HTML_LINK = 32802,
    ID_HTML_IMAGE = 32803,
    ID_HTML_UL = 32804,
    ID_HTML_TT = 32805,
    ID_VIEW_WORDWRAP = 32806,
    ID_VIEW_COLORS = 32807,
    ID_HTML_OL = 32808,
    ID_HTML_TOC = 32809,
    ID_SITE_SETTINGS = 32810,
    ID_FILE_PUBLISH = 32811,
    ID_TOOLS_CHECK_SITE = 32830,
    ID_EDIT_FIND_PREVIOUS = 32840,

    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT = 57607,
    ID_FILE_MRU_FILE1 = 57616, // to 57631; the list holds 4
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_FIND = 57636,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_REPEAT = 57640, // Find Next
    ID_EDIT_REPLACE = 57641,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_VIEW_PREVIEW = 32850,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
};

inline constexpr int kRecentFileCount = 4;
