#pragma once
// The in-memory model: a triangle mesh with four flat lists of fixed-size records
// (vertices, faces, dummies, materials). The records are laid out exactly like the
// records of a Korvex file, which stores them as raw blocks; the sizes and offsets
// below are therefore fixed and checked at compile time.

#include <bit>
#include <cstddef>
#include <cstdint>

static_assert(std::endian::native == std::endian::little,
              "Korvex records are little-endian and are read and written as raw blocks");

// Status codes shared by the list operations, the Korvex file operations and the ASC import.
enum : int32_t {
    MODEL_OK = 0,
    MODEL_ERR_OPEN = -1,        // the file cannot be opened (or, for a save, written)
    MODEL_ERR_MAGIC = -2,       // the file does not begin with the Korvex magic
    MODEL_ERR_COMPRESSION = -3, // the file names an unknown compression method
    MODEL_ERR_BUFFER = -4,      // a zlib buffer was too small (the stream holds more than expected)
    MODEL_ERR_DATA = -5,        // compressed data are corrupt
    MODEL_ERR_PARAMS = -7,      // zlib refused the compression parameters
    MODEL_ERR_MEMORY = -9,      // out of memory
    MODEL_ERR_RANGE = -10,      // index or count out of range
};

struct Vertex {
    float x, y, z;
    uint32_t w; // carried unchanged; 0 for vertices the editor or the ASC import creates
};

struct Face {
    int32_t a, b, c;     // vertex indices, counter-clockwise seen from the front
    int32_t material;    // index into the material list (may be out of range)
    float texCoords[6];  // sA, tA, sB, tB, sC, tC
    uint8_t reserved[8]; // carried unchanged; 0 for new faces
};

struct Dummy {
    int32_t id;
    float x, y, z;
};

struct Material {
    char name[12];    // NUL-terminated, at most 11 characters, rest NUL
    float ambient[4]; // RGBA
    float diffuse[4];
    float specular[4];
    float emission[4];
    float shininess;
    int32_t texture;      // run-time texture handle, 0 = none; saved as it stands
    uint8_t reserved[44]; // carried unchanged; 0 for new materials
};

// The first seven fields are the 32-byte Korvex file header, stored exactly as in the file.
struct Model {
    char magic[8]; // "Korvex", NUL, one pad byte
    int32_t vertexCount;
    int32_t faceCount;
    int32_t compression; // 0 plain, 1 zlib; set by the save operations
    int32_t reserved;    // 0 for new models; loaded and saved with the header
    int32_t dummyCount;
    int32_t materialCount;
    Vertex* vertices; // null when vertexCount is 0
    Face* faces;
    Dummy* dummies;
    Material* materials;
};

inline constexpr size_t kModelHeaderSize = 32;

static_assert(sizeof(Vertex) == 16);
static_assert(offsetof(Vertex, x) == 0 && offsetof(Vertex, y) == 4 && offsetof(Vertex, z) == 8 &&
              offsetof(Vertex, w) == 12);
static_assert(sizeof(Face) == 48);
static_assert(offsetof(Face, a) == 0 && offsetof(Face, b) == 4 && offsetof(Face, c) == 8 &&
              offsetof(Face, material) == 12 && offsetof(Face, texCoords) == 16 &&
              offsetof(Face, reserved) == 40);
static_assert(sizeof(Dummy) == 16);
static_assert(offsetof(Dummy, id) == 0 && offsetof(Dummy, x) == 4 && offsetof(Dummy, y) == 8 &&
              offsetof(Dummy, z) == 12);
static_assert(sizeof(Material) == 128);
static_assert(offsetof(Material, name) == 0 && offsetof(Material, ambient) == 12 &&
              offsetof(Material, diffuse) == 28 && offsetof(Material, specular) == 44 &&
              offsetof(Material, emission) == 60 && offsetof(Material, shininess) == 76 &&
              offsetof(Material, texture) == 80 && offsetof(Material, reserved) == 84);
static_assert(offsetof(Model, magic) == 0 && offsetof(Model, vertexCount) == 8 &&
              offsetof(Model, faceCount) == 12 && offsetof(Model, compression) == 16 &&
              offsetof(Model, reserved) == 20 && offsetof(Model, dummyCount) == 24 &&
              offsetof(Model, materialCount) == 28);
static_assert(offsetof(Model, vertices) == kModelHeaderSize, "the header is the first 32 bytes");

// --- Life cycle ---

// Writes the magic, zeroes every count, compression and reserved, nulls the four lists.
void ModelInit(Model* model);
// Frees the four lists. The record is not used again until ModelInit.
void ModelRelease(Model* model);

// --- Counts ---

int32_t VertexCount(const Model* model);
int32_t FaceCount(const Model* model);
int32_t DummyCount(const Model* model);
int32_t MaterialCount(const Model* model);

