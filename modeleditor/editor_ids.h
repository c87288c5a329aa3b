#pragma once
// Numbers the editor's window procedure dispatches on: window messages, key codes, timers and
// the menu command identifiers. They keep the old platform's values so that the menu table,
// the key handling and the commands agree with each other and with saved habits.
#include <cstdint>

namespace editor {

// The editor's name: class name and title of the main window, caption of its message boxes,
// first line of the overlay.
inline constexpr char kEditorTitle[] = "Korvex Editor v1.3 EN";

// Window messages.
enum : std::uint32_t {
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_SIZE = 0x0005,
    WM_PAINT = 0x000F,
    WM_ERASEBKGND = 0x0014,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_COMMAND = 0x0111,
    WM_TIMER = 0x0113,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206,
};

// Virtual-key codes the editor reacts to.
enum : std::uint32_t {
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_DELETE = 0x2E,
    VK_ADD = 0x6B,
    VK_SUBTRACT = 0x6D,
};

// Timers of the main window. Timer 3 is never set; the editor sends or posts it to itself to run
// one mouse-look step at once.
enum : std::uint32_t {
    kTimerCameraKeys = 1,
    kTimerMouseLook = 2,
    kTimerMouseLookNow = 3,
};
inline constexpr std::uint32_t kCameraKeysPeriodMs = 1;
inline constexpr std::uint32_t kMouseLookPeriodMs = 10;

// Menu command identifiers.
enum : int {
    IDM_NEW = 101,
    IDM_OPEN = 102,
    IDM_IMPORT_ASC = 103,
    IDM_IMPORT_ASC_ADVANCED = 104,
    IDM_SAVE_PURE = 105,
    IDM_SAVE_COMPRESSED = 106,
    IDM_EXIT = 109,
    IDM_ADD_VERTEX = 111,
    IDM_ADD_FACE = 112,
    IDM_ADD_DUMMY = 113,
    IDM_ADD_MATERIAL = 114,
    IDM_MODIFY_MATERIAL = 117,
    IDM_ASSIGN_TEXTURE = 118,
    IDM_RENDER_FILL = 121,
    IDM_RENDER_LINES = 122,
    IDM_RENDER_POINTS = 123,
    IDM_VIEW_AXES = 131,
    IDM_VIEW_POINT_GRID = 132,
    IDM_VIEW_SURFACE = 133,
    IDM_VIEW_LIGHT = 134,
    IDM_VIEW_NORMALS = 135,
    IDM_VIEW_VERTICES = 136,
    IDM_MODEL_PREVIEW = 137,
    IDM_SHADE_FLAT = 141,
    IDM_SHADE_SMOOTH = 142,
    IDM_SHADE_SMOOTH_NO_NORMALS = 143,
    IDM_COPY_AROUND_X = 151,
    IDM_COPY_AROUND_Y = 152,
    IDM_COPY_AROUND_Y2 = 153,
    IDM_SWAP_YZ = 154,
    IDM_SWAP_NORMALS = 155,
    IDM_MOVE_UP = 160,
    IDM_MOVE_DOWN = 161,
    IDM_MOVE_LEFT = 162,
    IDM_MOVE_RIGHT = 163,
    IDM_MOVE_FAR = 164,
    IDM_MOVE_NEAR = 165,
};

} // namespace editor
