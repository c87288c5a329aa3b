#include "discmon/volume_reader.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "discmon/drive_access.h"
#include "platform/test_files.h"

namespace {

namespace fs = std::filesystem;
using test_support::Bytes;
using test_support::TempFolder;

constexpr std::size_t kSector = 2048;

// Builds an ISO image labelled DATA from a small tree with xorriso in `folder`; dates are fixed so
// the bytes are stable.
fs::path build_iso(const TempFolder& folder, const std::string& name, bool joliet) {
    const fs::path tree = folder.dir() / "tree";
    fs::create_directories(tree);
    std::ofstream(tree / "readme.txt") << "Ulmar test image\n";
    const fs::path image = folder.dir() / name;
    fs::remove(image);
    const std::string command = "touch -d 2024-01-01T12:00:00 '" + (tree / "readme.txt").string() + "' '" +
                                tree.string() + "' && xorriso -as mkisofs -quiet -V DATA " +
                                "--modification-date=2024010112000000 " + (joliet ? "-J " : "") + "-o '" +
                                image.string() + "' '" + tree.string() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_TRUE(fs::exists(image)) << "xorriso made no image";
    return image;
}

Bytes read_iso(const TempFolder& folder, const std::string& name, bool joliet) {
    return test_support::read_file(build_iso(folder, name, joliet).string());
}

// The serial from the descriptor at `offset`: byte lanes summed with 8-bit wrap-around.
std::uint32_t lane_serial(const Bytes& bytes, std::size_t offset, bool reversed = false) {
    std::uint8_t lane[4] = {0, 0, 0, 0};
    for (std::size_t word = 0; word < kSector / 4; ++word)
        for (int k = 0; k < 4; ++k)
            lane[k] = static_cast<std::uint8_t>(lane[k] + bytes[offset + word * 4 + k]);
    if (reversed) return std::uint32_t{lane[3]} << 24 | lane[2] << 16 | lane[1] << 8 | lane[0];
    return std::uint32_t{lane[0]} << 24 | lane[1] << 16 | lane[2] << 8 | lane[3];
}

// Sector of the first descriptor of `type` among the ISO descriptors from 16.
std::size_t find_descriptor(const Bytes& bytes, int type) {
    for (std::size_t s = 16; (s + 1) * kSector <= bytes.size(); ++s) {
        if (std::memcmp(&bytes[s * kSector + 1], "CD001", 5) != 0) break;
        if (bytes[s * kSector] == type) return s;
    }
    ADD_FAILURE() << "no descriptor of type " << type;
    return 0;
}

// Reads the first `size` bytes of an image from a heap block of exactly that size; expects success.
VolumeInfo read_exact(const Bytes& bytes, std::size_t size) {
    const std::unique_ptr<std::uint8_t[]> block = test_support::exact_copy(bytes, size);
    MemorySectorSource source(block.get(), size);
    VolumeInfo info{};
    EXPECT_EQ(read_volume_descriptors(source, 0, info), ERROR_SUCCESS) << "cut at " << size;
    return info;
}

VolumeInfo scribbled() {
    VolumeInfo info;
    std::memset(&info, 0x5A, sizeof info);
    return info;
}

TEST(IsoVolume, PlainImageGivesLabelSerialAndFlagsOfThePrimaryDescriptor) {
    const TempFolder folder("volume_reader");
    const fs::path image = build_iso(folder, "plain.iso", false);
    const Bytes bytes = test_support::read_file(image.string());
    ASSERT_GE(bytes.size(), 20 * kSector);

    VolumeInfo info{};
    ASSERT_EQ(read_volume_file(image.c_str(), info), ERROR_SUCCESS);
    EXPECT_STREQ(info.volumeName, "DATA");
    EXPECT_STREQ(info.fsName, "CDFS");
    EXPECT_EQ(info.fsFlags, 0x80001u);
    EXPECT_EQ(info.serialNumber, lane_serial(bytes, 16 * kSector));
    // The rest of both text fields stays zero, so two reads of one disc compare equal.
    EXPECT_EQ(info.volumeName[4], 0);
    EXPECT_EQ(info.volumeName[255], 0);
    EXPECT_EQ(info.fsName[247], 0);

    // Same result through an open descriptor, and again for a second image with the same dates.
    const int fd = ::open(image.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    VolumeInfo again{};
    EXPECT_EQ(read_volume_fd(fd, again), ERROR_SUCCESS);
    ::close(fd);
    EXPECT_EQ(std::memcmp(&info, &again, sizeof info), 0);
    const fs::path twin = build_iso(folder, "plain-twin.iso", false);
    VolumeInfo twin_info{};
    ASSERT_EQ(read_volume_file(twin.c_str(), twin_info), ERROR_SUCCESS);
    EXPECT_EQ(twin_info.serialNumber, info.serialNumber) << "fixed dates give a stable serial";
}

TEST(IsoVolume, JolietImageUsesTheSupplementaryDescriptor) {
    const TempFolder folder("volume_reader");
    const fs::path image = build_iso(folder, "joliet.iso", true);
    const Bytes bytes = test_support::read_file(image.string());
    const std::size_t joliet = find_descriptor(bytes, 2);
    ASSERT_NE(joliet, 0u);

    VolumeInfo info{};
    ASSERT_EQ(read_volume_file(image.c_str(), info), ERROR_SUCCESS);
    EXPECT_STREQ(info.volumeName, "DATA");
    EXPECT_STREQ(info.fsName, "CDFS");
    EXPECT_EQ(info.fsFlags, 0x80005u);
    EXPECT_EQ(info.serialNumber, lane_serial(bytes, joliet * kSector));
    EXPECT_NE(info.serialNumber, lane_serial(bytes, 16 * kSector));
}

TEST(IsoVolume, JolietLabelIsDecodedFromUcs2) {
    const TempFolder folder("volume_reader");
    Bytes bytes = read_iso(folder, "joliet-src.iso", true);
    const std::size_t joliet = find_descriptor(bytes, 2);
    ASSERT_NE(joliet, 0u);
    // "Disk " U+010D then blanks: the primary label stays DATA, the Joliet one must win.
    const char16_t label[] = u"Disk \u010Dx";
    unsigned char* field = &bytes[joliet * kSector + 40];
    for (int i = 0; i < 16; ++i) {
        const char16_t unit = i < 7 ? label[i] : u' ';
        field[2 * i] = static_cast<unsigned char>(unit >> 8);
        field[2 * i + 1] = static_cast<unsigned char>(unit & 0xFF);
    }
    const std::string image = folder.path("joliet-label.iso");
    ASSERT_TRUE(test_support::write_file(image, bytes));

    VolumeInfo info{};
    ASSERT_EQ(read_volume_file(image.c_str(), info), ERROR_SUCCESS);
    EXPECT_STREQ(info.volumeName, "Disk ?x");
    EXPECT_EQ(info.serialNumber, lane_serial(bytes, joliet * kSector));
}

TEST(IsoVolume, TruncatedOrMissingImagesAreNotReady) {
    const TempFolder folder("volume_reader");
    const Bytes bytes = read_iso(folder, "truncate-src.iso", true);
    const std::string image = folder.path("truncated.iso");
    // Cut before the descriptors and inside the primary one.
    for (std::size_t size : {std::size_t{0}, 10 * kSector, 16 * kSector + 100}) {
        ASSERT_TRUE(
            test_support::write_file(image, Bytes(bytes.begin(), bytes.begin() + std::ptrdiff_t(size))));
        VolumeInfo info = scribbled();
        EXPECT_EQ(read_volume_file(image.c_str(), info), ERROR_NOT_READY) << size;
        const VolumeInfo before = scribbled();
        EXPECT_EQ(std::memcmp(&info, &before, sizeof info), 0) << "info untouched when not ready";
    }
    VolumeInfo info = scribbled();
    EXPECT_EQ(read_volume_file(folder.path("no-such.iso").c_str(), info), ERROR_NOT_READY);
}

// What the descriptors read before the image ends stands: an image cut right behind its set
// terminator reads like the whole image, one cut before the Joliet descriptor like a plain one.
TEST(IsoVolume, ImagesEndingAfterTheDescriptorsAreRead) {
    const TempFolder folder("volume_reader");
    for (bool joliet : {false, true}) {
        const Bytes bytes = read_iso(folder, joliet ? "short-src-j.iso" : "short-src.iso", joliet);
        VolumeInfo whole{};
        MemorySectorSource whole_source(bytes.data(), bytes.size());
        ASSERT_EQ(read_volume_descriptors(whole_source, 0, whole), ERROR_SUCCESS);
        const std::size_t terminator = find_descriptor(bytes, 255);
        ASSERT_NE(terminator, 0u);
        const VolumeInfo cut = read_exact(bytes, (terminator + 1) * kSector);
        EXPECT_EQ(std::memcmp(&cut, &whole, sizeof cut), 0) << "joliet " << joliet;
    }
    const Bytes bytes = read_iso(folder, "short-src-j.iso", true);
    const VolumeInfo primary_only = read_exact(bytes, 17 * kSector);
    EXPECT_STREQ(primary_only.volumeName, "DATA");
    EXPECT_EQ(primary_only.fsFlags, 0x80001u);
    EXPECT_EQ(primary_only.serialNumber, lane_serial(bytes, 16 * kSector));
    // A set terminator alone is a disc without a file system.
    Bytes terminator_only(17 * kSector, 0);
    terminator_only[16 * kSector] = 255;
    std::memcpy(&terminator_only[16 * kSector + 1], "CD001", 5);
    const VolumeInfo empty = read_exact(terminator_only, terminator_only.size());
    EXPECT_STREQ(empty.fsName, "");
}

TEST(IsoVolume, DiscWithoutAFileSystemIsPresentAndEmpty) {
    Bytes blank(40 * kSector, 0);
    MemorySectorSource source(blank.data(), blank.size());
    VolumeInfo info = scribbled();
    ASSERT_EQ(read_volume_descriptors(source, 0, info), ERROR_SUCCESS);
    VolumeInfo zero{};
    EXPECT_EQ(std::memcmp(&info, &zero, sizeof info), 0);
}

TEST(IsoVolume, LastSessionIsReadFromItsOwnStart) {
    const TempFolder folder("volume_reader");
    const Bytes iso = read_iso(folder, "session.iso", false);
    // A blank first session of 100 sectors, then the image as the last session.
    Bytes disc(100 * kSector, 0);
    disc.insert(disc.end(), iso.begin(), iso.end());
    MemorySectorSource source(disc.data(), disc.size());
    VolumeInfo info{};
    ASSERT_EQ(read_volume_descriptors(source, 100, info), ERROR_SUCCESS);
    EXPECT_STREQ(info.volumeName, "DATA");
    EXPECT_EQ(info.serialNumber, lane_serial(iso, 16 * kSector));
    VolumeInfo first{};
    ASSERT_EQ(read_volume_descriptors(source, 0, first), ERROR_SUCCESS);
    EXPECT_STREQ(first.fsName, "");
}

// A small UDF disc built here: recognition sequence, anchor, descriptor sequence, file set descriptor.
struct UdfImage {
    Bytes bytes = Bytes(300 * kSector, 0);
    static constexpr std::size_t kSequence = 32, kPartitionStart = 270, kFsdBlock = 2;

    unsigned char* sector(std::size_t n) { return &bytes[n * kSector]; }
    static void put16(unsigned char* p, unsigned v) {
        test_support::store_le16(p, static_cast<std::uint16_t>(v));
    }
    static void put32(unsigned char* p, std::uint32_t v) { test_support::store_le32(p, v); }
    static void tag(unsigned char* p, unsigned id, std::uint32_t location) {
        put16(p, id);
        put16(p + 2, 2);
        put32(p + 12, location);
        unsigned sum = 0;
        for (int i = 0; i < 16; ++i)
            if (i != 4) sum += p[i];
        p[4] = static_cast<unsigned char>(sum);
    }
    void structure(std::size_t n, const char* id) {
        sector(n)[0] = 0;
        std::memcpy(sector(n) + 1, id, 5);
        sector(n)[6] = 1;
    }

    UdfImage() {
        structure(16, "BEA01");
        structure(17, "NSR02");
        structure(18, "TEA01");
        unsigned char* anchor = sector(256);
        put32(anchor + 16, 4 * kSector);
        put32(anchor + 20, kSequence);
        tag(anchor, 2, 256);

        unsigned char* partition = sector(kSequence);
        put16(partition + 22, 7); // partition number
        put32(partition + 188, kPartitionStart);
        tag(partition, 5, kSequence);

        unsigned char* lvd = sector(kSequence + 1);
        set_label(8, "UDFDISK");
        put32(lvd + 212, kSector);
        put32(lvd + 248, kSector);
        put32(lvd + 252, kFsdBlock);
        put16(lvd + 256, 0); // partition reference 0 -> map 0 -> partition 7
        put32(lvd + 264, 6);
        put32(lvd + 268, 1);
        const unsigned char map[6] = {1, 6, 1, 0, 7, 0};
        std::memcpy(lvd + 440, map, sizeof map);
        tag(lvd, 6, kSequence + 1);

        tag(sector(kSequence + 2), 8, kSequence + 2);

        unsigned char* fsd = sector(kPartitionStart + kFsdBlock);
        for (std::size_t i = 16; i < kSector; ++i)
            fsd[i] = static_cast<unsigned char>(i * 7 + 3);
        tag(fsd, 256, kFsdBlock);
    }
    void set_label(int compression, const std::string& text) {
        unsigned char* lvd = sector(kSequence + 1);
        unsigned char* field = lvd + 84;
        std::memset(field, 0, 128);
        field[0] = static_cast<unsigned char>(compression);
        std::size_t at = 1;
        for (char c : text) {
            if (compression == 16) field[at++] = 0;
            field[at++] = static_cast<unsigned char>(c);
        }
        field[127] = static_cast<unsigned char>(at);
        tag(lvd, 6, kSequence + 1);
    }
    std::uint32_t fsd_serial() const {
        return lane_serial(bytes, (kPartitionStart + kFsdBlock) * kSector, true);
    }
    // Reads the image from a heap block of exactly its size.
    VolumeInfo read(unsigned expected = ERROR_SUCCESS) {
        const std::unique_ptr<std::uint8_t[]> block = test_support::exact_copy(bytes, bytes.size());
        MemorySectorSource source(block.get(), bytes.size());
        VolumeInfo info{};
        EXPECT_EQ(read_volume_descriptors(source, 0, info), expected);
        return info;
    }
};

TEST(UdfVolume, LabelFromLogicalVolumeAndSerialFromFileSet) {
    UdfImage udf;
    const VolumeInfo info = udf.read();
    EXPECT_STREQ(info.volumeName, "UDFDISK");
    EXPECT_STREQ(info.fsName, "UDF");
    EXPECT_EQ(info.fsFlags, 0x80005u);
    EXPECT_EQ(info.serialNumber, udf.fsd_serial());

    udf.set_label(16, "Wide");
    EXPECT_STREQ(udf.read().volumeName, "Wide");
}

TEST(UdfVolume, LabelLengthBeyondTheFieldIsClampedToIt) {
    UdfImage udf;
    udf.set_label(8, std::string(126, 'L'));
    unsigned char* field = udf.sector(UdfImage::kSequence + 1) + 84;
    field[127] = 255; // a used length past the 128-byte field
    UdfImage::tag(udf.sector(UdfImage::kSequence + 1), 6, UdfImage::kSequence + 1);
    const VolumeInfo info = udf.read();
    EXPECT_EQ(std::string(info.volumeName), std::string(126, 'L'));
    udf.set_label(16, std::string(63, 'W'));
    field[127] = 200;
    UdfImage::tag(udf.sector(UdfImage::kSequence + 1), 6, UdfImage::kSequence + 1);
    EXPECT_EQ(std::string(udf.read().volumeName), std::string(63, 'W'));
}

TEST(UdfVolume, BrokenStructuresDegradeWithoutReadingPastTheDisc) {
    {
        UdfImage udf; // file set descriptor with a wrong checksum: no serial
        udf.sector(UdfImage::kPartitionStart + UdfImage::kFsdBlock)[4] ^= 1;
        const VolumeInfo info = udf.read();
        EXPECT_STREQ(info.fsName, "UDF");
        EXPECT_EQ(info.serialNumber, 0u);
    }
    {
        UdfImage udf; // no anchor: neither file system
        udf.sector(256)[0] = 0;
        EXPECT_STREQ(udf.read().fsName, "");
    }
    {
        UdfImage udf; // anchor pointing beyond the end of the disc
        UdfImage::put32(udf.sector(256) + 20, 0xFFFFFFF0u);
        UdfImage::tag(udf.sector(256), 2, 256);
        udf.read(ERROR_NOT_READY);
    }
    {
        UdfImage udf; // image cut before the anchor
        udf.bytes.resize(200 * kSector);
        udf.read(ERROR_NOT_READY);
    }
}

TEST(UdfVolume, IsoDescriptorsTakePrecedenceOnBridgeDiscs) {
    const TempFolder folder("volume_reader");
    const Bytes iso = read_iso(folder, "bridge-src.iso", false);
    UdfImage udf;
    const std::size_t terminator = find_descriptor(iso, 255);
    ASSERT_NE(terminator, 0u);
    // ISO descriptors from 16, then the UDF recognition sequence right after the terminator.
    std::memcpy(udf.sector(16), &iso[16 * kSector], (terminator - 15) * kSector);
    udf.structure(terminator + 1, "BEA01");
    udf.structure(terminator + 2, "NSR03");
    udf.structure(terminator + 3, "TEA01");
    const VolumeInfo info = udf.read();
    EXPECT_STREQ(info.fsName, "CDFS");
    EXPECT_STREQ(info.volumeName, "DATA");
}

} // namespace
