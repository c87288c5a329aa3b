#pragma once
// The machine's optical drives on Linux: /dev/srN takes drive letter 'D' + N, up to Y.
#include <string>

#include "discmon/disc_state.h"
#include "discmon/drive_access.h"

// Index N of /dev/srN for drive letter `letter` (either case), or -1 for A, B, C, Z and non-letters.
int optical_index(char letter);

// State of the disc in an optical device from CDROM_DRIVE_STATUS; absent when it cannot be asked.
DiscState optical_disc_state(const std::string& device);

// Volume information of the disc in an optical device: not ready without a disc or when unreadable;
// the descriptors are read from the start of the last session.
unsigned read_optical_volume(const std::string& device, VolumeInfo& info);

class LinuxDrives : public DriveAccess {
  public:
    // `sysfs` and `dev` are the roots of /sys and /dev (tests give fake folders).
    explicit LinuxDrives(std::string sysfs = "/sys", std::string dev = "/dev");

    // DRIVE_CDROM when <sysfs>/block/srN/device/type holds 5, else DRIVE_NO_ROOT_DIR.
    unsigned drive_type(char letter) override;
    unsigned volume_information(char letter, VolumeInfo& info) override;
    void lock_tray(char letter, bool prevent) override;

    // Device node of the drive ("<dev>/srN"), empty for a letter that is never optical.
    std::string device_path(char letter) const;
    // Kernel name of the drive ("srN"), empty for a letter that is never optical.
    static std::string device_name(char letter);

  private:
    std::string sysfs_;
    std::string dev_;
};
