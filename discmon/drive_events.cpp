#include "discmon/drive_events.h"

#include <cstring>
#include <utility>

#include <libudev.h>
#include <unistd.h>

#include "discmon/device_change.h"

DriveEvents::DriveEvents(int drive, std::string device_name, Probe probe, Deliver deliver, bool use_udev)
    : drive_(drive), device_name_(std::move(device_name)), probe_(std::move(probe)),
      deliver_(std::move(deliver)), present_(probe_() == DiscState::present) {
    if (!use_udev) return;
    udev_ = udev_new();
    if (udev_ == nullptr) return;
    monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (monitor_ == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor_, "block", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_) < 0) {
        if (monitor_ != nullptr) udev_monitor_unref(monitor_);
        monitor_ = nullptr;
        udev_unref(udev_);
        udev_ = nullptr;
    }
}

DriveEvents::~DriveEvents() {
    if (monitor_ != nullptr) udev_monitor_unref(monitor_);
    if (udev_ != nullptr) udev_unref(udev_);
}

int DriveEvents::fd() const {
    return monitor_ != nullptr ? udev_monitor_get_fd(monitor_) : -1;
}

bool DriveEvents::udev_running(const char* control) {
    return ::access(control, F_OK) == 0;
}

void DriveEvents::deliver(bool arrived) {
    present_ = arrived;
    DevBroadcastVolume record = make_volume_broadcast(drive_);
    deliver_(WM_DEVICECHANGE, arrived ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
             reinterpret_cast<std::intptr_t>(&record));
}

void DriveEvents::check() {
    const DiscState state = probe_();
    if (state == DiscState::loading) return;
    const bool now = state == DiscState::present;
    if (now != present_) deliver(now);
}

void DriveEvents::poll() {
    check();
}

bool is_media_change(const char* action, const char* name, const char* media_change,
                     const std::string& device_name) {
    return action != nullptr && std::strcmp(action, "change") == 0 && name != nullptr &&
           device_name == name && media_change != nullptr && std::strcmp(media_change, "1") == 0;
}

void DriveEvents::on_readable() {
    if (monitor_ == nullptr) return;
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
        const char* action = udev_device_get_action(device);
        const char* name = udev_device_get_sysname(device);
        const char* media = udev_device_get_property_value(device, "DISK_MEDIA_CHANGE");
        const bool ours = is_media_change(action, name, media, device_name_);
        udev_device_unref(device);
        if (ours) check();
    }
}
