// The batched drawing paths against the per-face oracle: the same models drawn both ways from
// the same entry state must leave the same colour (RGBA8) and depth (float) buffers and the same
// GL state. The one allowed difference: with normal lines over smoothed (blended) lines, a line
// that now follows faces drawn after its own face may blend differently, but only at pixels the
// lines cover.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "model/model_draw.h"
#include "model/model_draw_pass.h"
#include "model/model_draw_per_face.h"
#include "model/test_support.h"
#include "platform/egl_surface.h"

namespace {

constexpr int kSize = 128;
constexpr GLuint kMissingTexture = 777; // a name no glGenTextures of this test hands out

struct Picture {
    std::vector<uint8_t> rgba;
    std::vector<float> depth;
    std::vector<std::pair<std::string, std::vector<float>>> state;
};

// The GL state a pass may change, by name.
std::vector<std::pair<std::string, std::vector<float>>> GlState() {
    std::vector<std::pair<std::string, std::vector<float>>> out;
    auto get = [&](const char* name, GLenum what, int n) {
        std::vector<float> v(16);
        glGetFloatv(what, v.data());
        v.resize(n);
        out.emplace_back(name, v);
    };
    get("colour", GL_CURRENT_COLOR, 4);
    get("normal", GL_CURRENT_NORMAL, 3);
    get("texcoord", GL_CURRENT_TEXTURE_COORDS, 4);
    get("line width", GL_LINE_WIDTH, 1);
    get("point size", GL_POINT_SIZE, 1);
    get("polygon mode", GL_POLYGON_MODE, 2);
    get("shade model", GL_SHADE_MODEL, 1);
    get("texture binding", GL_TEXTURE_BINDING_2D, 1);
    const std::pair<const char*, GLenum> params[] = {{"ambient", GL_AMBIENT},
                                                     {"diffuse", GL_DIFFUSE},
                                                     {"specular", GL_SPECULAR},
                                                     {"emission", GL_EMISSION}};
    for (GLenum face : {GL_FRONT, GL_BACK}) {
        const std::string side = face == GL_FRONT ? "front " : "back ";
        for (const auto& [name, param] : params) {
            std::vector<float> v(4);
            glGetMaterialfv(face, param, v.data());
            out.emplace_back(side + name, v);
        }
        std::vector<float> v(1);
        glGetMaterialfv(face, GL_SHININESS, v.data());
        out.emplace_back(side + "shininess", v);
    }
    const std::pair<const char*, GLenum> enables[] = {{"lighting", GL_LIGHTING},
                                                      {"colour material", GL_COLOR_MATERIAL},
                                                      {"texture 2D", GL_TEXTURE_2D},
                                                      {"blend", GL_BLEND},
                                                      {"depth test", GL_DEPTH_TEST},
                                                      {"line smooth", GL_LINE_SMOOTH},
                                                      {"light 0", GL_LIGHT0},
                                                      {"cull face", GL_CULL_FACE},
                                                      {"vertex array", GL_VERTEX_ARRAY},
                                                      {"normal array", GL_NORMAL_ARRAY}};
    for (const auto& [name, cap] : enables)
        out.emplace_back(std::string(name), std::vector<float>{glIsEnabled(cap) ? 1.0f : 0.0f});
    return out;
}

// Two models built the same way: a wavy grid with material runs, and random overlapping
// triangles with everything a model may hold.
void AddMaterials(Model* m, GLuint opaqueTexture, GLuint translucentTexture) {
    struct MaterialCase {
        float r, g, b, a, shininess;
        GLuint texture;
    };
    const MaterialCase cases[] = {{0.9f, 0.2f, 0.1f, 1, 10, 0},
                                  {0.1f, 0.8f, 0.3f, 1, 40, 0},
                                  {0.9f, 0.2f, 0.1f, 1, 10, 0},
                                  {0.2f, 0.3f, 0.9f, 0.45f, 5, 0},
                                  {1, 1, 1, 1, 0, opaqueTexture},
                                  {1, 1, 1, 1, 20, translucentTexture},
                                  {0.7f, 0.7f, 0.2f, 1, 0, kMissingTexture}};
    for (const MaterialCase& s : cases) {
        const float ambient[4] = {s.r * 0.3f, s.g * 0.3f, s.b * 0.3f, 1}, diffuse[4] = {s.r, s.g, s.b, s.a},
                    specular[4] = {0.6f, 0.6f, 0.6f, 1}, emission[4] = {0.02f, 0.0f, 0.05f, 1};
        AddMaterial(m, "m", ambient, diffuse, specular, emission, s.shininess);
        SetMaterialTexture(m, m->materialCount - 1, static_cast<int32_t>(s.texture));
    }
}

void BuildGrid(Model* m, GLuint opaqueTexture, GLuint translucentTexture, int n = 10, int runLength = 7) {
    AddMaterials(m, opaqueTexture, translucentTexture);
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x) {
            const float px = -0.9f + 1.8f * x / n, py = -0.9f + 1.8f * y / n;
            AddVertex(m, px, py, 0.15f * std::sin(px * 5) * std::cos(py * 4), 0);
        }
    for (int q = 0; q < n * n; ++q) {
        const int x = q % n, y = q / n, v = y * (n + 1) + x;
        for (int half = 0; half < 2; ++half) {
            const int face = 2 * q + half;
            const int run = face / runLength; // index 7 is materialCount
            const int material = (run * 3) % 8;
            if (half == 0)
                AddFace(m, v, v + 1, v + n + 2, material);
            else
                AddFace(m, v, v + n + 2, v + n + 1, material);
            const float st[6] = {0, 0, 1, 0, 1, 1};
            SetFaceTexCoords(m, face, st);
        }
    }
}

