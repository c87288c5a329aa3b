#pragma once
// What the Ulmar test window procedure needs of its window: message boxes, messages posted to
// itself (through NotifyTarget), and the quit message.
#include <string>

#include "discmon/notify_target.h"
#include "platform/box_style.h"

class UlmarWindow : public NotifyTarget {
  public:
    // Shows a modal box; returns the button pressed.
    virtual platform::BoxAnswer message_box(const std::string& text, const std::string& caption,
                                            platform::BoxStyle style) = 0;
    // Ends the message loop with exit code `code` once the current handler has returned.
    virtual void post_quit(int code) = 0;
};
