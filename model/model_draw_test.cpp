#include "model/model_draw.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/egl_surface.h"

namespace {

constexpr int kSize = 64;

struct Rgb {
    int r, g, b;
};

// A model whose lists are freed with it.
struct TestModel {
    Model m;
    TestModel() { ModelInit(&m); }
    ~TestModel() { ModelRelease(&m); }
    Model* operator->() { return &m; }
    Model* get() { return &m; }
    void AddColourMaterial(float r, float g, float b, int32_t texture = 0) {
        const float ambient[4] = {0, 0, 0, 1}, diffuse[4] = {r, g, b, 1}, none[4] = {0, 0, 0, 1};
        ASSERT_EQ(AddMaterial(&m, "m", ambient, diffuse, none, none, 0.0f), 0);
        SetMaterialTexture(&m, m.materialCount - 1, texture);
    }
    // A triangle around (cx, cy) in the z = 0 plane, counter-clockwise seen from +z unless flipped.
    void AddTriangle(float cx, float cy, int32_t material, bool flipped = false) {
        const int32_t first = m.vertexCount;
        AddVertex(&m, cx - 0.3f, cy - 0.3f, 0, 0);
        AddVertex(&m, cx + 0.3f, cy - 0.3f, 0, 0);
        AddVertex(&m, cx, cy + 0.3f, 0, 0);
        if (flipped)
            AddFace(&m, first, first + 2, first + 1, material);
        else
            AddFace(&m, first, first + 1, first + 2, material);
    }
};

// Offscreen 64 x 64 view of x and y from -1 to 1, looking down -z, lit by a white light on
// the viewer's side.
class ModelDrawTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(surface.create_context()) << "no offscreen GL context: " << surface.last_error();
        glViewport(0, 0, kSize, kSize);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-1, 1, -1, 1, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        const GLfloat position[4] = {0, 0, 5, 1}, white[4] = {1, 1, 1, 1}, black[4] = {0, 0, 0, 1};
        glLightfv(GL_LIGHT0, GL_POSITION, position);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
        glLightfv(GL_LIGHT0, GL_SPECULAR, black);
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
    }

    // Pixel of model point (x, y) under the view above.
    Rgb At(float x, float y) {
        const int px = static_cast<int>((x + 1) / 2 * kSize), py = static_cast<int>((1 - y) / 2 * kSize);
        const auto image = surface.read_pixels();
        const size_t i = (static_cast<size_t>(py) * kSize + px) * 4;
        return {image[i], image[i + 1], image[i + 2]};
    }

    platform::EglSurface surface{kSize, kSize};
    TestModel model;
};

TEST_F(ModelDrawTest, LitRedTriangleFacesTheViewerOnlyWhenCounterClockwise) {
    model.AddColourMaterial(1, 0, 0);
    model.AddTriangle(-0.5f, 0, 0);
    model.AddTriangle(0.5f, 0, 0, /*flipped=*/true);
    EXPECT_EQ(DrawModel(model.get()), 0);
    const Rgb front = At(-0.5f, 0), back = At(0.5f, 0), outside = At(0, 0.8f);
    EXPECT_GT(front.r, 240);
    EXPECT_EQ(front.g, 0);
    EXPECT_EQ(front.b, 0);
    EXPECT_LT(back.r, 10); // its front normal points away from the light
    EXPECT_EQ(outside.r + outside.g + outside.b, 0);
}

TEST_F(ModelDrawTest, OutOfRangeMaterialKeepsTheMaterialBeforeIt) {
    model.AddColourMaterial(0, 1, 0);
    model.AddTriangle(-0.5f, 0.5f, 0);
    model.AddTriangle(0.5f, 0.5f, 1);    // equals materialCount
    model.AddTriangle(-0.5f, -0.5f, -1); // huge when compared unsigned
    ASSERT_EQ(DrawModel(model.get()), 0);
    EXPECT_GT(At(0.5f, 0.5f).g, 240);
    EXPECT_GT(At(-0.5f, -0.5f).g, 240);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ASSERT_EQ(DrawModelPass(model.get(), 0, 1, 0), 0);
    EXPECT_GT(At(0.5f, 0.5f).g, 240);
    EXPECT_GT(At(-0.5f, -0.5f).g, 240);
}

