// Frame time of the model drawing paths at 1280 x 800 in the offscreen context, for models of
// 10,000, 100,000 and 1,000,000 faces, beside one glDrawArrays of the same triangles as the
// floor. Every frame clears, draws and waits with glFinish; the figure is the median frame.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "model/model.h"
#include "model/model_draw.h"
#include "platform/egl_surface.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;
constexpr int kMaterials = 4;
constexpr int kMaterialRun = 1024; // consecutive faces that share a material

// A wavy grid of triangles filling the view: faces / 2 quads, two triangles each.
void BuildModel(Model* model, int faces) {
    const int quads = faces / 2;
    const int columns = static_cast<int>(std::ceil(std::sqrt(quads * 1.6)));
    const int rows = (quads + columns - 1) / columns;
    ResizeVertices(model, (columns + 1) * (rows + 1));
    for (int y = 0; y <= rows; ++y)
        for (int x = 0; x <= columns; ++x) {
            const float px = -1.6f + 3.2f * x / columns, py = -1.0f + 2.0f * y / rows;
            SetVertex(model, y * (columns + 1) + x, px, py, 0.05f * std::sin(px * 7) * std::cos(py * 5), 0);
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

// Positions and normals of every face, three corners each, for the floor.
void BuildArrays(const Model* model, std::vector<float>& positions, std::vector<float>& normals) {
    for (int i = 0; i < model->faceCount; ++i) {
        const Face& f = model->faces[i];
        const Vertex* v[3] = {&model->vertices[f.a], &model->vertices[f.b], &model->vertices[f.c]};
        const float ux = v[1]->x - v[0]->x, uy = v[1]->y - v[0]->y, uz = v[1]->z - v[0]->z;
        const float wx = v[2]->x - v[0]->x, wy = v[2]->y - v[0]->y, wz = v[2]->z - v[0]->z;
        float nx = uy * wz - uz * wy, ny = uz * wx - ux * wz, nz = ux * wy - uy * wx;
        const float l = std::sqrt(nx * nx + ny * ny + nz * nz);
        nx /= l, ny /= l, nz /= l;
        for (const Vertex* c : v) {
            positions.insert(positions.end(), {c->x, c->y, c->z});
            normals.insert(normals.end(), {nx, ny, nz});
        }
    }
}

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
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glClearColor(0, 0, 0, 1);
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Median milliseconds per frame: two frames to warm up, then at least 3 frames and 1.5 s.
double FrameMs(const std::function<void()>& draw) {
    std::vector<double> frames;
    auto frame = [&] {
        const auto start = std::chrono::steady_clock::now();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw();
        glFinish();
        return Seconds(std::chrono::steady_clock::now() - start) * 1000.0;
    };
    frame();
    frame();
    double total = 0;
    while (frames.size() < 3 || (total < 1500.0 && frames.size() < 200)) {
        frames.push_back(frame());
        total += frames.back();
    }
    std::sort(frames.begin(), frames.end());
    return frames[frames.size() / 2];
}

} // namespace

int main() {
    platform::EglSurface surface(kWidth, kHeight);
    if (!surface.create_context()) {
        std::fprintf(stderr, "bench_draw: no offscreen GL context: %s\n", surface.last_error());
        return 1;
    }
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::printf("%-9s %-34s %12s %14s\n", "faces", "path", "ms/frame", "Mfaces/s");
    for (int faces : {10000, 100000, 1000000}) {
        Model model;
        ModelInit(&model);
        BuildModel(&model, faces);
        SetUpView();
        auto report = [&](const char* path, double ms) {
            std::printf("%-9d %-34s %12.2f %14.2f\n", faces, path, ms, faces / ms / 1000.0);
            std::fflush(stdout);
        };

        report("clear only (no drawing)", FrameMs([] {}));
        report("DrawModelPass (normals off)", FrameMs([&] { DrawModelPass(&model, 0, 1, 0); }));
        report("DrawModelPass (normals on)", FrameMs([&] { DrawModelPass(&model, 0, 1, 1); }));
        report("DrawModel immediate", FrameMs([&] { DrawModel(&model); }));

        const auto compileStart = std::chrono::steady_clock::now();
        const uint32_t list = CompileModelList(&model);
        glFinish();
        const double compileMs = Seconds(std::chrono::steady_clock::now() - compileStart) * 1000.0;
        glTranslatef(0, 0, -2.5f); // CompileModelList reset the matrix
        report("DrawModel list replay", FrameMs([&] { glCallList(list); }));
        std::printf("%-9d %-34s %12.2f\n", faces, "  (CompileModelList, once)", compileMs);
        glDeleteLists(list, 1);

        std::vector<float> positions, normals;
        BuildArrays(&model, positions, normals);
        const float diffuse[4] = {0.5f, 0.5f, 0.9f, 1};
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, positions.data());
        glNormalPointer(GL_FLOAT, 0, normals.data());
        report("floor: glDrawArrays client arrays",
               FrameMs([&] { glDrawArrays(GL_TRIANGLES, 0, faces * 3); }));

        GLuint buffers[2];
        glGenBuffers(2, buffers);
        glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(positions.size() * sizeof(float)), positions.data(),
                     GL_STATIC_DRAW);
        glVertexPointer(3, GL_FLOAT, 0, nullptr);
        glBindBuffer(GL_ARRAY_BUFFER, buffers[1]);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(normals.size() * sizeof(float)), normals.data(),
                     GL_STATIC_DRAW);
        glNormalPointer(GL_FLOAT, 0, nullptr);
        report("floor: glDrawArrays buffer object",
               FrameMs([&] { glDrawArrays(GL_TRIANGLES, 0, faces * 3); }));
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glDeleteBuffers(2, buffers);
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);

        ModelRelease(&model);
    }
    return 0;
}
