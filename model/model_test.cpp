#include "model/model.h"

#include <gtest/gtest.h>

#include <cstring>

#include "model/model_memory.h"
#include "model/test_support.h"

namespace {

TEST(ModelInit, WritesMagicAndEmptiesEverything) {
    Model m;
    std::memset(&m, 0xAB, sizeof m);
    ModelInit(&m);
    EXPECT_EQ(0, std::memcmp(m.magic, "Korvex", 7));
    EXPECT_EQ(0, m.vertexCount);
    EXPECT_EQ(0, m.faceCount);
    EXPECT_EQ(0, m.compression);
    EXPECT_EQ(0, m.reserved);
    EXPECT_EQ(0, m.dummyCount);
    EXPECT_EQ(0, m.materialCount);
    EXPECT_EQ(nullptr, m.vertices);
    EXPECT_EQ(nullptr, m.faces);
    EXPECT_EQ(nullptr, m.dummies);
    EXPECT_EQ(nullptr, m.materials);
    ModelRelease(&m);
}

TEST(ModelResize, KeepsPrefixZeroFillsGrowthAndRefusesNegative) {
    ScopedModel m;
    ASSERT_EQ(0, AddVertex(m.get(), 1, 2, 3, 7));
    ASSERT_EQ(0, AddVertex(m.get(), 4, 5, 6, 8));
    ASSERT_EQ(0, ResizeVertices(m.get(), 2));
    EXPECT_EQ(4.0f, m->vertices[1].x);
    EXPECT_EQ(8u, m->vertices[1].w);

    ASSERT_EQ(0, ResizeVertices(m.get(), 4));
    EXPECT_EQ(4, VertexCount(m.get()));
    EXPECT_EQ(7u, m->vertices[0].w);
    EXPECT_EQ(0.0f, m->vertices[3].x);
    EXPECT_EQ(0u, m->vertices[3].w);

    ASSERT_EQ(0, ResizeVertices(m.get(), 1));
    EXPECT_EQ(1.0f, m->vertices[0].x);

    const Vertex* before = m->vertices;
    EXPECT_EQ(MODEL_ERR_RANGE, ResizeVertices(m.get(), -1));
    EXPECT_EQ(1, VertexCount(m.get()));
    EXPECT_EQ(before, m->vertices);

    ASSERT_EQ(0, ResizeVertices(m.get(), 0));
    EXPECT_EQ(0, VertexCount(m.get()));
    EXPECT_EQ(nullptr, m->vertices);
}

TEST(ModelResize, AllocationFailureLeavesListUnchanged) {
    ScopedModel m;
    ASSERT_EQ(0, AddDummy(m.get(), 5, 1, 2, 3));
    ModelAllocFn previous = ModelSetAllocator([](size_t, size_t) -> void* { return nullptr; });
    EXPECT_EQ(MODEL_ERR_MEMORY, AddDummy(m.get(), 6, 0, 0, 0));
    EXPECT_EQ(MODEL_ERR_MEMORY, ResizeFaces(m.get(), 3));
    ModelSetAllocator(previous);
    EXPECT_EQ(1, DummyCount(m.get()));
    EXPECT_EQ(0, FaceCount(m.get()));
    EXPECT_EQ(5, m->dummies[0].id);
}

TEST(ModelRange, IndicesAreCheckedUnsigned) {
    ScopedModel m;
    ASSERT_EQ(0, AddVertex(m.get(), 1, 2, 3, 0));
    float x, y, z;
    EXPECT_EQ(MODEL_ERR_RANGE, GetVertex(m.get(), -1, &x, &y, &z));
    EXPECT_EQ(MODEL_ERR_RANGE, GetVertex(m.get(), 1, &x, &y, &z));
    EXPECT_EQ(MODEL_ERR_RANGE, SetVertex(m.get(), -1, 0, 0, 0, 0));
    EXPECT_EQ(MODEL_ERR_RANGE, SetFace(m.get(), 0, 0, 0, 0, 0));
    EXPECT_EQ(MODEL_ERR_RANGE, SetDummy(m.get(), 0, 0, 0, 0, 0));
    EXPECT_EQ(MODEL_ERR_RANGE, SetMaterialName(m.get(), -1, "x"));
    EXPECT_EQ(MODEL_ERR_RANGE, GetMaterialTexture(m.get(), 0));
    ASSERT_EQ(0, GetVertex(m.get(), 0, &x, &y, &z));
    EXPECT_EQ(1.0f, x);
    EXPECT_EQ(2.0f, y);
    EXPECT_EQ(3.0f, z);
}

TEST(ModelFaces, AddFaceStartsWithZeroTexCoordsAndReserved) {
    ScopedModel m;
    ASSERT_EQ(0, AddFace(m.get(), 0, 1, 2, 3));
    const float coords[6] = {1, 2, 3, 4, 5, 6};
    ASSERT_EQ(0, SetFaceTexCoords(m.get(), 0, coords));
    ASSERT_EQ(0, AddFace(m.get(), 4, 5, 6, 7));
    float got[6];
    ASSERT_EQ(0, GetFaceTexCoords(m.get(), 1, got));
    for (float f : got)
        EXPECT_EQ(0.0f, f);
    for (uint8_t b : m->faces[1].reserved)
        EXPECT_EQ(0, b);
    // SetFace keeps the texture coordinates.
    ASSERT_EQ(0, SetFace(m.get(), 0, 9, 9, 9, 9));
    ASSERT_EQ(0, GetFaceTexCoords(m.get(), 0, got));
    EXPECT_EQ(6.0f, got[5]);
    int32_t a, b, c, mat;
    ASSERT_EQ(0, GetFace(m.get(), 1, &a, &b, &c, &mat));
    EXPECT_EQ(4, a);
    EXPECT_EQ(5, b);
    EXPECT_EQ(6, c);
    EXPECT_EQ(7, mat);
}

TEST(ModelFaces, FacesUsingVertexReportsEachFaceOnceAndStopsAtMax) {
    ScopedModel m;
    ASSERT_EQ(0, ResizeVertices(m.get(), 4));
    ASSERT_EQ(0, AddFace(m.get(), 0, 1, 0, 0)); // uses vertex 0 twice
    ASSERT_EQ(0, AddFace(m.get(), 1, 2, 3, 0));
    ASSERT_EQ(0, AddFace(m.get(), 2, 0, 1, 0));
    int32_t list[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
    ASSERT_EQ(2, FacesUsingVertex(m.get(), 0, list, 8));
    EXPECT_EQ(0, list[0]);
    EXPECT_EQ(2, list[1]);
    EXPECT_EQ(-1, list[2]);
    EXPECT_EQ(1, FacesUsingVertex(m.get(), 1, list, 1));
    EXPECT_EQ(1, FacesUsingVertex(m.get(), 3, list, 8));
    EXPECT_EQ(1, list[0]);
    ASSERT_EQ(0, ResizeVertices(m.get(), 5));
    EXPECT_EQ(0, FacesUsingVertex(m.get(), 4, list, 8));
    EXPECT_EQ(MODEL_ERR_RANGE, FacesUsingVertex(m.get(), 5, list, 8));
}

TEST(ModelDummies, IdLookup) {
    ScopedModel m;
    EXPECT_EQ(0, DummyIdExists(m.get(), 0));
    ASSERT_EQ(0, AddDummy(m.get(), 12, 1, 2, 3));
    ASSERT_EQ(0, AddDummy(m.get(), -4, 4, 5, 6));
    EXPECT_EQ(1, DummyIdExists(m.get(), -4));
    EXPECT_EQ(0, DummyIdExists(m.get(), 0));
    int32_t id;
    float x, y, z;
    ASSERT_EQ(0, GetDummy(m.get(), 1, &id, &x, &y, &z));
    EXPECT_EQ(-4, id);
    EXPECT_EQ(6.0f, z);
}

TEST(ModelMaterials, NamesAreCutToElevenCharactersAndPadded) {
    ScopedModel m;
    ASSERT_EQ(0, AddDefaultMaterial(m.get(), "FifteenCharsXYZ"));
    char name[12];
    ASSERT_EQ(0, GetMaterialName(m.get(), 0, name));
    EXPECT_STREQ("FifteenChar", name);
    EXPECT_EQ('\0', m->materials[0].name[11]);

    ASSERT_EQ(0, SetMaterialName(m.get(), 0, "Elevenchars"));
    ASSERT_EQ(0, GetMaterialName(m.get(), 0, name));
    EXPECT_STREQ("Elevenchars", name);

    ASSERT_EQ(0, SetMaterialName(m.get(), 0, "ab"));
    for (int i = 2; i < 12; ++i)
        EXPECT_EQ('\0', m->materials[0].name[i]) << i;

    // A loaded record need not be terminated; the getter still gives at most 11 characters.
    std::memset(m->materials[0].name, 'Q', 12);
    ASSERT_EQ(0, GetMaterialName(m.get(), 0, name));
    EXPECT_EQ(11u, std::strlen(name));
}

TEST(ModelMaterials, SetMaterialKeepsTextureAndReserved) {
    ScopedModel m;
    ASSERT_EQ(0, AddDefaultMaterial(m.get(), "Default"));
    EXPECT_EQ(0, GetMaterialTexture(m.get(), 0));
    ASSERT_EQ(0, SetMaterialTexture(m.get(), 0, 77));
    m->materials[0].reserved[43] = 0x5A;
    const float amb[4] = {1, 2, 3, 4}, dif[4] = {5, 6, 7, 8}, spe[4] = {9, 10, 11, 12},
                emi[4] = {13, 14, 15, 16};
    ASSERT_EQ(0, SetMaterial(m.get(), 0, "Steel", amb, dif, spe, emi, 32.0f));
    EXPECT_EQ(77, GetMaterialTexture(m.get(), 0));
    EXPECT_EQ(0x5A, m->materials[0].reserved[43]);
    float a[4], d[4], s[4], e[4], sh;
    ASSERT_EQ(0, GetMaterial(m.get(), 0, a, d, s, e, &sh));
    EXPECT_EQ(4.0f, a[3]);
    EXPECT_EQ(5.0f, d[0]);
    EXPECT_EQ(11.0f, s[2]);
    EXPECT_EQ(16.0f, e[3]);
    EXPECT_EQ(32.0f, sh);
}

TEST(ModelMaterials, DefaultParameters) {
    ScopedModel m;
    ASSERT_EQ(0, AddDefaultMaterial(m.get(), kDefaultMaterialName));
    const Material& mat = m->materials[0];
    EXPECT_STREQ("Default", mat.name);
    EXPECT_EQ(0.1f, mat.ambient[0]);
    EXPECT_EQ(1.0f, mat.ambient[3]);
    EXPECT_EQ(0.5f, mat.diffuse[2]);
    EXPECT_EQ(1.0f, mat.specular[1]);
    EXPECT_EQ(0.0f, mat.emission[0]);
    EXPECT_EQ(1.0f, mat.emission[3]);
    EXPECT_EQ(64.0f, mat.shininess);
    EXPECT_EQ(0, mat.texture);
}

} // namespace
