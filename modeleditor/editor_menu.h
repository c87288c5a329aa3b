#pragma once
// The editor's menu bar as one table: eight drop-down menus with every item, its command
// identifier, flags and text. The Qt shell builds the bar from it.
#include <cstdint>
#include <span>

#include "platform/menu_flags.h"

namespace editor {

// The item flags the table is written with, as the platform's neutral flags.
inline constexpr platform::MenuFlags MF_STRING = platform::MenuFlags::none;
inline constexpr platform::MenuFlags MF_GRAYED = platform::MenuFlags::grayed;
inline constexpr platform::MenuFlags MF_CHECKED = platform::MenuFlags::checked;
inline constexpr platform::MenuFlags MF_SEPARATOR = platform::MenuFlags::separator;

struct EditorMenuItem {
    int menu;         // index of the drop-down in kEditorMenuTitles
    const char* text; // "" for separators; text after a tab is the shortcut hint
    int id;           // command identifier; -1 for separators, 0xFFFF for the greyed caption
    platform::MenuFlags flags;
};

// The eight drop-down titles in bar order.
std::span<const char* const> editor_menu_titles();
// Every item, menu by menu in bar order, each menu's items top to bottom.
std::span<const EditorMenuItem> editor_menu_items();

} // namespace editor
