// Frame time of the model drawing paths at 1280 x 800 in the offscreen context, each beside a
// floor that draws the same triangles (and the same normal segments) from client arrays with
// glDrawArrays, and the ratio of the two. Models of 100,000 and 1,000,000 faces for the model
// pass; the editor's whole frame with a 100,000-face model under the editor's camera and light.
// Every frame clears, draws and waits with glFinish; the figure is the median frame, a path and
// its floor being drawn in turn.
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

#include "glview/font.h"
#include "glview/lighting.h"
#include "glview/view_context.h"
#include "model/model.h"
#include "model/model_draw.h"
#include "model/model_draw_per_face.h"
#include "model/vec4.h"
#include "modeleditor/editor_frame.h"
#include "modeleditor/editor_state.h"
#include "platform/egl_surface.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;
constexpr int kMaterials = 4;
constexpr int kMaterialRun = 1024; // consecutive faces that share a material

// A wavy grid of triangles: faces / 2 quads, two triangles each, spanning 3.2 x 2 units times
// scale in the z = 0 plane.
void BuildModel(Model* model, int faces, float scale) {
    const int quads = faces / 2;
    const int columns = static_cast<int>(std::ceil(std::sqrt(quads * 1.6)));
    const int rows = (quads + columns - 1) / columns;
    ResizeVertices(model, (columns + 1) * (rows + 1));
    for (int y = 0; y <= rows; ++y)
        for (int x = 0; x <= columns; ++x) {
            const float px = -1.6f + 3.2f * x / columns, py = -1.0f + 2.0f * y / rows;
            SetVertex(model, y * (columns + 1) + x, px * scale, py * scale,
                      0.05f * scale * std::sin(px * 7) * std::cos(py * 5), 0);
        }
    ResizeFaces(model, faces);
    for (int i = 0; i < faces; ++i) {
        const int q = i / 2, x = q % columns, y = q / columns;
        const int v00 = y * (columns + 1) + x, v10 = v00 + 1, v01 = v00 + columns + 1, v11 = v01 + 1;
        const int material = (i / kMaterialRun) % kMaterials;
        if (i % 2 == 0)
            SetFace(model, i, v00, v10, v11, material);
        else
            SetFace(model, i, v00, v11, v01, material);
    }
    for (int m = 0; m < kMaterials; ++m) {
        const float ambient[4] = {0.1f, 0.1f, 0.1f, 1},
                    diffuse[4] = {0.3f + 0.2f * m, 0.5f, 0.9f - 0.2f * m, 1}, specular[4] = {1, 1, 1, 1},
                    emission[4] = {0, 0, 0, 1};
        AddMaterial(model, "bench", ambient, diffuse, specular, emission, 64.0f);
    }
}

// The floor's client arrays: three corners with the face's front normal per face, and the
// normal segments the pass draws (centre to centre + n / 3).
struct FloorArrays {
    std::vector<float> positions, normals, lines;

    explicit FloorArrays(const Model* model) {
        for (int i = 0; i < model->faceCount; ++i) {
            const Face& f = model->faces[i];
            const Vec4 c[3] = {VertexPosition(model->vertices[f.a]), VertexPosition(model->vertices[f.b]),
                               VertexPosition(model->vertices[f.c])};
            const Vec4 back = TriangleNormal(c);
            const float n[3] = {-back.x, -back.y, -back.z};
            for (const Vec4& v : c) {
                positions.insert(positions.end(), {v.x, v.y, v.z});
                normals.insert(normals.end(), {n[0], n[1], n[2]});
            }
            const float g[3] = {(c[0].x + c[1].x + c[2].x) / 3.0f, (c[0].y + c[1].y + c[2].y) / 3.0f,
                                (c[0].z + c[1].z + c[2].z) / 3.0f};
            lines.insert(lines.end(),
                         {g[0], g[1], g[2], g[0] + n[0] / 3.0f, g[1] + n[1] / 3.0f, g[2] + n[2] / 3.0f});
        }
    }