void BuildRandom(Model* m, GLuint opaqueTexture, GLuint translucentTexture) {
    AddMaterials(m, opaqueTexture, translucentTexture);
    std::mt19937 random(12);
    std::uniform_real_distribution<float> coordinate(-0.9f, 0.9f), depth(-0.5f, 0.5f), unit(0, 1);
    for (int i = 0; i < 90; ++i)
        AddVertex(m, coordinate(random), coordinate(random), depth(random), 0);
    const int32_t count = m->materialCount, vertices = m->vertexCount;
    const int32_t firstMaterials[] = {-1, count, -1};
    for (int i = 0; i < 60; ++i) {
        const int32_t material = i < 3 ? firstMaterials[i] : int32_t(random() % (count + 2)) - 1;
        AddFace(m, (i * 17) % vertices, (i * 17 + 23) % vertices, (i * 17 + 61) % vertices, material);
        float st[6];
        for (float& s : st)
            s = unit(random) * 2 - 0.5f;
        SetFaceTexCoords(m, i, st);
    }
    // Degenerate faces: a repeated corner, three corners on a line.
    AddFace(m, 4, 4, 9, 1);
    const int32_t a = m->vertexCount;
    AddVertex(m, -0.5f, -0.5f, 0, 0);
    AddVertex(m, 0, 0, 0, 0);
    AddVertex(m, 0.5f, 0.5f, 0, 0);
    AddFace(m, a, a + 1, a + 2, 0);
    // Corners outside the vertex list.
    AddFace(m, 0, 1, m->vertexCount, 1);
    AddFace(m, -1, 2, 3, 0);
    // A large translucent face close to the viewer, over many earlier normal lines, then more
    // opaque faces after it.
    const int32_t b = m->vertexCount;
    AddVertex(m, -0.95f, -0.95f, 0.7f, 0);
    AddVertex(m, 0.95f, -0.95f, 0.7f, 0);
    AddVertex(m, 0, 0.95f, 0.7f, 0);
    AddFace(m, b, b + 1, b + 2, 3);
    for (int i = 0; i < 8; ++i)
        AddFace(m, (i * 11) % 90, (i * 11 + 3) % 90, (i * 11 + 40) % 90, i % 3);
}

GLuint MakeTexture(bool translucent) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    std::vector<uint8_t> texels(4 * 4 * 4);
    for (int i = 0; i < 16; ++i) {
        texels[4 * i + 0] = uint8_t(40 + 13 * i);
        texels[4 * i + 1] = uint8_t(i % 2 ? 220 : 60);
        texels[4 * i + 2] = uint8_t(255 - 9 * i);
        texels[4 * i + 3] = translucent ? uint8_t(60 + 10 * i) : 255;
    }
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
}

enum class Entry { Neutral, EditorFrame };

