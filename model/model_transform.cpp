#include "model/model_transform.h"

#include <utility>

namespace {

uint32_t Count(const Model* model) {
    return static_cast<uint32_t>(model->vertexCount);
}

} // namespace

int32_t ModelSwapYZ(Model* model) {
    for (uint32_t i = 0; i < Count(model); ++i)
        std::swap(model->vertices[i].y, model->vertices[i].z);
    return MODEL_OK;
}

int32_t ModelTranslate(Model* model, float dx, float dy, float dz) {
    for (uint32_t i = 0; i < Count(model); ++i) {
        Vertex& v = model->vertices[i];
        v.x = static_cast<float>(double{v.x} + dx);
        v.y = static_cast<float>(double{v.y} + dy);
        v.z = static_cast<float>(double{v.z} + dz);
    }
    return MODEL_OK;
}

int32_t ModelBounds(const Model* model, float* minX, float* maxX, float* minY, float* maxY, float* minZ,
                    float* maxZ) {
    *minX = *minY = *minZ = 1000000.0f;
    *maxX = *maxY = *maxZ = -1000000.0f;
    for (uint32_t i = 0; i < Count(model); ++i) {
        const Vertex& v = model->vertices[i];
        if (v.x < *minX) *minX = v.x;
        if (v.x > *maxX) *maxX = v.x;
        if (v.y < *minY) *minY = v.y;
        if (v.y > *maxY) *maxY = v.y;
        if (v.z < *minZ) *minZ = v.z;
        if (v.z > *maxZ) *maxZ = v.z;
    }
    return MODEL_OK;
}
