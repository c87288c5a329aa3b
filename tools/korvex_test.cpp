// Runs the korvex program as a process and checks its whole output and exit status.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "model/korvex_file.h"
#include "model/test_support.h"

namespace {

struct ProcessResult {
    int status;
    std::string out, err;
};

ProcessResult Korvex(const TempDir& dir, const std::string& args) {
    const std::string out = dir.File("stdout.txt"), err = dir.File("stderr.txt");
    const std::string cmd = std::string(KORVEX_PROGRAM) + " " + args + " >" + out + " 2>" + err;
    const int raw = std::system(cmd.c_str());
    ProcessResult r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, test_support::read_text(out),
                    test_support::read_text(err)};
    unlink(out.c_str());
    unlink(err.c_str());
    return r;
}

void SaveSample(const std::string& path, bool compressed) {
    ScopedModel m;
    AddVertex(m.get(), 0, 0, 0, 0);
    AddVertex(m.get(), 1, 0, 0, 9);
    AddVertex(m.get(), 0, 1, 0, 0);
    AddFace(m.get(), 0, 1, 2, 0);
    AddDummy(m.get(), 4, 1, 1, 1);
    AddDefaultMaterial(m.get(), "Default");
    SetMaterialTexture(m.get(), 0, 3);
    m->reserved = 5;
    ASSERT_EQ(0, compressed ? ModelSaveCompressed(m.get(), path.c_str()) : ModelSave(m.get(), path.c_str()));
}

TEST(KorvexTool, InfoPrintsHeaderAndCounts) {
    TempDir dir;
    const std::string file = dir.File("a.Kor");
    SaveSample(file, true);
    const ProcessResult r = Korvex(dir, "info " + file);
    EXPECT_EQ(0, r.status);
    EXPECT_EQ("file: " + file +
                  "\nmagic: Korvex\ncompression: 1 (zlib)\nreserved: 5\nvertices: 3\nfaces: 1\n"
                  "dummies: 1\nmaterials: 1\n",
              r.out);
    EXPECT_EQ("", r.err);
}

TEST(KorvexTool, ConvertBetweenPlainAndCompressedKeepsEveryByte) {
    TempDir dir;
    SaveSample(dir.File("plain.Korvex"), false);
    ASSERT_EQ(
        0, Korvex(dir, "convert " + dir.File("plain.Korvex") + " --compressed " + dir.File("packed.Korvex"))
               .status);
    const auto packed = ReadBytes(dir.File("packed.Korvex"));
    ASSERT_GT(packed.size(), 32u);
    EXPECT_EQ(1, packed[16]);
    ASSERT_EQ(0, Korvex(dir, "convert " + dir.File("packed.Korvex") + " " + dir.File("back.Korvex")).status);
    EXPECT_EQ(ReadBytes(dir.File("plain.Korvex")), ReadBytes(dir.File("back.Korvex")));
}

