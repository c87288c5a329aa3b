#include "model/model_draw.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

#include "model/model_draw_pass.h"
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

const Material* MaterialOf(const Model* model, int32_t index) {
    if (static_cast<uint32_t>(index) >= static_cast<uint32_t>(model->materialCount) || !model->materials)
        return nullptr;
    return &model->materials[index];
}

void ApplyMaterial(const Material& m) {
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, m.ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, m.diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, m.specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, m.emission);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, m.shininess);
}

// The values ApplyMaterial sends lie together from ambient to shininess.
constexpr size_t kLightingBytes = offsetof(Material, texture) - offsetof(Material, ambient);
static_assert(kLightingBytes == 17 * sizeof(float));

bool SameLighting(const Material& a, const Material& b) {
    return &a == &b || std::memcmp(a.ambient, b.ambient, kLightingBytes) == 0;
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

// True when a fragment of alpha 1 replaces what lies under it, so that the order of two opaque
// primitives shows only through the depth test.
bool OpaqueBlending() {
    GLint srcRgb = 0, dstRgb = 0, srcAlpha = 0, dstAlpha = 0, eqRgb = 0, eqAlpha = 0;
    glGetIntegerv(GL_BLEND_SRC_RGB, &srcRgb);
    glGetIntegerv(GL_BLEND_DST_RGB, &dstRgb);
    glGetIntegerv(GL_BLEND_SRC_ALPHA, &srcAlpha);
    glGetIntegerv(GL_BLEND_DST_ALPHA, &dstAlpha);
    glGetIntegerv(GL_BLEND_EQUATION_RGB, &eqRgb);
    glGetIntegerv(GL_BLEND_EQUATION_ALPHA, &eqAlpha);
    auto replaces = [](GLint src, GLint dst) {
        return (src == GL_SRC_ALPHA && dst == GL_ONE_MINUS_SRC_ALPHA) || (src == GL_ONE && dst == GL_ZERO);
    };
    return replaces(srcRgb, dstRgb) && replaces(srcAlpha, dstAlpha) && eqRgb == GL_FUNC_ADD &&
           eqAlpha == GL_FUNC_ADD;
}

// Whether the primitives of polygon mode renderMode are smoothed, giving partly covered
// fragments that blend even when the face is opaque.
bool SmoothedFaces(int32_t renderMode) {
    switch (renderMode) {
    case 1:
        return glIsEnabled(GL_LINE_SMOOTH);
    case 2:
        return glIsEnabled(GL_POINT_SMOOTH);
    default:
        return glIsEnabled(GL_POLYGON_SMOOTH);
    }
}

// Whether texture coordinates go unread while GL_TEXTURE_2D is off: no other texture target is
// on in unit 0, which is the unit glTexCoord2f and the pass's glEnable address.
bool TexCoordsUnreadWithout2D() {
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    return unit == GL_TEXTURE0 && !glIsEnabled(GL_TEXTURE_1D) && !glIsEnabled(GL_TEXTURE_3D) &&
           !glIsEnabled(GL_TEXTURE_CUBE_MAP);
}

// Draws the faces of DrawModelPass in runs. Drawing every face on its own would do, per face:
// apply its material, give its normal, enable and bind or disable its texture, draw it, disable
// texturing, and with normals draw its normal line inside a state block (colour material on,
// lighting off, white, line width 1; then width 3.5, lighting on, colour material off). The
// writer keeps the GL state each face is drawn with equal to that:
// - A material is applied only when its values differ from the last applied ones or a line
//   block has set ambient and diffuse to white (colour material) since.
// - Normal lines wait and are drawn together in one block. The first face's line is drawn at
//   once: afterwards lighting is on and colour material off whatever the entry state was.
// - A face with an out-of-range material keeps the material state left before it, which after
//   a normal line has white ambient and diffuse: the pending lines are drawn first.
// - A face that blends with what is under it (translucent, textured, smoothed, or any face
//   under a blend function that mixes opaque fragments) would blend over the earlier lines:
//   the pending lines are drawn first. Otherwise a later opaque face and an earlier line meet
//   only through the depth test, where the order does not matter.
// A run is drawn with one glDrawArrays; the current normal and texture coordinates are then set
// to those of its last vertex, as drawing its faces one by one would have left them.
class PassWriter {
  public:
    PassWriter(const Model* model, int32_t renderMode, int32_t shadeMode, bool normals,
               const PassRules& rules)
        : model_(model), normals_(normals), faceNormals_(shadeMode != 2),
          linesBeforeBlended_(rules.linesBeforeBlendedFaces), lines_(LineStore(0)), run_(LineStore(1)) {
        lines_.clear();
        // Sized once: a face adds at most 24 floats to a run that is drawn once it reaches
        // kRunFloats, and the floats are written in place.
        if (run_.size() < kRunFloats + 24) run_.resize(kRunFloats + 24);
        if (normals_) blendsAlways_ = !OpaqueBlending() || SmoothedFaces(renderMode);
        coordsUnread_ = TexCoordsUnreadWithout2D();
    }

    void Face(const ::Face& face) {
        Vec4 corners[3];
        if (!FaceCorners(model_, face, corners)) return;
        const Vec4 n = FrontNormal(corners);
        const Material* m = MaterialOf(model_, face.material);
        const GLuint texture = m ? static_cast<GLuint>(m->texture) : 0;

        if (normals_ && !lines_.empty()) {
            const bool blends = blendsAlways_ || texture != 0 || (m && !(m->diffuse[3] >= 1.0f));
            if (!m || (blends && linesBeforeBlended_)) FlushLines();
        }
        if (m && (whiteSinceApplied_ || !applied_ || !SameLighting(*m, *applied_))) {
            End();
            ApplyMaterial(*m);
            applied_ = m;
            whiteSinceApplied_ = false;
        }
        if (texture != 0) {
            if (texturing_ != State::On) {
                End();
                glEnable(GL_TEXTURE_2D);
                texturing_ = State::On;
            }
            if (!bound_ || boundTexture_ != texture) {
                End();
                glBindTexture(GL_TEXTURE_2D, texture);
                bound_ = true;
                boundTexture_ = texture;
            }
        } else if (texturing_ != State::Off) {
            End();
            glDisable(GL_TEXTURE_2D);
            texturing_ = State::Off;
        }

        const float* st = face.texCoords;
        const bool coords = texture != 0 || !coordsUnread_;
        if (open_ && runSize_ >= kRunFloats) End();
        if (!open_) {
            open_ = true;
            runCoords_ = coords;
        }
        for (int k = 0; k < 3; ++k) {
            float* out = run_.data() + runSize_;
            *out++ = corners[k].x;
            *out++ = corners[k].y;
            *out++ = corners[k].z;
            if (faceNormals_) {
                *out++ = n.x;
                *out++ = n.y;
                *out++ = n.z;
            }
            if (runCoords_) {
                *out++ = st[2 * k];
                *out++ = st[2 * k + 1];
            }
            runSize_ = static_cast<size_t>(out - run_.data());
        }
        // Nothing reads the coordinates of an untextured face; the last ones are set at the end.
        lastCoords_ = coords ? nullptr : st + 4;

        if (normals_) {
            AddLine(corners, n, st + 4);
            // Drawing lines earlier is always allowed; a bound keeps the buffer small.
            if (!drewFace_ || lines_.size() >= kLineFloats) FlushLines();
        }
        drewFace_ = true;
    }

    void Finish() {
        End();
        if (lastCoords_) glTexCoord2f(lastCoords_[0], lastCoords_[1]);
        if (!lines_.empty()) FlushLines();
        if (drewFace_ && texturing_ != State::Off) glDisable(GL_TEXTURE_2D);
    }

  private:
    enum class State { Unknown, On, Off };

    // Bounds of the two buffers: a run is drawn after 4096 faces, the pending lines after 16384,
    // which costs nothing measurable and keeps what stays allocated between frames under 1 MB.
    static constexpr size_t kRunFloats = 4096 * 3 * 8;
    static constexpr size_t kLineFloats = 16384 * 6;

    // The buffers of the pending line ends (0) and of the current run of faces (1), kept from
    // pass to pass so that a frame allocates nothing.
    static std::vector<float>& LineStore(int which) {
        static thread_local std::vector<float> store[2];
        return store[which];
    }

    // Draws the run of faces collected since the last state change as one array draw, then
    // gives the current normal and coordinates the values the last vertex would have left.
    void End() {
        if (!open_) return;
        open_ = false;
        const GLsizei stride = GLsizei(sizeof(float)) * (3 + (faceNormals_ ? 3 : 0) + (runCoords_ ? 2 : 0));
        const GLsizei count = static_cast<GLsizei>(runSize_ * sizeof(float) / size_t(stride));
        glVertexPointer(3, GL_FLOAT, stride, run_.data());
        if (faceNormals_) {
            glEnableClientState(GL_NORMAL_ARRAY);
            glNormalPointer(GL_FLOAT, stride, run_.data() + 3);
        } else {
            glDisableClientState(GL_NORMAL_ARRAY);
        }
        if (runCoords_) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(2, GL_FLOAT, stride, run_.data() + (faceNormals_ ? 6 : 3));
        } else {
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        }
        glDrawArrays(GL_TRIANGLES, 0, count);
        const float* last = run_.data() + runSize_ - size_t(stride) / sizeof(float);
        if (faceNormals_) glNormal3fv(last + 3);
        if (runCoords_) glTexCoord2fv(last + (faceNormals_ ? 6 : 3));
        runSize_ = 0;
    }

    // A line is drawn with the texture coordinates its face left; they matter only when some
    // other texture target reads them, and are kept only then.
    void AddLine(const Vec4 c[3], const Vec4& n, const float* lastCoords) {
        const float gx = (c[0].x + c[1].x + c[2].x) / 3.0f;
        const float gy = (c[0].y + c[1].y + c[2].y) / 3.0f;
        const float gz = (c[0].z + c[1].z + c[2].z) / 3.0f;
        if (!coordsUnread_) lines_.insert(lines_.end(), {lastCoords[0], lastCoords[1]});
        lines_.insert(lines_.end(), {gx, gy, gz, gx + n.x / 3.0f, gy + n.y / 3.0f, gz + n.z / 3.0f});
    }

    void FlushLines() {
        End();
        // Every face disables texturing before its line is drawn.
        if (texturing_ != State::Off) {
            glDisable(GL_TEXTURE_2D);
            texturing_ = State::Off;
        }
        glEnable(GL_COLOR_MATERIAL);
        glDisable(GL_LIGHTING);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        glLineWidth(1.0f);
        if (coordsUnread_) {
            // One array draw of positions only, so no current value changes.
            glDisableClientState(GL_NORMAL_ARRAY);
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
            glVertexPointer(3, GL_FLOAT, 0, lines_.data());
            glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(lines_.size() / 3));
        } else {
            glBegin(GL_LINES);
            for (size_t i = 0; i + 8 <= lines_.size(); i += 8) {
                glTexCoord2f(lines_[i], lines_[i + 1]);
                glVertex3fv(&lines_[i + 2]);
                glVertex3fv(&lines_[i + 5]);
            }
            glEnd();
        }
        glLineWidth(3.5f);
        glEnable(GL_LIGHTING);
        glDisable(GL_COLOR_MATERIAL);
        lines_.clear();
        whiteSinceApplied_ = true;
    }

    const Model* model_;
    const bool normals_;
    const bool faceNormals_;
    const bool linesBeforeBlended_;
    std::vector<float>& lines_;
    std::vector<float>& run_;
    size_t runSize_ = 0;
    bool runCoords_ = false;
    bool blendsAlways_ = false;
    bool coordsUnread_ = false;         // texture coordinates matter only to 2D-textured faces
    const float* lastCoords_ = nullptr; // the last face's third coordinates, when not yet given
    bool open_ = false;
    bool drewFace_ = false;
    const Material* applied_ = nullptr; // last material applied by this pass
    bool whiteSinceApplied_ = false;    // a line block has run since applied_ was applied
    State texturing_ = State::Unknown;
    bool bound_ = false;
    GLuint boundTexture_ = 0;
};

} // namespace

