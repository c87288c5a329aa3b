#include "discmon/linux_drives.h"

#include <cstring>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "discmon/disc_monitor.h"
#include "platform/test_files.h"

namespace {

namespace fs = std::filesystem;

// A fake /sys and /dev in a temporary folder: sr0 and sr1 optical, sr3 a disk, sr22 (which would
// be Z) optical.
struct FakeMachine {
    test_support::TempFolder folder{"fake_machine"};
    const fs::path& root = folder.dir();
    FakeMachine() {
        add("sr0", "5\n");
        add("sr1", "5\n");
        add("sr3", "0\n");
        add("sr22", "5\n");
        fs::create_directories(root / "sys/block/sr4"); // no device type at all
        fs::create_directories(root / "dev");
        // a plain file, not a drive
        EXPECT_TRUE(test_support::write_file((root / "dev/sr0").string(), test_support::Bytes(40 * 2048, 0)));
    }
    void add(const char* name, const char* type) {
        const fs::path device = root / "sys/block" / name / "device";
        fs::create_directories(device);
        std::ofstream(device / "type") << type;
    }
    LinuxDrives drives() const { return LinuxDrives((root / "sys").string(), (root / "dev").string()); }
};

TEST(LinuxDrives, OpticalDevicesTakeLettersFromD) {
    EXPECT_EQ(optical_index('C'), -1);
    EXPECT_EQ(optical_index('D'), 0);
    EXPECT_EQ(optical_index('e'), 1);
    EXPECT_EQ(optical_index('Y'), 21);
    EXPECT_EQ(optical_index('Z'), -1);
    EXPECT_EQ(optical_index('1'), -1);
    EXPECT_EQ(LinuxDrives::device_name('E'), "sr1");
    EXPECT_EQ(LinuxDrives::device_name('A'), "");

    FakeMachine machine;
    LinuxDrives drives = machine.drives();
    EXPECT_EQ(drives.device_path('D'), (machine.root / "dev/sr0").string());
    EXPECT_EQ(drives.device_path('Z'), "");
    EXPECT_EQ(drives.drive_type('D'), DRIVE_CDROM);
    EXPECT_EQ(drives.drive_type('E'), DRIVE_CDROM);
    EXPECT_EQ(drives.drive_type('F'), DRIVE_NO_ROOT_DIR); // no sr2
    EXPECT_EQ(drives.drive_type('G'), DRIVE_NO_ROOT_DIR); // sr3 is not optical
    EXPECT_EQ(drives.drive_type('H'), DRIVE_NO_ROOT_DIR); // sr4 without a type
    EXPECT_EQ(drives.drive_type('Z'), DRIVE_NO_ROOT_DIR);
    EXPECT_EQ(drives.drive_type('C'), DRIVE_NO_ROOT_DIR);
}

TEST(LinuxDrives, MonitorListsTheFakeDrivesAsDE) {
    FakeMachine machine;
    LinuxDrives drives = machine.drives();
    DiscMonitor monitor(drives);
    char letters[256] = {};
    EXPECT_EQ(monitor.list_cd_drives(letters, 255), 2);
    EXPECT_STREQ(letters, "DE");
}

TEST(LinuxDrives, DeviceThatIsNoDriveOrIsMissingIsNotReady) {
    FakeMachine machine;
    LinuxDrives drives = machine.drives();
    VolumeInfo info{};
    // dev/sr0 exists but answers no drive status: not ready, like an empty drive.
    EXPECT_EQ(drives.volume_information('D', info), ERROR_NOT_READY);
    EXPECT_EQ(drives.volume_information('E', info), ERROR_NOT_READY);
    EXPECT_EQ(drives.volume_information('C', info), ERROR_NOT_READY);
    EXPECT_EQ(optical_disc_state(drives.device_path('D')), DiscState::absent);
    EXPECT_EQ(optical_disc_state(drives.device_path('E')), DiscState::absent);
    drives.lock_tray('D', true); // neither fails loudly nor touches the file
    drives.lock_tray('E', true);
    EXPECT_EQ(fs::file_size(machine.root / "dev/sr0"), 40u * 2048u);

    DiscMonitor monitor(drives);
    monitor.select_drive('D');
    EXPECT_EQ(monitor.read_volume(), 0);
    EXPECT_FALSE(monitor.present);
}

} // namespace
