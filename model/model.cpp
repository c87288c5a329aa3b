#include "model/model.h"

#include <algorithm>
#include <cstring>

#include "model/model_memory.h"

namespace {

// Replaces a list by zero-filled storage of n records that keeps the first min(count, n).
template <typename Record> int32_t ResizeList(Record*& list, int32_t& count, int32_t n) {
    if (n < 0) return MODEL_ERR_RANGE;
    Record* fresh = nullptr;
    if (n > 0) {
        fresh = static_cast<Record*>(ModelAllocZeroed(static_cast<size_t>(n), sizeof(Record)));
        if (!fresh) return MODEL_ERR_MEMORY;
        const int32_t kept = std::min(count, n);
        if (kept > 0 && list) std::memcpy(fresh, list, static_cast<size_t>(kept) * sizeof(Record));
    }
    ModelFree(list);
    list = fresh;
    count = n;
    return MODEL_OK;
}

// Counts are compared unsigned, so a negative index is out of range too.
bool InRange(int32_t i, int32_t count) {
    return static_cast<uint32_t>(i) < static_cast<uint32_t>(count);
}

void CopyName(char (&field)[12], const char* name) {
    std::memset(field, 0, sizeof field);
    if (name) std::strncpy(field, name, sizeof field - 1);
}

} // namespace

void ModelInit(Model* model) {
    std::memset(model->magic, 0, sizeof model->magic);
    std::memcpy(model->magic, "Korvex", 7);
    model->vertexCount = 0;
    model->faceCount = 0;
    model->compression = 0;
    model->reserved = 0;
    model->dummyCount = 0;
    model->materialCount = 0;
    model->vertices = nullptr;
    model->faces = nullptr;
    model->dummies = nullptr;
    model->materials = nullptr;
}

void ModelRelease(Model* model) {
    ModelFree(model->vertices);
    ModelFree(model->faces);
    ModelFree(model->dummies);
    ModelFree(model->materials);
    model->vertices = nullptr;
    model->faces = nullptr;
    model->dummies = nullptr;
    model->materials = nullptr;
}

int32_t VertexCount(const Model* model) {
    return model->vertexCount;
}
int32_t FaceCount(const Model* model) {
    return model->faceCount;
}
int32_t DummyCount(const Model* model) {
    return model->dummyCount;
}
int32_t MaterialCount(const Model* model) {
    return model->materialCount;
}

int32_t ResizeVertices(Model* model, int32_t n) {
    return ResizeList(model->vertices, model->vertexCount, n);
}
int32_t ResizeFaces(Model* model, int32_t n) {
    return ResizeList(model->faces, model->faceCount, n);
}
int32_t ResizeDummies(Model* model, int32_t n) {
    return ResizeList(model->dummies, model->dummyCount, n);
}
int32_t ResizeMaterials(Model* model, int32_t n) {
    return ResizeList(model->materials, model->materialCount, n);
}

// --- Vertices ---

int32_t SetVertex(Model* model, int32_t i, float x, float y, float z, uint32_t w) {
    if (!InRange(i, model->vertexCount)) return MODEL_ERR_RANGE;
    model->vertices[i] = Vertex{x, y, z, w};
    return MODEL_OK;
}

int32_t AddVertex(Model* model, float x, float y, float z, uint32_t w) {
    if (model->vertexCount == INT32_MAX) return MODEL_ERR_RANGE;
    const int32_t status = ResizeVertices(model, model->vertexCount + 1);
    if (status != MODEL_OK) return status;
    return SetVertex(model, model->vertexCount - 1, x, y, z, w);
}

int32_t GetVertex(const Model* model, int32_t i, float* x, float* y, float* z) {
    if (!InRange(i, model->vertexCount)) return MODEL_ERR_RANGE;
    const Vertex& v = model->vertices[i];
    *x = v.x;
    *y = v.y;
    *z = v.z;
    return MODEL_OK;
}

// --- Faces ---

int32_t SetFace(Model* model, int32_t i, int32_t a, int32_t b, int32_t c, int32_t material) {
    if (!InRange(i, model->faceCount)) return MODEL_ERR_RANGE;
    Face& f = model->faces[i];
    f.a = a;
    f.b = b;
    f.c = c;
    f.material = material;
    return MODEL_OK;
}

int32_t AddFace(Model* model, int32_t a, int32_t b, int32_t c, int32_t material) {
    if (model->faceCount == INT32_MAX) return MODEL_ERR_RANGE;
    const int32_t status = ResizeFaces(model, model->faceCount + 1);
    if (status != MODEL_OK) return status;
    return SetFace(model, model->faceCount - 1, a, b, c, material);
}

int32_t GetFace(const Model* model, int32_t i, int32_t* a, int32_t* b, int32_t* c, int32_t* material) {
    if (!InRange(i, model->faceCount)) return MODEL_ERR_RANGE;
    const Face& f = model->faces[i];
    *a = f.a;
    *b = f.b;
    *c = f.c;
    *material = f.material;
    return MODEL_OK;
}

int32_t SetFaceTexCoords(Model* model, int32_t i, const float coords[6]) {
    if (!InRange(i, model->faceCount)) return MODEL_ERR_RANGE;
    std::memcpy(model->faces[i].texCoords, coords, sizeof model->faces[i].texCoords);
    return MODEL_OK;
}

