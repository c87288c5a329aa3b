#include "model/asc_import.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "model/model_memory.h"

namespace {

// One object with a page header inside the vertex list and the usual extra fields.
const char kBox[] = "Ambient light color: Red=0.3 Green=0.3 Blue=0.3\n"
                    "\n"
                    "Named object: \"Box01\"\n"
                    "Tri-mesh, Vertices: 4     Faces: 2\n"
                    "Vertex list:\n"
                    "Vertex 0:  X: 0.5     Y: -1.25     Z: 2\n"
                    "Vertex 1:  X: 1.0     Y: 0.0     Z: 0.0     U: 0.5     V: 0.5\n"
                    "Vertex 2:X:1.5 Y:-2 Z:0.25\n"
                    "\t(continued)\n"
                    "Vertex 3:  X: 0x1p2     Y: +3     Z: 1e1\n"
                    "Face list:\n"
                    "Face 0:    A:0 B:1 C:2 AB:1 BC:1 CA:1\n"
                    "Material:\"Wood\"\n"
                    "Smoothing:  1\n"
                    "Face 1:    A:0 B:2 C:3 AB:1 BC:1 CA:1\n"
                    "Material:\"Stone\"\n"
                    "Smoothing:  1\n"
                    "\n"
                    "Named object: \"Box02\"\n"
                    "Tri-mesh, Vertices: 4     Faces: 1\n"
                    "Vertex list:\n"
                    "Vertex 0:  X: 10     Y: 11     Z: 12\n"
                    "Vertex 1:  X: 13     Y: 14     Z: 15\n"
                    "Vertex 2:  X: 16     Y: 17     Z: 18\n"
                    "Vertex 3:  X: 19     Y: 20     Z: 21\n"
                    "Face list:\n"
                    "Face 0:    A:1 B:2 C:3 AB:1 BC:1 CA:1\n"
                    "Material:\"Wood\"\n";

class AscImport : public ::testing::Test {
  protected:
    void SetUp() override { ModelInit(&model); }
    void TearDown() override {
        ModelSetAllocator(nullptr);
        ModelRelease(&model);
    }

    // The text goes to the importers in a heap block of exactly its size, so that a read past
    // its end is caught under ASan.
    int32_t Simple(const std::string& text) {
        const std::unique_ptr<char[]> bytes = ExactCopy(text);
        return ImportAscFromMemory(&model, bytes.get(), text.size());
    }
    int32_t Advanced(const std::string& text) {
        const std::unique_ptr<char[]> bytes = ExactCopy(text);
        return ImportAscAdvancedFromMemory(&model, bytes.get(), text.size());
    }
    static std::unique_ptr<char[]> ExactCopy(const std::string& text) {
        std::unique_ptr<char[]> bytes(new char[text.size()]);
        std::memcpy(bytes.get(), text.data(), text.size());
        return bytes;
    }

    void ExpectVertex(int32_t i, float x, float y, float z) {
        float gx = -99, gy = -99, gz = -99;
        ASSERT_EQ(GetVertex(&model, i, &gx, &gy, &gz), 0) << "vertex " << i;
        EXPECT_EQ(gx, x) << "vertex " << i;
        EXPECT_EQ(gy, y) << "vertex " << i;
        EXPECT_EQ(gz, z) << "vertex " << i;
        EXPECT_EQ(model.vertices[i].w, 0u);
    }
    void ExpectFace(int32_t i, int32_t a, int32_t b, int32_t c, int32_t material) {
        int32_t ga = -99, gb = -99, gc = -99, gm = -99;
        ASSERT_EQ(GetFace(&model, i, &ga, &gb, &gc, &gm), 0) << "face " << i;
        EXPECT_EQ(ga, a) << "face " << i;
        EXPECT_EQ(gb, b) << "face " << i;
        EXPECT_EQ(gc, c) << "face " << i;
        EXPECT_EQ(gm, material) << "face " << i;
    }
    std::vector<std::string> MaterialNames() {
        std::vector<std::string> names;
        for (int32_t i = 0; i < MaterialCount(&model); ++i) {
            char name[12];
            GetMaterialName(&model, i, name);
            names.emplace_back(name);
        }
        return names;
    }

