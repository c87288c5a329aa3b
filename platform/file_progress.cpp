#include "platform/file_progress.h"

#include <zlib.h>

#include <algorithm>
#include <new>

namespace platform {
namespace {

// Bytes handed to read, write or deflate at a time: small enough for a lively progress bar.
constexpr std::size_t kChunk = std::size_t(1) << 20;

bool write_all(std::FILE* file, const std::uint8_t* data, std::size_t bytes) {
    return bytes == 0 || std::fwrite(data, 1, bytes, file) == bytes;
}

// deflate gives the same stream whether its input comes in one piece or in many, as long as
// nothing is flushed before the end.
bool deflate_pieces(std::FILE* file, std::initializer_list<std::span<const std::uint8_t>> pieces,
                    FileProgress& progress, int& zlib_status) {
    std::vector<std::uint8_t> out;
    try {
        out.resize(kChunk);
    } catch (const std::bad_alloc&) {
        zlib_status = Z_MEM_ERROR;
        return false;
    }
    z_stream stream{};
    zlib_status = deflateInit(&stream, 9);
    if (zlib_status != Z_OK) return false;
    bool ok = true;
    auto pump = [&](int flush) {
        do {
            stream.next_out = out.data();
            stream.avail_out = static_cast<uInt>(out.size());
            const int ret = deflate(&stream, flush);
            if (ret == Z_STREAM_ERROR) {
                zlib_status = ret;
                return false;
            }
            if (!write_all(file, out.data(), out.size() - stream.avail_out)) return false;
        } while (stream.avail_out == 0);
        return true;
    };
    for (const auto& piece : pieces) {
        for (std::size_t at = 0; ok && at < piece.size(); at += kChunk) {
            const std::size_t n = std::min(kChunk, piece.size() - at);
            stream.next_in = const_cast<Bytef*>(piece.data() + at);
            stream.avail_in = static_cast<uInt>(n);
            ok = pump(Z_NO_FLUSH);
            progress.done += n;
        }
    }
    if (ok) {
        stream.next_in = nullptr;
        stream.avail_in = 0;
        int ret = Z_OK;
        while (ok && ret != Z_STREAM_END) {
            stream.next_out = out.data();
            stream.avail_out = static_cast<uInt>(out.size());
            ret = deflate(&stream, Z_FINISH);
            if (ret != Z_OK && ret != Z_STREAM_END && ret != Z_BUF_ERROR) {
                zlib_status = ret;
                ok = false;
            } else {
                ok = write_all(file, out.data(), out.size() - stream.avail_out);
            }
        }
    }
    deflateEnd(&stream);
    return ok;
}

} // namespace

bool read_file_with_progress(const char* path, std::vector<std::uint8_t>& out, FileProgress& progress) {
    out.clear();
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long length = ok ? std::ftell(file) : -1;
    ok = ok && length >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
    try {
        if (ok) out.resize(static_cast<std::size_t>(length));
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    progress.total = ok ? static_cast<std::uint64_t>(length) : 0;
    for (std::size_t at = 0; ok && at < out.size(); at += kChunk) {
        const std::size_t n = std::min(kChunk, out.size() - at);
        // A file that shrank while it was read keeps what was there.
        const std::size_t got = std::fread(out.data() + at, 1, n, file);
        if (got < n) {
            ok = !std::ferror(file);
            out.resize(at + got);
        }
        progress.done += got;
    }
    std::fclose(file);
    if (!ok) out.clear();
    return ok;
}

bool write_pieces_with_progress(std::FILE* file, std::span<const std::uint8_t> header,
                                std::initializer_list<std::span<const std::uint8_t>> pieces, bool compressed,
                                FileProgress& progress, int& zlib_status) {
    zlib_status = 0;
    std::uint64_t total = 0;
    for (const auto& piece : pieces)
        total += piece.size();
    progress.total = total;
    if (!write_all(file, header.data(), header.size())) return false;
    if (compressed) return deflate_pieces(file, pieces, progress, zlib_status);
    for (const auto& piece : pieces) {
        for (std::size_t at = 0; at < piece.size(); at += kChunk) {
            const std::size_t n = std::min(kChunk, piece.size() - at);
            if (!write_all(file, piece.data() + at, n)) return false;
            progress.done += n;
        }
    }
    return true;
}

} // namespace platform
