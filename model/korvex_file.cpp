#include "model/korvex_file.h"

#include <zlib.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <type_traits>

#include "model/model_memory.h"
#include "platform/atomic_file.h"
#include "platform/read_file.h"

namespace {

constexpr char kMagic[7] = {'K', 'o', 'r', 'v', 'e', 'x', '\0'};

// Deflate cannot expand data by more than this factor (plus a small constant), so a stream of
// S bytes can never justify a body larger than kMaxInflateRatio * S + kInflateSlack.
constexpr uint64_t kMaxInflateRatio = 1032;
constexpr uint64_t kInflateSlack = 64;

// zlib counts in unsigned int; large blocks are handed over in pieces of this size.
constexpr size_t kZlibChunk = size_t{1} << 30;

struct Block {
    void* data;
    size_t bytes;
};

// The four record blocks of a model in body order.
struct BodyBlocks {
    Block blocks[4];
};

BodyBlocks BlocksOf(const Model& m) {
    return {{{m.vertices, static_cast<size_t>(m.vertexCount) * sizeof(Vertex)},
             {m.faces, static_cast<size_t>(m.faceCount) * sizeof(Face)},
             {m.dummies, static_cast<size_t>(m.dummyCount) * sizeof(Dummy)},
             {m.materials, static_cast<size_t>(m.materialCount) * sizeof(Material)}}};
}

uint64_t BodySizeOf(const Model& m) {
    return KorvexBodySize(static_cast<uint32_t>(m.vertexCount), static_cast<uint32_t>(m.faceCount),
                          static_cast<uint32_t>(m.dummyCount), static_cast<uint32_t>(m.materialCount));
}

// Takes the header from the first bytes of a file of fileLength bytes into fresh (lists null)
// and checks that the file can hold the body the header announces.
int32_t CheckHeader(const uint8_t* head, size_t headBytes, uint64_t fileLength, Model* fresh) {
    if (headBytes < sizeof kMagic || std::memcmp(head, kMagic, sizeof kMagic) != 0) {
        return MODEL_ERR_MAGIC;
    }
    if (headBytes < kModelHeaderSize || fileLength < kModelHeaderSize) return MODEL_ERR_RANGE;
    ModelInit(fresh);
    std::memcpy(static_cast<void*>(fresh), head, kModelHeaderSize);
    if (fresh->compression != 0 && fresh->compression != 1) return MODEL_ERR_COMPRESSION;
    // Counts are unsigned in the file; the model keeps them as signed 32-bit numbers.
    if (fresh->vertexCount < 0 || fresh->faceCount < 0 || fresh->dummyCount < 0 || fresh->materialCount < 0) {
        return MODEL_ERR_RANGE;
    }
    const uint64_t body = BodySizeOf(*fresh);
    const uint64_t rest = fileLength - kModelHeaderSize;
    if (fresh->compression == 0) {
        if (body > rest) return MODEL_ERR_RANGE;
    } else {
        // Checked by division so that the bound itself cannot overflow.
        if (rest < (UINT64_MAX - kInflateSlack) / kMaxInflateRatio &&
            body > kMaxInflateRatio * rest + kInflateSlack) {
            return MODEL_ERR_RANGE;
        }
    }
    if (body > SIZE_MAX) return MODEL_ERR_MEMORY;
    return MODEL_OK;
}

void FreeLists(Model* m) {
    ModelRelease(m);
}

// Gives every list of fresh zero-filled storage of its count; on failure fresh holds no storage.
int32_t AllocateLists(Model* fresh) {
    bool ok = true;
    auto take = [&ok](auto*& list, int32_t count) {
        using Record = std::remove_reference_t<decltype(*list)>;
        list = nullptr;
        if (ok && count > 0) {
            list = static_cast<Record*>(ModelAllocZeroed(static_cast<size_t>(count), sizeof(Record)));
            ok = list != nullptr;
        }
    };
    take(fresh->vertices, fresh->vertexCount);
    take(fresh->faces, fresh->faceCount);
    take(fresh->dummies, fresh->dummyCount);
    take(fresh->materials, fresh->materialCount);
    if (!ok) {
        FreeLists(fresh);
        return MODEL_ERR_MEMORY;
    }
    return MODEL_OK;
}

// Frees the model's old lists and moves fresh (header and lists) into it.
void Commit(Model* model, const Model& fresh) {
    ModelRelease(model);
    *model = fresh;
}

int32_t MapInflateError(int ret) {
    if (ret == Z_MEM_ERROR) return MODEL_ERR_MEMORY;
    return MODEL_ERR_DATA;
}

// Inflates one zlib stream straight into the four blocks. The stream must end exactly when
// they are full: more output gives -4, less (or input that ends first) gives -10.
int32_t InflateInto(const uint8_t* stream, size_t streamBytes, const BodyBlocks& body) {
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return MODEL_ERR_MEMORY;
    const uint8_t* in = stream;
    size_t inLeft = streamBytes;
    auto feed = [&]() {
        if (zs.avail_in == 0 && inLeft > 0) {
            const size_t piece = inLeft < kZlibChunk ? inLeft : kZlibChunk;
            zs.next_in = const_cast<Bytef*>(in);
            zs.avail_in = static_cast<uInt>(piece);
            in += piece;
            inLeft -= piece;
        }
    };
    auto inputGone = [&]() { return zs.avail_in == 0 && inLeft == 0; };

    int32_t status = MODEL_OK;
    bool ended = false;
    for (const Block& block : body.blocks) {
        auto* out = static_cast<uint8_t*>(block.data);
        size_t outLeft = block.bytes;
        while (outLeft > 0 && status == MODEL_OK && !ended) {
            feed();
            const size_t piece = outLeft < kZlibChunk ? outLeft : kZlibChunk;
            zs.next_out = out;
            zs.avail_out = static_cast<uInt>(piece);
            const int ret = inflate(&zs, Z_NO_FLUSH);
            const size_t produced = piece - zs.avail_out;
            out += produced;
            outLeft -= produced;
            if (ret == Z_STREAM_END) {
                ended = true;
                if (outLeft > 0) status = MODEL_ERR_RANGE;
            } else if (ret == Z_BUF_ERROR) {
                // No progress with room to write: only running out of input can cause that.
                status = inputGone() ? MODEL_ERR_RANGE : MODEL_ERR_DATA;
            } else if (ret != Z_OK) {
                status = MapInflateError(ret);
            }
        }
        if (ended && outLeft > 0) status = MODEL_ERR_RANGE;
        if (status != MODEL_OK) break;
    }
    // The blocks are full; the stream may only have its end (and check value) left.
    while (status == MODEL_OK && !ended) {
        feed();
        uint8_t extra;
        zs.next_out = &extra;
        zs.avail_out = 1;
        const int ret = inflate(&zs, Z_NO_FLUSH);
        if (zs.avail_out == 0) {
            status = MODEL_ERR_BUFFER;
        } else if (ret == Z_STREAM_END) {
            ended = true;
        } else if (ret == Z_BUF_ERROR) {
            status = inputGone() ? MODEL_ERR_RANGE : MODEL_ERR_DATA;
        } else if (ret != Z_OK) {
            status = MapInflateError(ret);
        }
    }
    inflateEnd(&zs);
    return status;
}

// Fills fresh's lists from the body bytes that follow a header already checked.
int32_t FillFromMemory(const uint8_t* body, size_t bodyBytes, Model* fresh) {
    const BodyBlocks blocks = BlocksOf(*fresh);
    if (fresh->compression == 1) return InflateInto(body, bodyBytes, blocks);
    for (const Block& block : blocks.blocks) {
        if (block.bytes == 0) continue;
        std::memcpy(block.data, body, block.bytes);
        body += block.bytes;
    }
    return MODEL_OK;
}

bool ReadExactly(FILE* file, void* data, size_t bytes) {
    return bytes == 0 || std::fread(data, 1, bytes, file) == bytes;
}

int32_t LoadFromFile(FILE* file, uint64_t length, Model* model) {
    uint8_t head[kModelHeaderSize];
    const size_t headBytes = std::fread(head, 1, sizeof head, file);
    if (std::ferror(file)) return MODEL_ERR_OPEN;

    Model fresh;
    int32_t status = CheckHeader(head, headBytes, length, &fresh);
    if (status != MODEL_OK) return status;
    status = AllocateLists(&fresh);
    if (status != MODEL_OK) return status;

    if (fresh.compression == 0) {
        // Plain records go straight from the file into their lists.
        for (const Block& block : BlocksOf(fresh).blocks) {
            if (!ReadExactly(file, block.data, block.bytes)) {
                // The file shrank after its length was taken, or a read failed.
                status = std::ferror(file) ? MODEL_ERR_OPEN : MODEL_ERR_RANGE;
                break;
            }
        }
    } else {
        const size_t streamBytes = static_cast<size_t>(length) - kModelHeaderSize;
        auto* stream = static_cast<uint8_t*>(ModelAllocZeroed(streamBytes ? streamBytes : 1, 1));
        if (!stream) {
            status = MODEL_ERR_MEMORY;
        } else {
            if (!ReadExactly(file, stream, streamBytes)) {
                status = std::ferror(file) ? MODEL_ERR_OPEN : MODEL_ERR_RANGE;
            } else {
                status = InflateInto(stream, streamBytes, BlocksOf(fresh));
            }
            ModelFree(stream);
        }
    }
    if (status != MODEL_OK) {
        FreeLists(&fresh);
        return status;
    }
    Commit(model, fresh);
    return MODEL_OK;
}

// --- Saving ---

bool WriteAll(FILE* file, const void* data, size_t bytes) {
    return bytes == 0 || std::fwrite(data, 1, bytes, file) == bytes;
}

// Writes a file atomically: write(model, file) fills a temporary beside path, which is then
// flushed, synced and renamed over path. Any failure removes the temporary and keeps errno.
template <typename Writer>
int32_t SaveAtomically(Model* model, const char* path, int32_t compression, Writer write) {
    // A target that exists but could not be opened for writing (a directory, a read-only file)
    // is refused before anything changes, the model's compression field included.
    if (!platform::replaceable_file(path)) return MODEL_ERR_OPEN;
    int32_t status = MODEL_ERR_OPEN;
    const bool saved = platform::write_file_atomically(path, [&](FILE* file) {
        model->compression = compression;
        status = write(file);
        return status == MODEL_OK;
    });
    if (saved) return MODEL_OK;
    return status == MODEL_OK ? MODEL_ERR_OPEN : status;
}

int32_t MapCompressError(int ret) {
    switch (ret) {
    case Z_MEM_ERROR:
        return MODEL_ERR_MEMORY;
    case Z_BUF_ERROR:
        return MODEL_ERR_BUFFER;
    default:
        return MODEL_ERR_PARAMS;
    }
}

} // namespace

