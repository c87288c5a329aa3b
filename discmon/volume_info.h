#pragma once
// The volume information block kept by the disc monitor: label, serial number, flags, file-system name.
#include <cstddef>
#include <cstdint>

// File-system flag bits, same values as the old platform's.
enum : std::uint32_t {
    FILE_CASE_SENSITIVE_SEARCH = 0x00000001,
    FILE_CASE_PRESERVED_NAMES = 0x00000002,
    FILE_UNICODE_ON_DISK = 0x00000004,
    FILE_PERSISTENT_ACLS = 0x00000008,
    FILE_FILE_COMPRESSION = 0x00000010,
    FILE_VOLUME_IS_COMPRESSED = 0x00008000,
    FILE_READ_ONLY_VOLUME = 0x00080000,
};

// 512 bytes; two blocks are equal when all 512 bytes are equal.
struct VolumeInfo {
    char volumeName[256];       // zero-terminated label
    std::uint32_t serialNumber; // volume serial number
    std::uint32_t fsFlags;      // FILE_* bits
    char fsName[248];           // zero-terminated file-system name
};

static_assert(sizeof(VolumeInfo) == 512);
static_assert(offsetof(VolumeInfo, volumeName) == 0);
static_assert(offsetof(VolumeInfo, serialNumber) == 256);
static_assert(offsetof(VolumeInfo, fsFlags) == 260);
static_assert(offsetof(VolumeInfo, fsName) == 264);

// True when the two blocks agree in all 512 bytes.
bool volume_info_equal(const VolumeInfo& a, const VolumeInfo& b);
