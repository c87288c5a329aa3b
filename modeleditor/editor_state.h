#pragma once
// The editor's program-wide state: camera, 3D cursor, light, display switches, the pick and the
// mouse and keyboard modes. The initial values are the ones every session starts with.
#include <cstdint>

namespace glview {
struct ViewContext;
struct DisplayListSet;
} // namespace glview

namespace editor {

// What the pick names.
enum : std::int32_t {
    PICK_NOTHING = 0,
    PICK_LIGHT = 1,
    PICK_VERTEX = 2,
    PICK_DUMMY = 3,
    PICK_FACE = 4,
};

struct EditorState {
    float cameraPitch = 20.0f;    // degrees about X, applied first
    float cameraYaw = -30.0f;     // degrees about Y, applied second
    float cameraDistance = -9.0f; // translation along Z; negative is away from the viewer
    float lightPos[3] = {0.0f, 2.0f, 0.0f};
    float cursorPos[3] = {0.0f, 0.0f, 0.0f};
    bool showAxes = true;
    bool showPointGrid = true;
    bool showSurface = true;
    bool showLight = true;
    bool showNormals = true;
    bool showVertices = true;
    std::int32_t renderMode = 0; // 0 filled, 1 outlines, 2 corner points
    std::int32_t shadeMode = 1;  // 0 flat, 1 smooth, 2 smooth without per-face normals
    std::int32_t pickKind = PICK_NOTHING;
    std::int32_t pickIndex = 0;
    std::int32_t pickCycle = 0; // which of several candidates under the cursor is picked
    bool mouseLook = false;     // mouse moves the cursor; pointer hidden, held at the centre
    bool verticalIsY = false;   // right button held: vertical mouse motion moves along Y
    bool dragging = false;      // left button held: the pick moves with the cursor
    std::uint8_t keyDown[256] = {};
    glview::ViewContext* view = nullptr;
    glview::DisplayListSet* outlineFont = nullptr;
    glview::DisplayListSet* bitmapFont = nullptr;
};

} // namespace editor
