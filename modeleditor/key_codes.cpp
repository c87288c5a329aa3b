#include "modeleditor/key_codes.h"

#include "modeleditor/editor_ids.h"

#include <Qt>

namespace editor {

std::uint32_t virtual_key_from_qt(int qtKey, bool keypad) {
    switch (qtKey) {
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Plus:
        // Only the numeric pad's plus and minus have these codes; the main row's keys differ.
        return keypad ? std::uint32_t(VK_ADD) : 0xBBu;
    case Qt::Key_Minus:
        return keypad ? std::uint32_t(VK_SUBTRACT) : 0xBDu;
    case Qt::Key_Space:
        return 0x20;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 0x0D;
    case Qt::Key_Escape:
        return 0x1B;
    case Qt::Key_Backspace:
        return 0x08;
    case Qt::Key_Tab:
        return 0x09;
    case Qt::Key_Shift:
        return 0x10;
    case Qt::Key_Control:
        return 0x11;
    case Qt::Key_Alt:
        return 0x12;
    default:
        break;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return std::uint32_t('A' + (qtKey - Qt::Key_A));
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return keypad ? std::uint32_t(0x60 + (qtKey - Qt::Key_0)) : std::uint32_t('0' + (qtKey - Qt::Key_0));
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return std::uint32_t(0x70 + (qtKey - Qt::Key_F1));
    return 0;
}

} // namespace editor
