// The window procedure driven through a recording fake window: camera keys, mouse-look, the
// pick and its cycle, dragging, deleting, flipping and the letter keys.
#include "modeleditor/editor_window_proc.h"

#include "modeleditor/editor_ids.h"
#include "modeleditor/fake_editor_window.h"
#include "modeleditor/pick.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace editor {
namespace {

using testing::EditorFixture;

class WindowProc : public ::testing::Test, public EditorFixture {
  protected:
    void SetCursor(float x, float y, float z) {
        state().cursorPos[0] = x;
        state().cursorPos[1] = y;
        state().cursorPos[2] = z;
    }
    void LookOn() {
        proc.handle(WM_RBUTTONDBLCLK, 0, 0);
        ASSERT_TRUE(state().mouseLook);
    }
    // One mouse-look step without pointer motion (timer 3).
    void StepNow() { proc.handle(WM_TIMER, kTimerMouseLookNow, 0); }
    Vertex V(int i) { return model()->vertices[i]; }
};

TEST_F(WindowProc, StartsWithTheFixedStateAndBothTimers) {
    const EditorState& s = state();
    EXPECT_EQ(s.cameraPitch, 20.0f);
    EXPECT_EQ(s.cameraYaw, -30.0f);
    EXPECT_EQ(s.cameraDistance, -9.0f);
    EXPECT_EQ(s.lightPos[0], 0.0f);
    EXPECT_EQ(s.lightPos[1], 2.0f);
    EXPECT_EQ(s.lightPos[2], 0.0f);
    EXPECT_TRUE(s.showAxes && s.showPointGrid && s.showSurface && s.showLight && s.showNormals &&
                s.showVertices);
    EXPECT_EQ(s.renderMode, 0);
    EXPECT_EQ(s.shadeMode, 1);
    EXPECT_EQ(s.pickKind, PICK_NOTHING);
    EXPECT_FALSE(s.mouseLook || s.dragging || s.verticalIsY);
    EXPECT_EQ(window.timers, (std::map<std::uint32_t, std::uint32_t>{{1, 1}, {2, 10}}));
    EXPECT_EQ(VertexCount(model()), 0);
}

TEST_F(WindowProc, HeldCameraKeysStepEveryTickUntilReleased) {
    key(VK_ADD);
    key(VK_LEFT);
    key(VK_UP);
    for (int i = 0; i < 4; ++i)
        proc.handle(WM_TIMER, kTimerCameraKeys, 0);
    EXPECT_NEAR(state().cameraDistance, -8.8f, 1e-5);
    EXPECT_FLOAT_EQ(state().cameraYaw, -28.0f);
    EXPECT_FLOAT_EQ(state().cameraPitch, 22.0f);
    EXPECT_EQ(window.invalidations, 12); // every change repaints

    proc.handle(WM_KEYUP, VK_ADD, 0);
    proc.handle(WM_KEYUP, VK_LEFT, 0);
    proc.handle(WM_KEYUP, VK_UP, 0);
    key(VK_SUBTRACT);
    key(VK_RIGHT);
    key(VK_DOWN);
    proc.handle(WM_TIMER, kTimerCameraKeys, 0);
    EXPECT_NEAR(state().cameraDistance, -8.85f, 1e-5);
    EXPECT_FLOAT_EQ(state().cameraYaw, -28.5f);
    EXPECT_FLOAT_EQ(state().cameraPitch, 21.5f);

    // Key codes past the table are ignored rather than written out of bounds.
    proc.handle(WM_KEYDOWN, 0x1234, 0);
    proc.handle(WM_KEYUP, 0x1234, 0);
}

TEST_F(WindowProc, MouseLookOffIgnoresTheMouseAndSpaceOnlyCounts) {
    AddVertex(model(), 0.0f, 0.0f, 0.0f, 0);
    mouse(30, 40);
    EXPECT_EQ(state().cursorPos[0], 0.0f);
    EXPECT_TRUE(window.warps.empty());
    chars(" ");
    EXPECT_EQ(state().pickCycle, 1);
    EXPECT_EQ(state().pickKind, PICK_NOTHING);
    ASSERT_EQ(window.sent.size(), 1u);
    EXPECT_EQ(window.sent[0].message, WM_TIMER);
    EXPECT_EQ(window.sent[0].wParam, kTimerMouseLookNow);
}

TEST_F(WindowProc, RightDoubleClickTogglesMouseLookHidingThePointerAtTheCentre) {
    window.pointer = {10, 10};
    proc.handle(WM_RBUTTONDBLCLK, 0, 0);
    EXPECT_TRUE(state().mouseLook);
    EXPECT_EQ(window.pointerShown, std::vector<bool>{false});
    EXPECT_EQ(window.pointer, (ScreenPoint{500, 350}));
    proc.handle(WM_RBUTTONDBLCLK, 0, 0);
    EXPECT_FALSE(state().mouseLook);
    EXPECT_EQ(window.pointerShown, (std::vector<bool>{false, true}));
}

TEST_F(WindowProc, MouseMotionMovesTheCursorAndReturnsThePointer) {
    LookOn();
    const int before = window.invalidations;
    mouse(0, 0); // no motion: timer 2 does nothing at all
    EXPECT_EQ(window.invalidations, before);
    mouse(25, -40);
    EXPECT_FLOAT_EQ(state().cursorPos[0], 0.25f);
    EXPECT_FLOAT_EQ(state().cursorPos[1], 0.0f);
    EXPECT_FLOAT_EQ(state().cursorPos[2], -0.4f); // away from the user is -Z
    EXPECT_EQ(window.pointer, (ScreenPoint{500, 350}));
    EXPECT_EQ(window.invalidations, before + 1);

    proc.handle(WM_RBUTTONDOWN, 0, 0);
    mouse(0, -30);
    EXPECT_FLOAT_EQ(state().cursorPos[1], 0.3f); // right button held: up in Y
    EXPECT_FLOAT_EQ(state().cursorPos[2], -0.4f);
    proc.handle(WM_RBUTTONUP, 0, 0);
    EXPECT_FALSE(state().verticalIsY);

    // An odd-sized window: the centre truncates.
    window.rect = {0, 0, 101, 51};
    mouse(0, 0);
    EXPECT_EQ(window.pointer, (ScreenPoint{50, 25}));
}

TEST_F(WindowProc, NearnessIsStrictOnEveryAxis) {
    const float cursor[3] = {0.0f, 0.0f, 0.0f};
    EXPECT_TRUE(IsNearCursor(cursor, 0.0999f, -0.0999f, 0.0f));
    EXPECT_FALSE(IsNearCursor(cursor, 0.1f, 0.0f, 0.0f));
    EXPECT_FALSE(IsNearCursor(cursor, 0.0f, -0.1f, 0.0f));
    EXPECT_FALSE(IsNearCursor(cursor, 0.0f, 0.0f, 0.5f));
    const float offCentre[3] = {1.0f, 2.0f, 3.0f};
    EXPECT_TRUE(IsNearCursor(offCentre, 1.05f, 1.95f, 3.0f));
    EXPECT_FALSE(IsNearCursor(offCentre, 1.0f, 2.0f, 3.11f));
}

TEST_F(WindowProc, PickVisitsLightVerticesDummiesThenFacesAndSpaceCyclesAndWraps) {
    // Everything below lies within 0.1 of the light at (0, 2, 0).
    AddVertex(model(), 5.0f, 5.0f, 5.0f, 0);  // far: never a candidate
    AddVertex(model(), 0.05f, 2.0f, 0.0f, 0); // vertex 1
    AddDummy(model(), 7, 0.0f, 2.05f, 0.0f);
    AddVertex(model(), 0.0f, 2.0f, 0.15f, 0);  // vertex 2: too far by itself
    AddVertex(model(), 0.0f, 2.0f, -0.15f, 0); // vertex 3
    AddFace(model(), 1, 2, 3, 0);              // centroid (0.0167, 2, 0)
    SetCursor(0.0f, 2.0f, 0.0f);
    LookOn();

    StepNow();
    EXPECT_EQ(state().pickKind, PICK_LIGHT);
    chars(" ");
    EXPECT_EQ(state().pickKind, PICK_VERTEX);
    EXPECT_EQ(state().pickIndex, 1);
    chars(" ");
    EXPECT_EQ(state().pickKind, PICK_DUMMY);
    EXPECT_EQ(state().pickIndex, 0);
    chars(" ");
    EXPECT_EQ(state().pickKind, PICK_FACE);
    EXPECT_EQ(state().pickIndex, 0);
    EXPECT_TRUE(window.posted.empty());

    chars(" "); // past the last candidate: the last stays picked until the posted step
    EXPECT_EQ(state().pickKind, PICK_FACE);
    EXPECT_EQ(state().pickCycle, 0);
    ASSERT_EQ(window.posted.size(), 1u);
    EXPECT_EQ(window.posted[0].message, WM_TIMER);
    EXPECT_EQ(window.posted[0].wParam, kTimerMouseLookNow);
    EXPECT_EQ(window.pump(), 1);
    EXPECT_EQ(state().pickKind, PICK_LIGHT);
}

TEST_F(WindowProc, FacesArePickedByTheirCentroidOnly) {
    AddVertex(model(), -3.0f, 0.0f, 0.0f, 0);
    AddVertex(model(), 3.0f, 0.0f, 0.0f, 0);
    AddVertex(model(), 0.0f, 0.0f, 3.0f, 0);
    AddFace(model(), 0, 1, 2, 0);
    AddFace(model(), 0, 1, 99, 0); // a corner outside the list: never picked
    LookOn();
    SetCursor(0.0f, 0.0f, 0.0f); // on the face's edge
    StepNow();
    EXPECT_EQ(state().pickKind, PICK_NOTHING);
    SetCursor(0.0f, 0.0f, 1.0f);
    StepNow();
    EXPECT_EQ(state().pickKind, PICK_FACE);
    EXPECT_EQ(state().pickIndex, 0);
}

TEST_F(WindowProc, DraggingCarriesThePickWithTheCursorAndFreezesThePick) {
    AddVertex(model(), 0.0f, 0.0f, 0.0f, 7);
    AddVertex(model(), 1.0f, 0.0f, 0.0f, 0);
    AddVertex(model(), 0.0f, 0.0f, 1.0f, 0);
    AddVertex(model(), 1.0f, 0.0f, 1.0f, 0);
    AddFace(model(), 0, 1, 2, 0);
    AddFace(model(), 1, 3, 2, 0);
    AddDummy(model(), 4, 3.0f, 3.0f, 3.0f);
    LookOn();

    // Vertex 0.
    StepNow();
    ASSERT_EQ(state().pickKind, PICK_VERTEX);
    proc.handle(WM_LBUTTONDOWN, 0, 0);
    mouse(50, 0);
    EXPECT_FLOAT_EQ(V(0).x, 0.5f);
    EXPECT_EQ(V(0).w, 0u);
    mouse(50, 0); // the cursor passes vertex 1, the pick stays on vertex 0
    EXPECT_EQ(state().pickIndex, 0);
    EXPECT_FLOAT_EQ(V(0).x, 1.0f);
    proc.handle(WM_LBUTTONUP, 0, 0);

    // Face 1 by its centroid: its corners move, and with them face 0's shared corners.
    SetCursor(2.0f / 3.0f, 0.0f, 2.0f / 3.0f); // vertex 0 now sits on vertex 1
    StepNow();
    ASSERT_EQ(state().pickKind, PICK_FACE);
    ASSERT_EQ(state().pickIndex, 1);
    proc.handle(WM_LBUTTONDOWN, 0, 0);
    proc.handle(WM_RBUTTONDOWN, 0, 0);
    mouse(0, -100);
    EXPECT_FLOAT_EQ(V(1).y, 1.0f);
    EXPECT_FLOAT_EQ(V(3).y, 1.0f);
    EXPECT_FLOAT_EQ(V(2).y, 1.0f);
    EXPECT_FLOAT_EQ(V(0).y, 0.0f);
    proc.handle(WM_RBUTTONUP, 0, 0);
    proc.handle(WM_LBUTTONUP, 0, 0);

    // The dummy keeps its id.
    SetCursor(3.0f, 3.0f, 3.0f);
    StepNow();
    ASSERT_EQ(state().pickKind, PICK_DUMMY);
    proc.handle(WM_LBUTTONDOWN, 0, 0);
    mouse(0, 20);
    EXPECT_EQ(model()->dummies[0].id, 4);
    EXPECT_FLOAT_EQ(model()->dummies[0].z, 3.2f);
    proc.handle(WM_LBUTTONUP, 0, 0);

    // The light.
    SetCursor(0.0f, 2.0f, 0.0f);
    StepNow();
    ASSERT_EQ(state().pickKind, PICK_LIGHT);
    proc.handle(WM_LBUTTONDOWN, 0, 0);
    mouse(-10, 10);
    EXPECT_FLOAT_EQ(state().lightPos[0], -0.1f);
    EXPECT_FLOAT_EQ(state().lightPos[2], 0.1f);
}

TEST_F(WindowProc, DraggingLeavesTheAxisTheMouseDoesNotDriveUntouched) {
    // A mirrored copy holds -0.0 coordinates; only x and the vertically driven axis change.
    AddVertex(model(), -0.0f, -0.0f, -0.0f, 0);
    AddDummy(model(), 1, 2.0f, -0.0f, -0.0f);
    LookOn();
    StepNow();
    ASSERT_EQ(state().pickKind, PICK_VERTEX);
    proc.handle(WM_LBUTTONDOWN, 0, 0);
    proc.handle(WM_RBUTTONDOWN, 0, 0);
    mouse(10, 0); // x and y move, z stays as it was
    EXPECT_FLOAT_EQ(V(0).x, 0.1f);
    EXPECT_TRUE(std::signbit(V(0).y)); // -0.0 - 0.0
    EXPECT_TRUE(std::signbit(V(0).z));
    proc.handle(WM_RBUTTONUP, 0, 0);
    mouse(10, 10); // x and z move, y stays as it was
    EXPECT_FLOAT_EQ(V(0).z, 0.1f);
    EXPECT_TRUE(std::signbit(V(0).y));
    proc.handle(WM_LBUTTONUP, 0, 0);

    SetCursor(2.0f, 0.0f, 0.0f);
    StepNow();
    ASSERT_EQ(state().pickKind, PICK_DUMMY);
    proc.handle(WM_LBUTTONDOWN, 0, 0);
    mouse(10, 0);
    EXPECT_FLOAT_EQ(model()->dummies[0].x, 2.1f);
    EXPECT_TRUE(std::signbit(model()->dummies[0].y));
}

TEST_F(WindowProc, DeleteRemovesEachKindButNeverAUsedVertex) {
    for (int i = 0; i < 4; ++i)
        AddVertex(model(), float(i), 0.0f, 0.0f, 0);
    AddFace(model(), 0, 1, 2, 0);
    AddFace(model(), 1, 2, 0, 1);
    AddDummy(model(), 1, 0, 0, 0);
    AddDummy(model(), 2, 1, 1, 1);

    state().pickKind = PICK_VERTEX;
    state().pickIndex = 1; // used by both faces
    key(VK_DELETE);
    EXPECT_EQ(VertexCount(model()), 4);
    EXPECT_EQ(state().pickKind, PICK_VERTEX);

    state().pickIndex = 3; // unused, the last: the list just shrinks
    key(VK_DELETE);
    EXPECT_EQ(VertexCount(model()), 3);
    EXPECT_EQ(state().pickKind, PICK_NOTHING);

    state().pickKind = PICK_DUMMY;
    state().pickIndex = 0;
    key(VK_DELETE);
    ASSERT_EQ(DummyCount(model()), 1);
    EXPECT_EQ(model()->dummies[0].id, 2);

    state().pickKind = PICK_FACE;
    state().pickIndex = 0;
    key(VK_DELETE);
    ASSERT_EQ(FaceCount(model()), 1);
    EXPECT_EQ(model()->faces[0].material, 1);

    const int before = window.invalidations;
    state().pickKind = PICK_LIGHT;
    key(VK_DELETE);
    EXPECT_EQ(window.invalidations, before + 1); // repaints even when nothing goes
}

TEST_F(WindowProc, StalePickNeverDeletesAnotherElement) {
    AddVertex(model(), 0, 0, 0, 0);
    AddDummy(model(), 5, 0, 0, 0);
    state().pickKind = PICK_DUMMY;
    state().pickIndex = 3;
    key(VK_DELETE);
    EXPECT_EQ(DummyCount(model()), 1);
    state().pickKind = PICK_VERTEX;
    state().pickIndex = 1;
    key(VK_DELETE);
    EXPECT_EQ(VertexCount(model()), 1);
    state().pickKind = PICK_FACE;
    state().pickIndex = -1;
    key(VK_DELETE);
    EXPECT_EQ(FaceCount(model()), 0);
}

TEST_F(WindowProc, FTwiceRestoresTheFaceExactly) {
    for (int i = 0; i < 3; ++i)
        AddVertex(model(), float(i), 1.0f, 0.0f, 0);
    AddFace(model(), 0, 1, 2, 3);
    const float tex[6] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
    SetFaceTexCoords(model(), 0, tex);
    const Face original = model()->faces[0];
    state().pickKind = PICK_FACE;
    state().pickIndex = 0;

    chars("f");
    const Face flipped = model()->faces[0];
    EXPECT_EQ(flipped.b, 2);
    EXPECT_EQ(flipped.c, 1);
    EXPECT_EQ(flipped.texCoords[2], 0.5f);
    EXPECT_EQ(flipped.texCoords[5], 0.4f);
    chars("f");
    EXPECT_EQ(std::memcmp(&model()->faces[0], &original, sizeof(Face)), 0);

    state().pickKind = PICK_VERTEX; // 'f' only acts on a face
    chars("f");
    EXPECT_EQ(std::memcmp(&model()->faces[0], &original, sizeof(Face)), 0);
}

TEST_F(WindowProc, LetterKeysPostTheMoveCommandsAndRunAfterTheHandler) {
    AddVertex(model(), 0, 0, 0, 0);
    chars("ujhkoiLlx");
    ASSERT_EQ(window.posted.size(), 6u);
    const int expected[] = {160, 161, 162, 163, 164, 165};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(window.posted[i].message, WM_COMMAND);
        EXPECT_EQ(int(window.posted[i].wParam), expected[i]);
    }
    EXPECT_EQ(V(0).y, 0.0f); // nothing moved yet
    chars("k");
    window.pump();
    EXPECT_NEAR(V(0).x, 0.01f, 1e-6);
    EXPECT_NEAR(V(0).y, 0.0f, 1e-6);
    EXPECT_NEAR(V(0).z, 0.0f, 1e-6);
}

TEST_F(WindowProc, LeftDoubleClickAddsAVertexAtTheCursor) {
    SetCursor(1.5f, -2.0f, 0.25f);
    proc.handle(WM_LBUTTONDBLCLK, 0, 0);
    ASSERT_EQ(VertexCount(model()), 1);
    EXPECT_EQ(V(0).x, 1.5f);
    EXPECT_EQ(V(0).y, -2.0f);
    EXPECT_EQ(V(0).z, 0.25f);
}

TEST_F(WindowProc, WindowMessagesKeepTheirResults) {
    EXPECT_EQ(proc.handle(WM_ERASEBKGND, 0, 0), 1);
    EXPECT_EQ(proc.handle(WM_PAINT, 0, 0), 0);
    const int before = window.invalidations;
    EXPECT_EQ(proc.handle(WM_SIZE, 0, (300 << 16) | 400), 0);
    EXPECT_EQ(window.invalidations, before + 1);
    proc.handle(WM_DESTROY, 0, 0);
    EXPECT_EQ(window.quitCode, 0);
    EXPECT_EQ(state().view, nullptr);
}

} // namespace
} // namespace editor
