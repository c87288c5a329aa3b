#include "modeleditor/dialogs/preview_draw.h"

#include "glview/lighting.h"
#include "model/model_draw.h"
#include "modeleditor/dialogs/material_edit.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace editor {
namespace {

// GL_DEPTH_CLAMP (OpenGL 3.2, ARB_depth_clamp); an implementation without it ignores the switch.
constexpr GLenum kDepthClamp = 0x864F;

void DrawStripes(float offset, float red, float green, float blue) {
    glColor4f(red, green, blue, 1.0f);
    for (int i = 0; i < 10; ++i) {
        const float x = float(i) / 2.0f - 2.5f + offset;
        glVertex3f(x, -5.0f, -5.0f);
        glVertex3f(x, 5.0f, -5.0f);
    }
}

} // namespace

void DrawMaterialPreview(glview::ViewContext* view, const MaterialEdit& edit) {
    if (!glview::view_has_context(view)) return;
    glview::view_clear(view);
    glEnable(GL_BLEND);
    glview::view_set_perspective(view);
    glview::view_set_lighting(view, 0);
    if (edit.diffuse[3] < 255) {
        // The stripes lie on the far plane, where clipping and the depth test would drop them
        // by rounding; they are a backdrop, so they are drawn unclipped in depth and untested.
        glDisable(GL_DEPTH_TEST);
        glEnable(kDepthClamp);
        glBegin(GL_LINES);
        DrawStripes(0.0f, 1.0f, 0.0f, 0.0f);
        DrawStripes(0.3f, 0.0f, 1.0f, 0.0f);
        DrawStripes(0.7f, 0.0f, 0.0f, 1.0f);
        glEnd();
        glDisable(kDepthClamp);
    }
    glview::view_set_lighting(view, 1);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_COLOR_MATERIAL);
    glview::view_set_light(view, 0, 1, -8.0f, 8.0f, 5.0f, 0.2f, 0.2f, 0.2f, 0.6f, 0.6f, 0.6f, 1.0f, 1.0f,
                           1.0f);
    const MaterialColours c = ColoursOf(edit);
    glview::view_set_material(view, c.ambient[0], c.ambient[1], c.ambient[2], c.ambient[3], c.diffuse[0],
                              c.diffuse[1], c.diffuse[2], c.diffuse[3], c.specular[0], c.specular[1],
                              c.specular[2], c.specular[3], c.emission[0], c.emission[1], c.emission[2],
                              c.emission[3], edit.shininess);
    glTranslatef(0.0f, 0.0f, -3.0f);
    GLUquadric* sphere = gluNewQuadric();
    if (sphere) {
        gluSphere(sphere, 0.9, 64, 64);
        gluDeleteQuadric(sphere);
    }
}

void DrawModelPreview(glview::ViewContext* view, const Model* model, const float lightPos[3]) {
    if (!glview::view_has_context(view)) return;
    glview::view_clear(view);
    glview::view_set_perspective(view);
    glview::view_set_lighting(view, 1);
    glview::view_set_light(view, 0, 1, lightPos[0], lightPos[1], lightPos[2], 0.1f, 0.1f, 0.1f, 0.5f, 0.5f,
                           0.5f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    // Lighting on also lets the current colour stand for ambient and diffuse; the faces are
    // to show their own materials, as in the main view, not white on the white background.
    glDisable(GL_COLOR_MATERIAL);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -10.0f);
    DrawModel(model);
}

} // namespace editor
