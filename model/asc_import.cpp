#include "model/asc_import.h"

#include <sys/stat.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/asc_lines.h"
#include "model/asc_scan.h"
#include "model/model_memory.h"

namespace {

constexpr std::string_view kNamedObject = "Named object:";
constexpr std::string_view kTriMesh = "Tri-mesh";
constexpr std::string_view kVertexList = "Vertex list:";
constexpr std::string_view kFaceList = "Face list:";
constexpr std::string_view kFace = "Face";
constexpr std::string_view kMaterial = "Material";

// The material name of a "Material" line starts behind Material:" (the eleventh character).
constexpr size_t kMaterialNameOffset = 10;
constexpr size_t kMaterialNameMax = 11;

const AscPattern& TriMeshPattern() {
    static const AscPattern pattern("Tri-mesh, Vertices: %d     Faces: %d");
    return pattern;
}
const AscPattern& VertexPattern() {
    static const AscPattern pattern("Vertex %d:  X: %f     Y: %f     Z: %f");
    return pattern;
}
const AscPattern& FacePattern() {
    static const AscPattern pattern("Face %d:    A: %d B: %d C: %d");
    return pattern;
}

// Reads lines until one begins with keyword; false when the data end first.
bool SkipTo(AscLineReader& lines, std::string_view keyword, std::string_view& line) {
    while (lines.Next(line)) {
        if (AscStartsWith(line, keyword)) return true;
    }
    return false;
}

// Reads the next content line; false when the data end first.
bool NextContentLine(AscLineReader& lines, std::string_view& line) {
    while (lines.Next(line)) {
        if (AscIsContentLine(line)) return true;
    }
    return false;
}

void ScanVertex(std::string_view line, Vertex& vertex) {
    int32_t number = 0;
    void* const fields[4] = {&number, &vertex.x, &vertex.y, &vertex.z};
    VertexPattern().Scan(line, fields);
}

void ScanFace(std::string_view line, Face& face) {
    int32_t number = 0;
    void* const fields[4] = {&number, &face.a, &face.b, &face.c};
    FacePattern().Scan(line, fields);
}

// Whether an object's counts can be read: neither is negative, the content lines the data have
// left can hold them (every vertex and every face takes a content line of its own), and the
// grown lists stay within int32.
bool CountsFit(int32_t vertices, int32_t faces, int64_t vertexBase, int64_t faceBase,
               const AscLineReader& lines, uint64_t contentLines) {
    if (vertices < 0 || faces < 0) return false;
    // A file that grew between the counting pass and the import has no lines to spare.
    const uint64_t read = lines.contentLinesRead();
    const uint64_t remaining = read < contentLines ? contentLines - read : 0;
    if (static_cast<uint64_t>(vertices) + static_cast<uint64_t>(faces) > remaining) return false;
    return vertexBase + vertices <= INT32_MAX && faceBase + faces <= INT32_MAX;
}

// Moves the vertex and face lists of `from` into `to`, and the material list when asked.
void SwapMeshInto(Model* to, Model* from, bool materials) {
    std::swap(to->vertices, from->vertices);
    std::swap(to->vertexCount, from->vertexCount);
    std::swap(to->faces, from->faces);
    std::swap(to->faceCount, from->faceCount);
    if (materials) {
        std::swap(to->materials, from->materials);
        std::swap(to->materialCount, from->materialCount);
    }
}

// A list of records that grows with zero-filled storage from the model allocator, so that its
// block can become a model list without a copy when it ends up exactly sized.
template <typename Record> class RecordBuffer {
  public:
    RecordBuffer() = default;
    RecordBuffer(const RecordBuffer&) = delete;
    RecordBuffer& operator=(const RecordBuffer&) = delete;
    ~RecordBuffer() { ModelFree(data_); }

    Record* data() { return data_; }

    // Grows to n records; the new ones are zero. Capacity beyond n is taken only up to limit.
    bool Grow(size_t n, size_t limit) {
        if (n <= size_) {
            size_ = n;
            return true;
        }
        if (n <= capacity_) {
            std::memset(static_cast<void*>(data_ + size_), 0, (n - size_) * sizeof(Record));
            size_ = n;
            return true;
        }
        size_t capacity = capacity_ * 2 < limit ? capacity_ * 2 : limit;
        if (capacity < n) capacity = n;
        auto* fresh = static_cast<Record*>(ModelAllocZeroed(capacity, sizeof(Record)));
        if (fresh == nullptr) return false;
        if (size_ > 0) std::memcpy(static_cast<void*>(fresh), data_, size_ * sizeof(Record));
        ModelFree(data_);
        data_ = fresh;
        capacity_ = capacity;
        size_ = n;
        return true;
    }

    // Hands over an exactly sized block holding the first count records (null for 0), or sets
    // ok to false when that block cannot be allocated.
    Record* TakeExact(size_t count, bool& ok) {
        ok = true;
        if (count == 0) return nullptr;
        if (count == capacity_) {
            Record* block = data_;
            data_ = nullptr;
            size_ = capacity_ = 0;
            return block;
        }
        auto* block = static_cast<Record*>(ModelAllocZeroed(count, sizeof(Record)));
        if (block == nullptr) {
            ok = false;
            return nullptr;
        }
        std::memcpy(static_cast<void*>(block), data_, count * sizeof(Record));
        return block;
    }

  private:
    Record* data_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

// Material names in list order, "Default" first, with a lookup from name to index.
class MaterialNames {
  public:
    MaterialNames() { Find(kDefaultMaterialName); }

    // Index of the material with this name, appending it when it is new.
    int32_t Find(std::string_view name) {
        if (last_ >= 0 && names_[static_cast<size_t>(last_)] == name) return last_;
        auto found = index_.find(std::string(name));
        if (found != index_.end()) {
            last_ = found->second;
        } else {
            last_ = static_cast<int32_t>(names_.size());
            names_.emplace_back(name);
            index_.emplace(std::string(name), last_);
        }
        return last_;
    }

    const std::vector<std::string>& names() const { return names_; }

  private:
    std::vector<std::string> names_;
    std::unordered_map<std::string, int32_t> index_;
    int32_t last_ = -1;
};

// The name of a "Material" line: from the eleventh character up to the next double quote, at
// most 11 characters. It also stops at the end of the line, at a NUL and at a carriage return
// (the end of a line written with CR LF).
std::string_view MaterialNameOf(std::string_view line) {
    if (line.size() <= kMaterialNameOffset) return {};
    std::string_view rest = line.substr(kMaterialNameOffset);
    size_t n = 0;
    while (n < rest.size() && n < kMaterialNameMax && rest[n] != '"' && rest[n] != '\0' && rest[n] != '\r') {
        ++n;
    }
    return rest.substr(0, n);
}

int32_t ImportAdvancedUnguarded(Model* model, AscLineReader& lines, uint64_t contentLines) {
    RecordBuffer<Vertex> vertices;
    RecordBuffer<Face> faces;
    MaterialNames materials;
    int64_t vertexCount = 0; // records of the objects read completely
    int64_t faceCount = 0;
    int32_t objectVertices = 0; // the counts of the Tri-mesh line, kept from object to object
    int32_t objectFaces = 0;
    const size_t storageLimit = contentLines < INT32_MAX ? static_cast<size_t>(contentLines) : INT32_MAX;

    std::string_view line;
    // Set when a face section ended at the "Named object:" line of the next object.
    bool atNextObject = false;
    while (atNextObject || lines.Next(line)) {
        atNextObject = false;
        if (!AscStartsWith(line, kNamedObject)) continue;
        if (!SkipTo(lines, kTriMesh, line)) break;
        void* const counts[2] = {&objectVertices, &objectFaces};
        TriMeshPattern().Scan(line, counts);
        // Counts the rest of the data cannot hold end the import like the end of the data:
        // the objects before stay.
        if (!CountsFit(objectVertices, objectFaces, vertexCount, faceCount, lines, contentLines)) break;
        const size_t v = static_cast<size_t>(objectVertices);
        const size_t f = static_cast<size_t>(objectFaces);
        const size_t vertexBase = static_cast<size_t>(vertexCount);
        const size_t faceBase = static_cast<size_t>(faceCount);
        if (v != 0 && !vertices.Grow(vertexBase + v, storageLimit)) return MODEL_ERR_MEMORY;
        if (f != 0 && !faces.Grow(faceBase + f, storageLimit)) return MODEL_ERR_MEMORY;

        if (!SkipTo(lines, kVertexList, line)) break;
        size_t stored = 0;
        for (; stored < v && NextContentLine(lines, line); ++stored) {
            ScanVertex(line, vertices.data()[vertexBase + stored]);
        }
        if (stored < v) break;

        if (!SkipTo(lines, kFaceList, line)) break;
        // Face section: once all faces of the object are in, it ends at the next "Material"
        // line, at the next "Named object:" line or at the end of the data (exporters that
        // write no material lines). A "Material" line names the face stored last in this
        // object; one before the object's first face names nothing and is ignored.
        const uint32_t indexBase = static_cast<uint32_t>(vertexCount);
        stored = 0;
        bool closed = false;
        bool more = true;
        while (!closed && (more = NextContentLine(lines, line))) {
            if (AscStartsWith(line, kFace)) {
                if (stored == f) continue;
                Face& face = faces.data()[faceBase + stored];
                ScanFace(line, face);
                // Objects share one vertex list; the indices wrap like the 32-bit sums they are.
                face.a = static_cast<int32_t>(static_cast<uint32_t>(face.a) + indexBase);
                face.b = static_cast<int32_t>(static_cast<uint32_t>(face.b) + indexBase);
                face.c = static_cast<int32_t>(static_cast<uint32_t>(face.c) + indexBase);
                ++stored;
            } else if (AscStartsWith(line, kMaterial)) {
                if (stored > 0) {
                    faces.data()[faceBase + stored - 1].material = materials.Find(MaterialNameOf(line));
                }
                closed = stored == f;
            } else if (stored == f && AscStartsWith(line, kNamedObject)) {
                closed = atNextObject = true;
            }
        }
        if (!more && stored == f) closed = true;
        if (!closed) break;
        vertexCount += objectVertices;
        faceCount += objectFaces;
    }

    if (lines.failed()) return MODEL_ERR_OPEN;
    // Build the new lists aside; the model changes only when every allocation has succeeded.
    Model fresh;
    ModelInit(&fresh);
    bool ok = true;
    fresh.vertices = vertices.TakeExact(static_cast<size_t>(vertexCount), ok);
    if (ok) fresh.vertexCount = static_cast<int32_t>(vertexCount);
    if (ok) fresh.faces = faces.TakeExact(static_cast<size_t>(faceCount), ok);
    if (ok) fresh.faceCount = static_cast<int32_t>(faceCount);
    const std::vector<std::string>& names = materials.names();
    if (ok && ResizeMaterials(&fresh, static_cast<int32_t>(names.size())) != MODEL_OK) ok = false;
    for (size_t i = 0; ok && i < names.size(); ++i) {
        SetMaterial(&fresh, static_cast<int32_t>(i), names[i].c_str(), kDefaultAmbient, kDefaultDiffuse,
                    kDefaultSpecular, kDefaultEmission, kDefaultShininess);
    }
    if (ok) SwapMeshInto(model, &fresh, true);
    ModelRelease(&fresh);
    return ok ? MODEL_OK : MODEL_ERR_MEMORY;
}

// The material table allocates through the standard library; running out of memory there is
// the same failure as anywhere else.
int32_t ImportAdvanced(Model* model, AscLineReader& lines, uint64_t contentLines) {
    try {
        return ImportAdvancedUnguarded(model, lines, contentLines);
    } catch (const std::bad_alloc&) {
        return MODEL_ERR_MEMORY;
    }
}

int32_t ImportSimple(Model* model, AscLineReader& lines, uint64_t contentLines) {
    std::string_view line;
    if (!SkipTo(lines, kNamedObject, line) || !SkipTo(lines, kTriMesh, line)) {
        return lines.failed() ? MODEL_ERR_OPEN : MODEL_OK;
    }
    // The counts go straight into the model's counts, so one the line lacks keeps its value.
    int32_t vertexCount = model->vertexCount;
    int32_t faceCount = model->faceCount;
    void* const counts[2] = {&vertexCount, &faceCount};
    TriMeshPattern().Scan(line, counts);
    if (!CountsFit(vertexCount, faceCount, 0, 0, lines, contentLines)) {
        return MODEL_ERR_RANGE;
    }

    Model fresh;
    ModelInit(&fresh);
    if (ResizeVertices(&fresh, vertexCount) != MODEL_OK || ResizeFaces(&fresh, faceCount) != MODEL_OK) {
        ModelRelease(&fresh);
        return MODEL_ERR_MEMORY;
    }
    // The end of the data ends the import at any point; what was read by then is kept.
    bool complete = false;
    do {
        if (!SkipTo(lines, kVertexList, line)) break;
        int32_t stored = 0;
        // Every content line is the next vertex, whatever it begins with.
        for (; stored < vertexCount && NextContentLine(lines, line); ++stored) {
            ScanVertex(line, fresh.vertices[stored]);
        }
        if (stored < vertexCount) break;
        if (!SkipTo(lines, kFaceList, line)) break;
        for (stored = 0; stored < faceCount && NextContentLine(lines, line);) {
            if (AscStartsWith(line, kFace)) ScanFace(line, fresh.faces[stored++]);
        }
        complete = stored == faceCount;
    } while (false);

    const bool addDefault = complete && model->materialCount == 0;
    const int32_t status = lines.failed() ? MODEL_ERR_OPEN
                           : addDefault   ? AddDefaultMaterial(&fresh, kDefaultMaterialName)
                                          : MODEL_OK;
    if (status != MODEL_OK) {
        ModelRelease(&fresh);
        return status;
    }
    SwapMeshInto(model, &fresh, addDefault);
    ModelRelease(&fresh);
    return MODEL_OK;
}

using ImportCore = int32_t (*)(Model*, AscLineReader&, uint64_t);

int32_t ImportBytes(Model* model, const char* data, size_t size, ImportCore import) {
    AscLineReader lines(data, size);
    return import(model, lines, AscContentLines(data, size));
}

// Reads the rest of a file that cannot be read twice into one malloc'd block.
// Returns 0, -1 (read error) or -9.
int32_t ReadRest(FILE* file, char** data, size_t* size) {
    size_t capacity = 1 << 16;
    size_t used = 0;
    char* buffer = static_cast<char*>(std::malloc(capacity));
    int32_t status = buffer == nullptr ? MODEL_ERR_MEMORY : MODEL_OK;
    while (status == MODEL_OK) {
        if (used == capacity) {
            char* bigger =
                capacity <= SIZE_MAX / 2 ? static_cast<char*>(std::realloc(buffer, capacity * 2)) : nullptr;
            if (bigger == nullptr) {
                status = MODEL_ERR_MEMORY;
                break;
            }
            buffer = bigger;
            capacity *= 2;
        }
        const size_t got = std::fread(buffer + used, 1, capacity - used, file);
        used += got;
        if (got == 0) {
            if (std::ferror(file)) status = MODEL_ERR_OPEN;
            break;
        }
    }
    if (status != MODEL_OK) {
        std::free(buffer);
        return status;
    }
    *data = buffer;
    *size = used;
    return MODEL_OK;
}

// A regular file is read twice through one small buffer: once to count its content lines for the
// count checks, once to import it. That keeps a large file out of memory as a whole, and
// the buffer stays in the cache. Anything else (a pipe) is read into memory first.
int32_t ImportFile(Model* model, const char* path, ImportCore import) {
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return MODEL_ERR_OPEN;
    int32_t status = MODEL_OK;
    struct stat info {};
    if (fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode)) {
        constexpr size_t kBufferSize = 256 * 1024;
        char* buffer = static_cast<char*>(std::malloc(kBufferSize));
        if (buffer == nullptr) {
            status = MODEL_ERR_MEMORY;
        } else {
            AscLineCounter counter;
            size_t got;
            while ((got = std::fread(buffer, 1, kBufferSize, file)) > 0)
                counter.Add(buffer, got);
            if (std::ferror(file) || std::fseek(file, 0, SEEK_SET) != 0) {
                status = MODEL_ERR_OPEN;
            } else {
                AscLineReader lines(file, buffer, kBufferSize);
                status = import(model, lines, counter.contentLines());
            }
            std::free(buffer);
        }
    } else {
        char* data = nullptr;
        size_t size = 0;
        status = ReadRest(file, &data, &size);
        if (status == MODEL_OK) status = ImportBytes(model, data, size, import);
        std::free(data);
    }
    std::fclose(file);
    return status;
}

} // namespace

int32_t ImportAscFromMemory(Model* model, const char* data, size_t size) {
    return ImportBytes(model, data, size, ImportSimple);
}

int32_t ImportAscAdvancedFromMemory(Model* model, const char* data, size_t size) {
    return ImportBytes(model, data, size, ImportAdvanced);
}

int32_t ImportAsc(Model* model, const char* path) {
    return ImportFile(model, path, ImportSimple);
}

int32_t ImportAscAdvanced(Model* model, const char* path) {
    return ImportFile(model, path, ImportAdvanced);
}
