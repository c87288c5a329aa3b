#include "discmon/sector_source.h"

#include <cerrno>
#include <cstring>
#include <limits>

#include <unistd.h>

bool FdSectorSource::read_sector(std::uint64_t sector, unsigned char* out) {
    constexpr auto kMaxSector =
        static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()) / kSectorSize - 1;
    if (sector > kMaxSector) return false;
    std::size_t done = 0;
    while (done < kSectorSize) {
        const auto offset = static_cast<off_t>(sector * kSectorSize + done);
        const ssize_t got = ::pread(fd_, out + done, kSectorSize - done, offset);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

bool MemorySectorSource::read_sector(std::uint64_t sector, unsigned char* out) {
    const std::uint64_t sectors = size_ / kSectorSize;
    if (sector >= sectors) return false;
    std::memcpy(out, data_ + sector * kSectorSize, kSectorSize);
    return true;
}
