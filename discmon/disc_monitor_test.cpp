#include "discmon/disc_monitor.h"

#include <cstring>

#include <gtest/gtest.h>

#include "discmon/device_change.h"
#include "discmon/fake_drives_test.h"

namespace {

std::intptr_t address_of(const void* record) {
    return reinterpret_cast<std::intptr_t>(record);
}

struct MonitorTest : ::testing::Test {
    FakeDrives drives;
    DiscMonitor monitor{drives};
    RecordingWindow window;
    VolumeInfo data =
        make_volume("DATA", 0x1234ABCD, "CDFS", FILE_CASE_SENSITIVE_SEARCH | FILE_READ_ONLY_VOLUME);

    void SetUp() override {
        drives.optical = {'D', 'E'};
        monitor.set_notify(&window, WM_USER);
    }
    int broadcast(std::uint32_t event, const DevBroadcastVolume& record) {
        return monitor.handle_message(WM_DEVICECHANGE, event, address_of(&record));
    }
};

TEST_F(MonitorTest, StartsInactiveWithZeroedState) {
    DiscMonitor fresh{drives};
    EXPECT_EQ(fresh.drive, -1);
    EXPECT_EQ(fresh.notifyMessage, 0u);
    EXPECT_EQ(fresh.notifyWindow, nullptr);
    EXPECT_FALSE(fresh.present);
    EXPECT_FALSE(fresh.sameDisc);
    VolumeInfo zero{};
    EXPECT_TRUE(volume_info_equal(fresh.currentInfo, zero));
    EXPECT_TRUE(volume_info_equal(fresh.storedInfo, zero));

    // Every drive operation is a no-op returning 0 until a drive is selected.
    drives.discs['D'] = data;
    EXPECT_EQ(fresh.read_volume(), 0);
    EXPECT_EQ(fresh.lock_removal(true), 0);
    fresh.set_notify(&window, WM_USER);
    DevBroadcastVolume record = make_volume_broadcast(3);
    EXPECT_EQ(fresh.handle_message(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, address_of(&record)), 0);
    EXPECT_EQ(drives.volume_reads, 0);
    EXPECT_TRUE(drives.locks.empty());
    EXPECT_TRUE(window.posted.empty());
}

TEST_F(MonitorTest, ListsOpticalLettersInOrderAndNeverZ) {
    drives.optical = {'Z', 'E', 'D', 'Y'};
    char buffer[256] = {};
    EXPECT_EQ(monitor.list_cd_drives(buffer, 255), 3);
    EXPECT_STREQ(buffer, "DEY");
    EXPECT_EQ(drives.asked.size(), 25u);
    EXPECT_EQ(drives.asked.back(), 'Y');

    // The maximum bounds the letters examined, not only those written.
    char few[8] = {};
    drives.asked.clear();
    EXPECT_EQ(monitor.list_cd_drives(few, 4), 1);
    EXPECT_STREQ(few, "D");
    EXPECT_EQ(drives.asked.size(), 4u);
    EXPECT_EQ(monitor.list_cd_drives(few, -3), 0);
}

TEST_F(MonitorTest, SelectsDrivesByEitherCaseAndIgnoresOtherCharacters) {
    EXPECT_EQ(monitor.select_drive('1'), 1);
    EXPECT_EQ(monitor.drive, -1);
    EXPECT_EQ(monitor.select_drive('e'), 0);
    EXPECT_EQ(monitor.drive, 4);
    EXPECT_EQ(monitor.select_drive('1'), 0);
    EXPECT_EQ(monitor.drive, 4);
    EXPECT_EQ(monitor.select_drive('\0'), 0);
    EXPECT_EQ(monitor.drive, 4);
    EXPECT_EQ(monitor.select_drive('D'), 0);
    EXPECT_EQ(monitor.drive, 3);
    EXPECT_EQ(monitor.select_drive('E'), 0);
    EXPECT_EQ(monitor.drive, 4);
    EXPECT_EQ(monitor.select_drive('z'), 0);
    EXPECT_EQ(monitor.drive, 25);
    EXPECT_EQ(monitor.select_drive('['), 0);
    EXPECT_EQ(monitor.drive, 25);
}

TEST_F(MonitorTest, ReadVolumeKeepsLastDiscWhenNotReady) {
    monitor.select_drive('D');
    drives.discs['D'] = data;
    EXPECT_EQ(monitor.read_volume(), 1);
    EXPECT_TRUE(monitor.present);
    EXPECT_TRUE(volume_info_equal(monitor.currentInfo, data));
    EXPECT_FALSE(monitor.sameDisc);

    drives.discs.clear();
    EXPECT_EQ(monitor.read_volume(), 0);
    EXPECT_FALSE(monitor.present);
    EXPECT_TRUE(volume_info_equal(monitor.currentInfo, data));
}

TEST_F(MonitorTest, OtherVolumeErrorsGiveAPresentDiscWithEmptyTexts) {
    monitor.select_drive('D');
    drives.errors['D'] = ERROR_UNRECOGNIZED_VOLUME;
    EXPECT_EQ(monitor.read_volume(), 1);
    EXPECT_TRUE(monitor.present);
    VolumeInfo zero{};
    EXPECT_TRUE(volume_info_equal(monitor.currentInfo, zero));
}

TEST_F(MonitorTest, SameDiscFollowsTheStoredReference) {
    monitor.select_drive('D');
    drives.discs['D'] = data;
    monitor.read_volume();
    EXPECT_EQ(monitor.store_reference(), 0);
    EXPECT_TRUE(monitor.sameDisc);
    EXPECT_TRUE(volume_info_equal(monitor.storedInfo, data));

    // One differing byte anywhere in the 512 counts.
    VolumeInfo other = data;
    other.fsName[200] = 1;
    EXPECT_EQ(monitor.set_current_info(&other), 0);
    EXPECT_FALSE(monitor.sameDisc);
    EXPECT_EQ(monitor.set_stored_info(&other), 0);
    EXPECT_TRUE(monitor.sameDisc);

    VolumeInfo out{};
    EXPECT_EQ(monitor.get_stored_info(&out), 0);
    EXPECT_EQ(std::memcmp(&out, &other, sizeof out), 0);
    EXPECT_EQ(monitor.get_current_info(&out), 0);
    EXPECT_EQ(std::memcmp(&out, &other, sizeof out), 0);

    // A re-read of the same disc as the reference posts sameDisc 1 with the arrival.
    monitor.store_reference();
    monitor.set_current_info(&data);
    monitor.set_stored_info(&data);
    EXPECT_EQ(broadcast(DBT_DEVICEARRIVAL, make_volume_broadcast(3)), 1);
    ASSERT_EQ(window.posted.size(), 1u);
    EXPECT_EQ(window.posted[0].lParam, 1);
}

TEST_F(MonitorTest, ArrivalAndRemovalOfTheDrivePostTheNotification) {
    monitor.select_drive('D');
    drives.discs['D'] = data;
    EXPECT_EQ(broadcast(DBT_DEVICEARRIVAL, make_volume_broadcast(3)), 1);
    EXPECT_TRUE(monitor.present);
    EXPECT_TRUE(volume_info_equal(monitor.currentInfo, data));
    ASSERT_EQ(window.posted.size(), 1u);
    EXPECT_EQ(window.posted[0].message, WM_USER);
    EXPECT_EQ(window.posted[0].wParam, 0u);
    EXPECT_EQ(window.posted[0].lParam, 0);

    EXPECT_EQ(broadcast(DBT_DEVICEREMOVECOMPLETE, make_volume_broadcast(3)), 1);
    EXPECT_FALSE(monitor.present);
    EXPECT_FALSE(monitor.sameDisc);
    EXPECT_TRUE(volume_info_equal(monitor.currentInfo, data));
    ASSERT_EQ(window.posted.size(), 2u);
    EXPECT_EQ(window.posted[1].wParam, 1u);
    EXPECT_EQ(window.posted[1].lParam, 0);

    // A mask naming several drives, ours among them, is handled.
    DevBroadcastVolume both = make_volume_broadcast(3);
    both.unitMask |= 1u << 4;
    EXPECT_EQ(broadcast(DBT_DEVICEREMOVECOMPLETE, both), 1);
}

TEST_F(MonitorTest, IgnoresOtherDrivesDevicesAndShortHeaders) {
    monitor.select_drive('D');
    drives.discs['D'] = data;
    EXPECT_EQ(broadcast(DBT_DEVICEARRIVAL, make_volume_broadcast(4)), 0);
    EXPECT_EQ(broadcast(DBT_DEVICEREMOVECOMPLETE, make_volume_broadcast(2)), 0);

    DevBroadcastVolume port = make_volume_broadcast(3);
    port.deviceType = DBT_DEVTYP_PORT;
    EXPECT_EQ(broadcast(DBT_DEVICEARRIVAL, port), 0);

    DevBroadcastVolume short_record = make_volume_broadcast(3);
    short_record.size = 19;
    EXPECT_EQ(broadcast(DBT_DEVICEARRIVAL, short_record), 0);

    DevBroadcastVolume ok = make_volume_broadcast(3);
    EXPECT_EQ(monitor.handle_message(WM_DEVICECHANGE, 0x8001, address_of(&ok)), 0);
    EXPECT_EQ(monitor.handle_message(WM_DEVICECHANGE + 1, DBT_DEVICEARRIVAL, address_of(&ok)), 0);
    EXPECT_EQ(monitor.handle_message(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0), 0);

    EXPECT_TRUE(window.posted.empty());
    EXPECT_EQ(drives.volume_reads, 0);
    EXPECT_FALSE(monitor.present);
}

TEST_F(MonitorTest, BroadcastRecordsAreReadAtAnyAlignment) {
    monitor.select_drive('E');
    alignas(8) unsigned char bytes[32] = {};
    DevBroadcastVolume record = make_volume_broadcast(4);
    std::memcpy(bytes + 1, &record, sizeof record);
    EXPECT_EQ(monitor.handle_message(WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, address_of(bytes + 1)), 1);
}

TEST_F(MonitorTest, NotificationNumberZeroPostsNothing) {
    monitor.select_drive('D');
    drives.discs['D'] = data;
    monitor.set_notify(&window, 0);
    EXPECT_EQ(broadcast(DBT_DEVICEARRIVAL, make_volume_broadcast(3)), 1);
    EXPECT_TRUE(monitor.present);
    EXPECT_TRUE(window.posted.empty());
}

TEST_F(MonitorTest, LockRemovalReachesTheSelectedTray) {
    monitor.select_drive('e');
    EXPECT_EQ(monitor.lock_removal(true), 1);
    EXPECT_TRUE(monitor.removalLocked);
    EXPECT_EQ(monitor.lock_removal(false), 1);
    EXPECT_FALSE(monitor.removalLocked);
    ASSERT_EQ(drives.locks.size(), 2u);
    EXPECT_EQ(drives.locks[0], std::make_pair('E', true));
    EXPECT_EQ(drives.locks[1], std::make_pair('E', false));
}

} // namespace
