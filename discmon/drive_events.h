#pragma once
// Disc insertions and removals on one optical drive, delivered as device-change broadcasts
// (WM_DEVICECHANGE with a volume record naming the drive). Sources: udev media-change events, or
// polling the drive's status where udev is not running. The owner's event loop drives it:
// watch fd() for reading and call on_readable(), or call poll() every second when fd() is -1.
#include <cstdint>
#include <functional>
#include <string>

struct udev;
struct udev_monitor;

class DriveEvents {
public:
    // Receives one broadcast: message, event, address of the record (valid during the call only).
    using Deliver = std::function<void(std::uint32_t, std::uintptr_t, std::intptr_t)>;
    // Tells whether a disc is in the drive now.
    using Probe = std::function<bool()>;

    // Watches drive index `drive` (0 for A) whose kernel name is `device_name` ("sr0"); uses udev
    // when `use_udev` and the monitor can be set up, else polling. The probe's answer now is the start state.
    DriveEvents(int drive, std::string device_name, Probe probe, Deliver deliver, bool use_udev);
    ~DriveEvents();
    DriveEvents(const DriveEvents&) = delete;
    DriveEvents& operator=(const DriveEvents&) = delete;

    // Descriptor of the udev monitor to watch for reading; -1 when polling.
    int fd() const;
    // Takes every pending udev event; a media change of the drive becomes an arrival or a removal.
    void on_readable();
    // One polling step: a change of the probe's answer since the last step becomes an arrival or a removal.
    void poll();
    // A media change was reported for the drive: arrival when the probe sees a disc, else removal.
    void media_changed();

    // True when a udev daemon runs (its control socket `control` exists).
    static bool udev_running(const char* control = "/run/udev/control");

private:
    void deliver(bool arrived);

    int drive_;
    std::string device_name_;
    Probe probe_;
    Deliver deliver_;
    bool present_;
    struct udev* udev_ = nullptr;
    struct udev_monitor* monitor_ = nullptr;
};
