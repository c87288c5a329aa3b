#pragma once
// Shared by the ASC import fuzz targets: runs one importer on arbitrary bytes over a model
// that already holds something, and aborts when the result breaks the import's promises.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/asc_lines.h"
#include "model/model.h"

namespace asc_fuzz {

inline std::string Snapshot(const Model& m) {
    std::string s(reinterpret_cast<const char*>(&m), sizeof m);
    auto add = [&s](const void* p, size_t n) {
        if (n != 0) s.append(static_cast<const char*>(p), n);
    };
    add(m.vertices, sizeof(Vertex) * static_cast<size_t>(m.vertexCount));
    add(m.faces, sizeof(Face) * static_cast<size_t>(m.faceCount));
    add(m.dummies, sizeof(Dummy) * static_cast<size_t>(m.dummyCount));
    add(m.materials, sizeof(Material) * static_cast<size_t>(m.materialCount));
    return s;
}

template <typename Import> void Run(const uint8_t* data, size_t size, Import import, bool advanced) {
    Model model;
    ModelInit(&model);
    AddVertex(&model, 1, 2, 3, 0);
    AddFace(&model, 0, 0, 0, 0);
    AddDummy(&model, 7, 1, 1, 1);
    if (size > 0 && (data[0] & 1)) AddDefaultMaterial(&model, "Existing");
    const std::string before = Snapshot(model);
    const Dummy dummy = model.dummies[0];

    const int32_t status = import(&model, reinterpret_cast<const char*>(data), size);
    if (status != MODEL_OK) {
        // Only the simple importer refuses counts; the advanced one stops before them.
        if (status != MODEL_ERR_MEMORY && (advanced || status != MODEL_ERR_RANGE)) std::abort();
        if (Snapshot(model) != before) std::abort();
    } else {
        if (model.vertexCount < 0 || model.faceCount < 0 || model.materialCount < 0) std::abort();
        if ((model.vertexCount > 0) != (model.vertices != nullptr)) std::abort();
        if ((model.faceCount > 0) != (model.faces != nullptr)) std::abort();
        if ((model.materialCount > 0) != (model.materials != nullptr)) std::abort();
        // Every record read needs a content line of its own.
        const uint64_t records =
            static_cast<uint64_t>(model.vertexCount) + static_cast<uint64_t>(model.faceCount);
        if (Snapshot(model) != before &&
            records > AscContentLines(reinterpret_cast<const char*>(data), size)) {
            std::abort();
        }
        if (model.dummyCount != 1 || std::memcmp(&dummy, model.dummies, sizeof dummy) != 0) std::abort();
        for (int32_t i = 0; i < model.faceCount; ++i) {
            const Face& f = model.faces[i];
            for (float t : f.texCoords) {
                if (t != 0.0f) std::abort();
            }
            if (advanced && (f.material < 0 || f.material >= model.materialCount)) std::abort();
        }
        for (int32_t i = 0; i < model.vertexCount; ++i) {
            if (model.vertices[i].w != 0) std::abort();
        }
        if (advanced && std::strcmp(model.materials[0].name, "Default") != 0) std::abort();
        for (int32_t i = 0; i < model.materialCount; ++i) {
            if (std::memchr(model.materials[i].name, '\0', sizeof model.materials[i].name) == nullptr) {
                std::abort();
            }
        }
    }
    ModelRelease(&model);
}

} // namespace asc_fuzz
