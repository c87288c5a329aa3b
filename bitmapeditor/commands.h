#pragma once
// Command ids of the bitmap editor's menu bar and colour buttons.

namespace bmpedit {

enum Command : int {
    IDM_NEW = 101,
    IDM_LOAD = 102,
    IDM_IMPORT = 103,
    IDM_SAVE = 105,
    IDM_SAVE_COMPRESSED = 106,
    IDM_MODE = 107,
    IDM_SIZE32 = 111,
    IDC_LEFT_COLOUR = 201,
    IDC_RIGHT_COLOUR = 202,
    IDC_PAINT_ALPHA = 203,
};

// Scroll requests, the old platform's codes.
enum ScrollCode : int {
    SB_LINEUP = 0,
    SB_LINEDOWN = 1,
    SB_PAGEUP = 2,
    SB_PAGEDOWN = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_BOTTOM = 7,
    SB_ENDSCROLL = 8,
};

} // namespace bmpedit
