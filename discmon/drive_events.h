#pragma once
// Disc insertions and removals on one optical drive, delivered as device-change broadcasts
// (WM_DEVICECHANGE with a volume record naming the drive). Each udev media-change event of the drive
// and each one-second poll of its status compares the drive's state with the last one reported, so
// every change is reported once, whichever source sees it first. The owner's event loop drives it:
// call poll() every second, and when fd() is not -1 watch it for reading and call on_readable().
#include <cstdint>
#include <functional>
#include <string>

#include "discmon/disc_state.h"

// True for a udev event (action, kernel name, DISK_MEDIA_CHANGE value; any may be null) that reports
// new or removed media in the device named `device_name`.
bool is_media_change(const char* action, const char* name, const char* media_change,
                     const std::string& device_name);

struct udev;
struct udev_monitor;

class DriveEvents {
  public:
    // Receives one broadcast: message, event, address of the record (valid during the call only).
    using Deliver = std::function<void(std::uint32_t, std::uintptr_t, std::intptr_t)>;
    // Tells the state of the drive now.
    using Probe = std::function<DiscState()>;

    // Watches drive index `drive` (0 for A) whose kernel name is `device_name` ("sr0"); takes udev
    // events as well when `use_udev` and the monitor can be set up. The drive's state now is the start
    // state: a disc already in the drive gives no arrival.
    DriveEvents(int drive, std::string device_name, Probe probe, Deliver deliver, bool use_udev);
    ~DriveEvents();
    DriveEvents(const DriveEvents&) = delete;
    DriveEvents& operator=(const DriveEvents&) = delete;

    // Descriptor of the udev monitor to watch for reading; -1 without udev.
    int fd() const;
    // Takes every pending udev event; a media change of the drive checks its state.
    void on_readable();
    // Checks the drive: a readable disc where none was reported is an arrival, no disc where one was
    // reported a removal. A disc still loading decides nothing yet; a later check reports it.
    void poll();

    // True when a udev daemon runs (its control socket `control` exists).
    static bool udev_running(const char* control = "/run/udev/control");

  private:
    void deliver(bool arrived);
    void check();

    int drive_;
    std::string device_name_;
    Probe probe_;
    Deliver deliver_;
    bool present_;
    struct udev* udev_ = nullptr;
    struct udev_monitor* monitor_ = nullptr;
};
