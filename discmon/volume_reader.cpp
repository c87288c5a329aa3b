#include "discmon/volume_reader.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "discmon/drive_access.h"

namespace {

using Sector = std::vector<unsigned char>;

// Volume structure descriptors follow one another from sector 16; a disc never needs many.
constexpr int kMaxStructureDescriptors = 64;
// UDF volume descriptor sequences are short; longer extents are not followed to the end.
constexpr std::uint32_t kMaxSequenceSectors = 64;
constexpr std::uint32_t kUdfAnchorSector = 256;

enum : std::uint16_t {
    kTagAnchor = 2,
    kTagPartition = 5,
    kTagLogicalVolume = 6,
    kTagTerminating = 8,
    kTagFileSet = 256,
};

std::uint16_t le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Sums the sector in four byte lanes, lane k taking bytes 4i + k, each modulo 256.
void lane_sums(const Sector& sector, unsigned lanes[4]) {
    lanes[0] = lanes[1] = lanes[2] = lanes[3] = 0;
    for (std::size_t i = 0; i < kSectorSize; ++i)
        lanes[i % 4] = (lanes[i % 4] + sector[i]) & 0xFFu;
}

std::uint32_t serial_of(const Sector& sector) {
    unsigned l[4];
    lane_sums(sector, l);
    return l[0] << 24 | l[1] << 16 | l[2] << 8 | l[3];
}

std::uint32_t serial_reversed_of(const Sector& sector) {
    unsigned l[4];
    lane_sums(sector, l);
    return l[3] << 24 | l[2] << 16 | l[1] << 8 | l[0];
}

// UCS-2 code units become single bytes; those outside Latin-1 show as '?'.
char narrow(unsigned unit) {
    return unit < 0x100 ? static_cast<char>(unit) : '?';
}

std::string trim_trailing_blanks(std::string text) {
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::string iso_label(const unsigned char* field, std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i < size && field[i] != 0; ++i)
        text += static_cast<char>(field[i]);
    return trim_trailing_blanks(text);
}

std::string joliet_label(const unsigned char* field, std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const unsigned unit = static_cast<unsigned>(field[i] << 8 | field[i + 1]);
        if (unit == 0) break;
        text += narrow(unit);
    }
    return trim_trailing_blanks(text);
}

// A UDF dstring: compression id 8 (bytes) or 16 (UCS-2 big-endian), used length in the last byte.
std::string udf_dstring(const unsigned char* field, std::size_t size) {
    std::size_t used = field[size - 1];
    if (used > size - 1) used = size - 1;
    std::string text;
    if (used == 0) return text;
    if (field[0] == 8) {
        for (std::size_t i = 1; i < used && field[i] != 0; ++i)
            text += static_cast<char>(field[i]);
    } else if (field[0] == 16) {
        for (std::size_t i = 1; i + 1 < used; i += 2) {
            const unsigned unit = static_cast<unsigned>(field[i] << 8 | field[i + 1]);
            if (unit == 0) break;
            text += narrow(unit);
        }
    }
    return text;
}

// A UDF descriptor tag with this identifier and a correct checksum.
bool udf_tag_is(const Sector& sector, std::uint16_t id) {
    if (le16(sector.data()) != id) return false;
    unsigned sum = 0;
    for (int i = 0; i < 16; ++i)
        if (i != 4) sum += sector[i];
    return (sum & 0xFFu) == sector[4];
}

