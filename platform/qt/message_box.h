#pragma once
// Message boxes shown with Qt.
#include <string>

#include "platform/box_style.h"

class QWidget;

namespace platform {

// Shows a modal box owned by `owner` (may be null) and returns the button pressed;
// closing the box counts as Cancel, or as No / OK when the box has no Cancel button.
BoxAnswer message_box(QWidget* owner, const std::string& text, const std::string& caption, BoxStyle style);

} // namespace platform
