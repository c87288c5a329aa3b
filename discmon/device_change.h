#pragma once
// Window messages and device-change broadcast records, laid out as the old platform's.
#include <cstddef>
#include <cstdint>

enum : std::uint32_t {
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_DEVICECHANGE = 0x0219,
    WM_USER = 0x0400,
};

// Device-change events (first message parameter of WM_DEVICECHANGE).
enum : std::uint32_t {
    DBT_DEVICEARRIVAL = 0x8000,
    DBT_DEVICEREMOVECOMPLETE = 0x8004,
};

// Device types of a broadcast record.
enum : std::uint32_t {
    DBT_DEVTYP_OEM = 0,
    DBT_DEVTYP_VOLUME = 2,
    DBT_DEVTYP_PORT = 3,
};

// Volume flag bits of DevBroadcastVolume::flags.
enum : std::uint16_t {
    DBTF_MEDIA = 0x0001,
    DBTF_NET = 0x0002,
};

// Header common to every broadcast record; `size` counts the whole record.
struct DevBroadcastHeader {
    std::uint32_t size;
    std::uint32_t deviceType;
    std::uint32_t reserved;
};

// A volume broadcast: bit n of `unitMask` names drive letter 'A' + n.
struct DevBroadcastVolume {
    std::uint32_t size;
    std::uint32_t deviceType;
    std::uint32_t reserved;
    std::uint32_t unitMask;
    std::uint16_t flags;
};

static_assert(sizeof(DevBroadcastHeader) == 12);
static_assert(offsetof(DevBroadcastHeader, size) == 0);
static_assert(offsetof(DevBroadcastHeader, deviceType) == 4);
static_assert(offsetof(DevBroadcastHeader, reserved) == 8);
static_assert(sizeof(DevBroadcastVolume) == 20);
static_assert(offsetof(DevBroadcastVolume, unitMask) == 12);
static_assert(offsetof(DevBroadcastVolume, flags) == 16);

// A volume broadcast for the drive with index `drive` (0 for A), media flag set.
DevBroadcastVolume make_volume_broadcast(int drive);