    Model model;
};

// A byte-for-byte picture of a model: header, counts and every list.
std::string Snapshot(const Model& m) {
    std::string s(reinterpret_cast<const char*>(&m), kModelHeaderSize);
    auto add = [&](const void* p, size_t n) {
        if (n != 0) s.append(static_cast<const char*>(p), n);
        s += '|';
    };
    add(m.vertices, sizeof(Vertex) * static_cast<size_t>(m.vertexCount));
    add(m.faces, sizeof(Face) * static_cast<size_t>(m.faceCount));
    add(m.dummies, sizeof(Dummy) * static_cast<size_t>(m.dummyCount));
    add(m.materials, sizeof(Material) * static_cast<size_t>(m.materialCount));
    return s;
}

// A model with something in every list, for checking that failures leave it alone.
void FillModel(Model* m) {
    AddVertex(m, 1, 2, 3, 0xabcdu);
    AddVertex(m, 4, 5, 6, 0);
    AddVertex(m, 7, 8, 9, 0);
    AddFace(m, 0, 1, 2, 1);
    AddDummy(m, 42, 1, 1, 1);
    AddDefaultMaterial(m, "Steel");
    AddDefaultMaterial(m, "Glass");
    m->reserved = 77;
}

int allocationCalls = 0;
int allocationsBeforeFailure = 0;
void* CountingAlloc(size_t count, size_t size) {
    ++allocationCalls;
    return std::calloc(count, size);
}
void* FailingAlloc(size_t count, size_t size) {
    if (allocationsBeforeFailure-- <= 0) return nullptr;
    return std::calloc(count, size);
}

TEST_F(AscImport, SimpleReadsTheFirstObject) {
    AddDummy(&model, 5, 1, 2, 3);
    ASSERT_EQ(Simple(kBox), 0);
    ASSERT_EQ(VertexCount(&model), 4);
    ASSERT_EQ(FaceCount(&model), 2);
    ExpectVertex(0, 0.5f, -1.25f, 2);
    ExpectVertex(1, 1, 0, 0);
    ExpectVertex(2, 1.5f, -2, 0.25f); // no blanks behind the colons
    ExpectVertex(3, 4, 3, 10);        // hexadecimal, '+' and exponent, as %f reads them
    ExpectFace(0, 0, 1, 2, 0);
    ExpectFace(1, 0, 2, 3, 0);
    float st[6] = {1, 1, 1, 1, 1, 1};
    GetFaceTexCoords(&model, 1, st);
    for (float v : st)
        EXPECT_EQ(v, 0.0f);
    EXPECT_EQ(MaterialNames(), std::vector<std::string>{"Default"});
    float ambient[4], diffuse[4], specular[4], emission[4], shininess = 0;
    GetMaterial(&model, 0, ambient, diffuse, specular, emission, &shininess);
    EXPECT_EQ(diffuse[0], 0.5f);
    EXPECT_EQ(shininess, 64.0f);
    EXPECT_EQ(DummyCount(&model), 1);
}

TEST_F(AscImport, SimpleKeepsExistingMaterialsAndDummies) {
    FillModel(&model);
    ASSERT_EQ(Simple(kBox), 0);
    EXPECT_EQ(MaterialNames(), (std::vector<std::string>{"Steel", "Glass"}));
    EXPECT_EQ(DummyCount(&model), 1);
    EXPECT_EQ(VertexCount(&model), 4);
    ExpectFace(1, 0, 2, 3, 0); // material 0 is now "Steel"
    EXPECT_EQ(model.reserved, 77);
}

TEST_F(AscImport, SimpleTakesEveryContentLineOfTheVertexList) {
    // "Page 2" begins with a letter, so it takes a vertex slot; its fields do not scan and stay
    // zero. Blank lines and lines that begin with punctuation or blanks take no slot.
    const std::string text =
        "Named object: \"A\"\nTri-mesh, Vertices: 3     Faces: 2\nVertex list:\n"
        "Vertex 0:  X: 1     Y: 2     Z: 3\n\n   indented 5\n-- rule --\nPage 2\n"
        "Vertex 1:  X: 4     Y: oops     Z: 6\n"
        "Face list:\nSmoothing: 1\nPage 3\nFace 0:    A:0 B:1 C:2\n\nFace 1:    A:2 B:x C:1\n";
    ASSERT_EQ(Simple(text), 0);
    ExpectVertex(0, 1, 2, 3);
    ExpectVertex(1, 0, 0, 0);
    ExpectVertex(2, 4, 0, 0); // Y does not scan, so Y and the unreached Z keep their zeros
    ExpectFace(0, 0, 1, 2, 0);
    ExpectFace(1, 2, 0, 0, 0);
}

TEST_F(AscImport, SimpleContinuesLongLinesAsTheNextLine) {
    // 2047 characters fill the line buffer; the rest of the physical line is the next line.
    const std::string text = "Named object: \"A\"\nTri-mesh, Vertices: 2     Faces: 0\nVertex list:\n" +
                             std::string(2047, 'x') + "Vertex 1:  X: 5     Y: 6     Z: 7\nFace list:\n";
    ASSERT_EQ(Simple(text), 0);
    ExpectVertex(0, 0, 0, 0);
    ExpectVertex(1, 5, 6, 7);
    const std::string shorter =
        "Named object: \"A\"\nTri-mesh, Vertices: 2     Faces: 0\nVertex list:\n" + std::string(2000, 'x') +
        "Vertex 1:  X: 5     Y: 6     Z: 7\nVertex 2:  X: 8     Y: 9     Z: 1\nFace list:\n";
    ASSERT_EQ(Simple(shorter), 0);
    ExpectVertex(0, 0, 0, 0);
    ExpectVertex(1, 8, 9, 1);
}

TEST_F(AscImport, SimpleStopsAtTheEndOfTheData) {
    // Without any object nothing changes.
    FillModel(&model);
    const std::string before = Snapshot(model);
    ASSERT_EQ(Simple("Named object: \"A\"\nno counts here\n"), 0);
    EXPECT_EQ(Snapshot(model), before);
    ASSERT_EQ(ImportAscFromMemory(&model, nullptr, 0), 0);
    EXPECT_EQ(Snapshot(model), before);
    ModelRelease(&model);
    ModelInit(&model);
    // A cut vertex list: the counts stand, the missing records are zero, and the import ended
    // before the default material would be added.
    // (Two content lines before the vertex list make room for the counts.)
    ASSERT_EQ(Simple("Named object: \"A\"\nTri-mesh, Vertices: 3     Faces: 1\nMapped\nNote\nVertex list:\n"
                     "Vertex 0:  X: 1     Y: 2     Z: 3\n\n\n\n"),
              0);
    EXPECT_EQ(VertexCount(&model), 3);
    EXPECT_EQ(FaceCount(&model), 1);
    ExpectVertex(0, 1, 2, 3);
    ExpectVertex(2, 0, 0, 0);
    ExpectFace(0, 0, 0, 0, 0);
    EXPECT_EQ(MaterialCount(&model), 0);
}

TEST_F(AscImport, SimpleCountTheLineLacksKeepsTheModelsCount) {
    FillModel(&model); // 3 vertices, 1 face
    ASSERT_EQ(Simple("Named object: \"A\"\nTri-mesh, Vertices: 2\nVertex list:\n"
                     "Vertex 0:  X: 1     Y: 1     Z: 1\nVertex 1:  X: 2     Y: 2     Z: 2\n"
                     "Face list:\nFace 0:    A:1 B:0 C:1\n"),
              0);
    EXPECT_EQ(VertexCount(&model), 2);
    EXPECT_EQ(FaceCount(&model), 1);
    ExpectFace(0, 1, 0, 1, 0);
}

TEST_F(AscImport, CountsTheContentLinesCannotHold) {
    FillModel(&model);
    const std::string before = Snapshot(model);
    const std::string head = "Named object: \"A\"\n";
    const std::string tail = "Vertex list:\nVertex 0:  X: 1     Y: 1     Z: 1\nFace list:\n";
    // Blank lines and lines that cannot be a record make no room for more records.
    const std::string filler = "\n\n  indented\n\t\n(note)\n\r\n" + std::string(3000, ' ') + "\n";
    for (const char* counts :
         {"Tri-mesh, Vertices: -1     Faces: 0\n", "Tri-mesh, Vertices: 1     Faces: -5\n",
          "Tri-mesh, Vertices: 2147483647     Faces: 2147483647\n",
          "Tri-mesh, Vertices: 3     Faces: 1\n", // 4 records, 3 content lines left
          "Tri-mesh, Vertices: 99999999999     Faces: 1\n"}) {
        for (const std::string& text : {head + counts + tail, head + counts + tail + filler + filler}) {
            // The simple importer refuses them without allocating.
            allocationCalls = 0;
            ModelSetAllocator(CountingAlloc);
            EXPECT_EQ(Simple(text), MODEL_ERR_RANGE) << counts;
            ModelSetAllocator(nullptr);
            EXPECT_EQ(allocationCalls, 0) << counts;
            EXPECT_EQ(Snapshot(model), before) << counts;
            // To the advanced importer they are the end of the file: no object.
            Model other;
            ModelInit(&other);
            FillModel(&other);
            EXPECT_EQ(ImportAscAdvancedFromMemory(&other, text.data(), text.size()), 0) << counts;
            EXPECT_EQ(other.vertexCount, 0) << counts;
            EXPECT_EQ(other.faceCount, 0) << counts;
            ModelRelease(&other);
        }
    }
    // As many records as content lines left is still accepted, blank lines or not.
    for (const std::string& gap : {std::string(), filler}) {
        EXPECT_EQ(Simple(head + "Tri-mesh, Vertices: 2     Faces: 1\n" + gap + tail + gap), 0);
        EXPECT_EQ(VertexCount(&model), 2);
    }
}

TEST_F(AscImport, OutOfMemoryLeavesTheModelUnchanged) {
    // Every allocation of the import fails in turn, into a model with materials and an empty one.
    FillModel(&model);
    Model empty;
    ModelInit(&empty);
    for (int simple = 0; simple < 2; ++simple) {
        for (Model* target : {&model, &empty}) {
            const std::string original = Snapshot(*target);
            for (int budget = 0;; ++budget) {
                ASSERT_LT(budget, 50) << "the import never succeeds";
                allocationsBeforeFailure = budget;
                ModelSetAllocator(FailingAlloc);
                const int32_t status = simple ? ImportAscFromMemory(target, kBox, sizeof kBox - 1)
                                              : ImportAscAdvancedFromMemory(target, kBox, sizeof kBox - 1);
                ModelSetAllocator(nullptr);
                if (status == 0) {
                    EXPECT_GT(budget, 0);
                    break;
                }
                ASSERT_EQ(status, MODEL_ERR_MEMORY);
                EXPECT_EQ(Snapshot(*target), original) << "allocation " << budget;
            }
        }
    }
    ModelRelease(&empty);
}

TEST_F(AscImport, FilesAreReadWhole) {
    FillModel(&model);
    const std::string before = Snapshot(model);
    EXPECT_EQ(ImportAsc(&model, "/nonexistent/dir/box.asc"), MODEL_ERR_OPEN);
    EXPECT_EQ(ImportAscAdvanced(&model, "/nonexistent/dir/box.asc"), MODEL_ERR_OPEN);
    EXPECT_EQ(ImportAsc(&model, "/"), MODEL_ERR_OPEN); // a folder opens but cannot be read
    EXPECT_EQ(Snapshot(model), before);

    const std::string path = std::string(KX_BINARY_DIR) + "/asc_import_test_box.asc";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(kBox, 1, sizeof kBox - 1, f);
    std::fclose(f);
    Model expected;
    ModelInit(&expected);
    FillModel(&expected);
    ASSERT_EQ(ImportAscAdvancedFromMemory(&expected, kBox, sizeof kBox - 1), 0);
    ASSERT_EQ(ImportAscAdvanced(&model, path.c_str()), 0);
    EXPECT_EQ(Snapshot(model), Snapshot(expected));
    ASSERT_EQ(ImportAscFromMemory(&expected, kBox, sizeof kBox - 1), 0);
    ASSERT_EQ(ImportAsc(&model, path.c_str()), 0);
    EXPECT_EQ(Snapshot(model), Snapshot(expected));
    ModelRelease(&expected);
    std::remove(path.c_str());
}

// A file larger than the read buffer, with long lines, reads exactly like the same bytes in
// memory; so does a pipe, which cannot be read twice.
TEST_F(AscImport, LargeFilesAndPipesReadLikeMemory) {
    std::string text = "Named object: \"Big\"\nTri-mesh, Vertices: 20000     Faces: 3000\nVertex list:\n";
    for (int i = 0; i < 20000; ++i) {
        if (i % 997 == 0) text += std::string(2047 + i % 5, 'x') + "\n"; // takes two vertex slots
        text += "Vertex " + std::to_string(i) + ":  X: " + std::to_string(i * 0.25) + "     Y: -" +
                std::to_string(i) + "     Z: 1e-" + std::to_string(i % 40) + "\n";
    }
    text += "Face list:\n";
    for (int i = 0; i < 3000; ++i) {
        text += "Face " + std::to_string(i) + ":    A:" + std::to_string(i) + " B:" + std::to_string(i + 1) +
                " C:" + std::to_string(i + 2) + "\nMaterial:\"M" + std::to_string(i % 7) + "\"\n";
    }
    ASSERT_GT(text.size(), 3u * 256 * 1024);
    const std::string path = std::string(KX_BINARY_DIR) + "/asc_import_test_big.asc";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    Model expected;
    ModelInit(&expected);
    for (int advanced = 0; advanced < 2; ++advanced) {
        ASSERT_EQ(advanced ? Advanced(text) : Simple(text), 0);
        const std::string fromMemory = Snapshot(model);
        ASSERT_EQ(advanced ? ImportAscAdvanced(&expected, path.c_str()) : ImportAsc(&expected, path.c_str()),
                  0);
        EXPECT_EQ(Snapshot(expected), fromMemory);
    }
    EXPECT_EQ(VertexCount(&model), 20000);
    ExpectVertex(2, 0.25f, -1, 1e-1f); // the long line before vertex 0 took slot 0

    const std::string fifo = std::string(KX_BINARY_DIR) + "/asc_import_test_fifo";
    std::remove(fifo.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] {
        FILE* w = std::fopen(fifo.c_str(), "wb");
        if (w == nullptr) return;
        std::fwrite(text.data(), 1, text.size(), w);
        std::fclose(w);
    });
    EXPECT_EQ(ImportAscAdvanced(&expected, fifo.c_str()), 0);
    writer.join();
    EXPECT_EQ(Snapshot(expected), Snapshot(model));
    ModelRelease(&expected);
    std::remove(fifo.c_str());
    std::remove(path.c_str());
}

