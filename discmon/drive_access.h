#pragma once
// The machine's drives as the disc monitor sees them; the program gives it the Linux drives, tests fakes.
#include "discmon/volume_info.h"

// Drive types, same values as the old platform's.
enum : unsigned {
    DRIVE_UNKNOWN = 0,
    DRIVE_NO_ROOT_DIR = 1,
    DRIVE_REMOVABLE = 2,
    DRIVE_FIXED = 3,
    DRIVE_REMOTE = 4,
    DRIVE_CDROM = 5,
    DRIVE_RAMDISK = 6,
};

// Error codes of volume_information, same values as the old platform's.
enum : unsigned {
    ERROR_SUCCESS = 0,
    ERROR_NOT_READY = 21,
    ERROR_UNRECOGNIZED_VOLUME = 1005,
};

class DriveAccess {
  public:
    virtual ~DriveAccess() = default;
    // Type of the drive with upper-case letter `letter`; DRIVE_NO_ROOT_DIR when there is none.
    virtual unsigned drive_type(char letter) = 0;
    // Fills the zeroed `info` for the disc in drive `letter`: ERROR_SUCCESS, ERROR_NOT_READY when no
    // disc can be read (info untouched), or another error code.
    virtual unsigned volume_information(char letter, VolumeInfo& info) = 0;
    // Locks (`prevent` true) or unlocks the tray of drive `letter`; failures are not reported.
    virtual void lock_tray(char letter, bool prevent) = 0;
};