TEST(KorvexTool, FileErrorsNameTheFileAndTheReason) {
    TempDir dir;
    const std::string bad = dir.File("bad.Korvex");
    WriteBytes(bad, {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'});
    ProcessResult r = Korvex(dir, "info " + bad);
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("korvex: " + bad + ": the file is not a Korvex model\n", r.err);
    EXPECT_EQ("", r.out);

    SaveSample(dir.File("s.Korvex"), false);
    auto bytes = ReadBytes(dir.File("s.Korvex"));
    bytes[16] = 2;
    WriteBytes(bad, bytes);
    r = Korvex(dir, "convert " + bad + " " + dir.File("o.Korvex"));
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("korvex: " + bad + ": the file names an unknown compression method 2\n", r.err);

    bytes[16] = 0;
    bytes.pop_back();
    WriteBytes(bad, bytes);
    r = Korvex(dir, "info " + bad);
    EXPECT_EQ("korvex: " + bad + ": the counts in the header do not fit the file\n", r.err);

    SaveSample(dir.File("c.Korvex"), true);
    bytes = ReadBytes(dir.File("c.Korvex"));
    bytes.back() ^= 0xFF;
    WriteBytes(bad, bytes);
    r = Korvex(dir, "info " + bad);
    EXPECT_EQ("korvex: " + bad + ": the compressed data are corrupt\n", r.err);

    r = Korvex(dir, "info " + dir.File("missing.Korvex"));
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("korvex: " + dir.File("missing.Korvex") + ": No such file or directory\n", r.err);

    r = Korvex(dir, "info " + dir.path);
    EXPECT_EQ("korvex: " + dir.path + ": Is a directory\n", r.err);

    r = Korvex(dir, "convert " + dir.File("s.Korvex") + " " + dir.File("no/such/dir.Korvex"));
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("korvex: " + dir.File("no/such/dir.Korvex") + ": No such file or directory\n", r.err);
    EXPECT_FALSE(ReadBytes(dir.File("o.Korvex")).size()); // a failed convert writes nothing
}

const char kTwoObjectAsc[] = "Ambient light color: Red=0.3 Green=0.3 Blue=0.3\n"
                             "Named object: \"Box\"\n"
                             "Tri-mesh, Vertices: 3     Faces: 1\n"
                             "Vertex list:\n"
                             "Vertex 0:  X:0     Y:0     Z:0\n"
                             "Vertex 1:  X:1     Y:0     Z:0\n"
                             "Vertex 2:  X:0     Y:1     Z:0\n"
                             "Face list:\n"
                             "Face 0:    A:0 B:1 C:2 AB:1 BC:1 CA:1\n"
                             "Material:\"Steel\"\n"
                             "Named object: \"Lid\"\n"
                             "Tri-mesh, Vertices: 3     Faces: 1\n"
                             "Vertex list:\n"
                             "Vertex 0:  X:0     Y:0     Z:2\n"
                             "Vertex 1:  X:1     Y:0     Z:2\n"
                             "Vertex 2:  X:0     Y:1     Z:2\n"
                             "Face list:\n"
                             "Face 0:    A:2 B:1 C:0 AB:1 BC:1 CA:1\n"
                             "Material:\"Wood\"\n";

TEST(KorvexTool, ConvertReadsAscWithEitherImporter) {
    TempDir dir;
    const std::string asc = dir.File("mesh.ASC"); // the extension is matched in any case
    WriteBytes(asc, std::vector<uint8_t>(kTwoObjectAsc, kTwoObjectAsc + sizeof kTwoObjectAsc - 1));
    ASSERT_EQ(0, Korvex(dir, "convert " + asc + " " + dir.File("adv.Korvex")).status);
    ASSERT_EQ(0, Korvex(dir, "convert --simple-asc " + asc + " " + dir.File("simple.Korvex")).status);

    ScopedModel adv;
    ASSERT_EQ(0, ModelLoad(adv.get(), dir.File("adv.Korvex").c_str()));
    EXPECT_EQ(6, VertexCount(adv.get()));
    EXPECT_EQ(2, FaceCount(adv.get()));
    ASSERT_EQ(3, MaterialCount(adv.get()));
    EXPECT_STREQ("Wood", adv->materials[2].name);
    EXPECT_EQ(5, adv->faces[1].a); // second object's vertices follow the first's
    EXPECT_EQ(2, adv->faces[1].material);

    ScopedModel simple;
    ASSERT_EQ(0, ModelLoad(simple.get(), dir.File("simple.Korvex").c_str()));
    EXPECT_EQ(3, VertexCount(simple.get()));
    EXPECT_EQ(1, FaceCount(simple.get()));
    ASSERT_EQ(1, MaterialCount(simple.get()));
    EXPECT_STREQ("Default", simple->materials[0].name);

    const ProcessResult r = Korvex(dir, "convert " + dir.File("none.asc") + " " + dir.File("x.Korvex"));
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("korvex: " + dir.File("none.asc") + ": No such file or directory\n", r.err);
}

TEST(KorvexTool, ConvertChoosesReaderAndWriterByExtension) {
    TempDir dir;
    SaveSample(dir.File("s.Korvex"), false);
    ASSERT_EQ(0, Korvex(dir, "convert " + dir.File("s.Korvex") + " " + dir.File("s.OBJ")).status);
    EXPECT_FALSE(ReadBytes(dir.File("s.mtl")).empty());
    ASSERT_EQ(0, Korvex(dir, "convert " + dir.File("s.OBJ") + " " + dir.File("s.glb")).status);
    ASSERT_EQ(0, Korvex(dir, "convert " + dir.File("s.glb") + " " + dir.File("back.kor")).status);
    ScopedModel original, back;
    ASSERT_EQ(0, ModelLoad(original.get(), dir.File("s.Korvex").c_str()));
    ASSERT_EQ(0, ModelLoad(back.get(), dir.File("back.kor").c_str()));
    ASSERT_EQ(3, VertexCount(back.get()));
    ASSERT_EQ(1, FaceCount(back.get()));
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(0, std::memcmp(&original->vertices[k], &back->vertices[k], 12));
    ASSERT_EQ(1, MaterialCount(back.get()));
    EXPECT_STREQ("Default", back->materials[0].name);
    EXPECT_EQ(0, DummyCount(back.get())); // OBJ has no place for the dummy
}

TEST(KorvexTool, ConvertToStandardOutputGivesThePlainKorvexStream) {
    TempDir dir;
    SaveSample(dir.File("s.Korvex"), true);
    const ProcessResult r = Korvex(dir, "convert " + dir.File("s.Korvex") + " -");
    EXPECT_EQ(0, r.status);
    ScopedModel m;
    ASSERT_EQ(0, ModelLoad(m.get(), dir.File("s.Korvex").c_str()));
    ASSERT_EQ(0, ModelSave(m.get(), dir.File("plain.Korvex").c_str()));
    const auto plain = ReadBytes(dir.File("plain.Korvex"));
    EXPECT_EQ(std::string(plain.begin(), plain.end()), r.out);
}

TEST(KorvexTool, InterchangeErrorsGiveTheReaderReason) {
    TempDir dir;
    const std::string bad = dir.File("bad.glb");
    WriteBytes(bad, {'g', 'l', 'T', 'F', 2, 0, 0, 0, 1, 2, 3});
    ProcessResult r = Korvex(dir, "convert " + bad + " " + dir.File("o.Korvex"));
    EXPECT_EQ(1, r.status);
    EXPECT_EQ(0u, r.err.find("korvex: " + bad + ": ")) << r.err;
    EXPECT_GT(r.err.size(), ("korvex: " + bad + ": \n").size());
    EXPECT_EQ('\n', r.err.back());

    r = Korvex(dir, "convert " + dir.File("none.stl") + " " + dir.File("o.Korvex"));
    EXPECT_EQ("korvex: " + dir.File("none.stl") + ": No such file or directory\n", r.err);

    SaveSample(dir.File("s.Korvex"), false);
    r = Korvex(dir, "convert " + dir.File("s.Korvex") + " " + dir.File("no/dir.ply"));
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("korvex: " + dir.File("no/dir.ply") + ": No such file or directory\n", r.err);
    EXPECT_EQ(2,
              Korvex(dir, "convert --compressed " + dir.File("s.Korvex") + " " + dir.File("x.obj")).status);
}

TEST(KorvexTool, FormatsListsWhatThisBuildReadsAndWrites) {
    TempDir dir;
    const ProcessResult r = Korvex(dir, "formats");
    EXPECT_EQ(0, r.status);
    EXPECT_EQ(0u, r.out.find("reads: korvex kor asc "));
    for (const char* e : {" 3ds ", " dae ", " fbx ", " glb ", " gltf ", " obj ", " ply ", " stl "})
        EXPECT_NE(std::string::npos, r.out.find(e)) << e;
    EXPECT_NE(std::string::npos, r.out.find("\nwrites: korvex kor obj gltf glb ply stl\n"));
}

TEST(KorvexTool, UsageErrorsExitTwoWithAUsageLine) {
    TempDir dir;
    for (const char* args :
         {"", "frobnicate x", "info", "info a b", "convert onlyone", "convert a b --fast", "formats x"}) {
        SCOPED_TRACE(args);
        const ProcessResult r = Korvex(dir, args);
        EXPECT_EQ(2, r.status);
        EXPECT_NE(std::string::npos, r.err.find("usage: korvex info FILE\n"));
        EXPECT_EQ("", r.out);
    }
}

} // namespace