class ModelDrawIdentity : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(surface.create_context()) << "no offscreen GL context: " << surface.last_error();
        opaqueTexture = MakeTexture(false);
        translucentTexture = MakeTexture(true);
        glGenTextures(1, &stripe);
        glBindTexture(GL_TEXTURE_1D, stripe);
        const uint8_t texels[4 * 4] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 0, 255};
        glTexImage1D(GL_TEXTURE_1D, 0, GL_RGBA, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
        glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        BuildGrid(grid.get(), opaqueTexture, translucentTexture);
        BuildRandom(random.get(), opaqueTexture, translucentTexture);
    }

    // A state no pass starts from by default: odd current values and material, a tilted view,
    // a positional light. The editor frame's adds what it turns on before its pass.
    void Enter(Entry entry) {
        glViewport(0, 0, kSize, kSize);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-1.2, 1.2, -1.2, 1.2, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(25, 1, 0, 0);
        glRotatef(-35, 0, 1, 0);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        const GLfloat position[4] = {1, 2, 5, 1}, diffuse[4] = {0.8f, 0.8f, 0.7f, 1},
                      specular[4] = {0.5f, 0.5f, 0.5f, 1}, ambient[4] = {0.2f, 0.2f, 0.2f, 1};
        glLightfv(GL_LIGHT0, GL_POSITION, position);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
        glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDisable(GL_COLOR_MATERIAL);
        const GLfloat front[4] = {0.3f, 0.1f, 0.5f, 0.9f}, back[4] = {0.1f, 0.6f, 0.2f, 1};
        glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, front);
        glMaterialfv(GL_BACK, GL_AMBIENT_AND_DIFFUSE, back);
        glMaterialfv(GL_FRONT, GL_EMISSION, back);
        glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 7);
        glColor4f(0.2f, 0.4f, 0.6f, 0.8f);
        glNormal3f(0.3f, 0.4f, 0.866f);
        glTexCoord2f(0.25f, 0.75f);
        glLineWidth(2);
        glPointSize(3);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glShadeModel(GL_FLAT);
        if (entry == Entry::Neutral) {
            // A 1D texture on as well: untextured faces then read their coordinates.
            glBindTexture(GL_TEXTURE_1D, stripe);
            glEnable(GL_TEXTURE_1D);
            glEnableClientState(GL_NORMAL_ARRAY); // the caller's client arrays stay as they were
            glDisable(GL_BLEND);
            glDisable(GL_LINE_SMOOTH);
            glBindTexture(GL_TEXTURE_2D, translucentTexture);
            glEnable(GL_TEXTURE_2D);
        } else {
            glDisable(GL_TEXTURE_1D);
            glDisableClientState(GL_NORMAL_ARRAY);
            glEnable(GL_LINE_SMOOTH);
            glBindTexture(GL_TEXTURE_2D, opaqueTexture);
            glDisable(GL_TEXTURE_2D);
            glEnable(GL_COLOR_MATERIAL);
            glColor4f(0.5f, 0.5f, 0.5f, 1.0f);
            glDisable(GL_BLEND);
            glDisable(GL_COLOR_MATERIAL);
        }
        glClearColor(0.05f, 0.1f, 0.15f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    Picture Draw(Entry entry, const std::function<void()>& draw) {
        Enter(entry);
        draw();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        Picture p;
        p.state = GlState();
        p.rgba.resize(size_t(kSize) * kSize * 4);
        p.depth.resize(size_t(kSize) * kSize);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, p.rgba.data());
        glReadPixels(0, 0, kSize, kSize, GL_DEPTH_COMPONENT, GL_FLOAT, p.depth.data());
        return p;
    }

    // Pixels the normal lines of a pass cover when drawn alone over the faces' depth, widened
    // by one pixel.
    std::vector<bool> LinePixels(Entry entry, const Model* model, int renderMode, int shadeMode) {
        const Picture lines = Draw(entry, [&] {
            DrawModelPassPerFace(model, renderMode, shadeMode, 0);
            glClear(GL_COLOR_BUFFER_BIT);
            glDisable(GL_LIGHTING);
            glDisable(GL_TEXTURE_2D);
            glDisable(GL_BLEND);
            glColor4f(1, 1, 1, 1);
            DrawNormalSegmentsPerFace(model);
        });
        std::vector<bool> mask(size_t(kSize) * kSize, false);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                if (lines.rgba[(size_t(y) * kSize + x) * 4] != 255) continue;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (x + dx >= 0 && x + dx < kSize && y + dy >= 0 && y + dy < kSize)
                            mask[size_t(y + dy) * kSize + x + dx] = true;
            }
        return mask;
    }

    // Differences of `actual` from `expected`: depth values and state entries always, colour
    // pixels outside `allowed` (all pixels when it is empty).
    static std::string Compare(const Picture& expected, const Picture& actual,
                               const std::vector<bool>& allowed = {}) {
        std::string out;
        int colour = 0, depth = 0;
        for (size_t i = 0; i < expected.depth.size(); ++i) {
            depth += expected.depth[i] != actual.depth[i];
            if (!allowed.empty() && allowed[i]) continue;
            for (int c = 0; c < 4; ++c)
                if (expected.rgba[4 * i + c] != actual.rgba[4 * i + c]) {
                    ++colour;
                    break;
                }
        }
        if (colour) out += std::to_string(colour) + " colour pixels differ; ";
        if (depth) out += std::to_string(depth) + " depth values differ; ";
        for (size_t i = 0; i < expected.state.size(); ++i)
            if (expected.state[i].second != actual.state[i].second)
                out += expected.state[i].first + " differs; ";
        return out;
    }

    // How much the lines change the picture at the pixels they cover: the sum of the colour
    // differences from the same picture without lines.
    static long LineWeight(const Picture& with, const Picture& without, const std::vector<bool>& mask) {
        long sum = 0;
        for (size_t i = 0; i < mask.size(); ++i)
            if (mask[i])
                for (int c = 0; c < 3; ++c)
                    sum += std::abs(int(with.rgba[4 * i + c]) - int(without.rgba[4 * i + c]));
        return sum;
    }

    platform::EglSurface surface{kSize, kSize};
    GLuint opaqueTexture = 0, translucentTexture = 0, stripe = 0;
    ScopedModel grid, random;
};

