#include "modeleditor/pick.h"

namespace editor {
namespace {

bool FaceCentroid(const Model* model, int32_t face, float out[3]) {
    int32_t corners[3];
    int32_t material = 0;
    if (GetFace(model, face, &corners[0], &corners[1], &corners[2], &material) != MODEL_OK) return false;
    float sum[3] = {0.0f, 0.0f, 0.0f};
    for (int32_t corner : corners) {
        float p[3];
        if (GetVertex(model, corner, &p[0], &p[1], &p[2]) != MODEL_OK) return false;
        for (int axis = 0; axis < 3; ++axis)
            sum[axis] += p[axis];
    }
    for (int axis = 0; axis < 3; ++axis)
        out[axis] = float(sum[axis] / 3.0);
    return true;
}

float Moved(float value, double by) {
    return float(double(value) + by);
}

void MoveVertex(Model* model, int32_t i, double dx, double dy, double dz) {
    float x, y, z;
    if (GetVertex(model, i, &x, &y, &z) == MODEL_OK)
        SetVertex(model, i, Moved(x, dx), Moved(y, dy), Moved(z, dz), 0);
}

} // namespace

bool IsNearCursor(const float cursor[3], float px, float py, float pz) {
    const float p[3] = {px, py, pz};
    for (int axis = 0; axis < 3; ++axis) {
        const double c = cursor[axis];
        if (!(double(p[axis]) - kPickReach < c && c < double(p[axis]) + kPickReach)) return false;
    }
    return true;
}

bool RunPick(EditorState& state, const Model* model) {
    state.pickKind = PICK_NOTHING;
    state.pickIndex = 0;
    int32_t hits = 0;
    // Returns true when this candidate is the one pickCycle asks for.
    auto visit = [&](int32_t kind, int32_t index) {
        state.pickKind = kind;
        state.pickIndex = index;
        if (hits == state.pickCycle) return true;
        ++hits;
        return false;
    };

    if (IsNearCursor(state.cursorPos, state.lightPos[0], state.lightPos[1], state.lightPos[2]) &&
        visit(PICK_LIGHT, 0))
        return false;
    for (int32_t i = 0; i < VertexCount(model); ++i) {
        float x, y, z;
        GetVertex(model, i, &x, &y, &z);
        if (IsNearCursor(state.cursorPos, x, y, z) && visit(PICK_VERTEX, i)) return false;
    }
    for (int32_t i = 0; i < DummyCount(model); ++i) {
        int32_t id;
        float x, y, z;
        GetDummy(model, i, &id, &x, &y, &z);
        if (IsNearCursor(state.cursorPos, x, y, z) && visit(PICK_DUMMY, i)) return false;
    }
    for (int32_t i = 0; i < FaceCount(model); ++i) {
        float centroid[3];
        if (FaceCentroid(model, i, centroid) &&
            IsNearCursor(state.cursorPos, centroid[0], centroid[1], centroid[2]) && visit(PICK_FACE, i))
            return false;
    }
    if (state.pickCycle != 0) {
        state.pickCycle = 0;
        return true;
    }
    return false;
}

void MovePick(EditorState& state, Model* model, double dx, double dy, double dz) {
    switch (state.pickKind) {
    case PICK_LIGHT:
        state.lightPos[0] = Moved(state.lightPos[0], dx);
        state.lightPos[1] = Moved(state.lightPos[1], dy);
        state.lightPos[2] = Moved(state.lightPos[2], dz);
        break;
    case PICK_VERTEX:
        MoveVertex(model, state.pickIndex, dx, dy, dz);
        break;
    case PICK_DUMMY: {
        int32_t id;
        float x, y, z;
        if (GetDummy(model, state.pickIndex, &id, &x, &y, &z) == MODEL_OK)
            SetDummy(model, state.pickIndex, id, Moved(x, dx), Moved(y, dy), Moved(z, dz));
        break;
    }
    case PICK_FACE: {
        int32_t a, b, c, material;
        if (GetFace(model, state.pickIndex, &a, &b, &c, &material) == MODEL_OK) {
            MoveVertex(model, a, dx, dy, dz);
            MoveVertex(model, b, dx, dy, dz);
            MoveVertex(model, c, dx, dy, dz);
        }
        break;
    }
    default:
        break;
    }
}

} // namespace editor
