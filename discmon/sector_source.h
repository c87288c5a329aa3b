#pragma once
// Sources of 2048-byte disc sectors: an open file or device, or bytes in memory.
#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kSectorSize = 2048;

class SectorSource {
  public:
    virtual ~SectorSource() = default;
    // Reads sector `sector` whole into `out`; false when it cannot be read in full.
    virtual bool read_sector(std::uint64_t sector, unsigned char* out) = 0;
};

// Sectors of an open file descriptor, read with pread; the descriptor stays owned by the caller.
class FdSectorSource : public SectorSource {
  public:
    explicit FdSectorSource(int fd) : fd_(fd) {}
    bool read_sector(std::uint64_t sector, unsigned char* out) override;

  private:
    int fd_;
};

// Sectors of a byte block in memory, sector n at offset n * 2048; the block must outlive the source.
class MemorySectorSource : public SectorSource {
  public:
    MemorySectorSource(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
    bool read_sector(std::uint64_t sector, unsigned char* out) override;

  private:
    const unsigned char* data_;
    std::size_t size_;
};
