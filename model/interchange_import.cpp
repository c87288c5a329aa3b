// Reading other model formats: the interchange reader makes a scene, ModelFromScene maps it.
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <strings.h>
#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>
#include <vector>

#include "model/interchange.h"
#include "model/interchange_common.h"
#include "model/interchange_formats.h"
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
// that much before it looks at the file's size: a few bytes could cost gigabytes.
bool GlbChunkFits(const std::vector<uint8_t>& head, uint64_t fileSize) {
    if (head.size() < 16 || std::memcmp(head.data(), "glTF", 4) != 0) return true;
    uint32_t chunk = 0;
    std::memcpy(&chunk, head.data() + 12, 4); // little-endian, as the whole system is
    return fileSize >= 20 && chunk <= fileSize - 20;
}

// The PLY reader takes a file whose first three bytes are "ply" in any case, whatever follows
// them. A file of another name counts as PLY only when a lower-case "ply" and a space or line end
// open it, so that a binary STL whose free-text header starts "PLY..." still reaches its reader.
bool LooksLikePly(std::string_view text, bool namedPly) {
    if (namedPly) return text.size() >= 3 && strncasecmp(text.data(), "ply", 3) == 0;
    return text.size() >= 4 && text.starts_with("ply") && std::isspace(static_cast<unsigned char>(text[3]));
}

// The PLY reader never returns from a header without its "end_header" line (the word alone on
// its line); the header must end within the first kHeadBytes.
bool PlyHeaderEnds(const std::vector<uint8_t>& head, bool namedPly) {
    const std::string_view text(reinterpret_cast<const char*>(head.data()), head.size());
    if (!LooksLikePly(text, namedPly)) return true;
    for (size_t at = text.find("end_header"); at != std::string_view::npos;
         at = text.find("end_header", at + 1))
        if ((text[at - 1] == '\n' || text[at - 1] == '\r') && at + 10 < text.size() &&
            std::isspace(static_cast<unsigned char>(text[at + 10])))
            return true;
    return false;
}

constexpr size_t kHeadBytes = 64 * 1024;

// Files the reader would choke on (allocate without bound, or never finish) are refused here,
// before it sees them: the reason, or null.
const char* RefusalBeforeReading(const std::vector<uint8_t>& head, uint64_t fileSize, bool namedPly) {
    if (!GlbChunkFits(head, fileSize)) return "the GLB's first chunk is longer than the file";
    if (!PlyHeaderEnds(head, namedPly)) return "the PLY header has no end_header line in its first 64 KiB";
    return nullptr;
}

} // namespace

int32_t ImportModel(Model* model, const char* path, std::string* reason) {
    if (!InterchangeCanRead(path))
        return InterchangeFailure(reason, MODEL_ERR_EXTENSION, "no model reader for this file name");
    // The reader's own "unable to open" says nothing of why; the system's reason does.
    struct stat info {};
    const int statError = stat(path, &info) != 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
    if (statError != 0) return InterchangeErrnoFailure(reason, statError);
    if (FILE* probe = std::fopen(path, "rb")) {
        std::vector<uint8_t> head(kHeadBytes);
        head.resize(std::fread(head.data(), 1, head.size(), probe));
        std::fclose(probe);
        if (const char* refusal =
                RefusalBeforeReading(head, uint64_t(info.st_size), InterchangeExtension(path) == "ply"))
            return InterchangeFailure(reason, MODEL_ERR_FORMAT, refusal);
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
