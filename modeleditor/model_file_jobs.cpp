#include "modeleditor/model_file_jobs.h"

#include "model/asc_import.h"
#include "model/korvex_file.h"
#include "platform/atomic_file.h"

#include <zlib.h>

#include <span>
#include <vector>

namespace editor {
namespace {

template <typename Record> std::span<const std::uint8_t> BytesOf(const Record* list, std::int32_t count) {
    if (!list || count <= 0) return {};
    return {reinterpret_cast<const std::uint8_t*>(list), sizeof(Record) * std::size_t(count)};
}

} // namespace

std::int32_t LoadKorvexFile(Model* fresh, const std::string& path, platform::FileProgress& progress) {
    std::vector<std::uint8_t> bytes;
    if (!platform::read_file_with_progress(path.c_str(), bytes, progress)) return MODEL_ERR_OPEN;
    return ModelLoadMemory(fresh, bytes.data(), bytes.size());
}

std::int32_t ImportAscFile(Model* model, const std::string& path, bool advanced,
                           platform::FileProgress& progress) {
    std::vector<std::uint8_t> bytes;
    if (!platform::read_file_with_progress(path.c_str(), bytes, progress)) return MODEL_ERR_OPEN;
    const char* text = reinterpret_cast<const char*>(bytes.data());
    return advanced ? ImportAscAdvancedFromMemory(model, text, bytes.size())
                    : ImportAscFromMemory(model, text, bytes.size());
}

std::int32_t SaveKorvexFile(Model* model, const std::string& path, bool compressed,
                            platform::FileProgress& progress) {
    // As the library does: a target that must not be replaced is refused before anything changes,
    // and the compression word changes once the temporary file exists.
    if (!platform::replaceable_file(path.c_str())) return MODEL_ERR_OPEN;
    int zlibStatus = 0;
    const bool saved = platform::write_file_atomically(path.c_str(), [&](std::FILE* file) {
        model->compression = compressed ? 1 : 0;
        const std::span<const std::uint8_t> header(reinterpret_cast<const std::uint8_t*>(model),
                                                   kModelHeaderSize);
        return platform::write_pieces_with_progress(
            file, header,
            {BytesOf(model->vertices, model->vertexCount), BytesOf(model->faces, model->faceCount),
             BytesOf(model->dummies, model->dummyCount), BytesOf(model->materials, model->materialCount)},
            compressed, progress, zlibStatus);
    });
    if (saved) return MODEL_OK;
    if (zlibStatus == Z_MEM_ERROR) return MODEL_ERR_MEMORY;
    if (zlibStatus != 0) return MODEL_ERR_PARAMS;
    return MODEL_ERR_OPEN;
}

} // namespace editor
