#pragma once
// The disc monitor: one optical drive selected by letter, the volume of the disc in it, and the
// device-change broadcasts that concern it, forwarded to a window as a private message.
#include <cstdint>

#include "discmon/drive_access.h"
#include "discmon/notify_target.h"
#include "discmon/volume_info.h"

class DiscMonitor {
  public:
    // Uses `drives` for every look at the machine; `drives` must outlive the monitor.
    explicit DiscMonitor(DriveAccess& drives);

    // Appends the letters of all optical drives among the first min(max, 25) letters A..Y to `buffer`,
    // in ascending order, without a terminator; returns the number appended.
    int list_cd_drives(char* buffer, int max);
    // 'a'..'z' and 'A'..'Z' select that drive; any other character keeps the current one.
    // Returns 1 when no drive is selected afterwards, else 0.
    int select_drive(int letter);
    // Reads the volume of the selected drive into currentInfo; returns present (1 or 0), 0 without a drive.
    // With no disc, present becomes false and currentInfo is kept.
    int read_volume();
    // Locks or unlocks the tray of the selected drive; returns 1, or 0 without a drive.
    int lock_removal(bool prevent);
    // Posts `message` to `window` for every handled broadcast from now on; 0 posts nothing. Returns 0.
    int set_notify(NotifyTarget* window, std::uint32_t message);
    // Copies currentInfo into storedInfo and sets sameDisc. Returns 0.
    int store_reference();
    // Copy the 512-byte blocks out or in; setting recomputes sameDisc. Each returns 0.
    int get_current_info(void* destination) const;
    int get_stored_info(void* destination) const;
    int set_current_info(const void* source);
    int set_stored_info(const void* source);
    // Handles WM_DEVICECHANGE arrival/removal of a volume on the selected drive: lParam holds the address
    // of a broadcast record. Returns 1 when handled (and the notification posted), else 0.
    int handle_message(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

    NotifyTarget* notifyWindow = nullptr;
    std::uint32_t notifyMessage = 0;
    std::int32_t drive = -1;
    VolumeInfo storedInfo{};
    VolumeInfo currentInfo{};
    bool present = false;
    bool sameDisc = false;
    bool removalLocked = false;

  private:
    void notify(std::uintptr_t wParam, std::intptr_t lParam);

    DriveAccess& drives_;
};
