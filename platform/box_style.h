#pragma once
// The look and answers of a message box, free of any window system: the programs' logic asks
// with these, the Qt shells show the box.
#include <cstdint>

namespace platform {

// One set of buttons, optionally combined with | with one icon.
enum class BoxStyle : std::uint32_t {
    ok = 0x0,
    ok_cancel = 0x1,
    yes_no_cancel = 0x2,
    yes_no = 0x3,
    icon_stop = 0x10,
    icon_question = 0x20,
    icon_warning = 0x30,
    icon_information = 0x40,
};

constexpr BoxStyle operator|(BoxStyle a, BoxStyle b) {
    return BoxStyle(std::uint32_t(a) | std::uint32_t(b));
}
constexpr BoxStyle box_buttons(BoxStyle style) {
    return BoxStyle(std::uint32_t(style) & 0xF);
}
constexpr BoxStyle box_icon(BoxStyle style) {
    return BoxStyle(std::uint32_t(style) & 0xF0);
}

// The button that closed the box.
enum class BoxAnswer { ok, cancel, yes, no };

// The answers to the question asked before unsaved changes would be discarded.
enum class UnsavedAnswer { Save, Discard, Cancel };

} // namespace platform