TEST_F(ModelDrawIdentity, PassMatchesThePerFaceSequenceInEveryModeFromBothEntryStates) {
    for (Model* model : {grid.get(), random.get()})
        for (Entry entry : {Entry::Neutral, Entry::EditorFrame})
            for (int render = 0; render < 3; ++render)
                for (int shade = 0; shade < 3; ++shade)
                    for (int normals = 0; normals < 2; ++normals) {
                        SCOPED_TRACE(testing::Message()
                                     << (model == grid.get() ? "grid" : "random") << " entry " << int(entry)
                                     << " render " << render << " shade " << shade << " normals " << normals);
                        const Picture expected =
                            Draw(entry, [&] { DrawModelPassPerFace(model, render, shade, normals); });
                        const Picture actual =
                            Draw(entry, [&] { DrawModelPass(model, render, shade, normals); });
                        // Only smoothed normal lines may blend differently, and only where they are.
                        if (!normals || entry == Entry::Neutral) {
                            EXPECT_EQ(Compare(expected, actual), "");
                            continue;
                        }
                        const auto mask = LinePixels(entry, model, render, shade);
                        EXPECT_EQ(Compare(expected, actual, mask), "");
                        const Picture bare =
                            Draw(entry, [&] { DrawModelPassPerFace(model, render, shade, 0); });
                        const long expectedWeight = LineWeight(expected, bare, mask);
                        EXPECT_GT(expectedWeight, 0);
                        EXPECT_GE(LineWeight(actual, bare, mask), expectedWeight * 9 / 10);
                    }
}

TEST_F(ModelDrawIdentity, LongRunsAreDrawnInBoundedPiecesWithTheSamePicture) {
    ScopedModel big; // 20,000 faces in runs of 5,000: longer than one piece of run or lines
    BuildGrid(big.get(), opaqueTexture, translucentTexture, 100, 5000);
    for (Entry entry : {Entry::Neutral, Entry::EditorFrame})
        for (int normals = 0; normals < 2; ++normals) {
            SCOPED_TRACE(testing::Message() << "entry " << int(entry) << " normals " << normals);
            const Picture expected = Draw(entry, [&] { DrawModelPassPerFace(big.get(), 0, 1, normals); });
            const Picture actual = Draw(entry, [&] { DrawModelPass(big.get(), 0, 1, normals); });
            EXPECT_EQ(Compare(expected, actual,
                              normals && entry == Entry::EditorFrame ? LinePixels(entry, big.get(), 0, 1)
                                                                     : std::vector<bool>{}),
                      "");
        }
}

