// Reading other model formats: the interchange reader makes a scene, ModelFromScene maps it.
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#include "model/interchange.h"
#include "model/interchange_common.h"
#include "model/interchange_scene.h"

namespace {

// The reader's own message, or a plain one when it gives none.
std::string ReaderReason(const Assimp::Importer& importer) {
    std::string text = importer.GetErrorString();
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text.empty() ? "the file cannot be read as a model" : text;
}

// A binary glTF names the length of its first chunk at byte 12, and the reader allocates and clears
// that much before it looks at the file's size: a few bytes could cost gigabytes. Such a file is
// refused here, before the reader sees it.
bool GlbChunkFits(const uint8_t* head, size_t headBytes, uint64_t fileSize) {
    if (headBytes < 16 || std::memcmp(head, "glTF", 4) != 0) return true;
    uint32_t chunk = 0;
    std::memcpy(&chunk, head + 12, 4); // little-endian, as the whole system is
    return fileSize >= 20 && chunk <= fileSize - 20;
}

constexpr const char* kGlbTooLong = "the GLB's first chunk is longer than the file";

} // namespace

int32_t ImportModel(Model* model, const char* path, std::string* reason) {
    if (!InterchangeCanRead(path))
        return InterchangeFailure(reason, MODEL_ERR_EXTENSION, "no model reader for this file name");
    // The reader's own "unable to open" says nothing of why; the system's reason does.
    struct stat info {};
    const int statError = stat(path, &info) != 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
    if (statError != 0) return InterchangeErrnoFailure(reason, statError);
    if (FILE* probe = std::fopen(path, "rb")) {
        uint8_t head[16];
        const size_t got = std::fread(head, 1, sizeof head, probe);
        std::fclose(probe);
        if (!GlbChunkFits(head, got, uint64_t(info.st_size)))
            return InterchangeFailure(reason, MODEL_ERR_FORMAT, kGlbTooLong);
    } else {
        return InterchangeErrnoFailure(reason, errno);
    }
    try {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(path, InterchangeReadFlags());
        if (!scene) return InterchangeFailure(reason, MODEL_ERR_FORMAT, ReaderReason(importer));
        return ModelFromScene(model, scene, reason);
    } catch (const std::bad_alloc&) {
        return InterchangeFailure(reason, MODEL_ERR_MEMORY, "out of memory");
    } catch (const std::exception& e) {
        return InterchangeFailure(reason, MODEL_ERR_FORMAT, e.what());
    }
}
