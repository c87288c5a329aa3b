#include "discmon/drive_events.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "discmon/device_change.h"
#include "discmon/disc_monitor.h"
#include "discmon/fake_drives_test.h"
#include "platform/test_files.h"

namespace {

struct Delivered {
    std::uint32_t message;
    std::uintptr_t event;
    DevBroadcastVolume record;
};

struct EventsTest : ::testing::Test {
    DiscState disc = DiscState::absent;
    std::vector<Delivered> delivered;
    DriveEvents::Deliver record_all() {
        return [this](std::uint32_t message, std::uintptr_t event, std::intptr_t lParam) {
            delivered.push_back({message, event, *reinterpret_cast<const DevBroadcastVolume*>(lParam)});
        };
    }
};

TEST_F(EventsTest, PollingReportsEachChangeOnce) {
    DriveEvents events(
        4, "sr1", [this] { return disc; }, record_all(), false);
    EXPECT_EQ(events.fd(), -1);
    events.poll();
    EXPECT_TRUE(delivered.empty());

    disc = DiscState::present;
    events.poll();
    events.poll();
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0].message, WM_DEVICECHANGE);
    EXPECT_EQ(delivered[0].event, DBT_DEVICEARRIVAL);
    EXPECT_EQ(delivered[0].record.size, 20u);
    EXPECT_EQ(delivered[0].record.deviceType, DBT_DEVTYP_VOLUME);
    EXPECT_EQ(delivered[0].record.unitMask, 1u << 4);

    disc = DiscState::absent;
    events.poll();
    ASSERT_EQ(delivered.size(), 2u);
    EXPECT_EQ(delivered[1].event, DBT_DEVICEREMOVECOMPLETE);
    EXPECT_EQ(delivered[1].record.unitMask, 1u << 4);
}

TEST_F(EventsTest, DiscPresentAtStartIsNoArrival) {
    disc = DiscState::present;
    DriveEvents events(
        3, "sr0", [this] { return disc; }, record_all(), false);
    events.poll();
    EXPECT_TRUE(delivered.empty());
    disc = DiscState::absent;
    events.poll();
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0].event, DBT_DEVICEREMOVECOMPLETE);
}

TEST_F(EventsTest, LoadingDiscIsReportedOnceReadable) {
    DriveEvents events(
        3, "sr0", [this] { return disc; }, record_all(), false);
    disc = DiscState::loading; // the drive has the disc but cannot read it yet: no removal, no arrival
    events.poll();
    EXPECT_TRUE(delivered.empty());
    disc = DiscState::present;
    events.poll();
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0].event, DBT_DEVICEARRIVAL);
    disc = DiscState::loading; // spinning up again is no removal
    events.poll();
    EXPECT_EQ(delivered.size(), 1u);
}

TEST(UdevEvents, OnlyMediaChangesOfTheDriveCount) {
    EXPECT_TRUE(is_media_change("change", "sr1", "1", "sr1"));
    EXPECT_FALSE(is_media_change("change", "sr10", "1", "sr1"));
    EXPECT_FALSE(is_media_change("change", "sr0", "1", "sr1"));
    EXPECT_FALSE(is_media_change("add", "sr1", "1", "sr1"));
    EXPECT_FALSE(is_media_change("change", "sr1", "0", "sr1"));
    EXPECT_FALSE(is_media_change("change", "sr1", nullptr, "sr1")); // e.g. an eject request
    EXPECT_FALSE(is_media_change(nullptr, "sr1", "1", "sr1"));
    EXPECT_FALSE(is_media_change("change", nullptr, "1", "sr1"));
}

TEST_F(EventsTest, UdevIsRunningWhenItsControlSocketExists) {
    const test_support::TempFolder folder("udev");
    const std::string path = folder.path("control");
    EXPECT_FALSE(DriveEvents::udev_running(path.c_str()));
    ASSERT_TRUE(test_support::write_file(path, {}));
    EXPECT_TRUE(DriveEvents::udev_running(path.c_str()));
}

TEST_F(EventsTest, BroadcastsReachTheMonitorAndItsWindow) {
    FakeDrives drives;
    drives.optical = {'D'};
    DiscMonitor monitor(drives);
    RecordingWindow window;
    monitor.select_drive('D');
    monitor.set_notify(&window, WM_USER);
    DriveEvents events(
        monitor.drive, "sr0", [&] { return drives.disc_state('D'); },
        [&](std::uint32_t m, std::uintptr_t w, std::intptr_t l) {
            EXPECT_EQ(monitor.handle_message(m, w, l), 1);
        },
        false);
    drives.discs['D'] = make_volume("DATA", 1, "CDFS", 0);
    events.poll();
    drives.discs.clear();
    events.poll();
    ASSERT_EQ(window.posted.size(), 2u);
    EXPECT_EQ(window.posted[0].wParam, 0u);
    EXPECT_EQ(window.posted[1].wParam, 1u);
    EXPECT_STREQ(monitor.currentInfo.volumeName, "DATA");
}

} // namespace