TEST_F(ModelDrawIdentity, PlainDrawingAndItsListMatchThePerFaceSequence) {
    for (Model* model : {grid.get(), random.get()})
        for (Entry entry : {Entry::Neutral, Entry::EditorFrame}) {
            const Picture expected = Draw(entry, [&] { DrawModelPerFace(model); });
            EXPECT_EQ(Compare(expected, Draw(entry, [&] { DrawModel(model); })), "");
            GLuint list = 0;
            const Picture replayed = Draw(entry, [&] {
                GLfloat view[16];
                glGetFloatv(GL_MODELVIEW_MATRIX, view);
                list = CompileModelList(model);
                glLoadMatrixf(view);
                glCallList(list);
            });
            EXPECT_EQ(Compare(expected, replayed), "");
            glDeleteLists(list, 1);
        }
}

TEST_F(ModelDrawIdentity, ModelEditedInPlaceBetweenTwoPassesIsDrawnAsEdited) {
    auto edit = [](Model* m) {
        SetVertex(m, 3, 0.1f, -0.2f, 0.6f, 0);
        const float red[4] = {1, 0, 0, 1}, glass[4] = {0, 1, 1, 0.3f}, none[4] = {0, 0, 0, 1};
        SetMaterial(m, 1, "edited", red, glass, none, none, 3);
        SetFace(m, 5, 5, 6, 7, 1);
        const float st[6] = {0.5f, 0.5f, 0, 1, 1, 0};
        SetFaceTexCoords(m, 6, st);
    };
    for (int normals = 0; normals < 2; ++normals) {
        ScopedModel a, b;
        BuildRandom(a.get(), opaqueTexture, translucentTexture);
        BuildRandom(b.get(), opaqueTexture, translucentTexture);
        const Picture expected = Draw(Entry::Neutral, [&] {
            DrawModelPassPerFace(a.get(), 0, 1, normals);
            edit(a.get());
            DrawModelPassPerFace(a.get(), 0, 1, normals);
        });
        const Picture actual = Draw(Entry::Neutral, [&] {
            DrawModelPass(b.get(), 0, 1, normals);
            edit(b.get());
            DrawModelPass(b.get(), 0, 1, normals);
        });
        EXPECT_EQ(Compare(expected, actual), "") << "normals " << normals;
    }
}

TEST_F(ModelDrawIdentity, ComparisonCatchesLinesDeferredPastTranslucentFaces) {
    PassRules wrong;
    wrong.linesBeforeBlendedFaces = false;
    for (Entry entry : {Entry::Neutral, Entry::EditorFrame}) {
        SCOPED_TRACE(int(entry));
        const Picture expected = Draw(entry, [&] { DrawModelPassPerFace(random.get(), 0, 1, 1); });
        const Picture deferred = Draw(entry, [&] { DrawModelPassWith(random.get(), 0, 1, 1, wrong); });
        const auto mask = LinePixels(entry, random.get(), 0, 1);
        EXPECT_NE(Compare(expected, deferred, mask).find("colour pixels differ"), std::string::npos);
    }
}

} // namespace

TEST(ModelDrawNormal, FrontNormalIsTheNegatedTriangleNormalBitForBit) {
    std::mt19937 random(5);
    std::uniform_real_distribution<float> wide(-1000, 1000), narrow(-1e-3f, 1e-3f);
    auto bits = [](float f) {
        uint32_t u;
        std::memcpy(&u, &f, 4);
        return u;
    };
    for (int i = 0; i < 200000; ++i) {
        auto& d = i % 2 ? wide : narrow;
        Vec4 c[3] = {{d(random), d(random), d(random), 0},
                     {d(random), d(random), d(random), 0},
                     {d(random), d(random), d(random), 0}};
        if (i % 97 == 0) c[2] = c[1]; // degenerate: not finite
        const Vec4 back = TriangleNormal(c), front = FrontNormal(c);
        ASSERT_EQ(bits(front.x), bits(-back.x)) << i;
        ASSERT_EQ(bits(front.y), bits(-back.y)) << i;
        ASSERT_EQ(bits(front.z), bits(-back.z)) << i;
    }
}