TEST_F(AscImport, AdvancedJoinsObjectsAndNamesMaterials) {
    FillModel(&model);
    ASSERT_EQ(Advanced(kBox), 0);
    ASSERT_EQ(VertexCount(&model), 8);
    ASSERT_EQ(FaceCount(&model), 3);
    ExpectVertex(3, 4, 3, 10);
    ExpectVertex(4, 10, 11, 12);
    ExpectVertex(7, 19, 20, 21);
    ExpectFace(0, 0, 1, 2, 1);
    ExpectFace(1, 0, 2, 3, 2);
    ExpectFace(2, 5, 6, 7, 1); // the second object's indices follow the first object's vertices
    EXPECT_EQ(MaterialNames(), (std::vector<std::string>{"Default", "Wood", "Stone"}));
    float ambient[4], diffuse[4], specular[4], emission[4], shininess = 0;
    GetMaterial(&model, 2, ambient, diffuse, specular, emission, &shininess);
    EXPECT_EQ(ambient[0], 0.1f);
    EXPECT_EQ(emission[3], 1.0f);
    EXPECT_EQ(shininess, 64.0f);
    EXPECT_EQ(GetMaterialTexture(&model, 1), 0);
    EXPECT_EQ(DummyCount(&model), 1); // dummies stay
    EXPECT_EQ(model.reserved, 77);
}

