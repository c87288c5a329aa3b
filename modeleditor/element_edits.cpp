#include "modeleditor/element_edits.h"

#include <cstdint>
#include <cstring>

namespace editor {
namespace {

bool DeleteVertex(Model* model, int32_t index) {
    int32_t users[256];
    if (FacesUsingVertex(model, index, users, 256) != 0) return false;
    const int32_t count = VertexCount(model);
    for (int32_t i = index; i < count - 1; ++i) {
        float x, y, z;
        GetVertex(model, i + 1, &x, &y, &z);
        SetVertex(model, i, x, y, z, 0);
    }
    if (ResizeVertices(model, count - 1) != MODEL_OK) return false;
    // Later vertices moved down one place; their faces follow them.
    for (int32_t f = 0; f < FaceCount(model); ++f) {
        int32_t corner[3], material;
        GetFace(model, f, &corner[0], &corner[1], &corner[2], &material);
        for (int32_t& c : corner)
            if (c > index) --c;
        SetFace(model, f, corner[0], corner[1], corner[2], material);
    }
    return true;
}

bool DeleteDummy(Model* model, int32_t index) {
    const int32_t count = DummyCount(model);
    for (int32_t i = index; i < count - 1; ++i) {
        int32_t id;
        float x, y, z;
        GetDummy(model, i + 1, &id, &x, &y, &z);
        SetDummy(model, i, id, x, y, z);
    }
    return ResizeDummies(model, count - 1) == MODEL_OK;
}

bool DeleteFace(Model* model, int32_t index) {
    const int32_t count = FaceCount(model);
    for (int32_t i = index; i < count - 1; ++i)
        std::memcpy(&model->faces[i], &model->faces[i + 1], sizeof(Face));
    return ResizeFaces(model, count - 1) == MODEL_OK;
}

} // namespace

bool DeletePick(EditorState& state, Model* model) {
    const int32_t index = state.pickIndex;
    bool deleted = false;
    switch (state.pickKind) {
    case PICK_VERTEX:
        deleted = index >= 0 && index < VertexCount(model) && DeleteVertex(model, index);
        break;
    case PICK_DUMMY:
        deleted = index >= 0 && index < DummyCount(model) && DeleteDummy(model, index);
        break;
    case PICK_FACE:
        deleted = index >= 0 && index < FaceCount(model) && DeleteFace(model, index);
        break;
    default:
        break;
    }
    if (deleted) {
        state.pickKind = PICK_NOTHING;
        state.pickIndex = 0;
    }
    return deleted;
}

void FlipFace(Model* model, int32_t i) {
    int32_t a, b, c, material;
    float tex[6];
    if (GetFace(model, i, &a, &b, &c, &material) != MODEL_OK || GetFaceTexCoords(model, i, tex) != MODEL_OK)
        return;
    SetFace(model, i, a, c, b, material);
    const float flipped[6] = {tex[0], tex[1], tex[4], tex[5], tex[2], tex[3]};
    SetFaceTexCoords(model, i, flipped);
}

void FlipAllFaces(Model* model) {
    for (int32_t i = 0; i < FaceCount(model); ++i)
        FlipFace(model, i);
}

int32_t CopyMirrored(Model* model, MirrorAxis negated) {
    const int32_t nv = VertexCount(model);
    const int32_t nf = FaceCount(model);
    if (nv == 0 && nf == 0) return MODEL_OK;
    // Both lists are sized once before anything is written, so running out of memory leaves
    // the model as it was.
    if (int64_t(nv) * 2 > INT32_MAX || int64_t(nf) * 2 > INT32_MAX) return MODEL_ERR_MEMORY;
    if (ResizeVertices(model, nv * 2) != MODEL_OK) return MODEL_ERR_MEMORY;
    if (ResizeFaces(model, nf * 2) != MODEL_OK) {
        ResizeVertices(model, nv);
        return MODEL_ERR_MEMORY;
    }
    for (int32_t i = 0; i < nv; ++i) {
        float p[3];
        GetVertex(model, i, &p[0], &p[1], &p[2]);
        p[negated == MirrorAxis::X ? 0 : negated == MirrorAxis::Y ? 1 : 2] *= -1.0f;
        SetVertex(model, nv + i, p[0], p[1], p[2], 0);
    }
    for (int32_t j = 0; j < nf; ++j) {
        int32_t a, b, c, material;
        GetFace(model, j, &a, &b, &c, &material);
        // Mirroring turns the winding round; giving the corners in reverse order keeps the
        // copies facing outwards.
        // Unsigned sums: a stored corner may be any number, and its copy must not overflow.
        auto copied = [nv](int32_t corner) { return int32_t(uint32_t(corner) + uint32_t(nv)); };
        SetFace(model, nf + j, copied(a), copied(c), copied(b), material);
    }
    return MODEL_OK;
}

void MoveAllVertices(Model* model, double dx, double dy, double dz) {
    // An axis that does not move keeps its value bit for bit (adding 0.0 would turn -0.0 into 0.0).
    auto moved = [](float value, double by) { return by == 0.0 ? value : float(double(value) + by); };
    for (int32_t i = 0; i < VertexCount(model); ++i) {
        float x, y, z;
        GetVertex(model, i, &x, &y, &z);
        SetVertex(model, i, moved(x, dx), moved(y, dy), moved(z, dz), 0);
    }
}

} // namespace editor
