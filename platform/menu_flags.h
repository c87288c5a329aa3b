#pragma once
// How a menu item shows, free of any window system: the programs' menu tables use these, the Qt
// shells build the bars from them.
#include <cstdint>

namespace platform {

enum class MenuFlags : std::uint32_t {
    none = 0,
    grayed = 1u << 0,        // shown but cannot be chosen
    checked = 1u << 1,       // shows a tick
    popup = 1u << 2,         // a bar item that opens a drop-down
    separator = 1u << 3,     // a line between drop-down items
    right_justify = 1u << 4, // this bar item and all after it sit at the right end of the bar
};

constexpr MenuFlags operator|(MenuFlags a, MenuFlags b) {
    return MenuFlags(std::uint32_t(a) | std::uint32_t(b));
}
// True when `flags` has every flag of `flag`.
constexpr bool has_flag(MenuFlags flags, MenuFlags flag) {
    return (std::uint32_t(flags) & std::uint32_t(flag)) == std::uint32_t(flag);
}

} // namespace platform
