#include "tools/korvex_stream.h"

#include <cstring>

namespace {

bool WriteAll(FILE* out, const void* data, size_t bytes) {
    return bytes == 0 || std::fwrite(data, 1, bytes, out) == bytes;
}

} // namespace

bool KorvexWriteStream(const Model& model, FILE* out) {
    unsigned char header[kModelHeaderSize];
    std::memcpy(header, &model, kModelHeaderSize);
    const int32_t plain = 0;
    std::memcpy(header + offsetof(Model, compression), &plain, sizeof plain);
    return WriteAll(out, header, sizeof header) &&
           WriteAll(out, model.vertices, size_t(model.vertexCount) * sizeof(Vertex)) &&
           WriteAll(out, model.faces, size_t(model.faceCount) * sizeof(Face)) &&
           WriteAll(out, model.dummies, size_t(model.dummyCount) * sizeof(Dummy)) &&
           WriteAll(out, model.materials, size_t(model.materialCount) * sizeof(Material)) &&
           std::fflush(out) == 0;
}