TEST_F(AscImport, AdvancedMaterialNames) {
    const std::string text = "Named object: \"A\"\nTri-mesh, Vertices: 3     Faces: 6\nVertex list:\n"
                             "Vertex 0:  X: 0     Y: 0     Z: 0\nVertex 1:  X: 1     Y: 0     Z: 0\n"
                             "Vertex 2:  X: 0     Y: 1     Z: 0\nFace list:\n"
                             "Face 0:    A:0 B:1 C:2\nMaterial:\"Default\"\n"
                             "Face 1:    A:0 B:1 C:2\nMaterial:\"VeryLongName12\"\n"
                             "Face 2:    A:0 B:1 C:2\nMaterial:\"VeryLongNameXY\"\n"
                             "Face 3:    A:0 B:1 C:2\nMaterial:\"Open\r\n"
                             "Face 4:    A:0 B:1 C:2\nMaterial\n"
                             "Face 5:    A:0 B:1 C:2\nMaterial::Odd\"\n";
    ASSERT_EQ(Advanced(text), 0);
    ASSERT_EQ(FaceCount(&model), 6);
    ExpectFace(0, 0, 1, 2, 0); // "Default" is material 0
    ExpectFace(1, 0, 1, 2, 1);
    ExpectFace(2, 0, 1, 2, 1); // the same first 11 characters
    ExpectFace(3, 0, 1, 2, 2); // no closing quote: the name ends with the line
    ExpectFace(4, 0, 1, 2, 3); // too short for a name: the empty name
    ExpectFace(5, 0, 1, 2, 4); // the name starts at the eleventh character whatever is there
    EXPECT_EQ(MaterialNames(), (std::vector<std::string>{"Default", "VeryLongNam", "Open", "", "Odd"}));
}