int32_t GetFaceTexCoords(const Model* model, int32_t i, float coords[6]) {
    if (!InRange(i, model->faceCount)) return MODEL_ERR_RANGE;
    std::memcpy(coords, model->faces[i].texCoords, sizeof model->faces[i].texCoords);
    return MODEL_OK;
}

int32_t FacesUsingVertex(const Model* model, int32_t v, int32_t* list, int32_t max) {
    if (!InRange(v, model->vertexCount)) return MODEL_ERR_RANGE;
    int32_t found = 0;
    const uint32_t count = static_cast<uint32_t>(model->faceCount);
    for (uint32_t i = 0; i < count && found < max; ++i) {
        const Face& f = model->faces[i];
        if (f.a == v || f.b == v || f.c == v) list[found++] = static_cast<int32_t>(i);
    }
    return found;
}

// --- Dummies ---

int32_t SetDummy(Model* model, int32_t i, int32_t id, float x, float y, float z) {
    if (!InRange(i, model->dummyCount)) return MODEL_ERR_RANGE;
    model->dummies[i] = Dummy{id, x, y, z};
    return MODEL_OK;
}

int32_t AddDummy(Model* model, int32_t id, float x, float y, float z) {
    if (model->dummyCount == INT32_MAX) return MODEL_ERR_RANGE;
    const int32_t status = ResizeDummies(model, model->dummyCount + 1);
    if (status != MODEL_OK) return status;
    return SetDummy(model, model->dummyCount - 1, id, x, y, z);
}

int32_t GetDummy(const Model* model, int32_t i, int32_t* id, float* x, float* y, float* z) {
    if (!InRange(i, model->dummyCount)) return MODEL_ERR_RANGE;
    const Dummy& d = model->dummies[i];
    *id = d.id;
    *x = d.x;
    *y = d.y;
    *z = d.z;
    return MODEL_OK;
}

int32_t DummyIdExists(const Model* model, int32_t id) {
    const uint32_t count = static_cast<uint32_t>(model->dummyCount);
    for (uint32_t i = 0; i < count; ++i) {
        if (model->dummies[i].id == id) return 1;
    }
    return 0;
}

// --- Materials ---

int32_t SetMaterial(Model* model, int32_t i, const char* name, const float ambient[4], const float diffuse[4],
                    const float specular[4], const float emission[4], float shininess) {
    if (!InRange(i, model->materialCount)) return MODEL_ERR_RANGE;
    Material& m = model->materials[i];
    CopyName(m.name, name);
    std::memcpy(m.ambient, ambient, sizeof m.ambient);
    std::memcpy(m.diffuse, diffuse, sizeof m.diffuse);
    std::memcpy(m.specular, specular, sizeof m.specular);
    std::memcpy(m.emission, emission, sizeof m.emission);
    m.shininess = shininess;
    return MODEL_OK;
}

int32_t AddMaterial(Model* model, const char* name, const float ambient[4], const float diffuse[4],
                    const float specular[4], const float emission[4], float shininess) {
    if (model->materialCount == INT32_MAX) return MODEL_ERR_RANGE;
    const int32_t status = ResizeMaterials(model, model->materialCount + 1);
    if (status != MODEL_OK) return status;
    return SetMaterial(model, model->materialCount - 1, name, ambient, diffuse, specular, emission,
                       shininess);
}

int32_t AddDefaultMaterial(Model* model, const char* name) {
    return AddMaterial(model, name, kDefaultAmbient, kDefaultDiffuse, kDefaultSpecular, kDefaultEmission,
                       kDefaultShininess);
}

int32_t SetMaterialName(Model* model, int32_t i, const char* name) {
    if (!InRange(i, model->materialCount)) return MODEL_ERR_RANGE;
    CopyName(model->materials[i].name, name);
    return MODEL_OK;
}

int32_t GetMaterialName(const Model* model, int32_t i, char name[12]) {
    if (!InRange(i, model->materialCount)) return MODEL_ERR_RANGE;
    const char* stored = model->materials[i].name;
    // The stored name is NUL-terminated by every setter, but a loaded record may not be.
    const size_t length = strnlen(stored, 11);
    std::memcpy(name, stored, length);
    name[length] = '\0';
    return MODEL_OK;
}

int32_t GetMaterial(const Model* model, int32_t i, float ambient[4], float diffuse[4], float specular[4],
                    float emission[4], float* shininess) {
    if (!InRange(i, model->materialCount)) return MODEL_ERR_RANGE;
    const Material& m = model->materials[i];
    std::memcpy(ambient, m.ambient, sizeof m.ambient);
    std::memcpy(diffuse, m.diffuse, sizeof m.diffuse);
    std::memcpy(specular, m.specular, sizeof m.specular);
    std::memcpy(emission, m.emission, sizeof m.emission);
    *shininess = m.shininess;
    return MODEL_OK;
}

int32_t SetMaterialTexture(Model* model, int32_t i, int32_t texture) {
    if (!InRange(i, model->materialCount)) return MODEL_ERR_RANGE;
    model->materials[i].texture = texture;
    return MODEL_OK;
}

int32_t GetMaterialTexture(const Model* model, int32_t i) {
    if (!InRange(i, model->materialCount)) return MODEL_ERR_RANGE;
    return model->materials[i].texture;
}
