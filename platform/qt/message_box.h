#pragma once
// Message boxes with the old platform's style flags and answers, shown with Qt.
#include <string>

class QWidget;

namespace platform {

// Style flags, same values as the old platform's: buttons in the low nibble, icon in the next.
enum : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_ICONSTOP = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
};

// Answers, same values as the old platform's.
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// Shows a modal box owned by `owner` (may be null) and returns the button pressed;
// closing the box counts as Cancel, or as No / OK when the box has no Cancel button.
int message_box(QWidget* owner, const std::string& text, const std::string& caption, unsigned style);

} // namespace platform
