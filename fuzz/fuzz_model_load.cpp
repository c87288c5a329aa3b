// Feeds arbitrary bytes to the Korvex reader. A load that succeeds must give a model whose
// counts and storage agree; a load that fails must leave the model as it was.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "model/korvex_file.h"
#include "model/model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Model model;
    ModelInit(&model);
    AddVertex(&model, 1, 2, 3, 4);
    const Model before = model;
    const int32_t status = ModelLoadMemory(&model, data, size);
    if (status != MODEL_OK) {
        if (std::memcmp(&before, &model, sizeof model) != 0) std::abort();
    } else {
        if (KorvexBodySize(model.vertexCount, model.faceCount, model.dummyCount, model.materialCount) >
            size * 1032 + 64) {
            std::abort();
        }
        // Touch every record so that a list shorter than its count shows up under ASan.
        volatile uint8_t sink = 0;
        auto touch = [&sink](const void* p, size_t n) {
            const auto* b = static_cast<const uint8_t*>(p);
            for (size_t i = 0; i < n; i += 16)
                sink = sink ^ b[i];
            if (n) sink = sink ^ b[n - 1];
        };
        touch(model.vertices, size_t(model.vertexCount) * sizeof(Vertex));
        touch(model.faces, size_t(model.faceCount) * sizeof(Face));
        touch(model.dummies, size_t(model.dummyCount) * sizeof(Dummy));
        touch(model.materials, size_t(model.materialCount) * sizeof(Material));
    }
    ModelRelease(&model);
    return 0;
}
