#pragma once
// The Ulmar test window procedure: reports the optical drives at creation, then each disc
// insertion and removal on the first drive, in message boxes.
#include <cstdint>
#include <string>

#include "discmon/disc_monitor.h"
#include "discmon/ulmar_window.h"

inline constexpr const char* kUlmarTitle = "Ulmar test";
inline constexpr int kUlmarWidth = 544;
inline constexpr int kUlmarHeight = 375;

class UlmarWindowProc {
  public:
    // Works on `window` and `monitor`; both must outlive the procedure.
    UlmarWindowProc(UlmarWindow& window, DiscMonitor& monitor);

    // Dispatches a message to its handler and returns the handler's result; messages the window does
    // not handle return 0, as default handling does for them.
    std::intptr_t handle(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

    // WM_CREATE: shows the drive list, selects the first drive, reads it, asks for notifications.
    std::intptr_t on_create();
    // WM_USER: wParam 0 shows the inserted disc's volume, 1 the removal.
    std::intptr_t on_user(std::uintptr_t wParam, std::intptr_t lParam);
    // WM_DESTROY: posts the quit message with code 0.
    std::intptr_t on_destroy();

  private:
    void show(const std::string& text);

    UlmarWindow& window_;
    DiscMonitor& monitor_;
};

// Texts of the boxes.
std::string drives_text(const char* letters);
std::string inserted_text(const VolumeInfo& info);
inline constexpr const char* kRemovedText = "Disk odebran.";