TEST_F(AscImport, AdvancedFaceSectionEndsAtTheMaterialLineAfterTheLastFace) {
    const std::string text =
        "Named object: \"A\"\nTri-mesh, Vertices: 3     Faces: 2\nVertex list:\n"
        "Vertex 0:  X: 0     Y: 0     Z: 0\nVertex 1:  X: 1     Y: 0     Z: 0\n"
        "Vertex 2:  X: 0     Y: 1     Z: 0\nFace list:\n"
        "Material:\"Early\"\n"     // no face of this import yet: ignored
        "Face 0:    A:0 B:1 C:2\n" // no material line follows: keeps material 0
        "Face 1:    A:2 B:1 C:0\n"
        "Face 2:    A:1 B:1 C:1\n" // beyond the object's two faces: skipped
        "Material:\"Late\"\n"      // names face 1 and closes the section
        "Face 3:    A:2 B:2 C:2\n"
        "Material:\"After\"\n"
        "Named object: \"B\"\nTri-mesh, Vertices: 1     Faces: 0\nVertex list:\n"
        "Vertex 0:  X: 9     Y: 9     Z: 9\nFace list:\nFace 0:    A:0 B:0 C:0\n"
        "Material:\"Closing\"\n" // an object without faces closes at its first one
        "Named object: \"C\"\nTri-mesh, Vertices:\nVertex list:\n" // counts kept: 1 and 0
        "Vertex 0:  X: 8     Y: 8     Z: 8\nFace list:\nMaterial:\"Closing\"\n";
    ASSERT_EQ(Advanced(text), 0);
    ASSERT_EQ(VertexCount(&model), 5);
    ASSERT_EQ(FaceCount(&model), 2);
    ExpectFace(0, 0, 1, 2, 0);
    ExpectFace(1, 2, 1, 0, 1);
    ExpectVertex(3, 9, 9, 9);
    ExpectVertex(4, 8, 8, 8);
    EXPECT_EQ(MaterialNames(), (std::vector<std::string>{"Default", "Late"}));
}

