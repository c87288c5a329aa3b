// The editor's frame drawn in the offscreen context: reference geometry, the light ball, a lit
// face, the cursor rings and the overlay text for every kind of pick.
#include "modeleditor/editor_frame.h"

#include "glview/font.h"
#include "glview/gl_test_support.h"
#include "glview/text.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <string>
#include <vector>

namespace editor {
namespace {

using glview::testing::Rgba;

class EditorFrame : public glview::testing::OffscreenView {
  protected:
    static constexpr int kW = 400;
    static constexpr int kH = 300;
    EditorFrame() : OffscreenView(kW, kH, 0) {}

    void SetUp() override {
        OffscreenView::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        ModelInit(&model);
        view->zNear = 0.01f;
        view->zFar = 64.0f;
        glview::view_set_clear_color(view, 0x000000, 0.1f);
        state.view = view;
        state.outlineFont = glview::font_create_outline(view, 14, 0, 0.0f, 0.0f, 0, 0, 0, "Verdana");
        state.bitmapFont = glview::font_create_bitmap(view, 14, 0, 0, 0, 0, "Verdana");
        ASSERT_NE(state.outlineFont, nullptr);
        ASSERT_NE(state.bitmapFont, nullptr);
    }
    void TearDown() override {
        glview::font_free(view, state.outlineFont);
        glview::font_free(view, state.bitmapFont);
        ModelRelease(&model);
        OffscreenView::TearDown();
    }

    std::vector<std::uint8_t> Frame() {
        DrawEditorFrame(state, &model, &surface);
        return grab();
    }

    // Where (x, y, z) lands in window pixels (origin top-left) under the frame's camera.
    std::pair<int, int> Project(float x, float y, float z) {
        glview::view_set_perspective(view);
        glLoadIdentity();
        glTranslatef(0, 0, state.cameraDistance);
        glRotatef(state.cameraPitch, 1, 0, 0);
        glRotatef(state.cameraYaw, 0, 1, 0);
        GLdouble modelview[16], projection[16];
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        GLdouble wx, wy, wz;
        gluProject(x, y, z, modelview, projection, viewport, &wx, &wy, &wz);
        return {int(wx), kH - 1 - int(wy)};
    }

    // The brightest pixel (by r + g + b) within two pixels of (px, py).
    Rgba Around(const std::vector<std::uint8_t>& image, std::pair<int, int> p) {
        Rgba best;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const Rgba c = at(image, p.first + dx, p.second + dy);
                if (c.r + c.g + c.b > best.r + best.g + best.b) best = c;
            }
        return best;
    }

    void EverythingOff() {
        state.showAxes = state.showPointGrid = state.showSurface = state.showLight = false;
        state.showNormals = state.showVertices = false;
    }

    // The overlay alone: the scene is put behind the camera, so only the text remains.
    std::vector<std::uint8_t> OverlayOnly() {
        state.cameraDistance = 100.0f;
        return Frame();
    }

    // What the overlay must look like: exactly these lines at their places.
    std::vector<std::uint8_t>
    Expected(const std::vector<std::pair<std::pair<int, int>, std::string>>& lines) {
        glview::view_clear(view);
        glview::view_set_ortho(view);
        glEnable(GL_BLEND);
        glColor4f(1, 1, 1, 1);
        for (const auto& [at, text] : lines)
            glview::text_print(view, state.bitmapFont, at.first, at.second, "%s", text.c_str());
        return grab();
    }

    std::vector<std::pair<std::pair<int, int>, std::string>> Header(const char* cursor, const char* light) {
        return {
            {{1, 20}, "Korvex Editor v1.3 EN"}, {{1, 35}, cursor}, {{1, 50}, light}, {{1, 75}, "Selected:"}};
    }

    static int Differences(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
        int n = 0;
        for (std::size_t i = 0; i + 3 < std::min(a.size(), b.size()); i += 4)
            n += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
        return n;
    }

