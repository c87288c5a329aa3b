#pragma once
// Menu bars built from one table, as the old platform's menu resources were.
#include <functional>
#include <span>

#include "platform/menu_flags.h"

class QAction;
class QMenuBar;

namespace platform {

// One menu item. `menu` is -1 for an item of the bar itself, else the index of the drop-down it belongs to.
// A bar item with MenuFlags::popup opens drop-down number `id`; any other item is a command with numeric id
// `id`
// (-1 for none). Text after a tab is the shortcut hint shown at the right of a drop-down item.
// MenuFlags::right_justify on a bar item moves it and every later bar item to the right end of the bar.
struct MenuEntry {
    int menu;
    const char* text;
    int id;
    MenuFlags flags;
};

// Fills `bar` with the entries in table order. Choosing a command item calls `on_command(id)`.
// Every action keeps its id in its data and as its object name.
void build_menu_bar(QMenuBar& bar, std::span<const MenuEntry> entries, std::function<void(int)> on_command);

// Makes the bar's font smaller, down to 6 points, until all its items fit in one row `width` pixels wide
// (the old platform wrapped a bar that was too wide; Qt hides the items that do not fit behind an arrow).
void fit_menu_bar(QMenuBar& bar, int width);

// The action of command `id` in `bar` (its drop-downs and its right-hand part included), or null.
QAction* find_menu_action(QMenuBar& bar, int id);

// Checks or unchecks command `id`; returns false when there is no such command.
bool check_menu_item(QMenuBar& bar, int id, bool checked);

// Enables or greys command `id`; returns false when there is no such command.
bool enable_menu_item(QMenuBar& bar, int id, bool enabled);

} // namespace platform
