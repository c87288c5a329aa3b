#pragma once
// For tests that work on files: a private temporary folder, whole-file reads and writes, and the
// little-endian byte builders the file formats are pinned with.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace test_support {

using Bytes = std::vector<std::uint8_t>;

// A fresh, empty folder under the system's temporary folder, named after the process and the test
// that makes it; removed with everything in it when the object goes.
class TempFolder {
  public:
    explicit TempFolder(const std::string& prefix = "kx_test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& dir() const { return dir_; }
    // The path of `name` inside the folder.
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    // How many entries the folder holds now.
    std::size_t entry_count() const;

  private:
    std::filesystem::path dir_;
};

// The whole file; empty when it cannot be read.
Bytes read_file(const std::string& path);
std::string read_text(const std::string& path);
// Replaces the file with `bytes`; false when it cannot be written.
bool write_file(const std::string& path, const Bytes& bytes);

// Appends `value` in little-endian order.
void put_le16(Bytes& bytes, std::uint16_t value);
void put_le32(Bytes& bytes, std::uint32_t value);
// `a` followed by `b`.
Bytes concat(Bytes a, const Bytes& b);

// Writes `value` in little-endian order over the bytes at `at`, and reads it back.
void store_le16(std::uint8_t* at, std::uint16_t value);
void store_le32(std::uint8_t* at, std::uint32_t value);
std::uint32_t load_le32(const std::uint8_t* at);

// The first `size` bytes of `bytes` in a heap block of exactly that size, so that a read past its
// end is caught under ASan (a vector may have spare capacity behind its end).
std::unique_ptr<std::uint8_t[]> exact_copy(const Bytes& bytes, std::size_t size);

} // namespace test_support
