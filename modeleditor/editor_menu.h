#pragma once
// The editor's menu bar as one table: eight drop-down menus with every item, its command
// identifier, flags and text. The Qt shell builds the bar from it.
#include <cstdint>
#include <span>

namespace editor {

// Item flags, the old platform's values.
enum : std::uint32_t {
    MF_STRING = 0x0,
    MF_GRAYED = 0x2,
    MF_CHECKED = 0x8,
    MF_POPUP = 0x10,
    MF_SEPARATOR = 0x800,
};

struct EditorMenuItem {
    int menu;         // index of the drop-down in kEditorMenuTitles
    const char* text; // "" for separators; text after a tab is the shortcut hint
    int id;           // command identifier; -1 for separators, 0xFFFF for the greyed caption
    std::uint32_t flags;
};

// The eight drop-down titles in bar order.
std::span<const char* const> editor_menu_titles();
// Every item, menu by menu in bar order, each menu's items top to bottom.
std::span<const EditorMenuItem> editor_menu_items();

} // namespace editor
