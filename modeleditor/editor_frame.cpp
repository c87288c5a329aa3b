#include "modeleditor/editor_frame.h"

#include "glview/lighting.h"
#include "glview/text.h"
#include "glview/view_context.h"
#include "model/model_draw.h"
#include "modeleditor/editor_ids.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace editor {
namespace {

void ResetModelview(const EditorState& state) {
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, state.cameraDistance);
    glRotatef(state.cameraPitch, 1.0f, 0.0f, 0.0f);
    glRotatef(state.cameraYaw, 0.0f, 1.0f, 0.0f);
}

void Segment(float x0, float y0, float z0, float x1, float y1, float z1) {
    glVertex3f(x0, y0, z0);
    glVertex3f(x1, y1, z1);
}

// Guide box from the axes to point p: six segments on the coordinate planes in one colour, the
// three that meet at p in another.
void GuideBox(const float p[3], const float planes[4], const float edges[4]) {
    const float x = p[0], y = p[1], z = p[2];
    glBegin(GL_LINES);
    glColor4fv(planes);
    Segment(x, 0, 0, x, y, 0);
    Segment(x, 0, 0, x, 0, z);
    Segment(0, y, 0, x, y, 0);
    Segment(0, y, 0, 0, y, z);
    Segment(0, 0, z, x, 0, z);
    Segment(0, 0, z, 0, y, z);
    glColor4fv(edges);
    Segment(x, 0, z, x, y, z);
    Segment(0, y, z, x, y, z);
    Segment(x, y, 0, x, y, z);
    glEnd();
}

// Three segments of length 0.08 centred on (x, y, z), parallel to the axes; inside glBegin(GL_LINES).
void Cross(float x, float y, float z) {
    constexpr float h = 0.04f;
    Segment(x - h, y, z, x + h, y, z);
    Segment(x, y - h, z, x, y + h, z);
    Segment(x, y, z - h, x, y, z + h);
}

void DrawAxes() {
    glBegin(GL_LINES);
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    Segment(-5, 0, 0, 5, 0, 0);
    Segment(0, -5, 0, 0, 5, 0);
    Segment(0, 0, -5, 0, 0, 5);
    glEnd();
}

void DrawPointGrid() {
    glBegin(GL_POINTS);
    glColor4f(1.0f, 1.0f, 1.0f, 0.9f);
    for (int i = 0; i <= 10; ++i)
        for (int j = 0; j <= 10; ++j)
            glVertex3f(float(i - 5), float(j - 5), 0.0f);
    for (int i = 0; i <= 10; ++i)
        for (int j = 0; j <= 10; ++j)
            glVertex3f(float(i - 5), 0.0f, float(j - 5));
    for (int i = 0; i <= 10; ++i)
        for (int j = 0; j <= 10; ++j)
            glVertex3f(0.0f, float(i - 5), float(j - 5));
    glEnd();
}

void DrawAxisLabels(const EditorState& state) {
    glColor4f(1.0f, 0.5f, 0.2f, 0.8f);
    struct Label {
        float x, y, z;
        const char* text;
        bool facesViewer;
    };
    const Label labels[] = {
        {4, 0, 0, "x", true}, {0, 3, 0, "y", true}, {0, 0, 4, "z", true}, {-4, 0, 0, "<--", false}};
    for (const Label& label : labels) {
        glPushMatrix();
        glTranslatef(label.x, label.y, label.z);
        glScalef(0.5f, 0.5f, 0.5f);
        if (label.facesViewer) glRotatef(-state.cameraYaw, 0.0f, 1.0f, 0.0f);
        glview::text_print_outline(state.view, state.outlineFont, "%s", label.text);
        glPopMatrix();
    }
}

void DrawVertexCrosses(const Model* model) {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_LINES);
    for (int32_t i = 0; i < VertexCount(model); ++i) {
        float x, y, z;
        GetVertex(model, i, &x, &y, &z);
        Cross(x, y, z);
    }
    glEnd();
}

