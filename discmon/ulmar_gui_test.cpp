// The Ulmar test window under a real display with fake drives; boxes are caught through the window
// interface, broadcasts come from the polling event source driven by the window's own timer.
#include "discmon/ulmar_shell.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/wait.h>

#include "discmon/device_change.h"
#include "discmon/fake_drives_test.h"
#include "platform/test_process.h"

namespace {

struct Box {
    std::string text, caption;
    platform::BoxStyle style;
};

TEST(UlmarWindow, ReportsDrivesThenInsertionAndRemoval) {
    FakeDrives drives;
    drives.optical = {'D', 'E'};
    DiscMonitor monitor(drives);
    std::vector<Box> boxes;
    UlmarShell window(monitor,
                      [&](const std::string& text, const std::string& caption, platform::BoxStyle style) {
                          boxes.push_back({text, caption, style});
                          return platform::BoxAnswer::ok;
                      });
    window.create();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "K dispozici jsou disky: DE.\n\nPro test je pouzita mechanika: D:");
    EXPECT_EQ(boxes[0].caption, "Ulmar test");
    ASSERT_EQ(monitor.drive, 3);

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "no display for the window";
    EXPECT_EQ(window.windowTitle(), QString("Ulmar test"));
    EXPECT_EQ(window.width(), 544);
    EXPECT_EQ(window.height(), 375);

    window.watch(std::make_unique<DriveEvents>(
        monitor.drive, "sr0", [&] { return drives.disc_state('D'); },
        [&](std::uint32_t m, std::uintptr_t w, std::intptr_t l) { window.deliver(m, w, l); }, false));

    drives.discs['D'] =
        make_volume("DATA", 0x1234ABCD, "CDFS", FILE_CASE_SENSITIVE_SEARCH | FILE_READ_ONLY_VOLUME);
    EXPECT_TRUE(QTest::qWaitFor([&] { return boxes.size() >= 2; }, 5000)) << "no insertion box";
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text,
              "Vlozen disk.\n\nNazev: DATA\nSeriove cislo: 1234ABCD\nFile system: CDFS\n\n"
              "Vlajky:\n\tCase preserved: 0\n\tRozlisovani velikosti: 1\n\tUnicode: 0\n\tACL: 0\n"
              "\tKomprese souboru: 0\n\tKomprimovany disk: 0");
    EXPECT_EQ(boxes[1].caption, "Ulmar test");

    drives.discs.clear();
    EXPECT_TRUE(QTest::qWaitFor([&] { return boxes.size() >= 3; }, 5000)) << "no removal box";
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[2].text, "Disk odebran.");
    EXPECT_FALSE(monitor.present);
}

TEST(UlmarWindow, OtherDrivesAreIgnoredAndBoxesWaitForTheLoop) {
    FakeDrives drives;
    drives.optical = {'D', 'E'};
    DiscMonitor monitor(drives);
    int boxes = 0;
    UlmarShell window(monitor, [&](const std::string&, const std::string&, platform::BoxStyle) {
        ++boxes;
        return platform::BoxAnswer::ok;
    });
    window.create();
    DevBroadcastVolume record = make_volume_broadcast(4);
    window.deliver(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<std::intptr_t>(&record));
    record = make_volume_broadcast(3);
    window.deliver(WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<std::intptr_t>(&record));
    EXPECT_EQ(boxes, 1) << "posted notifications wait for the event loop";
    EXPECT_TRUE(QTest::qWaitFor([&] { return boxes >= 2; }, 5000));
    QTest::qWait(50); // nothing more is on its way
    EXPECT_EQ(boxes, 2);
}

// Started where no display can be opened, the program says so in one line and ends with 1.
TEST(UlmarTestProgram, WithoutADisplayItSaysSoInOneLine) {
    platform::expect_no_display_line(KX_BINARY_DIR "/discmon/ulmar-test",
                                     "ulmar-test: cannot open a display\n");
}

} // namespace
