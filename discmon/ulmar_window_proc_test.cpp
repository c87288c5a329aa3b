#include "discmon/ulmar_window_proc.h"

#include <gtest/gtest.h>

#include <cstring>

#include "discmon/device_change.h"
#include "discmon/fake_drives_test.h"

namespace {

const char* const kDataInserted =
    "Vlozen disk.\n\nNazev: DATA\nSeriove cislo: 1234ABCD\nFile system: CDFS\n\n"
    "Vlajky:\n\tCase preserved: 0\n\tRozlisovani velikosti: 1\n\tUnicode: 0\n\tACL: 0\n"
    "\tKomprese souboru: 0\n\tKomprimovany disk: 0";

struct ProcTest : ::testing::Test {
    FakeDrives drives;
    DiscMonitor monitor{drives};
    RecordingWindow window;
    UlmarWindowProc proc{window, monitor};
    VolumeInfo data =
        make_volume("DATA", 0x1234ABCD, "CDFS", FILE_CASE_SENSITIVE_SEARCH | FILE_READ_ONLY_VOLUME);

    std::intptr_t send(std::uint32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
        return proc.handle(message, wParam, lParam);
    }
    std::intptr_t send_broadcast(std::uint32_t event, int drive) {
        DevBroadcastVolume record = make_volume_broadcast(drive);
        return send(WM_DEVICECHANGE, event, reinterpret_cast<std::intptr_t>(&record));
    }
    // Delivers what the window posted to itself, as its message loop would.
    void run_posted() {
        auto pending = std::move(window.posted);
        window.posted.clear();
        for (const auto& p : pending)
            send(p.message, p.wParam, p.lParam);
    }
};

TEST_F(ProcTest, CreationNamesTheDrivesAndWatchesTheFirst) {
    drives.optical = {'D', 'E'};
    drives.discs['D'] = data; // already in the drive: read silently
    EXPECT_EQ(send(WM_CREATE), 0);
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].text, "K dispozici jsou disky: DE.\n\nPro test je pouzita mechanika: D:");
    EXPECT_EQ(window.boxes[0].caption, "Ulmar test");
    EXPECT_EQ(window.boxes[0].style, platform::BoxStyle::ok);
    EXPECT_EQ(monitor.drive, 3);
    EXPECT_TRUE(monitor.present);
    EXPECT_EQ(monitor.notifyWindow, &window);
    EXPECT_EQ(monitor.notifyMessage, WM_USER);
    EXPECT_TRUE(window.posted.empty());
}

TEST_F(ProcTest, WithoutDrivesTheTextStopsAfterTheLabelAndBroadcastsPassOn) {
    EXPECT_EQ(send(WM_CREATE), 0);
    ASSERT_EQ(window.boxes.size(), 1u);
    const std::string& text = window.boxes[0].text;
    EXPECT_EQ(text, "K dispozici jsou disky: .\n\nPro test je pouzita mechanika: ");
    EXPECT_EQ(text.find('\0'), std::string::npos);
    EXPECT_EQ(monitor.drive, -1);
    EXPECT_EQ(send_broadcast(DBT_DEVICEARRIVAL, 3), 0);
    EXPECT_TRUE(window.posted.empty());
}

TEST_F(ProcTest, InsertionAndRemovalShowTheirBoxesAfterTheBroadcast) {
    drives.optical = {'D', 'E'};
    send(WM_CREATE);
    drives.discs['D'] = data;

    EXPECT_EQ(send_broadcast(DBT_DEVICEARRIVAL, 3), 1);
    EXPECT_EQ(window.boxes.size(), 1u) << "the box waits until the broadcast is answered";
    run_posted();
    ASSERT_EQ(window.boxes.size(), 2u);
    EXPECT_EQ(window.boxes[1].text, kDataInserted);
    EXPECT_EQ(window.boxes[1].caption, "Ulmar test");

    // Each removal broadcast gives one box.
    drives.discs.clear();
    EXPECT_EQ(send_broadcast(DBT_DEVICEREMOVECOMPLETE, 3), 1);
    EXPECT_EQ(send_broadcast(DBT_DEVICEREMOVECOMPLETE, 3), 1);
    run_posted();
    ASSERT_EQ(window.boxes.size(), 4u);
    EXPECT_EQ(window.boxes[2].text, "Disk odebran.");
    EXPECT_EQ(window.boxes[3].text, "Disk odebran.");

    // The other drive's broadcasts are not the window's business.
    EXPECT_EQ(send_broadcast(DBT_DEVICEARRIVAL, 4), 0);
    EXPECT_TRUE(window.posted.empty());
}

TEST_F(ProcTest, InsertedTextFormatsSerialAndFlagsInOrder) {
    VolumeInfo info = make_volume("X", 0xAB, "UDF", FILE_VOLUME_IS_COMPRESSED | FILE_CASE_PRESERVED_NAMES);
    EXPECT_EQ(inserted_text(info), "Vlozen disk.\n\nNazev: X\nSeriove cislo: 000000AB\nFile system: UDF\n\n"
                                   "Vlajky:\n\tCase preserved: 1\n\tRozlisovani velikosti: 0\n\tUnicode: 0\n"
                                   "\tACL: 0\n\tKomprese souboru: 0\n\tKomprimovany disk: 1");
    info =
        make_volume("", 0xFFFFFFFF, "", FILE_UNICODE_ON_DISK | FILE_PERSISTENT_ACLS | FILE_FILE_COMPRESSION);
    EXPECT_EQ(inserted_text(info), "Vlozen disk.\n\nNazev: \nSeriove cislo: FFFFFFFF\nFile system: \n\n"
                                   "Vlajky:\n\tCase preserved: 0\n\tRozlisovani velikosti: 0\n\tUnicode: 1\n"
                                   "\tACL: 1\n\tKomprese souboru: 1\n\tKomprimovany disk: 0");
    // Percent signs in a label are text, not formats.
    info = make_volume("100%s", 1, "CDFS", 0);
    EXPECT_NE(inserted_text(info).find("Nazev: 100%s\n"), std::string::npos);
}

TEST_F(ProcTest, UnterminatedNamesStopAtTheEndOfTheirFields) {
    // A block set from outside with both texts filling their fields to the last byte.
    VolumeInfo info;
    std::memset(&info, 'N', sizeof info);
    info.serialNumber = 0x5A5A5A5A;
    info.fsFlags = 0;
    std::memset(info.fsName, 'F', sizeof info.fsName);
    monitor.set_current_info(&info);
    VolumeInfo shown;
    monitor.get_current_info(&shown);
    const std::string text = inserted_text(shown);
    EXPECT_NE(text.find("Nazev: " + std::string(256, 'N') + "\nSeriove cislo: 5A5A5A5A\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("File system: " + std::string(248, 'F') + "\n\nVlajky:"), std::string::npos) << text;
}

TEST_F(ProcTest, DestroyQuitsAndOtherMessagesGoToDefaultHandling) {
    EXPECT_EQ(send(WM_DESTROY), 0);
    ASSERT_EQ(window.quits.size(), 1u);
    EXPECT_EQ(window.quits[0], 0);
    EXPECT_EQ(send(0x000F), 0); // paint
    EXPECT_EQ(send(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0), 0);
    EXPECT_EQ(send(WM_USER, 7), 0); // unknown notification: nothing shown
    EXPECT_TRUE(window.boxes.empty());
}

} // namespace
