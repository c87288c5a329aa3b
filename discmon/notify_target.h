#pragma once
// A window that takes posted messages: the call returns at once, the message is handled later.
#include <cstdint>

class NotifyTarget {
  public:
    virtual ~NotifyTarget() = default;
    // Queues `message` for the window; it is handled after the current handler has returned.
    virtual void post_message(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};