void copy_text(char* field, std::size_t size, const std::string& text) {
    const std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

struct Reader {
    SectorSource& source;
    bool failed = false;

    std::optional<Sector> read(std::uint64_t sector) {
        Sector data(kSectorSize);
        if (!source.read_sector(sector, data.data())) {
            failed = true;
            return std::nullopt;
        }
        return data;
    }
};

struct Found {
    std::optional<Sector> primary;
    std::optional<Sector> joliet;
    bool nsr = false;
    bool terminated = false; // the ISO 9660 set terminator was read
};

bool is_joliet(const Sector& s) {
    return s[0] == 2 && s[88] == '%' && s[89] == '/' && (s[90] == '@' || s[90] == 'C' || s[90] == 'E');
}

// Walks the volume structure descriptors from sector 16: ISO 9660 descriptors, then the UDF
// recognition sequence, up to the first sector that is none of these.
Found scan_structure(Reader& reader, std::uint64_t first) {
    Found found;
    for (int i = 0; i < kMaxStructureDescriptors; ++i) {
        auto s = reader.read(first + static_cast<std::uint64_t>(i));
        if (!s) break;
        const char* id = reinterpret_cast<const char*>(s->data() + 1);
        if (std::memcmp(id, "CD001", 5) == 0) {
            if ((*s)[0] == 255) found.terminated = true;
            if ((*s)[0] == 1 && !found.primary)
                found.primary = s;
            else if (is_joliet(*s) && !found.joliet)
                found.joliet = s;
        } else if (std::memcmp(id, "NSR02", 5) == 0 || std::memcmp(id, "NSR03", 5) == 0) {
            found.nsr = true;
        } else if (std::memcmp(id, "TEA01", 5) == 0) {
            break;
        } else if (std::memcmp(id, "BEA01", 5) != 0 && std::memcmp(id, "BOOT2", 5) != 0 &&
                   std::memcmp(id, "CDW02", 5) != 0) {
            break;
        }
    }
    return found;
}

void fill_iso(const Found& found, VolumeInfo& info) {
    const Sector& chosen = found.joliet ? *found.joliet : *found.primary;
    const std::string label =
        found.joliet ? joliet_label(chosen.data() + 40, 32) : iso_label(chosen.data() + 40, 32);
    copy_text(info.volumeName, sizeof info.volumeName, label);
    copy_text(info.fsName, sizeof info.fsName, "CDFS");
    info.serialNumber = serial_of(chosen);
    info.fsFlags = FILE_CASE_SENSITIVE_SEARCH | FILE_READ_ONLY_VOLUME;
    if (found.joliet) info.fsFlags |= FILE_UNICODE_ON_DISK;
}

struct UdfPartition {
    std::uint16_t number;
    std::uint32_t start;
};

// Partition number that partition map `reference` of a logical volume descriptor names.
std::optional<std::uint16_t> mapped_partition(const Sector& lvd, std::uint16_t reference) {
    const std::uint32_t table_length = le32(&lvd[264]);
    const std::uint32_t maps = le32(&lvd[268]);
    const std::size_t end = 440 + (table_length < kSectorSize - 440 ? table_length : kSectorSize - 440);
    std::size_t at = 440;
    for (std::uint32_t i = 0; i < maps && at + 2 <= end; ++i) {
        const unsigned type = lvd[at];
        const unsigned length = lvd[at + 1];
        if (length < 2 || at + length > end) return std::nullopt;
        if (i == reference) {
            if (type == 1 && length >= 6) return le16(&lvd[at + 4]);
            if (type == 2 && length >= 40) return le16(&lvd[at + 38]);
            return std::nullopt;
        }
        at += length;
    }
    return std::nullopt;
}

// UDF without ISO 9660: label from the logical volume, serial from the file set descriptor.
void read_udf(Reader& reader, std::uint64_t session_start, VolumeInfo& info) {
    auto anchor = reader.read(session_start + kUdfAnchorSector);
    if (!anchor || !udf_tag_is(*anchor, kTagAnchor)) return;
    const std::uint32_t length = le32(&(*anchor)[16]);
    const std::uint32_t location = le32(&(*anchor)[20]);
    std::uint32_t count = length / kSectorSize;
    if (count > kMaxSequenceSectors) count = kMaxSequenceSectors;

    std::optional<Sector> lvd;
    std::vector<UdfPartition> partitions;
    for (std::uint32_t i = 0; i < count; ++i) {
        auto s = reader.read(static_cast<std::uint64_t>(location) + i);
        if (!s) return;
        if (udf_tag_is(*s, kTagPartition))
            partitions.push_back({le16(&(*s)[22]), le32(&(*s)[188])});
        else if (udf_tag_is(*s, kTagLogicalVolume) && !lvd)
            lvd = s;
        else if (udf_tag_is(*s, kTagTerminating))
            break;
    }
    if (!lvd) return;

    copy_text(info.volumeName, sizeof info.volumeName, udf_dstring(&(*lvd)[84], 128));
    copy_text(info.fsName, sizeof info.fsName, "UDF");
    info.fsFlags = FILE_CASE_SENSITIVE_SEARCH | FILE_UNICODE_ON_DISK | FILE_READ_ONLY_VOLUME;

    const std::uint32_t block_size = le32(&(*lvd)[212]);
    const std::uint32_t fsd_block = le32(&(*lvd)[252]);
    const std::uint16_t reference = le16(&(*lvd)[256]);
    const std::uint16_t number = mapped_partition(*lvd, reference).value_or(reference);
    if (block_size == 0 || block_size % kSectorSize != 0) return;
    for (const UdfPartition& p : partitions) {
        if (p.number != number) continue;
        const std::uint64_t sector = static_cast<std::uint64_t>(p.start) +
                                     static_cast<std::uint64_t>(fsd_block) * (block_size / kSectorSize);
        auto fsd = reader.read(sector);
        if (fsd && udf_tag_is(*fsd, kTagFileSet)) info.serialNumber = serial_reversed_of(*fsd);
        return;
    }
}

} // namespace

unsigned read_volume_descriptors(SectorSource& source, std::uint32_t session_start, VolumeInfo& info) {
    Reader reader{source};
    VolumeInfo result{};
    const Found found = scan_structure(reader, static_cast<std::uint64_t>(session_start) + 16);
    // A descriptor that cannot be read (a truncated image, a disc the drive cannot read) means not
    // ready, unless what was read already decides: a primary descriptor, or a complete ISO 9660 set.
    // An image may end right behind its set terminator.
    if (reader.failed && !found.primary && !found.terminated) return ERROR_NOT_READY;
    reader.failed = false;
    if (found.primary) {
        fill_iso(found, result);
    } else if (found.nsr) {
        read_udf(reader, session_start, result);
        if (reader.failed) return ERROR_NOT_READY;
    }
    info = result;
    return ERROR_SUCCESS;
}

unsigned read_volume_fd(int fd, VolumeInfo& info) {
    FdSectorSource source(fd);
    return read_volume_descriptors(source, 0, info);
}

unsigned read_volume_file(const char* path, VolumeInfo& info) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return ERROR_NOT_READY;
    const unsigned status = read_volume_fd(fd, info);
    ::close(fd);
    return status;
}
