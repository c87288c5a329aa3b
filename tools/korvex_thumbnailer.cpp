#include "tools/korvex_thumbnailer.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "bitmap/taviron.h"
#include "model/korvex_file.h"
#include "model/status_text.h"
#include "platform/egl_surface.h"

namespace {

// Camera: looking down at the model's centre from the front right, 30 degrees above it; the
// field of view is the widest used, narrowed to fit the model.
constexpr double kAzimuthDegrees = 40.0;
constexpr double kElevationDegrees = 30.0;
constexpr double kFieldOfViewDegrees = 30.0;
// Every pixel of the picture is the mean of kSupersample x kSupersample drawn pixels.
constexpr std::int32_t kSupersample = 2;

std::int32_t read_le32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
        static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

bool finite_vertex(const Vertex& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The faces that can be drawn, every step-th one when there are more than the budget.
std::vector<Face> drawable_faces(const Model& model) {
    std::vector<Face> faces;
    if (model.faces == nullptr || model.vertices == nullptr || model.faceCount <= 0) return faces;
    const auto vertex_count = static_cast<std::uint32_t>(std::max(model.vertexCount, 0));
    auto usable = [&](const Face& f) {
        for (const std::int32_t i : {f.a, f.b, f.c})
            if (static_cast<std::uint32_t>(i) >= vertex_count || !finite_vertex(model.vertices[i]))
                return false;
        return true;
    };
    const std::int64_t count = model.faceCount;
    const std::int64_t budget = kKorvexThumbnailMaxFaces;
    faces.reserve(static_cast<std::size_t>(std::min(count, budget)));
    // Stepping by a fraction spreads the subset over the whole list, so every part of the
    // model keeps some of its faces.
    for (std::int64_t k = 0; k < std::min(count, budget); ++k) {
        const std::int64_t i = count <= budget ? k : k * count / budget;
        if (usable(model.faces[i])) faces.push_back(model.faces[i]);
    }
    return faces;
}

struct Bounds {
    double centre[3] = {0, 0, 0};
    double radius = 0;
};

Bounds bounds_of(const Model& model, const std::vector<Face>& faces) {
    double low[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL}, high[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    auto each_corner = [&](auto&& visit) {
        for (const Face& f : faces)
            for (const std::int32_t i : {f.a, f.b, f.c}) {
                const Vertex& v = model.vertices[i];
                visit(static_cast<double>(v.x), static_cast<double>(v.y), static_cast<double>(v.z));
            }
    };
    each_corner([&](double x, double y, double z) {
        const double p[3] = {x, y, z};
        for (int k = 0; k < 3; ++k) {
            low[k] = std::min(low[k], p[k]);
            high[k] = std::max(high[k], p[k]);
        }
    });
    Bounds b;
    for (int k = 0; k < 3; ++k)
        b.centre[k] = low[k] / 2 + high[k] / 2;
    each_corner([&](double x, double y, double z) {
        b.radius = std::max(b.radius, std::hypot(x - b.centre[0], y - b.centre[1], z - b.centre[2]));
    });
    if (!(b.radius > 0) || !std::isfinite(b.radius)) b.radius = 1;
    return b;
}

// Where the camera stands: on the bounding sphere's cone of kFieldOfViewDegrees, so the whole
// model is in front of it whatever its shape.
struct Camera {
    double eye[3];
    double distance;
    double fov_degrees;
};

Camera camera_for(const Model& model, const std::vector<Face>& faces, const Bounds& b) {
    Camera camera{};
    camera.distance = b.radius / std::sin(kFieldOfViewDegrees * M_PI / 360.0);
    const double azimuth = kAzimuthDegrees * M_PI / 180.0, elevation = kElevationDegrees * M_PI / 180.0;
    const double back[3] = {std::cos(elevation) * std::sin(azimuth), std::sin(elevation),
                            std::cos(elevation) * std::cos(azimuth)};
    for (int k = 0; k < 3; ++k)
        camera.eye[k] = b.centre[k] + camera.distance * back[k];
    // The sphere leaves a wide margin around most models; narrow the view to the corners actually
    // drawn, as seen from the eye (right = up x back, normalised; up' = back x right).
    const double length = std::hypot(back[0], back[2]);
    const double right[3] = {back[2] / length, 0.0, -back[0] / length};
    const double up[3] = {back[1] * right[2] - back[2] * right[1], back[2] * right[0] - back[0] * right[2],
                          back[0] * right[1] - back[1] * right[0]};
    double widest = 0;
    for (const Face& f : faces)
        for (const std::int32_t i : {f.a, f.b, f.c}) {
            const Vertex& v = model.vertices[i];
            const double d[3] = {v.x - camera.eye[0], v.y - camera.eye[1], v.z - camera.eye[2]};
            const double depth = -(d[0] * back[0] + d[1] * back[1] + d[2] * back[2]);
            const double across = std::max(std::fabs(d[0] * right[0] + d[1] * right[1] + d[2] * right[2]),
                                           std::fabs(d[0] * up[0] + d[1] * up[1] + d[2] * up[2]));
            if (depth > 0) widest = std::max(widest, across / depth);
        }
    const double fov = 2.0 * std::atan(widest * 1.06) * 180.0 / M_PI;
    camera.fov_degrees =
        std::isfinite(fov) && fov > 1e-3 ? std::min(fov, kFieldOfViewDegrees) : kFieldOfViewDegrees;
    return camera;
}

void set_up_view(const Model& model, const std::vector<Face>& faces) {
    const Bounds b = bounds_of(model, faces);
    const Camera camera = camera_for(model, faces, b);
    const double distance = camera.distance;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(camera.fov_degrees, 1.0, std::max(distance - b.radius * 1.01, distance * 1e-3),
                   distance + b.radius * 1.01);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // Lights are placed in eye space, so they come from the same side whatever the model.
    const GLfloat key_position[4] = {-0.4f, 0.7f, 1.0f, 0.0f};
    const GLfloat key_diffuse[4] = {0.9f, 0.9f, 0.9f, 1.0f};
    const GLfloat key_specular[4] = {0.6f, 0.6f, 0.6f, 1.0f};
    const GLfloat fill_position[4] = {0.6f, -0.3f, 0.5f, 0.0f};
    const GLfloat fill_diffuse[4] = {0.35f, 0.35f, 0.38f, 1.0f};
    const GLfloat none[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    const GLfloat ambient[4] = {0.4f, 0.4f, 0.4f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, key_position);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, key_diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, key_specular);
    glLightfv(GL_LIGHT0, GL_AMBIENT, none);
    glLightfv(GL_LIGHT1, GL_POSITION, fill_position);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, fill_diffuse);
    glLightfv(GL_LIGHT1, GL_SPECULAR, none);
    glLightfv(GL_LIGHT1, GL_AMBIENT, none);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    // Open meshes show their inside from this view; light it too.
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    glDisable(GL_COLOR_MATERIAL);
    glEnable(GL_NORMALIZE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);

    gluLookAt(camera.eye[0], camera.eye[1], camera.eye[2], b.centre[0], b.centre[1], b.centre[2], 0.0, 1.0,
              0.0);
}

// An RGBA colour buffer with depth, bound for drawing while the object lives.
class Framebuffer {
  public:
    Framebuffer(std::int32_t width, std::int32_t height) {
        glGenFramebuffers(1, &framebuffer_);
        glGenRenderbuffers(2, renderbuffers_);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[0]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffers_[0]);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[1]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, renderbuffers_[1]);
        complete_ = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    }
    ~Framebuffer() {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteRenderbuffers(2, renderbuffers_);
        glDeleteFramebuffers(1, &framebuffer_);
    }
    Framebuffer(const Framebuffer&) = delete;
    Framebuffer& operator=(const Framebuffer&) = delete;
    bool complete() const { return complete_; }