TEST_F(ModelDrawTest, FacesWithCornersOutsideTheVertexListAreSkippedByBothPaths) {
    model.AddColourMaterial(1, 0, 0);
    model.AddTriangle(-0.5f, 0, 0);
    model.AddTriangle(0.5f, 0, 0);
    // Corrupt the second face in three ways in turn: c at vertexCount, a negative, b huge.
    Face& bad = model->faces[1];
    for (int32_t* corner : {&bad.c, &bad.a, &bad.b}) {
        const int32_t keep = *corner;
        *corner = corner == &bad.c ? model->vertexCount : (corner == &bad.a ? -1 : 0x7FFFFFFF);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        ASSERT_EQ(DrawModel(model.get()), 0);
        EXPECT_GT(At(-0.5f, 0).r, 240);
        EXPECT_EQ(At(0.5f, 0).r, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        ASSERT_EQ(DrawModelPass(model.get(), 0, 1, 1), 0);
        EXPECT_GT(At(-0.5f, 0).r, 240);
        EXPECT_EQ(At(0.5f, 0).r, 0);
        *corner = keep;
    }
    // Faces with no vertex list at all.
    ASSERT_EQ(ResizeVertices(model.get(), 0), 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    EXPECT_EQ(DrawModel(model.get()), 0);
    EXPECT_EQ(DrawModelPass(model.get(), 0, 1, 1), 0);
    EXPECT_EQ(At(-0.5f, 0).r, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ModelDrawTest, CompiledListReplaysTheDrawingAndResetsTheMatrixAtOnce) {
    model.AddColourMaterial(0, 0, 1);
    model.AddTriangle(0, 0, 0);
    glTranslatef(0.5f, 0, 0);
    const uint32_t list = CompileModelList(model.get());
    ASSERT_NE(list, 0u);
    EXPECT_TRUE(glIsList(list));
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_EQ(m[12], 0.0f);
    EXPECT_EQ(At(0, 0).b, 0); // compiled, not drawn
    glCallList(list);
    EXPECT_GT(At(0, 0).b, 240);
    glDeleteLists(list, 1);
}

TEST_F(ModelDrawTest, ShadeModeTwoGivesNoNormalOfItsOwn) {
    model.AddColourMaterial(1, 1, 1);
    model.AddTriangle(0, 0, 0);
    glNormal3f(0, 0, -1); // facing away from the light
    ASSERT_EQ(DrawModelPass(model.get(), 0, 2, 0), 0);
    EXPECT_LT(At(0, 0).r, 10);
    GLint shade = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    EXPECT_EQ(shade, GL_SMOOTH);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ASSERT_EQ(DrawModelPass(model.get(), 0, 0, 0), 0);
    EXPECT_GT(At(0, 0).r, 240);
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    EXPECT_EQ(shade, GL_FLAT);
}

TEST_F(ModelDrawTest, PassLeavesDefaultSizesFillModeAndTexturingOff) {
    TestModel empty;
    glPointSize(5);
    glLineWidth(7);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    ASSERT_EQ(DrawModelPass(empty.get(), 2, 1, 1), 0);
    GLfloat size = 0;
    glGetFloatv(GL_POINT_SIZE, &size);
    EXPECT_EQ(size, 1.0f);
    glGetFloatv(GL_LINE_WIDTH, &size);
    EXPECT_EQ(size, 1.0f);
    GLint modes[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);
    EXPECT_EQ(modes[1], GL_FILL);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));

    // Lines mode with normals: edges drawn, inside empty, state restored the same way.
    model.AddColourMaterial(1, 0, 0);
    model.AddTriangle(0, 0, 0);
    ASSERT_EQ(DrawModelPass(model.get(), 1, 1, 1), 0);
    EXPECT_EQ(At(0, -0.05f).r, 0);
    EXPECT_GT(At(0, -0.3f).r, 200);
    glGetFloatv(GL_LINE_WIDTH, &size);
    EXPECT_EQ(size, 1.0f);
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(ModelDrawTest, NormalLinesAreWhiteAndAThirdOfAUnitLong) {
    // A face whose front looks along +y: seen from +z it is edge-on, its normal line upright.
    model.AddColourMaterial(1, 0, 0);
    // Shifted half a pixel so that the line runs through the middle of a pixel column.
    const float x = 1.0f / kSize;
    AddVertex(model.get(), x - 0.5f, 0, 0.5f, 0);
    AddVertex(model.get(), x + 0.5f, 0, 0.5f, 0);
    AddVertex(model.get(), x, 0, -0.5f, 0);
    AddFace(model.get(), 0, 1, 2, 0);
    ASSERT_EQ(DrawModelPass(model.get(), 0, 1, 1), 0);
    const Rgb mid = At(0.01f, 0.15f);
    EXPECT_EQ(mid.r + mid.g + mid.b, 3 * 255);
    const Rgb beyond = At(0.01f, 0.45f);
    EXPECT_EQ(beyond.r + beyond.g + beyond.b, 0);
    const Rgb below = At(0.01f, -0.15f);
    EXPECT_EQ(below.r + below.g + below.b, 0);
}

TEST_F(ModelDrawTest, TexturedMaterialsBindTheirTextureAndOthersDrawPlain) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const uint8_t green[4 * 4] = {0, 255, 0, 255, 0, 255, 0, 255, 0, 255, 0, 255, 0, 255, 0, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, green);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);

    model.AddColourMaterial(1, 1, 1, static_cast<int32_t>(texture));
    model.AddColourMaterial(1, 0, 0);
    model.AddTriangle(-0.5f, 0, 0);
    model.AddTriangle(0.5f, 0, 1);
    const float st[6] = {0, 0, 1, 0, 0.5f, 1};
    SetFaceTexCoords(model.get(), 0, st);
    ASSERT_EQ(DrawModelPass(model.get(), 0, 1, 0), 0);
    const Rgb textured = At(-0.5f, 0), plain = At(0.5f, 0);
    EXPECT_EQ(textured.r, 0);
    EXPECT_GT(textured.g, 240);
    EXPECT_GT(plain.r, 240);
    EXPECT_EQ(plain.g, 0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    // DrawModel ignores textures altogether.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ASSERT_EQ(DrawModel(model.get()), 0);
    EXPECT_GT(At(-0.5f, 0).r, 240);
    glDeleteTextures(1, &texture);
}

} // namespace
