#pragma once
// Qt keys as the old platform's virtual-key codes, which the editor's key handling keeps.
#include <cstdint>

namespace editor {

// The virtual-key code of Qt key `qtKey` (a Qt::Key value); `keypad` tells whether it came from
// the numeric pad. 0 for keys the editor has no code for.
std::uint32_t virtual_key_from_qt(int qtKey, bool keypad);

} // namespace editor
