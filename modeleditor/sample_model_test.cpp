// The sample scene, and the copy of it kept in examples/ for `make run`.
#include "modeleditor/sample_model.h"

#include "model/korvex_file.h"
#include "model/vec4.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace editor {
namespace {

TEST(SampleModel, EveryFaceNamesExistingVerticesAndMaterialsAndHasArea) {
    Model model;
    ModelInit(&model);
    ASSERT_EQ(BuildSampleModel(&model), 0);
    EXPECT_GE(MaterialCount(&model), 3);
    EXPECT_GE(DummyCount(&model), 3);
    ASSERT_GT(FaceCount(&model), 20);
    for (int32_t f = 0; f < FaceCount(&model); ++f) {
        const Face& face = model.faces[f];
        ASSERT_LT(face.a, VertexCount(&model));
        ASSERT_LT(face.b, VertexCount(&model));
        ASSERT_LT(face.c, VertexCount(&model));
        EXPECT_LT(face.material, MaterialCount(&model));
        const Vec4 a = VertexPosition(model.vertices[face.a]);
        const Vec4 b = VertexPosition(model.vertices[face.b]);
        const Vec4 c = VertexPosition(model.vertices[face.c]);
        const Vec4 front = VecCross(VecSub(b, a), VecSub(c, a));
        EXPECT_GT(VecLength(front), 1e-4f) << "degenerate face " << f;
    }
    ModelRelease(&model);
}

TEST(SampleModel, TheExampleFileIsTheSampleScene) {
    Model built, stored;
    ModelInit(&built);
    ModelInit(&stored);
    ASSERT_EQ(BuildSampleModel(&built), 0);
    ASSERT_EQ(ModelLoad(&stored, (std::string(KX_SOURCE_DIR) + "/examples/sample.Korvex").c_str()), 0)
        << "regenerate it with make-sample-model examples/sample.Korvex";
    ASSERT_EQ(VertexCount(&stored), VertexCount(&built));
    ASSERT_EQ(FaceCount(&stored), FaceCount(&built));
    ASSERT_EQ(DummyCount(&stored), DummyCount(&built));
    ASSERT_EQ(MaterialCount(&stored), MaterialCount(&built));
    EXPECT_EQ(std::memcmp(stored.faces, built.faces, sizeof(Face) * size_t(FaceCount(&built))), 0);
    EXPECT_EQ(std::memcmp(stored.vertices, built.vertices, sizeof(Vertex) * size_t(VertexCount(&built))), 0);
    ModelRelease(&built);
    ModelRelease(&stored);
}

} // namespace
} // namespace editor