TEST_F(AscImport, AdvancedDropsAnObjectTheDataCutShort) {
    // The second object's face is never read, so only the first object counts.
    std::string text = kBox;
    text.resize(text.rfind("Face 0:"));
    FillModel(&model);
    ASSERT_EQ(Advanced(text), 0);
    EXPECT_EQ(VertexCount(&model), 4);
    EXPECT_EQ(FaceCount(&model), 2);
    ExpectFace(1, 0, 2, 3, 2);
    // Without any object the mesh is empty and only "Default" is left.
    ASSERT_EQ(Advanced("no objects here\n"), 0);
    EXPECT_EQ(VertexCount(&model), 0);
    EXPECT_EQ(FaceCount(&model), 0);
    EXPECT_EQ(model.vertices, nullptr);
    EXPECT_EQ(MaterialNames(), std::vector<std::string>{"Default"});
    EXPECT_EQ(DummyCount(&model), 1);
}

TEST_F(AscImport, AdvancedKeepsTheObjectsBeforeCountsThatCannotFit) {
    FillModel(&model);
    std::string text = kBox;
    text.replace(text.rfind("Faces: 1"), 8, "Faces: -1");
    ASSERT_EQ(Advanced(text), 0);
    EXPECT_EQ(VertexCount(&model), 4);
    EXPECT_EQ(FaceCount(&model), 2);
    for (const std::string& blanks : {std::string(), std::string(5000, '\n')}) {
        text =
            std::string(kBox) + "Named object: \"Big\"\nTri-mesh, Vertices: 1000     Faces: 1000\n" + blanks;
        ASSERT_EQ(Advanced(text), 0);
        EXPECT_EQ(VertexCount(&model), 8);
        EXPECT_EQ(FaceCount(&model), 3);
        EXPECT_EQ(MaterialNames(), (std::vector<std::string>{"Default", "Wood", "Stone"}));
    }
}

