#include "model/korvex_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "model/model_memory.h"
#include "model/test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;

using test_support::put_le32;
void PutF32(Bytes& b, float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    put_le32(b, v);
}
void PutHeader(Bytes& b, uint32_t v, uint32_t f, uint32_t compression, uint32_t reserved, uint32_t d,
               uint32_t m) {
    const char magic[8] = {'K', 'o', 'r', 'v', 'e', 'x', 0, 0};
    b.insert(b.end(), magic, magic + 8);
    for (uint32_t w : {v, f, compression, reserved, d, m})
        put_le32(b, w);
}
void SetU32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

Bytes Compress(const Bytes& plain) {
    uLongf n = compressBound(plain.size());
    Bytes out(n);
    EXPECT_EQ(Z_OK, compress2(out.data(), &n, plain.data(), plain.size(), 9));
    out.resize(n);
    return out;
}

// Fills every byte of every record, including w words, reserved bytes and texture handles.
void FillWithNoise(Model* m, int v, int f, int d, int mat, unsigned seed) {
    ASSERT_EQ(0, ResizeVertices(m, v));
    ASSERT_EQ(0, ResizeFaces(m, f));
    ASSERT_EQ(0, ResizeDummies(m, d));
    ASSERT_EQ(0, ResizeMaterials(m, mat));
    std::mt19937 rng(seed);
    auto noise = [&rng](void* p, size_t n) {
        auto* b = static_cast<uint8_t*>(p);
        for (size_t i = 0; i < n; ++i)
            b[i] = static_cast<uint8_t>(rng());
    };
    noise(m->vertices, sizeof(Vertex) * v);
    noise(m->faces, sizeof(Face) * f);
    noise(m->dummies, sizeof(Dummy) * d);
    noise(m->materials, sizeof(Material) * mat);
    m->reserved = 0x12345678;
}

// A model whose lists all hold something, used as the "before" state of refused loads.
void MakeExisting(Model* m) {
    ASSERT_EQ(0, AddVertex(m, 9, 8, 7, 6));
    ASSERT_EQ(0, AddFace(m, 0, 0, 0, 0));
    ASSERT_EQ(0, AddDummy(m, 3, 1, 1, 1));
    ASSERT_EQ(0, AddDefaultMaterial(m, "Old"));
}