    // One material, lit triangles in one glDrawArrays; with normals, the segments in one more,
    // unlit, white, line width 1.
    void Draw(bool withNormals) const {
        static constexpr float diffuse[4] = {0.5f, 0.5f, 0.9f, 1};
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, positions.data());
        glNormalPointer(GL_FLOAT, 0, normals.data());
        glDrawArrays(GL_TRIANGLES, 0, GLsizei(positions.size() / 3));
        glDisableClientState(GL_NORMAL_ARRAY);
        if (withNormals) {
            glDisable(GL_LIGHTING);
            glColor4f(1, 1, 1, 1);
            glLineWidth(1.0f);
            glVertexPointer(3, GL_FLOAT, 0, lines.data());
            glDrawArrays(GL_LINES, 0, GLsizei(lines.size() / 3));
            glEnable(GL_LIGHTING);
        }
        glDisableClientState(GL_VERTEX_ARRAY);
    }
};

void SetUpView() {
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, double(kWidth) / kHeight, 0.01, 64.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -2.5f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat position[4] = {-2, 2, 3, 1}, ambient[4] = {0.1f, 0.1f, 0.1f, 1},
                  diffuse[4] = {0.5f, 0.5f, 0.5f, 1}, specular[4] = {1, 1, 1, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    // The pass turns blending on and leaves it on; the floors draw in the same state.
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glShadeModel(GL_SMOOTH);
    glClearColor(0, 0, 0, 1);
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// CPU milliseconds of the whole process (the renderer's threads included).
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct Timing {
    double ms;    // median wall-clock milliseconds per frame
    double cpuMs; // median process CPU milliseconds per frame
};

// One cleared, drawn and finished frame: wall-clock and CPU milliseconds.
std::pair<double, double> OneFrame(const std::function<void()>& draw) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = CpuMs();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw();
    glFinish();
    const double cpu = CpuMs() - cpuStart;
    return {Seconds(std::chrono::steady_clock::now() - start) * 1000.0, cpu};
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Medians of the given paths drawn in turn, frame by frame, so that a change of load on the
// shared machine falls on all of them alike: two rounds to warm up, then at least 3 rounds and
// 1.5 s per path.
std::vector<Timing> FrameMs(const std::vector<std::function<void()>>& paths) {
    const size_t n = paths.size();
    std::vector<std::vector<double>> wall(n), cpu(n);
    for (int warm = 0; warm < 2; ++warm)
        for (const auto& path : paths)
            OneFrame(path);
    double total = 0;
    while (wall[0].size() < 3 || (total < 1500.0 * double(n) && wall[0].size() < 200))
        for (size_t i = 0; i < n; ++i) {
            const auto [w, c] = OneFrame(paths[i]);
            wall[i].push_back(w);
            cpu[i].push_back(c);
            total += w;
        }
    std::vector<Timing> out;
    for (size_t i = 0; i < n; ++i)
        out.push_back({Median(wall[i]), Median(cpu[i])});
    return out;
}

Timing FrameMs(const std::function<void()>& draw) {
    return FrameMs(std::vector<std::function<void()>>{draw})[0];
}

void Row(int faces, const char* path, Timing t) {
    std::printf("%-9d %-42s %9.1f %9.1f\n", faces, path, t.ms, t.cpuMs);
    std::fflush(stdout);
}

// The goal is on the wall-clock ratio; the CPU-time ratio is printed beside it because on a
// shared machine it moves less.
void RatioRow(int faces, const char* path, Timing t, Timing floor, double goal) {
    const double ratio = t.ms / floor.ms;
    std::printf("%-9d %-42s %9.1f %9.1f %9.1f %9.1f %6.2f %6.2f  goal <= %.1f: %s\n", faces, path, t.ms,
                t.cpuMs, floor.ms, floor.cpuMs, ratio, t.cpuMs / floor.cpuMs, goal,
                ratio <= goal ? "met" : "missed");
    std::fflush(stdout);
}

bool ModelPass() {
    platform::EglSurface surface(kWidth, kHeight);
    if (!surface.create_context()) {
        std::fprintf(stderr, "bench_draw: no offscreen GL context: %s\n", surface.last_error());
        return false;
    }
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::printf("%-9s %-42s %9s %9s %9s %9s %6s %6s\n", "faces", "path", "ms", "cpu ms", "floor ms",
                "floor cpu", "ratio", "cpu");
    for (int faces : {100000, 1000000}) {
        Model model;
        ModelInit(&model);
        BuildModel(&model, faces, 1.0f);
        SetUpView();
        const FloorArrays floor(&model);
        Row(faces, "clear only (no drawing)", FrameMs([] {}));
        // Each path is timed in turn with its floor.
        const auto off = FrameMs({[&] { floor.Draw(false); }, [&] { DrawModelPass(&model, 0, 1, 0); }});
        Row(faces, "floor: glDrawArrays triangles", off[0]);
        RatioRow(faces, "DrawModelPass, normals off", off[1], off[0], 1.3);
        const auto on = FrameMs({[&] { floor.Draw(true); }, [&] { DrawModelPass(&model, 0, 1, 1); }});
        Row(faces, "floor: triangles + GL_LINES normals", on[0]);
        RatioRow(faces, "DrawModelPass, normals on", on[1], on[0], 1.5);

        Row(faces, "DrawModel immediate", FrameMs([&] { DrawModel(&model); }));
        const uint32_t list = CompileModelList(&model);
        glTranslatef(0, 0, -2.5f); // CompileModelList reset the matrix
        Row(faces, "DrawModel list replay", FrameMs([&] { glCallList(list); }));
        glDeleteLists(list, 1);
        if (faces <= 100000) {
            // The per-face sequence the pass replaced, for comparison.
            Row(faces, "before: per-face pass, normals off",
                FrameMs([&] { DrawModelPassPerFace(&model, 0, 1, 0); }));
            Row(faces, "before: per-face pass, normals on",
                FrameMs([&] { DrawModelPassPerFace(&model, 0, 1, 1); }));
        }
        ModelRelease(&model);
    }
    return true;
}

// The editor's frame with its initial switches (normals and vertex crosses on) and a
// 100,000-face model, beside the floor drawn under the same camera and light with the frame's
// line smoothing and blending.
bool EditorFrame() {
    platform::EglSurface surface(kWidth, kHeight);
    glview::ViewContext* view = glview::view_create(&surface);
    if (!glview::view_has_context(view)) {
        std::fprintf(stderr, "bench_draw: no offscreen GL context: %s\n", surface.last_error());
        return false;
    }
    glview::view_resize(view, kWidth, kHeight);
    view->zNear = 0.01f;
    view->zFar = 64.0f;
    glview::view_set_clear_color(view, 0x000000, 0.1f);
    editor::EditorState state;
    state.view = view;
    state.outlineFont = glview::font_create_outline(view, 14, 0, 0.0f, 0.0f, 0, 0, 0, "Verdana");
    state.bitmapFont = glview::font_create_bitmap(view, 14, 0, 0, 0, 0, "Verdana");

    constexpr int faces = 100000;
    Model model;
    ModelInit(&model);
    BuildModel(&model, faces, 2.0f);
    const FloorArrays floor(&model);

    auto floorFrame = [&] {
        glview::view_set_perspective(view);
        glEnable(GL_BLEND);
        glEnable(GL_LINE_SMOOTH);
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, state.cameraDistance);
        glRotatef(state.cameraPitch, 1.0f, 0.0f, 0.0f);
        glRotatef(state.cameraYaw, 0.0f, 1.0f, 0.0f);
        glview::view_set_lighting(view, 1);
        glview::view_set_light(view, 0, 1, state.lightPos[0], state.lightPos[1], state.lightPos[2], 0.1f,
                               0.1f, 0.1f, 0.5f, 0.5f, 0.5f, 1.0f, 1.0f, 1.0f);
        glDisable(GL_COLOR_MATERIAL);
        floor.Draw(true);
        glview::view_set_lighting(view, 0);
    };
    const auto frame = FrameMs({floorFrame, [&] { editor::DrawEditorFrame(state, &model, &surface); }});
    Row(faces, "floor: triangles + GL_LINES, frame camera", frame[0]);
    RatioRow(faces, "DrawEditorFrame, initial switches", frame[1], frame[0], 1.5);
    state.showVertices = false;
    Row(faces, "DrawEditorFrame, vertex crosses off",
        FrameMs([&] { editor::DrawEditorFrame(state, &model, &surface); }));
    state.showNormals = false;
    Row(faces, "DrawEditorFrame, crosses and normals off",
        FrameMs([&] { editor::DrawEditorFrame(state, &model, &surface); }));

    ModelRelease(&model);
    glview::font_free(view, state.outlineFont);
    glview::font_free(view, state.bitmapFont);
    glview::view_release(&surface, view);
    return true;
}

} // namespace

int main() {
    if (!ModelPass()) return 1;
    if (!EditorFrame()) return 1;
    return 0;
}
