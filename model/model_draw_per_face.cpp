#include "model/model_draw_per_face.h"

#include <GL/gl.h>

#include "model/vec4.h"

namespace {

// The three corners of a face, or false when one of its indices is outside the vertex list
// (a file or an import can carry such a face; it is not drawn).
bool FaceCorners(const Model* model, const Face& face, Vec4 corners[3]) {
    const uint32_t count = static_cast<uint32_t>(model->vertexCount);
    const int32_t index[3] = {face.a, face.b, face.c};
    for (int i = 0; i < 3; ++i) {
        if (static_cast<uint32_t>(index[i]) >= count || !model->vertices) return false;
        corners[i] = VertexPosition(model->vertices[index[i]]);
    }
    return true;
}

Vec4 FrontNormal(const Vec4 corners[3]) {
    const Vec4 back = TriangleNormal(corners);
    return Vec4{-back.x, -back.y, -back.z, 0.0f};
}

bool MaterialInRange(const Model* model, int32_t index) {
    return static_cast<uint32_t>(index) < static_cast<uint32_t>(model->materialCount) && model->materials;
}

void ApplyMaterial(const Material& m) {
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, m.ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, m.diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, m.specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, m.emission);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, m.shininess);
}

GLenum PolygonModeFor(int32_t renderMode) {
    switch (renderMode) {
    case 1:
        return GL_LINE;
    case 2:
        return GL_POINT;
    default:
        return GL_FILL;
    }
}

void DrawNormalLine(const Vec4 corners[3], const Vec4& n) {
    const float gx = (corners[0].x + corners[1].x + corners[2].x) / 3.0f;
    const float gy = (corners[0].y + corners[1].y + corners[2].y) / 3.0f;
    const float gz = (corners[0].z + corners[1].z + corners[2].z) / 3.0f;
    glEnable(GL_COLOR_MATERIAL);
    glDisable(GL_LIGHTING);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glLineWidth(1.0f);
    glBegin(GL_LINES);
    glVertex3f(gx, gy, gz);
    glVertex3f(gx + n.x / 3.0f, gy + n.y / 3.0f, gz + n.z / 3.0f);
    glEnd();
    glLineWidth(3.5f);
    glEnable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
}

} // namespace

int32_t DrawModelPerFace(const Model* model) {
    if (!model || !model->faces) return 0;
    int64_t lastMaterial = -1;
    const uint32_t faceCount = static_cast<uint32_t>(model->faceCount);
    for (uint32_t i = 0; i < faceCount; ++i) {
        const Face& face = model->faces[i];
        Vec4 corners[3];
        if (!FaceCorners(model, face, corners)) continue;
        glBegin(GL_TRIANGLES);
        const Vec4 n = FrontNormal(corners);
        if (MaterialInRange(model, face.material) && face.material != lastMaterial) {
            ApplyMaterial(model->materials[face.material]);
            lastMaterial = face.material;
        }
        glNormal3fv(&n.x);
        for (const Vec4& v : corners)
            glVertex3fv(&v.x);
        glEnd();
    }
    return 0;
}

int32_t DrawModelPassPerFace(const Model* model, int32_t renderMode, int32_t shadeMode, int32_t showNormals) {
    glPolygonMode(GL_FRONT_AND_BACK, PolygonModeFor(renderMode));
    glLineWidth(3.5f);
    glPointSize(10.0f);
    glShadeModel(shadeMode == 0 ? GL_FLAT : GL_SMOOTH);
    glEnable(GL_BLEND);

    const uint32_t faceCount = model && model->faces ? static_cast<uint32_t>(model->faceCount) : 0;
    for (uint32_t i = 0; i < faceCount; ++i) {
        const Face& face = model->faces[i];
        Vec4 corners[3];
        if (!FaceCorners(model, face, corners)) continue;
        const Vec4 n = FrontNormal(corners);
        GLuint texture = 0;
        if (MaterialInRange(model, face.material)) {
            const Material& m = model->materials[face.material];
            ApplyMaterial(m);
            texture = static_cast<GLuint>(m.texture);
        }
        if (shadeMode != 2) glNormal3fv(&n.x);
        if (texture != 0) {
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, texture);
        } else {
            glDisable(GL_TEXTURE_2D);
        }
        const float* st = face.texCoords;
        glBegin(GL_TRIANGLES);
        for (int k = 0; k < 3; ++k) {
            glTexCoord2f(st[2 * k], st[2 * k + 1]);
            glVertex3fv(&corners[k].x);
        }
        glEnd();
        glDisable(GL_TEXTURE_2D);
        if (showNormals) DrawNormalLine(corners, n);
    }

    glPointSize(1.0f);
    glLineWidth(1.0f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    return 0;
}

void DrawNormalSegmentsPerFace(const Model* model) {
    const uint32_t faceCount = model && model->faces ? static_cast<uint32_t>(model->faceCount) : 0;
    glBegin(GL_LINES);
    for (uint32_t i = 0; i < faceCount; ++i) {
        Vec4 c[3];
        if (!FaceCorners(model, model->faces[i], c)) continue;
        const Vec4 n = FrontNormal(c);
        const float gx = (c[0].x + c[1].x + c[2].x) / 3.0f;
        const float gy = (c[0].y + c[1].y + c[2].y) / 3.0f;
        const float gz = (c[0].z + c[1].z + c[2].z) / 3.0f;
        glVertex3f(gx, gy, gz);
        glVertex3f(gx + n.x / 3.0f, gy + n.y / 3.0f, gz + n.z / 3.0f);
    }
    glEnd();
}