TEST(KorvexLayout, OneVertexModelIsTheDocumented48Bytes) {
    TempDir dir;
    ScopedModel m;
    ASSERT_EQ(0, AddVertex(m.get(), 1.0f, 2.0f, 3.0f, 0));
    ASSERT_EQ(0, ModelSave(m.get(), dir.File("v.Korvex").c_str()));
    const Bytes expected = {'K',  'o',  'r',  'v',  'e',  'x',  0,    0,                //
                            1,    0,    0,    0,    0,    0,    0,    0,    0, 0, 0, 0, //
                            0,    0,    0,    0,    0,    0,    0,    0,    0, 0, 0, 0, //
                            0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x40,             //
                            0x00, 0x00, 0x40, 0x40, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(expected, ReadBytes(dir.File("v.Korvex")));
}

TEST(KorvexLayout, EmptyModelIsAHeaderOnly) {
    TempDir dir;
    ScopedModel m;
    m->compression = 1;
    ASSERT_EQ(0, ModelSave(m.get(), dir.File("e.Kor").c_str()));
    EXPECT_EQ(0, m->compression);
    Bytes expected;
    PutHeader(expected, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(expected, ReadBytes(dir.File("e.Kor")));

    ScopedModel loaded;
    MakeExisting(loaded.get());
    ASSERT_EQ(0, ModelLoad(loaded.get(), dir.File("e.Kor").c_str()));
    EXPECT_EQ(0, VertexCount(loaded.get()));
    EXPECT_EQ(0, MaterialCount(loaded.get()));
    EXPECT_EQ(nullptr, loaded->vertices);
    EXPECT_EQ(nullptr, loaded->materials);
}

// The 256-byte model: 3 vertices, 1 face, 1 material, written out field by field.
Bytes HandBuilt256() {
    Bytes b;
    PutHeader(b, 3, 1, 0, 0, 0, 1);
    const float verts[3][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    for (const auto& v : verts) {
        for (float c : v)
            PutF32(b, c);
        put_le32(b, 0);
    }
    for (uint32_t i : {0u, 1u, 2u, 0u})
        put_le32(b, i);
    for (float t : {0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f})
        PutF32(b, t);
    for (int i = 0; i < 8; ++i)
        b.push_back(0);
    const char name[12] = {'S', 't', 'e', 'e', 'l', 0, 0, 0, 0, 0, 0, 0};
    b.insert(b.end(), name, name + 12);
    for (float c : {0.1f, 0.1f, 0.1f, 1.0f, 0.5f, 0.5f, 0.5f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f,
                    1.0f, 64.0f}) {
        PutF32(b, c);
    }
    put_le32(b, 0); // texture
    for (int i = 0; i < 44; ++i)
        b.push_back(0);
    return b;
}

TEST(KorvexLayout, ThreeVerticesOneFaceOneMaterialIs256Bytes) {
    const Bytes expected = HandBuilt256();
    ASSERT_EQ(256u, expected.size());

    TempDir dir;
    ScopedModel m;
    ASSERT_EQ(0, AddVertex(m.get(), 0, 0, 0, 0));
    ASSERT_EQ(0, AddVertex(m.get(), 1, 0, 0, 0));
    ASSERT_EQ(0, AddVertex(m.get(), 0, 1, 0, 0));
    ASSERT_EQ(0, AddFace(m.get(), 0, 1, 2, 0));
    const float tex[6] = {0, 0, 1, 0, 0, 1};
    ASSERT_EQ(0, SetFaceTexCoords(m.get(), 0, tex));
    ASSERT_EQ(0, AddDefaultMaterial(m.get(), "Steel"));
    ASSERT_EQ(0, ModelSave(m.get(), dir.File("t.Korvex").c_str()));
    EXPECT_EQ(expected, ReadBytes(dir.File("t.Korvex")));

    // And the reader takes the hand-built bytes apart into the same fields.
    ScopedModel loaded;
    ASSERT_EQ(0, ModelLoadMemory(loaded.get(), expected.data(), expected.size()));
    ASSERT_EQ(3, VertexCount(loaded.get()));
    ASSERT_EQ(1, FaceCount(loaded.get()));
    ASSERT_EQ(1, MaterialCount(loaded.get()));
    float x, y, z;
    ASSERT_EQ(0, GetVertex(loaded.get(), 2, &x, &y, &z));
    EXPECT_EQ(1.0f, y);
    int32_t a, b, c, mat;
    ASSERT_EQ(0, GetFace(loaded.get(), 0, &a, &b, &c, &mat));
    EXPECT_EQ(2, c);
    char name[12];
    ASSERT_EQ(0, GetMaterialName(loaded.get(), 0, name));
    EXPECT_STREQ("Steel", name);
    EXPECT_EQ(64.0f, loaded->materials[0].shininess);
}

TEST(KorvexRoundTrip, PlainAndCompressedKeepEveryByte) {
    TempDir dir;
    ScopedModel m;
    FillWithNoise(m.get(), 37, 23, 5, 4, 1);
    for (bool compressed : {false, true}) {
        SCOPED_TRACE(compressed ? "compressed" : "plain");
        const std::string path = dir.File(compressed ? "c.Korvex" : "p.Korvex");
        ASSERT_EQ(0,
                  compressed ? ModelSaveCompressed(m.get(), path.c_str()) : ModelSave(m.get(), path.c_str()));
        EXPECT_EQ(compressed ? 1 : 0, m->compression);
        ScopedModel loaded;
        MakeExisting(loaded.get());
        ASSERT_EQ(0, ModelLoad(loaded.get(), path.c_str()));
        EXPECT_EQ(0, std::memcmp(loaded.get(), m.get(), kModelHeaderSize));
        Bytes want = ModelState(m.m), got = ModelState(loaded.m);
        want.erase(want.begin(), want.begin() + sizeof(Model));
        got.erase(got.begin(), got.begin() + sizeof(Model));
        EXPECT_EQ(want, got);
    }
}

TEST(KorvexRoundTrip, CompressedFileIsHeaderAndOneZlibStreamOfThePlainBody) {
    TempDir dir;
    ScopedModel m;
    FillWithNoise(m.get(), 10, 7, 3, 2, 2);
    ASSERT_EQ(0, ModelSave(m.get(), dir.File("p").c_str()));
    ASSERT_EQ(0, ModelSaveCompressed(m.get(), dir.File("c").c_str()));
    const Bytes plain = ReadBytes(dir.File("p"));
    const Bytes packed = ReadBytes(dir.File("c"));
    ASSERT_GT(packed.size(), 32u);
    EXPECT_EQ(1, packed[16]);
    EXPECT_TRUE(std::equal(plain.begin(), plain.begin() + 16, packed.begin()));
    EXPECT_TRUE(std::equal(plain.begin() + 20, plain.begin() + 32, packed.begin() + 20));
    uLongf n = plain.size() - 32;
    Bytes body(n);
    ASSERT_EQ(Z_OK, uncompress(body.data(), &n, packed.data() + 32, packed.size() - 32));
    ASSERT_EQ(plain.size() - 32, n);
    EXPECT_TRUE(std::equal(body.begin(), body.end(), plain.begin() + 32));
}

TEST(KorvexLoad, MagicIsComparedUpToItsNulOnly) {
    Bytes file = HandBuilt256();
    file[7] = 0xEE;
    ScopedModel m;
    ASSERT_EQ(0, ModelLoadMemory(m.get(), file.data(), file.size()));
    EXPECT_EQ(static_cast<char>(0xEE), m->magic[7]);

    file[6] = '!';
    const Bytes before = ModelState(m.m);
    EXPECT_EQ(MODEL_ERR_MAGIC, ModelLoadMemory(m.get(), file.data(), file.size()));
    EXPECT_EQ(before, ModelState(m.m));
}

// Every refusal leaves the model exactly as it was, through both readers.
void ExpectRefused(const Bytes& file, int32_t status) {
    TempDir dir;
    WriteBytes(dir.File("f"), file);
    ScopedModel m;
    MakeExisting(m.get());
    const Bytes before = ModelState(m.m);
    EXPECT_EQ(status, ModelLoadMemory(m.get(), file.data(), file.size()));
    EXPECT_EQ(before, ModelState(m.m));
    EXPECT_EQ(status, ModelLoad(m.get(), dir.File("f").c_str()));
    EXPECT_EQ(before, ModelState(m.m));
}

TEST(KorvexLoad, RefusalsLeaveTheModelUnchanged) {
    {
        SCOPED_TRACE("missing file");
        ScopedModel m;
        MakeExisting(m.get());
        const Bytes before = ModelState(m.m);
        EXPECT_EQ(MODEL_ERR_OPEN, ModelLoad(m.get(), "/nonexistent/dir/x.Korvex"));
        EXPECT_EQ(before, ModelState(m.m));
    }
    {
        SCOPED_TRACE("compression 2 and -1");
        Bytes file = HandBuilt256();
        SetU32(file, 16, 2);
        ExpectRefused(file, MODEL_ERR_COMPRESSION);
        SetU32(file, 16, 0xFFFFFFFF);
        ExpectRefused(file, MODEL_ERR_COMPRESSION);
    }
    {
        SCOPED_TRACE("plain file shorter than its counts");
        Bytes file = HandBuilt256();
        SetU32(file, 28, 2); // two materials announced, one present
        ExpectRefused(file, MODEL_ERR_RANGE);
    }
    {
        SCOPED_TRACE("counts beyond 31 bits");
        Bytes file;
        PutHeader(file, 0xFFFFFFFF, 0, 0, 0, 0, 0);
        ExpectRefused(file, MODEL_ERR_RANGE);
        file.clear();
        PutHeader(file, 0, 0, 1, 0, 0, 0x80000000);
        ExpectRefused(file, MODEL_ERR_RANGE);
    }
    {
        SCOPED_TRACE("not a file");
        ScopedModel m;
        MakeExisting(m.get());
        const Bytes before = ModelState(m.m);
        EXPECT_EQ(MODEL_ERR_OPEN, ModelLoad(m.get(), "/tmp"));
        EXPECT_EQ(before, ModelState(m.m));
    }
}

TEST(KorvexLoad, CompressedStreamsThatDoNotMatchTheHeaderAreRefused) {
    const Bytes plain = HandBuilt256();
    const Bytes body(plain.begin() + 32, plain.end());
    auto compressedFile = [&](const Bytes& stream) {
        Bytes file(32 + stream.size());
        std::memcpy(file.data(), plain.data(), 32);
        std::memcpy(file.data() + 32, stream.data(), stream.size());
        SetU32(file, 16, 1);
        return file;
    };
    {
        SCOPED_TRACE("valid");
        const Bytes file = compressedFile(Compress(body));
        ScopedModel m;
        ASSERT_EQ(0, ModelLoadMemory(m.get(), file.data(), file.size()));
        EXPECT_EQ(1, m->compression);
        EXPECT_EQ(0, std::memcmp(m->materials, body.data() + 96, 128));
    }
    {
        SCOPED_TRACE("inflates to more than the header says");
        Bytes longer = body;
        longer.resize(body.size() + 16, 0x55);
        ExpectRefused(compressedFile(Compress(longer)), MODEL_ERR_BUFFER);
        // One byte more is enough.
        longer.resize(body.size() + 1);
        ExpectRefused(compressedFile(Compress(longer)), MODEL_ERR_BUFFER);
    }
    {
        SCOPED_TRACE("inflates to fewer bytes than the header says");
        const Bytes shorter(body.begin(), body.end() - 1);
        ExpectRefused(compressedFile(Compress(shorter)), MODEL_ERR_RANGE);
    }
    {
        SCOPED_TRACE("bad check value and bad zlib header");
        Bytes stream = Compress(body);
        stream.back() ^= 0x01;
        ExpectRefused(compressedFile(stream), MODEL_ERR_DATA);
        stream = Compress(body);
        stream[0] = 0x00;
        ExpectRefused(compressedFile(stream), MODEL_ERR_DATA);
    }
    {
        SCOPED_TRACE("body larger than a stream of this length can hold");
        Bytes file;
        PutHeader(file, 1032 * 2 / 16 * 16, 0, 1, 0, 0, 0); // 16 * 2064 bytes from 2 stream bytes
        file.push_back(0x78);
        file.push_back(0xDA);
        ExpectRefused(file, MODEL_ERR_RANGE);
    }
}

TEST(KorvexLoad, CountsAreCheckedBeforeAnythingIsAllocated) {
    static size_t largest;
    largest = 0;
    ModelAllocFn previous = ModelSetAllocator([](size_t count, size_t size) -> void* {
        if (count * size > largest) largest = count * size;
        return std::calloc(count, size);
    });
    Bytes file;
    PutHeader(file, 0, 0x7FFFFFFF, 0, 0, 0, 0);
    ScopedModel m;
    EXPECT_EQ(MODEL_ERR_RANGE, ModelLoadMemory(m.get(), file.data(), file.size()));
    SetU32(file, 16, 1);
    file.resize(48, 0);
    EXPECT_EQ(MODEL_ERR_RANGE, ModelLoadMemory(m.get(), file.data(), file.size()));
    ModelSetAllocator(previous);
    EXPECT_EQ(0u, largest);
}

TEST(KorvexLoad, EveryCutOfAValidFileIsRefused) {
    TempDir dir;
    ScopedModel source;
    FillWithNoise(source.get(), 2, 2, 1, 2, 3);
    ASSERT_EQ(0, ModelSave(source.get(), dir.File("p").c_str()));
    ASSERT_EQ(0, ModelSaveCompressed(source.get(), dir.File("c").c_str()));
    for (const char* name : {"p", "c"}) {
        SCOPED_TRACE(name);
        const Bytes whole = ReadBytes(dir.File(name));
        ScopedModel m;
        MakeExisting(m.get());
        const Bytes before = ModelState(m.m);
        for (size_t cut = 0; cut < whole.size(); ++cut) {
            const int32_t status = ModelLoadMemory(m.get(), whole.data(), cut);
            EXPECT_EQ(cut < 7 ? MODEL_ERR_MAGIC : MODEL_ERR_RANGE, status) << "cut at " << cut;
            ASSERT_EQ(before, ModelState(m.m)) << "cut at " << cut;
        }
        // The file reader agrees on a few cuts, including the last byte.
        for (size_t cut : {size_t{3}, size_t{31}, size_t{32}, whole.size() / 2, whole.size() - 1}) {
            WriteBytes(dir.File("cut"), Bytes(whole.begin(), whole.begin() + cut));
            EXPECT_EQ(cut < 7 ? MODEL_ERR_MAGIC : MODEL_ERR_RANGE,
                      ModelLoad(m.get(), dir.File("cut").c_str()))
                << "cut at " << cut;
            ASSERT_EQ(before, ModelState(m.m));
        }
        ASSERT_EQ(0, ModelLoadMemory(m.get(), whole.data(), whole.size()));
    }
}

// Fails every allocation once the budget is spent.
int allocBudget;
void* BudgetAlloc(size_t count, size_t size) {
    if (allocBudget <= 0) return nullptr;
    --allocBudget;
    return std::calloc(count, size);
}

TEST(KorvexLoad, AllocationFailureAtAnyPointIsOutOfMemoryWithModelUnchanged) {
    TempDir dir;
    ScopedModel source;
    FillWithNoise(source.get(), 3, 2, 2, 2, 4);
    ASSERT_EQ(0, ModelSave(source.get(), dir.File("p").c_str()));
    ASSERT_EQ(0, ModelSaveCompressed(source.get(), dir.File("c").c_str()));
    for (const char* name : {"p", "c"}) {
        SCOPED_TRACE(name);
        ScopedModel m;
        MakeExisting(m.get());
        const Bytes before = ModelState(m.m);
        int32_t status = MODEL_ERR_MEMORY;
        int budget = 0;
        for (; status == MODEL_ERR_MEMORY && budget < 10; ++budget) {
            allocBudget = budget;
            ModelAllocFn previous = ModelSetAllocator(BudgetAlloc);
            status = ModelLoad(m.get(), dir.File(name).c_str());
            ModelSetAllocator(previous);
            if (status == MODEL_ERR_MEMORY) {
                ASSERT_EQ(before, ModelState(m.m)) << budget;
            }
        }
        EXPECT_EQ(0, status);
        EXPECT_GE(budget, 4); // four lists at least, so several failure points were tried
    }
}

TEST(KorvexLoad, PlainFileWithTrailingBytesLoads) {
    Bytes file = HandBuilt256();
    file.push_back(0xAA);
    ScopedModel m;
    EXPECT_EQ(0, ModelLoadMemory(m.get(), file.data(), file.size()));
    EXPECT_EQ(3, VertexCount(m.get()));
}

TEST(KorvexSave, FailedSavesKeepTheOldFileAndLeaveNoTemporary) {
    TempDir dir;
    const std::string target = dir.File("m.Korvex");
    ScopedModel old;
    FillWithNoise(old.get(), 4, 2, 0, 1, 5);
    ASSERT_EQ(0, ModelSave(old.get(), target.c_str()));
    const Bytes oldBytes = ReadBytes(target);

    ScopedModel m;
    FillWithNoise(m.get(), 400, 200, 1, 3, 6);
    {
        SCOPED_TRACE("out of memory while compressing");
        allocBudget = 1;
        m->compression = 0;
        ModelAllocFn previous = ModelSetAllocator(BudgetAlloc);
        EXPECT_EQ(MODEL_ERR_MEMORY, ModelSaveCompressed(m.get(), target.c_str()));
        ModelSetAllocator(previous);
        EXPECT_EQ(1, m->compression);
        EXPECT_EQ(oldBytes, ReadBytes(target));
        EXPECT_EQ(1u, dir.Files().size());
    }
    {
        SCOPED_TRACE("file size limit reached while writing");
        struct rlimit saved;
        ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &saved));
        void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
        struct rlimit limited = saved;
        limited.rlim_cur = 4096;
        ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &limited));
        const int32_t plain = ModelSave(m.get(), target.c_str());
        const int32_t packed = ModelSaveCompressed(m.get(), target.c_str());
        setrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, oldHandler);
        EXPECT_EQ(MODEL_ERR_OPEN, plain);
        EXPECT_EQ(MODEL_ERR_OPEN, packed);
        EXPECT_EQ(oldBytes, ReadBytes(target));
        EXPECT_EQ(1u, dir.Files().size());
    }
    {
        SCOPED_TRACE("target is a directory");
        ASSERT_EQ(0, mkdir(dir.File("sub").c_str(), 0755));
        m->compression = 7;
        EXPECT_EQ(MODEL_ERR_OPEN, ModelSave(m.get(), dir.File("sub").c_str()));
        EXPECT_EQ(MODEL_ERR_OPEN, ModelSaveCompressed(m.get(), dir.File("sub").c_str()));
        EXPECT_EQ(7, m->compression); // a target that cannot be opened leaves the field alone
        EXPECT_EQ(2u, dir.Files().size());
        rmdir(dir.File("sub").c_str());
    }
    {
        SCOPED_TRACE("folder does not exist");
        m->compression = 7;
        EXPECT_EQ(MODEL_ERR_OPEN, ModelSave(m.get(), dir.File("none/m.Korvex").c_str()));
        EXPECT_EQ(7, m->compression);
    }
}

TEST(KorvexSave, ReplacingAFileKeepsItsPermissions) {
    TempDir dir;
    const std::string target = dir.File("m.Korvex");
    ScopedModel m;
    ASSERT_EQ(0, ModelSave(m.get(), target.c_str()));
    ASSERT_EQ(0, chmod(target.c_str(), 0640));
    ASSERT_EQ(0, AddVertex(m.get(), 1, 2, 3, 4));
    ASSERT_EQ(0, ModelSaveCompressed(m.get(), target.c_str()));
    struct stat st;
    ASSERT_EQ(0, stat(target.c_str(), &st));
    EXPECT_EQ(0640u, st.st_mode & 0777);
    EXPECT_EQ(1u, dir.Files().size());
}

} // namespace
