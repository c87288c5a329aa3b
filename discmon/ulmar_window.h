#pragma once
// What the Ulmar test window procedure needs of its window: message boxes, messages posted to
// itself (through NotifyTarget), and the quit message.
#include <string>

#include "discmon/notify_target.h"

class UlmarWindow : public NotifyTarget {
  public:
    // Shows a modal box with the old platform's style flags; returns the button pressed.
    virtual int message_box(const std::string& text, const std::string& caption, unsigned style) = 0;
    // Ends the message loop with exit code `code` once the current handler has returned.
    virtual void post_quit(int code) = 0;
};
