#pragma once
// Dialog templates as tables: the dialog's caption, style and rectangle, and for each control its
// identifier, class, text, style bits and rectangle, all in dialog units. The style values are the
// old platform's, so a table reads like the template it replaces.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/dialog_window.h"

namespace platform {

// Window and dialog styles.
enum : std::uint32_t {
    WS_POPUP = 0x80000000u,
    WS_CHILD = 0x40000000u,
    WS_VISIBLE = 0x10000000u,
    WS_CAPTION = 0x00C00000u,
    WS_BORDER = 0x00800000u,
    WS_VSCROLL = 0x00200000u,
    WS_SYSMENU = 0x00080000u,
    WS_THICKFRAME = 0x00040000u,
    WS_GROUP = 0x00020000u,
    WS_TABSTOP = 0x00010000u,
    DS_SETFONT = 0x40u,
    DS_MODALFRAME = 0x80u,
};

// Control styles, by class.
enum : std::uint32_t {
    BS_PUSHBUTTON = 0x0u,
    BS_DEFPUSHBUTTON = 0x1u,
    BS_OWNERDRAW = 0xBu,
    BS_TYPEMASK = 0xFu,
    ES_AUTOHSCROLL = 0x80u,
    SS_LEFT = 0x0u,
    SS_RIGHT = 0x2u,
    SS_TYPEMASK = 0x1Fu,
    SS_SUNKEN = 0x1000u,
    LBS_NOTIFY = 0x1u,
    TBS_AUTOTICKS = 0x1u,
};

enum class ControlClass { Button, Edit, Static, ListBox, Trackbar };

struct DialogControl {
    int id; // object name of the widget; IDC_STATIC may repeat
    ControlClass kind;
    std::string text;
    std::uint32_t style;     // WS_* and the class's own bits
    int x, y, width, height; // dialog units, relative to the client area
};

struct DialogTemplate {
    int id;
    std::string caption;
    std::uint32_t style;     // WS_THICKFRAME makes it resizable, otherwise its size is fixed
    int x, y, width, height; // dialog units; x, y relative to the owner's client area
    std::string fontName;
    int fontPoints;
    std::vector<DialogControl> controls;
};

} // namespace platform