// --- Resizing: new zero-filled storage of n records keeping the first min(old, n) ---
// Return 0, -10 for n < 0, -9 when allocation fails; on failure the list is unchanged.
// A count of 0 leaves the list without storage.

int32_t ResizeVertices(Model* model, int32_t n);
int32_t ResizeFaces(Model* model, int32_t n);
int32_t ResizeDummies(Model* model, int32_t n);
int32_t ResizeMaterials(Model* model, int32_t n);

// --- Vertices ---

// Writes x, y, z, w of vertex i; -10 when i is out of range (checked unsigned).
int32_t SetVertex(Model* model, int32_t i, float x, float y, float z, uint32_t w);
// Appends one vertex; -9 on allocation failure with the list unchanged.
int32_t AddVertex(Model* model, float x, float y, float z, uint32_t w);
// Gives x, y, z of vertex i (not w); -10 when i is out of range.
int32_t GetVertex(const Model* model, int32_t i, float* x, float* y, float* z);

// --- Faces ---

// Writes a, b, c and material of face i (unchecked values), keeps its texture coordinates; -10 out of range.
int32_t SetFace(Model* model, int32_t i, int32_t a, int32_t b, int32_t c, int32_t material);
// Appends a face with texture coordinates and reserved bytes 0; -9 on allocation failure.
int32_t AddFace(Model* model, int32_t a, int32_t b, int32_t c, int32_t material);
// Gives a, b, c and material of face i; -10 when i is out of range.
int32_t GetFace(const Model* model, int32_t i, int32_t* a, int32_t* b, int32_t* c, int32_t* material);
// Writes the six texture coordinates (sA, tA, sB, tB, sC, tC) of face i; -10 out of range.
int32_t SetFaceTexCoords(Model* model, int32_t i, const float coords[6]);
// Gives the six texture coordinates of face i; -10 out of range.
int32_t GetFaceTexCoords(const Model* model, int32_t i, float coords[6]);
// Collects, in index order, up to max faces that use vertex v (each face once) and returns
// how many were collected; -10 when v is out of range.
int32_t FacesUsingVertex(const Model* model, int32_t v, int32_t* list, int32_t max);

// --- Dummies ---

// Writes id, x, y, z of dummy i; -10 out of range.
int32_t SetDummy(Model* model, int32_t i, int32_t id, float x, float y, float z);
// Appends a dummy; -9 on allocation failure.
int32_t AddDummy(Model* model, int32_t id, float x, float y, float z);
// Gives id, x, y, z of dummy i; -10 out of range.
int32_t GetDummy(const Model* model, int32_t i, int32_t* id, float* x, float* y, float* z);
// Returns 1 when some dummy has this id, else 0.
int32_t DummyIdExists(const Model* model, int32_t id);

// --- Materials ---

// Writes at most 11 characters of name (NUL-padded to 12 bytes), the four RGBA colours and the
// shininess of material i; texture and reserved bytes stay. -10 out of range.
int32_t SetMaterial(Model* model, int32_t i, const char* name, const float ambient[4], const float diffuse[4],
                    const float specular[4], const float emission[4], float shininess);
// Appends a material (texture 0, reserved 0); -9 on allocation failure.
int32_t AddMaterial(Model* model, const char* name, const float ambient[4], const float diffuse[4],
                    const float specular[4], const float emission[4], float shininess);
// Clears the 12 name bytes and copies at most 11 characters of name; -10 out of range.
int32_t SetMaterialName(Model* model, int32_t i, const char* name);
// Copies the stored name with its NUL (at most 12 bytes) to name; -10 out of range.
int32_t GetMaterialName(const Model* model, int32_t i, char name[12]);
// Gives the four colours and the shininess of material i; -10 out of range.
int32_t GetMaterial(const Model* model, int32_t i, float ambient[4], float diffuse[4], float specular[4],
                    float emission[4], float* shininess);
// Writes the texture handle of material i; -10 out of range.
int32_t SetMaterialTexture(Model* model, int32_t i, int32_t texture);
// Returns the texture handle of material i, or -10 when i is out of range.
int32_t GetMaterialTexture(const Model* model, int32_t i);

// The parameters every material created without user input gets ("Default" is its usual name).
inline constexpr char kDefaultMaterialName[] = "Default";
inline constexpr float kDefaultAmbient[4] = {0.1f, 0.1f, 0.1f, 1.0f};
inline constexpr float kDefaultDiffuse[4] = {0.5f, 0.5f, 0.5f, 1.0f};
inline constexpr float kDefaultSpecular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
inline constexpr float kDefaultEmission[4] = {0.0f, 0.0f, 0.0f, 1.0f};
inline constexpr float kDefaultShininess = 64.0f;

// Appends a material with the default parameters and the given name; -9 on allocation failure.
int32_t AddDefaultMaterial(Model* model, const char* name);