// Every cut of a two-object file keeps the objects that are complete before the cut.
TEST_F(AscImport, AdvancedCutFilesKeepTheCompleteObjects) {
    const std::string box = kBox;
    // The first object is complete once its last face line has begun.
    const size_t firstComplete = box.find("Face 1:") + 4;
    for (size_t cut = 0; cut <= box.size(); ++cut) {
        ASSERT_EQ(Advanced(box.substr(0, cut)), 0) << "cut at " << cut;
        const int32_t vertices = VertexCount(&model);
        EXPECT_TRUE(vertices == 0 || vertices == 4 || vertices == 8) << "cut at " << cut;
        if (cut >= firstComplete) {
            EXPECT_GE(vertices, 4) << "cut at " << cut;
        }
        EXPECT_EQ(FaceCount(&model), vertices == 0 ? 0 : vertices == 4 ? 2 : 3) << "cut at " << cut;
    }
}

// Exporters that write no "Material" lines: once an object's faces are in, the next object or
// the end of the file ends its face section, and its faces keep material 0.
TEST_F(AscImport, AdvancedObjectsWithoutMaterialLines) {
    const std::string object = "Named object: \"P\"\nTri-mesh, Vertices: 3     Faces: 1\nVertex list:\n"
                               "Vertex 0:  X: 0     Y: 0     Z: 0\nVertex 1:  X: 1     Y: 0     Z: 0\n"
                               "Vertex 2:  X: 0     Y: 1     Z: 0\nFace list:\n"
                               "Face 0:    A:0 B:1 C:2 AB:1 BC:1 CA:1\nSmoothing:  1\n\n";
    ASSERT_EQ(Advanced(object + object + object), 0);
    EXPECT_EQ(VertexCount(&model), 9);
    ASSERT_EQ(FaceCount(&model), 3);
    ExpectFace(0, 0, 1, 2, 0);
    ExpectFace(1, 3, 4, 5, 0);
    ExpectFace(2, 6, 7, 8, 0);
    EXPECT_EQ(MaterialNames(), std::vector<std::string>{"Default"});
    // Mixed with objects closed by a "Material" line, and ending without a newline.
    std::string mixed = object + std::string(kBox) + object;
    mixed.resize(mixed.size() - std::string("\nSmoothing:  1\n\n").size());
    ASSERT_EQ(Advanced(mixed), 0);
    EXPECT_EQ(VertexCount(&model), 14);
    ASSERT_EQ(FaceCount(&model), 5);
    ExpectFace(1, 3, 4, 5, 1);
    ExpectFace(3, 8, 9, 10, 1);
    ExpectFace(4, 11, 12, 13, 0);
    // An object whose faces are not all in when the file ends does not count.
    std::string open = object;
    open.replace(open.find("Faces: 1"), 8, "Faces: 2");
    ASSERT_EQ(Advanced(object + open), 0);
    EXPECT_EQ(VertexCount(&model), 3);
    EXPECT_EQ(FaceCount(&model), 1);
}

TEST_F(AscImport, AdvancedIndicesWrapInsteadOfOverflowing) {
    std::string text = kBox;
    text.replace(text.rfind("A:1 B:2 C:3"), 11, "A:2147483647 B:-1 C:3");
    ASSERT_EQ(Advanced(text), 0);
    ExpectFace(2, -2147483645, 3, 7, 1);
}

TEST_F(AscImport, CrLfLinesReadLikeLfLines) {
    std::string crlf;
    for (char c : std::string(kBox)) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    Model lf;
    ModelInit(&lf);
    ASSERT_EQ(ImportAscAdvancedFromMemory(&lf, kBox, sizeof kBox - 1), 0);
    ASSERT_EQ(Advanced(crlf), 0);
    EXPECT_EQ(Snapshot(model), Snapshot(lf));
    ASSERT_EQ(ImportAscFromMemory(&lf, kBox, sizeof kBox - 1), 0);
    ASSERT_EQ(Simple(crlf), 0);
    EXPECT_EQ(Snapshot(model), Snapshot(lf));
    ModelRelease(&lf);
}

} // namespace
