#include "bitmapeditor/bitmap_file_jobs.h"

#include <zlib.h>

#include <cstring>
#include <span>
#include <vector>

#include "platform/atomic_file.h"

namespace bmpedit {

std::int32_t load_taviron_file(Taviron& fresh, const std::string& path, platform::FileProgress& progress) {
    std::vector<std::uint8_t> bytes;
    if (!platform::read_file_with_progress(path.c_str(), bytes, progress)) return TAV_ERR_FAILED;
    return fresh.load_memory(bytes.data(), bytes.size());
}

std::int32_t import_bmp_file(Taviron& fresh, const std::string& path, platform::FileProgress& progress) {
    std::vector<std::uint8_t> bytes;
    if (!platform::read_file_with_progress(path.c_str(), bytes, progress)) return TAV_ERR_FAILED;
    return fresh.import_bmp_memory(bytes.data(), bytes.size());
}

std::int32_t import_png_file(Taviron& fresh, const std::string& path, platform::FileProgress& progress) {
    std::vector<std::uint8_t> bytes;
    if (!platform::read_file_with_progress(path.c_str(), bytes, progress)) return TAV_ERR_FAILED;
    return fresh.import_png_memory(bytes.data(), bytes.size());
}

std::int32_t save_taviron_file(Taviron& bitmap, const std::string& path, bool compressed,
                               platform::FileProgress& progress) {
    if (!Taviron::size_fits(bitmap.width, bitmap.height) ||
        (bitmap.pixels == nullptr && bitmap.width != 0 && bitmap.height != 0))
        return TAV_ERR_ARGUMENT;
    // The record's first 32 bytes are the file header; only the storage word is the file's own.
    std::uint8_t header[32];
    std::memcpy(header, &bitmap, sizeof header);
    const std::int32_t storage = compressed ? 1 : 0;
    std::memcpy(header + 16, &storage, 4);
    const std::size_t bytes = std::size_t(bitmap.width) * std::size_t(bitmap.height) * 4;
    const std::span<const std::uint8_t> pixels(bitmap.pixels, bitmap.pixels ? bytes : 0);
    int zlib_status = 0;
    const bool saved = platform::write_file_atomically(path.c_str(), [&](std::FILE* file) {
        return platform::write_pieces_with_progress(file, header, {pixels}, compressed, progress,
                                                    zlib_status);
    });
    if (!saved)
        return zlib_status == Z_MEM_ERROR ? TAV_ERR_MEMORY
               : zlib_status != 0         ? TAV_ERR_LEVEL
                                          : TAV_ERR_FAILED;
    bitmap.storage = storage;
    return TAV_OK;
}

} // namespace bmpedit