uint64_t KorvexBodySize(uint32_t vertexCount, uint32_t faceCount, uint32_t dummyCount,
                        uint32_t materialCount) {
    return 16 * (uint64_t{vertexCount} + 3 * uint64_t{faceCount} + uint64_t{dummyCount} +
                 8 * uint64_t{materialCount});
}

int32_t ModelLoadMemory(Model* model, const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    Model fresh;
    int32_t status = CheckHeader(bytes, size, size, &fresh);
    if (status != MODEL_OK) return status;
    status = AllocateLists(&fresh);
    if (status != MODEL_OK) return status;
    status = FillFromMemory(bytes + kModelHeaderSize, size - kModelHeaderSize, &fresh);
    if (status != MODEL_OK) {
        FreeLists(&fresh);
        return status;
    }
    Commit(model, fresh);
    return MODEL_OK;
}

int32_t ModelLoad(Model* model, const char* path) {
    uint64_t length = 0;
    const platform::FilePtr file = platform::open_regular_file(path, length);
    if (!file) return MODEL_ERR_OPEN;
    return LoadFromFile(file.get(), length, model);
}

int32_t ModelSave(Model* model, const char* path) {
    return SaveAtomically(model, path, 0, [model](FILE* file) -> int32_t {
        if (!WriteAll(file, model, kModelHeaderSize)) return MODEL_ERR_OPEN;
        for (const Block& block : BlocksOf(*model).blocks) {
            if (!WriteAll(file, block.data, block.bytes)) return MODEL_ERR_OPEN;
        }
        return MODEL_OK;
    });
}

