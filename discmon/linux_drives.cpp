#include "discmon/linux_drives.h"

#include <climits>
#include <fstream>
#include <utility>

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "discmon/volume_reader.h"

namespace {

constexpr int kScsiTypeOptical = 5;

// Opens without waiting for a disc and without touching the tray.
int open_optical(const std::string& device) {
    return ::open(device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

// First sector of the last session; 0 for single-session discs or when the drive cannot say.
std::uint32_t last_session_start(int fd) {
    cdrom_multisession session{};
    session.addr_format = CDROM_LBA;
    if (::ioctl(fd, CDROMMULTISESSION, &session) != 0) return 0;
    return session.addr.lba > 0 ? static_cast<std::uint32_t>(session.addr.lba) : 0;
}

} // namespace

int optical_index(char letter) {
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'D' || letter > 'Y') return -1;
    return letter - 'D';
}

DiscState optical_disc_state(const std::string& device) {
    const int fd = open_optical(device);
    if (fd < 0) return DiscState::absent;
    const int status = ::ioctl(fd, CDROM_DRIVE_STATUS, CDSL_CURRENT);
    ::close(fd);
    if (status == CDS_DISC_OK) return DiscState::present;
    if (status == CDS_DRIVE_NOT_READY) return DiscState::loading;
    return DiscState::absent;
}

unsigned read_optical_volume(const std::string& device, VolumeInfo& info) {
    const int fd = open_optical(device);
    if (fd < 0) return ERROR_NOT_READY;
    unsigned result = ERROR_NOT_READY;
    if (::ioctl(fd, CDROM_DRIVE_STATUS, CDSL_CURRENT) == CDS_DISC_OK) {
        FdSectorSource source(fd);
        result = read_volume_descriptors(source, last_session_start(fd), info);
    }
    ::close(fd);
    return result;
}

LinuxDrives::LinuxDrives(std::string sysfs, std::string dev)
    : sysfs_(std::move(sysfs)), dev_(std::move(dev)) {}

std::string LinuxDrives::device_name(char letter) {
    const int index = optical_index(letter);
    return index < 0 ? std::string() : "sr" + std::to_string(index);
}

std::string LinuxDrives::device_path(char letter) const {
    const std::string name = device_name(letter);
    return name.empty() ? name : dev_ + "/" + name;
}

unsigned LinuxDrives::drive_type(char letter) {
    const std::string name = device_name(letter);
    if (name.empty()) return DRIVE_NO_ROOT_DIR;
    std::ifstream type_file(sysfs_ + "/block/" + name + "/device/type");
    int type = -1;
    if (!(type_file >> type)) return DRIVE_NO_ROOT_DIR;
    return type == kScsiTypeOptical ? DRIVE_CDROM : DRIVE_NO_ROOT_DIR;
}

unsigned LinuxDrives::volume_information(char letter, VolumeInfo& info) {
    const std::string device = device_path(letter);
    if (device.empty()) return ERROR_NOT_READY;
    return read_optical_volume(device, info);
}

void LinuxDrives::lock_tray(char letter, bool prevent) {
    const std::string device = device_path(letter);
    if (device.empty()) return;
    const int fd = open_optical(device);
    if (fd < 0) return;
    ::ioctl(fd, CDROM_LOCKDOOR, prevent ? 1 : 0);
    ::close(fd);
}
