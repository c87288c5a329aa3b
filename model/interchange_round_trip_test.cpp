// Korvex -> other format -> Korvex: what each format keeps.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "model/interchange.h"
#include "model/test_support.h"

namespace {

// Faces with materials in runs that come back (A A B A), positions of awkward magnitudes, a
// vertex used with two texture pairs, an unused vertex, dummies.
void MakeSample(Model* m) {
    const float p[][3] = {
        {0, 0, 0},          {1, 0, 0}, {1, 1, 0}, {-4.37113883e-08f, 1, 2.5e-12f}, {123456.789f, -3, 1e20f},
        {0.1f, 0.2f, 0.3f}, {7, 7, 7}};
    for (const auto& v : p)
        AddVertex(m, v[0], v[1], v[2], 0);
    const float a[4] = {0.125f, 0.25f, 0.375f, 1}, d[4] = {0.5f, 0.625f, 0.75f, 0.5f},
                s[4] = {0.875f, 0.75f, 0.625f, 1}, e[4] = {0.0625f, 0, 0.5f, 1};
    AddMaterial(m, "Brass", a, d, s, e, 32);
    const float d2[4] = {0.1f, 0.2f, 0.3f, 1};
    AddMaterial(m, "Oak wood", a, d2, s, e, 100);
    const int faces[][4] = {{0, 1, 2, 0}, {0, 2, 3, 0}, {3, 4, 5, 1}, {5, 4, 0, 0}};
    for (int f = 0; f < 4; ++f) {
        AddFace(m, faces[f][0], faces[f][1], faces[f][2], faces[f][3]);
        const float tc[6] = {0.0f, 0.0f, 0.25f + f, 0.5f, 0.3f, 0.7f / (f + 1)};
        SetFaceTexCoords(m, f, tc);
    }
    AddDummy(m, 3, 1, 2, 3);
    AddDummy(m, -8, 0.5f, 0, -1);
}

struct Kept {
    bool texCoordsExact;
    bool texCoords;
    bool materials;
    bool ambient;
    bool dummies;
};

void ExpectKept(Model* original, Model* back, const Kept& kept) {
    ASSERT_EQ(FaceCount(original), FaceCount(back));
    for (int32_t f = 0; f < FaceCount(original); ++f) {
        SCOPED_TRACE("face " + std::to_string(f));
        const Face& o = original->faces[f];
        const Face& b = back->faces[f];
        const int32_t ov[3] = {o.a, o.b, o.c}, bv[3] = {b.a, b.b, b.c};
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(0, std::memcmp(&original->vertices[ov[k]], &back->vertices[bv[k]], 12))
                << "corner " << k;
        if (kept.texCoordsExact) {
            EXPECT_EQ(0, std::memcmp(o.texCoords, b.texCoords, sizeof o.texCoords));
        } else if (kept.texCoords) {
            for (int k = 0; k < 6; ++k) {
                EXPECT_NEAR(o.texCoords[k], b.texCoords[k], 1e-7);
            }
        }
        if (!kept.materials) continue;
        const Material& om = original->materials[o.material];
        const Material& bm = back->materials[b.material];
        EXPECT_STREQ(om.name, bm.name);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(om.diffuse[k], bm.diffuse[k]);
            if (kept.ambient) {
                EXPECT_EQ(om.ambient[k], bm.ambient[k]);
            }
        }
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(om.specular[k], bm.specular[k]);
            EXPECT_EQ(om.emission[k], bm.emission[k]);
        }
        EXPECT_EQ(om.shininess, bm.shininess);
    }
    // Vertices that no face uses are not part of the mesh in these formats.
    EXPECT_EQ(VertexCount(original) - 1, VertexCount(back));
    if (kept.dummies) {
        ASSERT_EQ(DummyCount(original), DummyCount(back));
        EXPECT_EQ(0, std::memcmp(original->dummies, back->dummies, sizeof(Dummy) * size_t(DummyCount(back))));
    }
}

void RoundTrip(const char* name, const Kept& kept) {
    TempDir dir;
    ScopedModel original, back;
    MakeSample(original.get());
    const auto before = ModelState(original.m);
    std::string reason;
    const std::string path = dir.File(name);
    ASSERT_EQ(0, ExportModel(original.get(), path.c_str(), &reason)) << reason;
    EXPECT_EQ(before, ModelState(original.m));
    ASSERT_EQ(0, ImportModel(back.get(), path.c_str(), &reason)) << reason;
    ExpectKept(original.get(), back.get(), kept);
    for (const std::string& f : dir.Files())
        EXPECT_EQ(std::string::npos, f.find("korvex-export")) << "staging left behind";
}

TEST(InterchangeRoundTrip, ObjKeepsPositionsFacesTexCoordsAndMaterials) {
    RoundTrip("sample.obj", {true, true, true, true, false});
}

TEST(InterchangeRoundTrip, GlbKeepsPositionsFacesMaterialsAndDummies) {
    RoundTrip("sample.glb", {false, true, true, false, true});
}

TEST(InterchangeRoundTrip, GltfWritesItsBufferBeside) {
    RoundTrip("sample.gltf", {false, true, true, false, true});
}

TEST(InterchangeRoundTrip, PlyAndStlKeepPositionsAndFaces) {
    RoundTrip("sample.ply", {true, true, false, false, false});
    RoundTrip("sample.STL", {false, false, false, false, false});
}

TEST(InterchangeExport, RefusesBrokenModelsAndUnwritablePlaces) {
    TempDir dir;
    ScopedModel m;
    MakeSample(m.get());
    std::string reason;
    m->faces[2].b = 99;
    EXPECT_EQ(MODEL_ERR_RANGE, ExportModel(m.get(), dir.File("x.glb").c_str(), &reason));
    EXPECT_EQ("face 2 names a missing vertex", reason);
    m->faces[2].b = 4;
    EXPECT_EQ(MODEL_ERR_EXTENSION, ExportModel(m.get(), dir.File("x.fbx").c_str(), &reason));
    EXPECT_EQ(MODEL_ERR_OPEN, ExportModel(m.get(), dir.File("no/such/x.glb").c_str(), &reason));
    EXPECT_EQ("No such file or directory", reason);
    EXPECT_EQ(MODEL_ERR_OPEN, ExportModel(m.get(), dir.File("no/such/x.obj").c_str(), &reason));
    EXPECT_TRUE(dir.Files().empty());
}

TEST(InterchangeExport, FacesWithoutAValidMaterialGetADefaultOne) {
    TempDir dir;
    ScopedModel m, back;
    AddVertex(m.get(), 0, 0, 0, 0);
    AddVertex(m.get(), 1, 0, 0, 0);
    AddVertex(m.get(), 0, 1, 0, 0);
    AddFace(m.get(), 0, 1, 2, 5);
    std::string reason;
    for (const char* name : {"d.obj", "d.glb"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(0, ExportModel(m.get(), dir.File(name).c_str(), &reason)) << reason;
        ASSERT_EQ(0, ImportModel(back.get(), dir.File(name).c_str(), &reason)) << reason;
        ASSERT_EQ(1, MaterialCount(back.get()));
        EXPECT_STREQ("Default", back->materials[0].name);
        EXPECT_EQ(0, back->faces[0].material);
    }
}

} // namespace
