#include "discmon/disc_monitor.h"

#include <algorithm>
#include <cstring>

#include "discmon/device_change.h"

namespace {

constexpr int kListedLetters = 25; // A..Y; Z is never examined

char letter_of(int drive) {
    return static_cast<char>('A' + drive);
}

} // namespace

bool volume_info_equal(const VolumeInfo& a, const VolumeInfo& b) {
    return std::memcmp(&a, &b, sizeof(VolumeInfo)) == 0;
}

DevBroadcastVolume make_volume_broadcast(int drive) {
    DevBroadcastVolume record{};
    record.size = sizeof(DevBroadcastVolume);
    record.deviceType = DBT_DEVTYP_VOLUME;
    record.unitMask = (drive >= 0 && drive < 32) ? (1u << drive) : 0u;
    record.flags = DBTF_MEDIA;
    return record;
}

DiscMonitor::DiscMonitor(DriveAccess& drives) : drives_(drives) {}

int DiscMonitor::list_cd_drives(char* buffer, int max) {
    int count = 0;
    const int limit = std::min(max, kListedLetters);
    for (int i = 0; i < limit; ++i) {
        if (drives_.drive_type(letter_of(i)) == DRIVE_CDROM) buffer[count++] = letter_of(i);
    }
    return count;
}

int DiscMonitor::select_drive(int letter) {
    if (letter >= 'a' && letter <= 'z')
        drive = letter - 'a';
    else if (letter >= 'A' && letter <= 'Z')
        drive = letter - 'A';
    return drive == -1 ? 1 : 0;
}

int DiscMonitor::read_volume() {
    if (drive < 0) return 0;
    VolumeInfo info{};
    const unsigned error = drives_.volume_information(letter_of(drive), info);
    if (error == ERROR_NOT_READY) {
        present = false;
        return 0;
    }
    // Any other failure still means a disc is there; its name buffers count as empty texts.
    if (error != ERROR_SUCCESS) info = VolumeInfo{};
    info.volumeName[sizeof info.volumeName - 1] = '\0';
    info.fsName[sizeof info.fsName - 1] = '\0';
    present = true;
    currentInfo = info;
    sameDisc = volume_info_equal(currentInfo, storedInfo);
    return 1;
}

int DiscMonitor::lock_removal(bool prevent) {
    if (drive < 0) return 0;
    drives_.lock_tray(letter_of(drive), prevent);
    removalLocked = prevent;
    return 1;
}

int DiscMonitor::set_notify(NotifyTarget* window, std::uint32_t message) {
    notifyWindow = window;
    notifyMessage = message;
    return 0;
}

int DiscMonitor::store_reference() {
    storedInfo = currentInfo;
    sameDisc = true;
    return 0;
}

int DiscMonitor::get_current_info(void* destination) const {
    std::memcpy(destination, &currentInfo, sizeof(VolumeInfo));
    return 0;
}

int DiscMonitor::get_stored_info(void* destination) const {
    std::memcpy(destination, &storedInfo, sizeof(VolumeInfo));
    return 0;
}

int DiscMonitor::set_current_info(const void* source) {
    std::memcpy(&currentInfo, source, sizeof(VolumeInfo));
    sameDisc = volume_info_equal(currentInfo, storedInfo);
    return 0;
}

int DiscMonitor::set_stored_info(const void* source) {
    std::memcpy(&storedInfo, source, sizeof(VolumeInfo));
    sameDisc = volume_info_equal(currentInfo, storedInfo);
    return 0;
}

void DiscMonitor::notify(std::uintptr_t wParam, std::intptr_t lParam) {
    if (notifyMessage != 0 && notifyWindow != nullptr)
        notifyWindow->post_message(notifyMessage, wParam, lParam);
}

int DiscMonitor::handle_message(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (drive < 0) return 0;
    if (message != WM_DEVICECHANGE) return 0;
    if (wParam != DBT_DEVICEARRIVAL && wParam != DBT_DEVICEREMOVECOMPLETE) return 0;
    if (lParam == 0) return 0;

    // The record may sit at any address; read its fields by copying.
    const auto* bytes = reinterpret_cast<const unsigned char*>(lParam);
    DevBroadcastHeader header;
    std::memcpy(&header, bytes, sizeof header);
    if (header.deviceType != DBT_DEVTYP_VOLUME || header.size < sizeof(DevBroadcastVolume)) return 0;
    std::uint32_t unitMask;
    std::memcpy(&unitMask, bytes + offsetof(DevBroadcastVolume, unitMask), sizeof unitMask);
    if (drive >= 32 || (unitMask & (1u << drive)) == 0) return 0;

    if (wParam == DBT_DEVICEARRIVAL) {
        read_volume();
        notify(0, sameDisc ? 1 : 0);
    } else {
        present = false;
        sameDisc = false;
        notify(1, 0);
    }
    return 1;
}