void DrawDummies(const EditorState& state, const Model* model) {
    glLineWidth(2.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    for (int32_t i = 0; i < DummyCount(model); ++i) {
        int32_t id;
        float x, y, z;
        GetDummy(model, i, &id, &x, &y, &z);
        glBegin(GL_LINES);
        Cross(x, y, z);
        glEnd();
        glPushMatrix();
        glTranslatef(x, y, z);
        glScalef(0.3f, 0.3f, 0.3f);
        glRotatef(-state.cameraYaw, 0.0f, 1.0f, 0.0f);
        glview::text_print_outline(state.view, state.outlineFont, " %d", id);
        glPopMatrix();
    }
    glLineWidth(1.0f);
}

void DrawCursorRings(const EditorState& state, GLUquadric* quadric) {
    ResetModelview(state);
    if (state.pickKind != PICK_NOTHING)
        glColor4f(0.6f, 0.8f, 1.0f, 0.7f);
    else
        glColor4f(1.0f, 1.0f, 1.0f, 0.4f);
    glTranslatef(state.cursorPos[0], state.cursorPos[1], state.cursorPos[2]);
    gluDisk(quadric, 0.1, 0.12, 64, 2);
    glPushMatrix();
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    gluDisk(quadric, 0.1, 0.12, 64, 2);
    glPopMatrix();
    glPushMatrix();
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    gluDisk(quadric, 0.1, 0.12, 64, 2);
    glPopMatrix();
}

void DrawSurface(const EditorState& state) {
    ResetModelview(state);
    glBegin(GL_QUADS);
    glColor4f(0.3f, 0.7f, 1.0f, 0.1f);
    glVertex3f(-5, 0, -5);
    glVertex3f(-5, 0, 5);
    glVertex3f(5, 0, 5);
    glVertex3f(5, 0, -5);
    glEnd();
    glBegin(GL_LINE_LOOP);
    glColor4f(1.0f, 1.0f, 0.5f, 1.0f);
    glVertex3f(-5.02f, 0, -5.02f);
    glVertex3f(-5.02f, 0, 5.02f);
    glVertex3f(5.02f, 0, 5.02f);
    glVertex3f(5.02f, 0, -5.02f);
    glEnd();
}

void DrawPickLines(const EditorState& state, const Model* model) {
    glview::ViewContext* view = state.view;
    const glview::DisplayListSet* font = state.bitmapFont;
    const unsigned index = unsigned(state.pickIndex);
    switch (state.pickKind) {
    case PICK_NOTHING:
        glview::text_print(view, font, 80, 75, "Nothing");
        break;
    case PICK_LIGHT:
        glview::text_print(view, font, 80, 75, "Light [%u][%5.2f,%5.2f,%5.2f]", index,
                           double(state.lightPos[0]), double(state.lightPos[1]), double(state.lightPos[2]));
        break;
    case PICK_VERTEX: {
        float x = 0, y = 0, z = 0;
        GetVertex(model, state.pickIndex, &x, &y, &z);
        glview::text_print(view, font, 80, 75, "Vertex [%u][%5.2f,%5.2f,%5.2f]", index, double(x), double(y),
                           double(z));
        // One user is enough to know; the search then stops instead of crossing every face.
        int32_t user = 0;
        const bool inUse = FacesUsingVertex(model, state.pickIndex, &user, 1) != 0;
        glview::text_print(view, font, 80, 90, "%s", inUse ? "Vertex in use" : "DEL - remove");
        break;
    }
    case PICK_DUMMY: {
        int32_t id = 0;
        float x = 0, y = 0, z = 0;
        GetDummy(model, state.pickIndex, &id, &x, &y, &z);
        glview::text_print(view, font, 80, 75, "Dummy [%u][%5.2f,%5.2f,%5.2f]", index, double(x), double(y),
                           double(z));
        glview::text_print(view, font, 80, 90, "DEL - remove");
        break;
    }
    case PICK_FACE: {
        int32_t corner[3] = {0, 0, 0}, material = 0;
        GetFace(model, state.pickIndex, &corner[0], &corner[1], &corner[2], &material);
        float sum[3] = {0, 0, 0};
        for (int32_t c : corner) {
            float p[3] = {0, 0, 0};
            GetVertex(model, c, &p[0], &p[1], &p[2]);
            for (int axis = 0; axis < 3; ++axis)
                sum[axis] += p[axis];
        }
        float tex[6] = {0, 0, 0, 0, 0, 0};
        GetFaceTexCoords(model, state.pickIndex, tex);
        glview::text_print(view, font, 80, 75, "Face [%u][%5.2f,%5.2f,%5.2f]", index, sum[0] / 3.0,
                           sum[1] / 3.0, sum[2] / 3.0);
        glview::text_print(view, font, 80, 90, "DEL - remove");
        glview::text_print(view, font, 80, 105, "F - flip normal");
        glview::text_print(view, font, 80, 120, "M - modify properties");
        glview::text_print(view, font, 80, 135, "TBP:[%5.2f,%5.2f],[%5.2f,%5.2f],[%5.2f,%5.2f]",
                           double(tex[0]), double(tex[1]), double(tex[2]), double(tex[3]), double(tex[4]),
                           double(tex[5]));
        break;
    }
    default:
        break;
    }
}

void DrawOverlay(const EditorState& state, const Model* model) {
    glview::ViewContext* view = state.view;
    const glview::DisplayListSet* font = state.bitmapFont;
    glview::view_set_ortho(view);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glview::text_print(view, font, 1, 20, "%s", kEditorTitle);
    glview::text_print(view, font, 1, 35, "Cursor: [%5.2f,%5.2f,%5.2f]", double(state.cursorPos[0]),
                       double(state.cursorPos[1]), double(state.cursorPos[2]));
    glview::text_print(view, font, 1, 50, "Light: [%5.2f,%5.2f,%5.2f]", double(state.lightPos[0]),
                       double(state.lightPos[1]), double(state.lightPos[2]));
    glview::text_print(view, font, 1, 75, "Selected:");
    DrawPickLines(state, model);
}

} // namespace

