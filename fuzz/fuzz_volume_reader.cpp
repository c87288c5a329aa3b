// Feeds arbitrary bytes to the volume descriptor reader as a disc. The input is cut into 2048-byte
// chunks: sector 16 onwards maps to chunk 0 onwards (wrapping, so any sector a descriptor points at
// can be reached) and sector 256, the UDF anchor, to the last chunk.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "discmon/sector_source.h"
#include "discmon/volume_reader.h"

namespace {

class ChunkSource : public SectorSource {
  public:
    ChunkSource(const std::uint8_t* data, std::size_t size) : data_(data), chunks_(size / kSectorSize) {}
    bool read_sector(std::uint64_t sector, unsigned char* out) override {
        if (chunks_ == 0 || sector < 16) return false;
        const std::uint64_t chunk = sector == 256 ? chunks_ - 1 : (sector - 16) % chunks_;
        std::memcpy(out, data_ + chunk * kSectorSize, kSectorSize);
        return true;
    }

  private:
    const std::uint8_t* data_;
    std::uint64_t chunks_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ChunkSource source(data, size);
    VolumeInfo info{};
    read_volume_descriptors(source, 0, info);
    if (info.volumeName[sizeof info.volumeName - 1] != 0 || info.fsName[sizeof info.fsName - 1] != 0)
        __builtin_trap();
    return 0;
}
