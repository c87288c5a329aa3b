// Reading other model formats from files the tests write with known numbers, and refusals.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <set>
#include <string>

#include "model/interchange.h"
#include "model/interchange_float.h"
#include "model/test_support.h"

namespace {

void WriteText(const std::string& path, const std::string& text) {
    WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::array<float, 3> Position(Model* m, int32_t v) {
    std::array<float, 3> p{};
    EXPECT_EQ(0, GetVertex(m, v, &p[0], &p[1], &p[2]));
    return p;
}

// The three corner positions of face f.
std::array<std::array<float, 3>, 3> Corners(Model* m, int32_t f) {
    const Face& face = m->faces[f];
    return {Position(m, face.a), Position(m, face.b), Position(m, face.c)};
}

const char kTwoMaterialObj[] = "mtllib two.mtl\n"
                               "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0.25 -2.5 1e-3\n"
                               "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
                               "usemtl PaintedSteelPlate\n"
                               "f 1/1 2/2 3/3\n"
                               "usemtl PaintedSteelPanel\n"
                               "f 1/4 3/3 4/4\n"
                               "f 1/1 2/2 3/3 5/4\n"; // a quad: two triangles

const char kTwoMaterialMtl[] = "newmtl Unused\nKd 1 0 0\n"
                               "newmtl PaintedSteelPlate\nKa 0.125 0.25 0.5\nKd 0.5 0.25 0.75\n"
                               "Ks 0.75 0.5 0.25\nKe 0.25 0 0\nNs 500\nd 0.5\n"
                               "newmtl PaintedSteelPanel\nKd 0 1 0\nNs 16\n";

TEST(InterchangeImport, ObjWithMtlSharesPositionsAcrossMaterialsAndMapsMaterials) {
    TempDir dir;
    WriteText(dir.File("two.obj"), kTwoMaterialObj);
    WriteText(dir.File("two.mtl"), kTwoMaterialMtl);
    ScopedModel m;
    std::string reason;
    ASSERT_EQ(0, ImportModel(m.get(), dir.File("two.obj").c_str(), &reason)) << reason;

    // The two meshes the reader makes (one per material) come back as one vertex list.
    ASSERT_EQ(5, VertexCount(m.get()));
    ASSERT_EQ(4, FaceCount(m.get()));
    EXPECT_EQ((std::array<std::array<float, 3>, 3>{{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}}), Corners(m.get(), 0));
    EXPECT_EQ(m->faces[0].a, m->faces[1].a); // corner 1 of both materials is one vertex
    EXPECT_EQ(m->faces[0].c, m->faces[1].b);
    const auto quadHalf = Corners(m.get(), 3);
    EXPECT_NE(quadHalf.end(),
              std::find(quadHalf.begin(), quadHalf.end(), std::array<float, 3>{0.25f, -2.5f, 1e-3f}));
    const float second[6] = {0, 1, 1, 1, 0, 1};
    EXPECT_EQ(0, std::memcmp(second, m->faces[1].texCoords, sizeof second));

    // The unused material and the reader's own default are left out; long names are cut to 11
    // characters and made distinct.
    ASSERT_EQ(2, MaterialCount(m.get()));
    EXPECT_STREQ("PaintedStee", m->materials[m->faces[0].material].name);
    EXPECT_STREQ("PaintedSt_2", m->materials[m->faces[1].material].name);
    EXPECT_EQ(m->faces[1].material, m->faces[2].material);
    const Material& steel = m->materials[m->faces[0].material];
    EXPECT_EQ((std::array<float, 4>{0.125f, 0.25f, 0.5f, 1}), std::to_array(steel.ambient));
    EXPECT_EQ((std::array<float, 4>{0.5f, 0.25f, 0.75f, 0.5f}), std::to_array(steel.diffuse));
    EXPECT_EQ((std::array<float, 4>{0.75f, 0.5f, 0.25f, 1}), std::to_array(steel.specular));
    EXPECT_EQ((std::array<float, 4>{0.25f, 0, 0, 1}), std::to_array(steel.emission));
    EXPECT_EQ(128.0f, steel.shininess); // clamped
    EXPECT_EQ(16.0f, m->materials[m->faces[1].material].shininess);
}

TEST(InterchangeImport, PlyWithKnownNumbers) {
    TempDir dir;
    WriteText(dir.File("quad.PLY"), "ply\nformat ascii 1.0\nelement vertex 4\n"
                                    "property float x\nproperty float y\nproperty float z\n"
                                    "element face 1\nproperty list uchar int vertex_indices\nend_header\n"
                                    "-1.5 0 2\n1.5 0 2\n1.5 3 2\n-1.5 3 2\n4 0 1 2 3\n");
    ScopedModel m;
    std::string reason;
    ASSERT_EQ(0, ImportModel(m.get(), dir.File("quad.PLY").c_str(), &reason)) << reason;
    EXPECT_EQ(4, VertexCount(m.get()));
    ASSERT_EQ(2, FaceCount(m.get()));
    std::set<std::array<float, 3>> seen;
    for (int f = 0; f < 2; ++f)
        for (const auto& p : Corners(m.get(), f))
            seen.insert(p);
    EXPECT_EQ((std::set<std::array<float, 3>>{{-1.5f, 0, 2}, {1.5f, 0, 2}, {1.5f, 3, 2}, {-1.5f, 3, 2}}),
              seen);
    ASSERT_EQ(1, MaterialCount(m.get())); // the reader's default material, as faces use it
    EXPECT_EQ(0, m->faces[0].material);
}

// A glTF of one triangle under a node moved by (10, 0, 0) and scaled by 2, and an empty node
// "dummy 7" at (0, 5, 0); the buffer is a separate .bin file.
TEST(InterchangeImport, GltfAppliesNodeTransformsAndReadsDummies) {
    TempDir dir;
    const float positions[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    const float uvs[6] = {0, 0, 1, 0, 0, 1};
    std::vector<uint8_t> bin(sizeof positions + sizeof uvs);
    std::memcpy(bin.data(), positions, sizeof positions);
    std::memcpy(bin.data() + sizeof positions, uvs, sizeof uvs);
    WriteBytes(dir.File("tri.bin"), bin);
    WriteText(dir.File("tri.gltf"), R"({"asset":{"version":"2.0"},"scene":0,
      "scenes":[{"nodes":[0,1]}],
      "nodes":[{"mesh":0,"translation":[10,0,0],"scale":[2,2,2]},{"name":"dummy 7","translation":[0,5,0]}],
      "meshes":[{"primitives":[{"attributes":{"POSITION":0,"TEXCOORD_0":1},"material":0}]}],
      "materials":[{"name":"Glass","pbrMetallicRoughness":{"baseColorFactor":[0.5,0.25,1,0.5]}}],
      "buffers":[{"uri":"tri.bin","byteLength":60}],
      "bufferViews":[{"buffer":0,"byteOffset":0,"byteLength":36},{"buffer":0,"byteOffset":36,"byteLength":24}],
      "accessors":[{"bufferView":0,"componentType":5126,"count":3,"type":"VEC3","min":[0,0,0],"max":[1,1,0]},
                   {"bufferView":1,"componentType":5126,"count":3,"type":"VEC2"}]})");
    ScopedModel m;
    std::string reason;
    ASSERT_EQ(0, ImportModel(m.get(), dir.File("tri.gltf").c_str(), &reason)) << reason;
    ASSERT_EQ(1, FaceCount(m.get()));
    EXPECT_EQ((std::array<std::array<float, 3>, 3>{{{10, 0, 0}, {12, 0, 0}, {10, 2, 0}}}),
              Corners(m.get(), 0));
    // The file's texture origin is the top left; the model's is the bottom left.
    EXPECT_FLOAT_EQ(1, m->faces[0].texCoords[1]);
    EXPECT_FLOAT_EQ(1, m->faces[0].texCoords[2]);
    EXPECT_FLOAT_EQ(0, m->faces[0].texCoords[5]);
    ASSERT_EQ(1, DummyCount(m.get()));
    int32_t id;
    float x, y, z;
    GetDummy(m.get(), 0, &id, &x, &y, &z);
    EXPECT_EQ(7, id);
    EXPECT_EQ(5.0f, y);
    ASSERT_EQ(1, MaterialCount(m.get()));
    EXPECT_STREQ("Glass", m->materials[0].name);
    EXPECT_EQ((std::array<float, 4>{0.5f, 0.25f, 1, 0.5f}), std::to_array(m->materials[0].diffuse));
}

TEST(InterchangeImport, RefusalsLeaveTheModelUnchanged) {
    TempDir dir;
    ScopedModel m;
    AddVertex(m.get(), 1, 2, 3, 4);
    AddDefaultMaterial(m.get(), "Keep");
    const auto before = ModelState(m.m);
    std::string reason;

    EXPECT_EQ(MODEL_ERR_OPEN, ImportModel(m.get(), dir.File("missing.obj").c_str(), &reason));
    EXPECT_EQ("No such file or directory", reason);
    const std::string folder = dir.File("folder.obj");
    mkdir(folder.c_str(), 0700);
    EXPECT_EQ(MODEL_ERR_OPEN, ImportModel(m.get(), folder.c_str(), &reason));
    EXPECT_EQ("Is a directory", reason);
    rmdir(folder.c_str());
    WriteText(dir.File("broken.glb"), "glTF\x02\0\0\0garbage");
    EXPECT_EQ(MODEL_ERR_FORMAT, ImportModel(m.get(), dir.File("broken.glb").c_str(), &reason));
    EXPECT_FALSE(reason.empty());
    WriteText(dir.File("model.xyz123"), "v 0 0 0\n");
    EXPECT_EQ(MODEL_ERR_EXTENSION, ImportModel(m.get(), dir.File("model.xyz123").c_str(), &reason));
    WriteText(dir.File("cut.stl"), "solid");
    EXPECT_EQ(MODEL_ERR_FORMAT, ImportModel(m.get(), dir.File("cut.stl").c_str(), &reason));
    // A first chunk of almost 4 GB announced in a file of 35 bytes: refused before the reader
    // would allocate and clear it.
    const char raw[] = "glTF\x02\0\0\0\x28\0\0\0\xC0\xFF\xFF\xFFJSON{\"asset\":{}}";
    const std::string huge(raw, sizeof raw - 1);
    WriteText(dir.File("huge.glb"), huge);
    EXPECT_EQ(MODEL_ERR_FORMAT, ImportModel(m.get(), dir.File("huge.glb").c_str(), &reason));
    EXPECT_EQ("the GLB's first chunk is longer than the file", reason);
    // The reader would never return from a PLY header without its end line.
    WriteText(dir.File("endless.ply"),
              "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\n0\n0\n0\n");
    EXPECT_EQ(MODEL_ERR_FORMAT, ImportModel(m.get(), dir.File("endless.ply").c_str(), &reason));
    EXPECT_EQ("the PLY header has no end_header line in its first 64 KiB", reason);
    WriteText(dir.File("run-on.ply"),
              "ply\nformat ascii 1.0\nelement vertex 1\nproperty float x\nend_headerx\n0\n");
    EXPECT_EQ(MODEL_ERR_FORMAT, ImportModel(m.get(), dir.File("run-on.ply").c_str(), &reason));
    // The reader also takes "ply" in any case and with bytes after it on the first line.
    for (const char* magic : {"ply\xff", "PLY", "Ply"}) {
        WriteText(dir.File("odd-magic.ply"), std::string(magic) + "\nformat ascii 1.0\nelement vertex 4\n");
        EXPECT_EQ(MODEL_ERR_FORMAT, ImportModel(m.get(), dir.File("odd-magic.ply").c_str(), &reason))
            << magic;
        EXPECT_EQ("the PLY header has no end_header line in its first 64 KiB", reason);
    }
    EXPECT_EQ(before, ModelState(m.m));
}

TEST(InterchangeImport, BinaryStlWhoseHeaderStartsWithPly) {
    // The header of a binary STL is free text; it may well start "PLY".
    std::string stl = "PLY export";
    stl.resize(80, ' ');
    const uint32_t count = 1;
    const float triangle[12] = {0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0};
    stl.append(reinterpret_cast<const char*>(&count), 4);
    stl.append(reinterpret_cast<const char*>(triangle), sizeof triangle);
    stl.append(2, '\0');
    TempDir dir;
    WriteText(dir.File("panel.stl"), stl);
    ScopedModel m;
    std::string reason;
    ASSERT_EQ(0, ImportModel(m.get(), dir.File("panel.stl").c_str(), &reason)) << reason;
    EXPECT_EQ(1, FaceCount(m.get()));
}

TEST(InterchangeFormats, ExtensionsInAnyCase) {
    EXPECT_TRUE(InterchangeCanRead("a/b.OBJ"));
    EXPECT_TRUE(InterchangeCanRead("x.fbx"));
    EXPECT_TRUE(InterchangeCanRead("x.Dae"));
    EXPECT_FALSE(InterchangeCanRead("x.korvex"));
    EXPECT_FALSE(InterchangeCanRead("x.asc"));
    EXPECT_FALSE(InterchangeCanRead("dir.obj/noext"));
    EXPECT_TRUE(InterchangeCanWrite("x.GLB"));
    EXPECT_TRUE(InterchangeCanWrite("x.stl"));
    EXPECT_FALSE(InterchangeCanWrite("x.fbx"));
    const auto all = InterchangeReadExtensions();
    for (const char* e : {"3ds", "dae", "fbx", "glb", "gltf", "obj", "ply", "stl"})
        EXPECT_TRUE(std::binary_search(all.begin(), all.end(), e)) << e;
}

// Floats written for the OBJ reader read back bit for bit across the whole range.
TEST(InterchangeFloat, EveryMagnitudeReadsBackExactly) {
    uint32_t state = 12345;
    int inexact = 0;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1664525u + 1013904223u;
        float value;
        std::memcpy(&value, &state, 4);
        if (!std::isfinite(value) || std::fpclassify(value) == FP_SUBNORMAL) continue;
        std::string text;
        AppendExactFloat(text, value);
        const float back = ReadLikeModelReader(text.c_str());
        if (std::memcmp(&value, &back, 4) != 0) ++inexact;
    }
    EXPECT_EQ(0, inexact);
    for (float v : {0.0f, -0.0f, 1.0f, -4.37113883e-08f, 123456.789f, 3.4028235e38f}) {
        std::string text;
        AppendExactFloat(text, v);
        const float back = ReadLikeModelReader(text.c_str());
        EXPECT_EQ(0, std::memcmp(&v, &back, 4)) << text;
    }
}

} // namespace