void DrawEditorFrame(const EditorState& state, const Model* model, platform::GlSurface* window) {
    glview::ViewContext* view = state.view;
    if (!glview::view_has_context(view)) return;
    // Another view (a dialog's preview) may have drawn last; this frame belongs to the main view.
    glview::view_make_current(view);
    glview::view_clear(view);
    glview::view_set_perspective(view);
    glEnable(GL_BLEND);
    glEnable(GL_LINE_SMOOTH);
    ResetModelview(state);
    glEnable(GL_DEPTH_TEST);

    if (state.showAxes) DrawAxes();
    static constexpr float kCursorPlanes[4] = {0.3f, 0.6f, 0.3f, 0.5f};
    static constexpr float kCursorEdges[4] = {0.3f, 0.3f, 0.6f, 0.9f};
    GuideBox(state.cursorPos, kCursorPlanes, kCursorEdges);
    if (state.showLight) {
        static constexpr float kLightPlanes[4] = {0.9f, 0.9f, 0.3f, 0.5f};
        static constexpr float kLightEdges[4] = {0.9f, 0.9f, 0.2f, 0.9f};
        GuideBox(state.lightPos, kLightPlanes, kLightEdges);
    }
    if (state.showPointGrid) DrawPointGrid();
    DrawAxisLabels(state);

    ResetModelview(state);
    if (state.showVertices) DrawVertexCrosses(model);
    DrawDummies(state, model);

    glview::view_set_lighting(view, 1);
    glview::view_set_light(view, 0, state.showLight ? 1 : 0, state.lightPos[0], state.lightPos[1],
                           state.lightPos[2], 0.1f, 0.1f, 0.1f, 0.5f, 0.5f, 0.5f, 1.0f, 1.0f, 1.0f);
    glColor4f(0.5f, 0.5f, 0.5f, 1.0f);
    glDisable(GL_BLEND);
    glDisable(GL_COLOR_MATERIAL);
    ResetModelview(state);
    DrawModelPass(model, state.renderMode, state.shadeMode, state.showNormals ? 1 : 0);
    glview::view_set_lighting(view, 0);
    glEnable(GL_BLEND);

    GLUquadric* quadric = gluNewQuadric();
    DrawCursorRings(state, quadric);
    if (state.showLight) {
        ResetModelview(state);
        glTranslatef(state.lightPos[0], state.lightPos[1], state.lightPos[2]);
        glColor4f(1.0f, 1.0f, 0.0f, 0.7f);
        gluSphere(quadric, 0.06, 16, 16);
    }
    gluDeleteQuadric(quadric);

    if (state.showSurface) DrawSurface(state);
    DrawOverlay(state, model);
    glview::view_swap(window, view);
}

} // namespace editor
