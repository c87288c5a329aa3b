#include "platform/dialog_window.h"

#include <cctype>

namespace platform {

void DialogProcedure::hscroll(DialogWindow&, int) {}

void DialogProcedure::destroy_dialog(DialogWindow&) {}

std::optional<std::uint32_t> DialogProcedure::owner_draw_colour(int) const {
    return std::nullopt;
}

std::uint32_t parse_item_int(const std::string& text, bool* translated, bool isSigned) {
    if (translated) *translated = false;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (isSigned && i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    const std::size_t digitsStart = i;
    std::uint64_t value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        value = value * 10 + std::uint64_t(text[i] - '0');
        if (value > 0xFFFFFFFFull) return 0;
        ++i;
    }
    if (i == digitsStart) return 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i != text.size()) return 0;
    if (isSigned) {
        const std::uint64_t limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
        if (value > limit) return 0;
    }
    if (translated) *translated = true;
    return negative ? std::uint32_t(0u - std::uint32_t(value)) : std::uint32_t(value);
}

} // namespace platform