// TriangleNormal's operations written out (double intermediates, each result rounded to float
// where TriangleNormal rounds it), so the bits are the same and the per-face loops keep it inline.
Vec4 FrontNormal(const Vec4 c[3]) {
    auto round = [](double v) { return static_cast<float>(v); };
    const float ux = round(double{c[2].x} - c[0].x), uy = round(double{c[2].y} - c[0].y),
                uz = round(double{c[2].z} - c[0].z);
    const float vx = round(double{c[1].x} - c[0].x), vy = round(double{c[1].y} - c[0].y),
                vz = round(double{c[1].z} - c[0].z);
    const float x = round(double{uy} * vz - double{uz} * vy), y = round(double{uz} * vx - double{ux} * vz),
                z = round(double{ux} * vy - double{uy} * vx);
    const double length = round(std::sqrt(double{x} * x + double{y} * y + double{z} * z));
    return Vec4{-round(x / length), -round(y / length), -round(z / length), 0.0f};
}

int32_t DrawModel(const Model* model) {
    if (!model || !model->faces) return 0;
    int64_t lastMaterial = -1;
    bool open = false;
    const uint32_t faceCount = static_cast<uint32_t>(model->faceCount);
    for (uint32_t i = 0; i < faceCount; ++i) {
        const Face& face = model->faces[i];
        Vec4 corners[3];
        if (!FaceCorners(model, face, corners)) continue;
        const Vec4 n = FrontNormal(corners);
        const Material* m = MaterialOf(model, face.material);
        if (m && face.material != lastMaterial) {
            if (open) glEnd();
            open = false;
            ApplyMaterial(*m);
            lastMaterial = face.material;
        }
        if (!open) {
            glBegin(GL_TRIANGLES);
            open = true;
        }
        glNormal3fv(&n.x);
        for (const Vec4& v : corners)
            glVertex3fv(&v.x);
    }
    if (open) glEnd();
    return 0;
}

