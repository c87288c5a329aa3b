// Feeds arbitrary bytes through the interchange reader's in-memory path and the mapping to a
// Korvex model. The first byte picks the format hint, the rest is the file. An import that
// succeeds must give a model whose faces name existing vertices and materials and whose names
// are terminated; one that fails must leave the model as it was.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sanitizer/lsan_interface.h>

#include "model/interchange.h"
#include "model/model.h"

namespace {

constexpr const char* kHints[] = {"obj", "gltf", "glb", "ply", "stl", "fbx", "3ds", "dae", "off", ""};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const char* hint = kHints[data[0] % (sizeof kHints / sizeof kHints[0])];
    Model model;
    ModelInit(&model);
    AddVertex(&model, 1, 2, 3, 4);
    const Model before = model;
    const Vertex kept = model.vertices[0];
    std::string reason;
    int32_t status;
    {
        // Some of Assimp's own readers leak on broken input (its STL reader among them); those
        // leaks are not ours to mend, and the mapping's unit tests run under LeakSanitizer.
        __lsan::ScopedDisabler libraryLeaks;
        status = ImportModelMemory(&model, data + 1, size - 1, hint, &reason);
    }
    if (status != MODEL_OK) {
        if (std::memcmp(&before, &model, sizeof model) != 0) std::abort();
        if (std::memcmp(&kept, model.vertices, sizeof kept) != 0) std::abort();
        if (reason.empty()) std::abort();
    } else {
        for (int32_t f = 0; f < model.faceCount; ++f) {
            const Face& face = model.faces[f];
            for (int32_t v : {face.a, face.b, face.c})
                if (v < 0 || v >= model.vertexCount) std::abort();
            if (face.material < 0 || face.material >= model.materialCount) std::abort();
        }
        for (int32_t m = 0; m < model.materialCount; ++m) {
            const Material& mat = model.materials[m];
            if (mat.name[11] != '\0') std::abort();
            if (!(mat.shininess >= 0 && mat.shininess <= 128)) std::abort();
        }
        if (model.dummyCount < 0 || (model.dummyCount > 0 && !model.dummies)) std::abort();
    }
    ModelRelease(&model);
    return 0;
}