int32_t ModelSaveCompressed(Model* model, const char* path) {
    return SaveAtomically(model, path, 1, [model](FILE* file) -> int32_t {
        const uint64_t body = BodySizeOf(*model);
        // Capacity as the format has always used it: trunc(B * 1.001) + 32, above deflate's bound.
        const uint64_t capacity = static_cast<uint64_t>(static_cast<double>(body) * 1.001) + 32;
        if (body > SIZE_MAX || capacity > SIZE_MAX) return MODEL_ERR_MEMORY;
        auto* stream = static_cast<uint8_t*>(ModelAllocZeroed(capacity, 1));
        if (!stream) return MODEL_ERR_MEMORY;
        auto* plain = static_cast<uint8_t*>(ModelAllocZeroed(body ? body : 1, 1));
        if (!plain) {
            ModelFree(stream);
            return MODEL_ERR_MEMORY;
        }
        uint8_t* at = plain;
        for (const Block& block : BlocksOf(*model).blocks) {
            if (block.bytes == 0) continue;
            std::memcpy(at, block.data, block.bytes);
            at += block.bytes;
        }
        uLongf streamBytes = static_cast<uLongf>(capacity);
        const int ret = compress2(stream, &streamBytes, plain, static_cast<uLong>(body), 9);
        ModelFree(plain);
        int32_t status = MODEL_OK;
        if (ret != Z_OK) {
            status = MapCompressError(ret);
        } else if (!WriteAll(file, model, kModelHeaderSize) || !WriteAll(file, stream, streamBytes)) {
            status = MODEL_ERR_OPEN;
        }
        ModelFree(stream);
        return status;
    });
}