uint32_t CompileModelList(const Model* model) {
    const GLuint list = glGenLists(1);
    glLoadIdentity();
    if (list == 0) return 0;
    glNewList(list, GL_COMPILE);
    DrawModel(model);
    glEndList();
    return list;
}

int32_t DrawModelPassWith(const Model* model, int32_t renderMode, int32_t shadeMode, int32_t showNormals,
                          const PassRules& rules) {
    glPolygonMode(GL_FRONT_AND_BACK, PolygonModeFor(renderMode));
    glLineWidth(3.5f);
    glPointSize(10.0f);
    glShadeModel(shadeMode == 0 ? GL_FLAT : GL_SMOOTH);
    glEnable(GL_BLEND);

    const uint32_t faceCount = model && model->faces ? static_cast<uint32_t>(model->faceCount) : 0;
    if (faceCount > 0) {
        // Client arrays of the pass's own, the caller's restored afterwards.
        glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glClientActiveTexture(GL_TEXTURE0);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_SECONDARY_COLOR_ARRAY);
        glDisableClientState(GL_FOG_COORD_ARRAY);
        glDisableClientState(GL_INDEX_ARRAY);
        glDisableClientState(GL_EDGE_FLAG_ARRAY);
        glEnableClientState(GL_VERTEX_ARRAY);
        PassWriter writer(model, renderMode, shadeMode, showNormals != 0, rules);
        for (uint32_t i = 0; i < faceCount; ++i)
            writer.Face(model->faces[i]);
        writer.Finish();
        glPopClientAttrib();
    }

    glPointSize(1.0f);
    glLineWidth(1.0f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    return 0;
}

int32_t DrawModelPass(const Model* model, int32_t renderMode, int32_t shadeMode, int32_t showNormals) {
    return DrawModelPassWith(model, renderMode, shadeMode, showNormals, PassRules{});
}
