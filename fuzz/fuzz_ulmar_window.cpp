// Drives the Ulmar test window procedure with arbitrary sequences of messages, device-change
// broadcasts (records of any size and content) and drive changes through the recording fakes,
// and checks after each message what must always hold.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "discmon/device_change.h"
#include "discmon/fake_drives_test.h"
#include "discmon/ulmar_window_proc.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

char any_letter(FuzzedDataProvider& in) {
    return static_cast<char>('A' + in.ConsumeIntegralInRange(0, 25));
}

VolumeInfo any_volume(FuzzedDataProvider& in) {
    VolumeInfo info{};
    const std::vector<std::uint8_t> bytes = in.ConsumeBytes<std::uint8_t>(sizeof info);
    if (!bytes.empty())
        std::memcpy(&info, bytes.data(), bytes.size()); // the text fields need not be terminated
    return info;
}

struct Session {
    FakeDrives drives;
    DiscMonitor monitor{drives};
    RecordingWindow window;
    UlmarWindowProc proc{window, monitor};
    std::size_t checkedBoxes = 0;

    void send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
        proc.handle(message, wParam, lParam);
        check_state();
    }

    // A broadcast record in a heap block of the size its header gives (at least the header),
    // so that a read beyond what the record claims is caught.
    void broadcast(FuzzedDataProvider& in) {
        const std::uint32_t event = in.ConsumeBool() ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
        DevBroadcastVolume record = make_volume_broadcast(in.ConsumeIntegralInRange(-1, 33));
        if (in.ConsumeBool()) record.size = in.ConsumeIntegralInRange<std::uint32_t>(0, 64);
        if (in.ConsumeBool()) record.deviceType = in.ConsumeIntegralInRange<std::uint32_t>(0, 4);
        if (in.ConsumeBool()) record.unitMask = in.ConsumeIntegral<std::uint32_t>();
        const std::size_t size = std::max<std::size_t>(sizeof(DevBroadcastHeader), record.size);
        std::unique_ptr<unsigned char[]> block(new unsigned char[size]);
        std::memset(block.get(), 0, size);
        std::memcpy(block.get(), &record, std::min(size, sizeof record));
        send(WM_DEVICECHANGE, event, reinterpret_cast<std::intptr_t>(block.get()));
    }

    // Delivers what the window posted to itself, as its message loop would.
    void run_posted() {
        for (int rounds = 0; rounds < 4 && !window.posted.empty(); ++rounds) {
            const auto pending = std::move(window.posted);
            window.posted.clear();
            for (const auto& p : pending)
                send(p.message, p.wParam, p.lParam);
        }
    }

    void check_state() {
        check(monitor.drive >= -1 && monitor.drive < 25);
        check(!monitor.present || monitor.drive >= 0);
        check(!monitor.sameDisc || volume_info_equal(monitor.currentInfo, monitor.storedInfo));
        check(monitor.currentInfo.volumeName[sizeof monitor.currentInfo.volumeName - 1] == '\0');
        check(monitor.currentInfo.fsName[sizeof monitor.currentInfo.fsName - 1] == '\0');
        for (const auto& p : window.posted)
            check(p.message == WM_USER && (p.wParam == 0 || p.wParam == 1));
        for (int code : window.quits)
            check(code == 0);
        for (; checkedBoxes < window.boxes.size(); ++checkedBoxes) {
            const RecordingWindow::Box& box = window.boxes[checkedBoxes];
            check(box.caption == kUlmarTitle && box.style == platform::BoxStyle::ok);
            check(box.text.find('\0') == std::string::npos);
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    Session s;
    for (int steps = 0; steps < 200 && in.remaining_bytes() > 0; ++steps) {
        switch (in.ConsumeIntegralInRange(0, 10)) {
        case 0: {
            const char letter = any_letter(in);
            if (!s.drives.optical.erase(letter)) s.drives.optical.insert(letter);
            break;
        }
        case 1:
            s.drives.discs[any_letter(in)] = any_volume(in);
            break;
        case 2:
            s.drives.discs.erase(any_letter(in));
            break;
        case 3: {
            const char letter = any_letter(in);
            if (in.ConsumeBool())
                s.drives.errors[letter] = in.ConsumeIntegralInRange<unsigned>(0, 40);
            else
                s.drives.errors.erase(letter);
            break;
        }
        case 4:
            s.send(WM_CREATE, 0, 0);
            break;
        case 5:
            s.broadcast(in);
            break;
        case 6:
            s.send(WM_USER, in.ConsumeIntegralInRange<std::uintptr_t>(0, 2),
                   in.ConsumeIntegral<std::int8_t>());
            break;
        case 7:
            s.send(WM_DESTROY, 0, 0);
            break;
        case 8:
            s.run_posted();
            break;
        case 9:
            // Any other message, with parameters that are no addresses.
            s.send(in.ConsumeIntegral<std::uint16_t>(), in.ConsumeIntegralInRange<std::uintptr_t>(0, 0x9000),
                   0);
            break;
        default:
            s.monitor.store_reference();
            s.check_state();
            break;
        }
    }
    return 0;
}
