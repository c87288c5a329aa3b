// Ulmar test: watches the first optical drive and reports disc insertions and removals.
#include <memory>

#include <QApplication>

#include "discmon/disc_monitor.h"
#include "discmon/drive_events.h"
#include "discmon/linux_drives.h"
#include "discmon/ulmar_shell.h"

namespace {

LinuxDrives drives;
DiscMonitor monitor(drives);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("ulmar-test"));
    QApplication::setApplicationName(QString::fromLatin1(kUlmarTitle));
    UlmarShell window(monitor);
    window.create();
    if (monitor.drive >= 0) {
        const char letter = static_cast<char>('A' + monitor.drive);
        const std::string device = drives.device_path(letter);
        window.watch(std::make_unique<DriveEvents>(
            monitor.drive, LinuxDrives::device_name(letter), [device] { return optical_disc_state(device); },
            [&window](std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
                window.deliver(message, wParam, lParam);
            },
            DriveEvents::udev_running()));
    }
    window.show();
    return app.exec();
}