  private:
    GLuint framebuffer_ = 0;
    GLuint renderbuffers_[2] = {0, 0};
    bool complete_ = false;
};

void draw_faces(const Model& model, const std::vector<Face>& faces) {
    const auto material_count = static_cast<std::uint32_t>(std::max(model.materialCount, 0));
    std::int64_t last = -1;
    glBegin(GL_TRIANGLES);
    for (const Face& f : faces) {
        if (model.materials != nullptr && static_cast<std::uint32_t>(f.material) < material_count &&
            f.material != last) {
            const Material& m = model.materials[f.material];
            // A material change is allowed between vertices, so the triangle list stays one batch.
            glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, m.ambient);
            glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, m.diffuse);
            glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, m.specular);
            glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, m.emission);
            // GL refuses a shininess outside 0..128 (and a NaN), which a file may well hold.
            glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS,
                        m.shininess >= 0.0f ? std::min(m.shininess, 128.0f) : 0.0f);
            last = f.material;
        }
        const Vertex& a = model.vertices[f.a];
        const Vertex& b = model.vertices[f.b];
        const Vertex& c = model.vertices[f.c];
        const float u[3] = {b.x - a.x, b.y - a.y, b.z - a.z}, v[3] = {c.x - a.x, c.y - a.y, c.z - a.z};
        glNormal3f(u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]);
        glVertex3f(a.x, a.y, a.z);
        glVertex3f(b.x, b.y, b.z);
        glVertex3f(c.x, c.y, c.z);
    }
    glEnd();
}