    EditorState state;
    Model model;
};

TEST_F(EditorFrame, AxesAndGroundSquareAppearOnlyWhenSwitchedOn) {
    EverythingOff();
    const auto onAxis = Project(2.5f, 0, 0);
    const auto onGround = Project(2.0f, 0, 3.0f);
    auto image = Frame();
    EXPECT_FALSE(Around(image, onAxis).lit());
    EXPECT_FALSE(Around(image, onGround).lit());

    state.showAxes = true;
    image = Frame();
    const Rgba axis = Around(image, onAxis);
    EXPECT_GT(axis.r, 60); // white at half strength, smoothed
    EXPECT_EQ(axis.r, axis.b);
    EXPECT_FALSE(Around(image, onGround).lit());

    state.showAxes = false;
    state.showSurface = true;
    image = Frame();
    const Rgba ground = at(image, onGround.first, onGround.second);
    EXPECT_GT(ground.b, ground.r); // (0.3, 0.7, 1) at one tenth
    EXPECT_GT(ground.g, ground.r);
    EXPECT_LT(ground.b, 60);
}

TEST_F(EditorFrame, LightBallSitsAtTheLightWhenTheLightIsShown) {
    EverythingOff();
    state.lightPos[0] = 1.5f;
    state.lightPos[1] = 1.0f;
    state.lightPos[2] = -1.0f;
    const auto ball = Project(1.5f, 1.0f, -1.0f);
    auto image = Frame();
    EXPECT_FALSE(Around(image, ball).lit());
    state.showLight = true;
    image = Frame();
    const Rgba c = at(image, ball.first, ball.second);
    EXPECT_GT(c.r, 150); // yellow at 0.7
    EXPECT_GT(c.g, 150);
    EXPECT_LT(c.b, 40);
}

TEST_F(EditorFrame, FaceIsDrawnLitWithItsMaterial) {
    EverythingOff();
    state.showLight = true;
    state.lightPos[2] = 3.0f;
    const float red[4] = {1.0f, 0.0f, 0.0f, 1.0f};
    const float dark[4] = {0.2f, 0.0f, 0.0f, 1.0f};
    const float none[4] = {0, 0, 0, 1};
    AddMaterial(&model, "Red", dark, red, none, none, 10.0f);
    AddVertex(&model, 1.0f, 0.5f, 1.0f, 0);
    AddVertex(&model, 3.0f, 0.5f, 1.0f, 0);
    AddVertex(&model, 2.0f, 2.5f, 1.0f, 0);
    AddFace(&model, 0, 1, 2, 0);
    const auto centre = Project(2.0f, 1.1667f, 1.0f);
    const auto image = Frame();
    const Rgba c = at(image, centre.first, centre.second);
    EXPECT_GT(c.r, 40);
    EXPECT_LT(c.g, 10);
    EXPECT_LT(c.b, 10);

    // "Lines" leaves the inside of the face empty.
    state.renderMode = 1;
    const auto lines = Frame();
    EXPECT_FALSE(at(lines, centre.first, centre.second).lit());
}

TEST_F(EditorFrame, CursorRingsChangeColourWhenSomethingIsPicked) {
    EverythingOff();
    state.cameraDistance = -2.0f;
    const auto ring = Project(0.0f, 0.11f, 0.0f);
    auto image = Frame();
    const Rgba idle = Around(image, ring);
    EXPECT_GT(idle.r, 50);
    EXPECT_NEAR(idle.r, idle.b, 2); // white at 0.4
    state.pickKind = PICK_LIGHT;
    image = Frame();
    const Rgba picked = Around(image, ring);
    EXPECT_GT(picked.b, picked.r + 30); // (0.6, 0.8, 1) at 0.7
}

TEST_F(EditorFrame, OverlayForNothingAndLight) {
    state.cursorPos[0] = 1.5f;
    state.cursorPos[2] = -0.25f;
    auto frame = OverlayOnly();
    auto lines = Header("Cursor: [ 1.50, 0.00,-0.25]", "Light: [ 0.00, 2.00, 0.00]");
    lines.push_back({{80, 75}, "Nothing"});
    EXPECT_EQ(Differences(frame, Expected(lines)), 0);

    state.pickKind = PICK_LIGHT;
    frame = OverlayOnly();
    lines.back() = {{80, 75}, "Light [0][ 0.00, 2.00, 0.00]"};
    EXPECT_EQ(Differences(frame, Expected(lines)), 0);
    lines.back() = {{80, 75}, "Nothing"};
    EXPECT_GT(Differences(frame, Expected(lines)), 20); // the comparison does see text
}

TEST_F(EditorFrame, OverlayForVerticesInUseOrFree) {
    AddVertex(&model, 0, 0, 0, 0);
    AddVertex(&model, 1, 2, 3, 0);
    AddVertex(&model, 0, 1, 0, 0);
    AddVertex(&model, -4, 0.5f, 12.345f, 0);
    AddFace(&model, 0, 1, 2, 0);
    state.pickKind = PICK_VERTEX;
    state.pickIndex = 1;
    auto lines = Header("Cursor: [ 0.00, 0.00, 0.00]", "Light: [ 0.00, 2.00, 0.00]");
    lines.push_back({{80, 75}, "Vertex [1][ 1.00, 2.00, 3.00]"});
    lines.push_back({{80, 90}, "Vertex in use"});
    EXPECT_EQ(Differences(OverlayOnly(), Expected(lines)), 0);

    state.pickIndex = 3;
    lines[4] = {{80, 75}, "Vertex [3][-4.00, 0.50,12.35]"};
    lines[5] = {{80, 90}, "DEL - remove"};
    EXPECT_EQ(Differences(OverlayOnly(), Expected(lines)), 0);
}

TEST_F(EditorFrame, OverlayForDummiesAndFaces) {
    AddDummy(&model, 9, 0.25f, -1, 2);
    state.pickKind = PICK_DUMMY;
    auto lines = Header("Cursor: [ 0.00, 0.00, 0.00]", "Light: [ 0.00, 2.00, 0.00]");
    lines.push_back({{80, 75}, "Dummy [0][ 0.25,-1.00, 2.00]"});
    lines.push_back({{80, 90}, "DEL - remove"});
    EXPECT_EQ(Differences(OverlayOnly(), Expected(lines)), 0);

    AddVertex(&model, 0, 0, 0, 0);
    AddVertex(&model, 3, 0, 0, 0);
    AddVertex(&model, 0, 3, 1.5f, 0);
    AddFace(&model, 0, 0, 0, 0);
    AddFace(&model, 0, 1, 2, 0);
    const float tex[6] = {0.0f, 0.5f, 1.0f, 0.25f, 0.75f, 1.0f};
    SetFaceTexCoords(&model, 1, tex);
    state.pickKind = PICK_FACE;
    state.pickIndex = 1;
    lines.resize(4);
    lines.push_back({{80, 75}, "Face [1][ 1.00, 1.00, 0.50]"});
    lines.push_back({{80, 90}, "DEL - remove"});
    lines.push_back({{80, 105}, "F - flip normal"});
    lines.push_back({{80, 120}, "M - modify properties"});
    lines.push_back({{80, 135}, "TBP:[ 0.00, 0.50],[ 1.00, 0.25],[ 0.75, 1.00]"});
    EXPECT_EQ(Differences(OverlayOnly(), Expected(lines)), 0);
}

} // namespace
} // namespace editor