// Averages each block of factor x factor drawn pixels (bottom row first) into one picture pixel
// (top row first), weighting colours by alpha so the transparent background does not darken edges.
void reduce(const std::vector<std::uint8_t>& drawn, std::int32_t side, std::int32_t factor,
            std::uint8_t* out) {
    const std::size_t drawn_row = static_cast<std::size_t>(side) * factor * 4;
    for (std::int32_t y = 0; y < side; ++y)
        for (std::int32_t x = 0; x < side; ++x) {
            std::uint32_t sum[4] = {0, 0, 0, 0};
            for (std::int32_t dy = 0; dy < factor; ++dy)
                for (std::int32_t dx = 0; dx < factor; ++dx) {
                    const std::size_t row =
                        static_cast<std::size_t>((side - 1 - y) * factor + (factor - 1 - dy));
                    const std::uint8_t* p =
                        &drawn[row * drawn_row + static_cast<std::size_t>(x * factor + dx) * 4];
                    for (int c = 0; c < 3; ++c)
                        sum[c] += p[c] * p[3];
                    sum[3] += p[3];
                }
            std::uint8_t* q = out + (static_cast<std::size_t>(y) * side + x) * 4;
            const std::uint32_t samples = static_cast<std::uint32_t>(factor * factor);
            for (int c = 0; c < 3; ++c)
                q[c] = sum[3] == 0 ? 0 : static_cast<std::uint8_t>((sum[c] + sum[3] / 2) / sum[3]);
            q[3] = static_cast<std::uint8_t>((sum[3] + samples / 2) / samples);
        }
}

} // namespace

bool korvex_thumbnail_load(const std::uint8_t* data, std::size_t size, Model& model, std::string& reason) {
    if (size >= kModelHeaderSize && std::memcmp(data, "Korvex", 7) == 0) {
        const std::int32_t counts[4] = {read_le32(data + 8), read_le32(data + 12), read_le32(data + 24),
                                        read_le32(data + 28)};
        if (std::all_of(counts, counts + 4, [](std::int32_t n) { return n >= 0; }) &&
            KorvexBodySize(static_cast<std::uint32_t>(counts[0]), static_cast<std::uint32_t>(counts[1]),
                           static_cast<std::uint32_t>(counts[2]),
                           static_cast<std::uint32_t>(counts[3])) > kKorvexThumbnailMaxBody) {
            reason = "model too large for a thumbnail";
            return false;
        }
    }
    const std::int32_t status = ModelLoadMemory(&model, data, size);
    if (status != MODEL_OK) {
        reason = ModelStatusText(status, ModelAccess::Read);
        return false;
    }
    return true;
}

bool korvex_thumbnail_draw(const Model& model, std::int32_t side, Taviron& picture, std::string& reason) {
    const std::vector<Face> faces = drawable_faces(model);
    if (faces.empty()) {
        reason = "nothing to draw";
        return false;
    }
    while (glGetError() != GL_NO_ERROR) {
    }
    GLint largest = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
    const std::int32_t factor = static_cast<std::int64_t>(side) * kSupersample <= largest ? kSupersample : 1;
    const std::int32_t drawn_side = side * factor;
    if (drawn_side > largest) {
        reason = "thumbnail size beyond the renderer's limits";
        return false;
    }
    bool ok = false;
    std::uint8_t* block = Taviron::allocate_pixels(side, side, ok);
    if (!ok) {
        reason = "out of memory";
        return false;
    }
    Taviron result;
    result.adopt_pixels(block, side, side);
    {
        Framebuffer target(drawn_side, drawn_side);
        if (!target.complete()) {
            reason = "cannot make an offscreen framebuffer";
            return false;
        }
        glViewport(0, 0, drawn_side, drawn_side);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        set_up_view(model, faces);
        draw_faces(model, faces);
        std::vector<std::uint8_t> drawn(static_cast<std::size_t>(drawn_side) * drawn_side * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, drawn_side, drawn_side, GL_RGBA, GL_UNSIGNED_BYTE, drawn.data());
        if (glGetError() != GL_NO_ERROR) {
            reason = "drawing failed";
            return false;
        }
        reduce(drawn, side, factor, result.pixels);
    }
    picture.adopt_pixels(result.pixels, side, side);
    result.pixels = nullptr;
    return true;
}

bool korvex_thumbnail(const std::uint8_t* data, std::size_t size, std::int32_t side, Taviron& picture,
                      std::string& reason) {
    Model model;
    ModelInit(&model);
    bool ok = korvex_thumbnail_load(data, size, model, reason);
    if (ok) {
        platform::EglSurface surface(1, 1);
        if (!surface.create_context()) {
            reason = std::string("no offscreen OpenGL: ") + surface.last_error();
            ok = false;
        } else {
            ok = korvex_thumbnail_draw(model, side, picture, reason);
        }
    }
    ModelRelease(&model);
    return ok;
}
