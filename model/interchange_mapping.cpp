#include "model/interchange_scene.h"

#include "model/interchange_common.h"

#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstring>
#include <new>
#include <set>
#include <utility>
#include <vector>

namespace {

// Tree walks stop this deep; real files are far shallower, and the limit keeps a hostile file
// from costing unbounded memory in the walk.
constexpr size_t kMaxNodeDepth = 4096;
constexpr float kMaxShininess = 128.0f;

struct Instance {
    unsigned mesh;
    aiMatrix4x4 transform;
    bool identity;
};

struct FoundDummy {
    int32_t id;
    aiVector3D at;
};

bool IsExactIdentity(const aiMatrix4x4& m) {
    const ai_real* e = m[0];
    for (int i = 0; i < 16; ++i) {
        if (e[i] != ((i % 5 == 0) ? 1.0f : 0.0f)) return false;
    }
    return true;
}

// "dummy <id>" with a decimal id that fits 32 bits and nothing after it.
bool ParseDummyName(const aiString& name, int32_t* id) {
    const char* s = name.C_Str();
    if (std::strncmp(s, "dummy ", 6) != 0) return false;
    s += 6;
    const bool negative = *s == '-';
    if (negative) ++s;
    if (*s < '0' || *s > '9') return false;
    int64_t value = 0;
    for (; *s >= '0' && *s <= '9'; ++s) {
        value = value * 10 + (*s - '0');
        if (value > int64_t(INT32_MAX) + 1) return false;
    }
    if (*s != '\0') return false;
    value = negative ? -value : value;
    if (value > INT32_MAX) return false;
    *id = int32_t(value);
    return true;
}

void WalkNodes(const aiScene& scene, std::vector<Instance>& instances, std::vector<FoundDummy>& dummies) {
    struct Pending {
        const aiNode* node;
        aiMatrix4x4 parent;
        size_t depth;
    };
    std::vector<Pending> stack{{scene.mRootNode, aiMatrix4x4(), 0}};
    while (!stack.empty()) {
        const Pending p = stack.back();
        stack.pop_back();
        if (!p.node || p.depth > kMaxNodeDepth) continue;
        const aiMatrix4x4 global = p.parent * p.node->mTransformation;
        const bool identity = IsExactIdentity(global);
        if (p.node->mMeshes) {
            for (unsigned i = 0; i < p.node->mNumMeshes; ++i)
                instances.push_back({p.node->mMeshes[i], global, identity});
        }
        int32_t id = 0;
        if (p.node->mNumMeshes == 0 && ParseDummyName(p.node->mName, &id))
            dummies.push_back({id, global * aiVector3D(0, 0, 0)});
        // Children are pushed in reverse so that they come off the stack in file order.
        if (p.node->mChildren) {
            for (unsigned i = p.node->mNumChildren; i-- > 0;)
                stack.push_back({p.node->mChildren[i], global, p.depth + 1});
        }
    }
}

const aiMesh* UsableMesh(const aiScene& scene, unsigned index) {
    if (!scene.mMeshes || index >= scene.mNumMeshes) return nullptr;
    const aiMesh* mesh = scene.mMeshes[index];
    if (!mesh || !mesh->mVertices || !mesh->mFaces) return nullptr;
    return mesh;
}

bool IsTriangle(const aiFace& face) {
    return face.mNumIndices == 3 && face.mIndices;
}

// One vertex per distinct position (compared bit for bit), in the order the meshes list them. Each slot holds
// a tag of the hash beside the vertex index, so that most misses never touch the vertex list.
class PositionTable {
  public:
    explicit PositionTable(size_t expected) {
        size_t size = 1024;
        while (size < expected * 2)
            size *= 2;
        slots_.assign(size, 0);
    }
    static uint64_t Hash(const Vertex& v) {
        uint64_t h = std::bit_cast<uint32_t>(v.x) * 0x9E3779B97F4A7C15ull;
        h ^= std::bit_cast<uint32_t>(v.y) * 0xC2B2AE3D27D4EB4Full;
        h ^= std::bit_cast<uint32_t>(v.z) * 0x165667B19E3779F9ull;
        return h ^ (h >> 29);
    }
    void Prefetch(uint64_t hash) const { __builtin_prefetch(&slots_[size_t(hash) & (slots_.size() - 1)]); }
    int32_t Find(const Vertex& v, uint64_t hash) {
        const size_t mask = slots_.size() - 1;
        const uint64_t tag = (hash >> 32) | 1; // never 0, which marks an empty slot
        for (size_t slot = size_t(hash) & mask;; slot = (slot + 1) & mask) {
            const uint64_t entry = slots_[slot];
            if (entry == 0) {
                const int32_t at = int32_t(vertices_.size());
                slots_[slot] = tag << 32 | uint32_t(at);
                vertices_.push_back(v);
                if (vertices_.size() * 2 > slots_.size()) Grow();
                return at;
            }
            if ((entry >> 32) == tag) {
                const int32_t at = int32_t(uint32_t(entry));
                if (std::memcmp(&vertices_[size_t(at)], &v, 12) == 0) return at;
            }
        }
    }
    const std::vector<Vertex>& vertices() const { return vertices_; }

  private:
    void Grow() {
        std::vector<uint64_t> bigger(slots_.size() * 2, 0);
        const size_t mask = bigger.size() - 1;
        for (size_t i = 0; i < vertices_.size(); ++i) {
            const uint64_t hash = Hash(vertices_[i]);
            size_t slot = size_t(hash) & mask;
            while (bigger[slot] != 0)
                slot = (slot + 1) & mask;
            bigger[slot] = ((hash >> 32) | 1) << 32 | uint32_t(i);
        }
        slots_.swap(bigger);
    }
    std::vector<uint64_t> slots_;
    std::vector<Vertex> vertices_;
};

// Gives every vertex of mesh that a triangle uses its model vertex in localToModel (others -1).
// The lookups go in blocks whose table slots are fetched ahead, as they fall all over the table.
bool MapMeshVertices(const aiMesh& mesh, const Instance& in, PositionTable& positions,
                     std::vector<int32_t>& localToModel) {
    // -1: no triangle uses the vertex; 0 until mapped: some triangle does.
    localToModel.assign(mesh.mNumVertices, -1);
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (!IsTriangle(face)) continue;
        for (int k = 0; k < 3; ++k) {
            if (face.mIndices[k] >= mesh.mNumVertices) return false;
            localToModel[face.mIndices[k]] = 0;
        }
    }
    constexpr unsigned kBlock = 32;
    Vertex block[kBlock];
    uint64_t hashes[kBlock];
    for (unsigned first = 0; first < mesh.mNumVertices; first += kBlock) {
        const unsigned n = std::min(kBlock, mesh.mNumVertices - first);
        for (unsigned i = 0; i < n; ++i) {
            aiVector3D p = mesh.mVertices[first + i];
            if (!in.identity) p = in.transform * p;
            block[i] = Vertex{p.x, p.y, p.z, 0};
            hashes[i] = PositionTable::Hash(block[i]);
            positions.Prefetch(hashes[i]);
        }
        for (unsigned i = 0; i < n; ++i) {
            if (localToModel[first + i] == 0) localToModel[first + i] = positions.Find(block[i], hashes[i]);
        }
    }
    return true;
}

void ColourOr(const aiMaterial& m, const char* key, unsigned type, unsigned index, const float fallback[4],
              float out[4]) {
    aiColor4D c;
    if (m.Get(key, type, index, c) == AI_SUCCESS) {
        out[0] = c.r, out[1] = c.g, out[2] = c.b, out[3] = c.a;
    } else {
        std::copy(fallback, fallback + 4, out);
    }
}

int32_t AddSceneMaterial(Model* model, const aiMaterial& m, std::set<std::string>& taken) {
    aiString rawName;
    std::string name;
    if (m.Get(AI_MATKEY_NAME, rawName) == AI_SUCCESS) name = rawName.C_Str();
    float ambient[4], diffuse[4], specular[4], emission[4];
    ColourOr(m, AI_MATKEY_COLOR_AMBIENT, kDefaultAmbient, ambient);
    aiColor4D base;
    if (m.Get(AI_MATKEY_COLOR_DIFFUSE, base) == AI_SUCCESS ||
        m.Get(AI_MATKEY_BASE_COLOR, base) == AI_SUCCESS) {
        diffuse[0] = base.r, diffuse[1] = base.g, diffuse[2] = base.b, diffuse[3] = base.a;
    } else {
        std::copy(kDefaultDiffuse, kDefaultDiffuse + 4, diffuse);
    }
    float opacity = 1;
    if (m.Get(AI_MATKEY_OPACITY, opacity) == AI_SUCCESS) diffuse[3] = opacity;
    ColourOr(m, AI_MATKEY_COLOR_SPECULAR, kDefaultSpecular, specular);
    ColourOr(m, AI_MATKEY_COLOR_EMISSIVE, kDefaultEmission, emission);
    float shininess = kDefaultShininess;
    if (m.Get(AI_MATKEY_SHININESS, shininess) == AI_SUCCESS) {
        if (!(shininess >= 0)) shininess = 0; // NaN too
        if (shininess > kMaxShininess) shininess = kMaxShininess;
    }
    return AddMaterial(model, UniqueMaterialName(name, taken).c_str(), ambient, diffuse, specular, emission,
                       shininess);
}

int32_t Build(Model* fresh, const aiScene& scene, std::string* reason) {
    std::vector<Instance> instances;
    std::vector<FoundDummy> dummies;
    WalkNodes(scene, instances, dummies);

    // Counts first, in 64 bits, before anything of the model is allocated, and which materials
    // the triangles use.
    const unsigned materialCount = scene.mMaterials ? scene.mNumMaterials : 0;
    const auto materialOf = [&](const aiMesh& mesh) {
        return mesh.mMaterialIndex < materialCount && scene.mMaterials[mesh.mMaterialIndex]
                   ? int32_t(mesh.mMaterialIndex)
                   : -1; // the fallback
    };
    std::vector<char> materialUsed(materialCount, 0);
    bool fallbackUsed = false;
    uint64_t faces = 0;
    for (const Instance& in : instances) {
        const aiMesh* mesh = UsableMesh(scene, in.mesh);
        if (!mesh) continue;
        uint64_t triangles = 0;
        for (unsigned f = 0; f < mesh->mNumFaces; ++f)
            triangles += IsTriangle(mesh->mFaces[f]) ? 1 : 0;
        if (triangles == 0) continue;
        faces += triangles;
        const int32_t material = materialOf(*mesh);
        if (material >= 0)
            materialUsed[size_t(material)] = 1;
        else
            fallbackUsed = true;
    }
    // Every face may bring three new vertices; both counts must fit the model's 32-bit fields.
    if (faces > uint64_t(INT32_MAX) / 3)
        return InterchangeFailure(reason, MODEL_ERR_RANGE, "more faces than a Korvex model holds");
    if (dummies.size() > size_t(INT32_MAX))
        return InterchangeFailure(reason, MODEL_ERR_RANGE, "too many dummies");

    int32_t status = ResizeFaces(fresh, int32_t(faces));
    if (status != MODEL_OK) return status;

    // Only materials that some face names, in the scene's order; the fallback (for meshes without a
    // usable material) last.
    std::vector<int32_t> korvexIndex(materialCount, -1);
    std::set<std::string> taken;
    for (unsigned i = 0; i < materialCount; ++i) {
        if (!materialUsed[i]) continue;
        status = AddSceneMaterial(fresh, *scene.mMaterials[i], taken);
        if (status != MODEL_OK) return status;
        korvexIndex[i] = fresh->materialCount - 1;
    }
    int32_t fallback = -1;
    if (fallbackUsed) {
        status = AddDefaultMaterial(fresh, UniqueMaterialName(kDefaultMaterialName, taken).c_str());
        if (status != MODEL_OK) return status;
        fallback = fresh->materialCount - 1;
    }

    // A closed mesh has about half as many positions as faces; the table grows when it needs to.
    PositionTable positions(size_t(faces) / 2);
    std::vector<int32_t> localToModel;
    int32_t next = 0;
    for (const Instance& in : instances) {
        const aiMesh* mesh = UsableMesh(scene, in.mesh);
        if (!mesh) continue;
        if (!MapMeshVertices(*mesh, in, positions, localToModel))
            return InterchangeFailure(reason, MODEL_ERR_RANGE, "a face names a vertex its mesh lacks");
        const aiVector3D* uv = mesh->mTextureCoords[0];
        const int32_t sceneMaterial = materialOf(*mesh);
        const int32_t material = sceneMaterial >= 0 ? korvexIndex[size_t(sceneMaterial)] : fallback;
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const aiFace& face = mesh->mFaces[f];
            if (!IsTriangle(face)) continue;
            const unsigned* i = face.mIndices;
            SetFace(fresh, next, localToModel[i[0]], localToModel[i[1]], localToModel[i[2]], material);
            if (uv) {
                const float coords[6] = {uv[i[0]].x, uv[i[0]].y, uv[i[1]].x,
                                         uv[i[1]].y, uv[i[2]].x, uv[i[2]].y};
                SetFaceTexCoords(fresh, next, coords);
            }
            ++next;
        }
    }

    const std::vector<Vertex>& vertices = positions.vertices();
    status = ResizeVertices(fresh, int32_t(vertices.size()));
    if (status != MODEL_OK) return status;
    for (size_t v = 0; v < vertices.size(); ++v)
        SetVertex(fresh, int32_t(v), vertices[v].x, vertices[v].y, vertices[v].z, 0);

    status = ResizeDummies(fresh, int32_t(dummies.size()));
    if (status != MODEL_OK) return status;
    for (size_t i = 0; i < dummies.size(); ++i)
        SetDummy(fresh, int32_t(i), dummies[i].id, dummies[i].at.x, dummies[i].at.y, dummies[i].at.z);
    return MODEL_OK;
}

} // namespace

unsigned InterchangeReadFlags() {
    return aiProcess_Triangulate | aiProcess_ValidateDataStructure;
}

int32_t ModelFromScene(Model* model, const aiScene* scene, std::string* reason) {
    if (!scene || !scene->mRootNode)
        return InterchangeFailure(reason, MODEL_ERR_RANGE, "the file holds no scene");
    Model fresh;
    ModelInit(&fresh);
    int32_t status;
    try {
        status = Build(&fresh, *scene, reason);
    } catch (const std::bad_alloc&) {
        status = MODEL_ERR_MEMORY;
    }
    if (status == MODEL_ERR_MEMORY && reason) *reason = "out of memory";
    if (status != MODEL_OK) {
        ModelRelease(&fresh);
        return status;
    }
    ModelRelease(model);
    *model = fresh;
    return MODEL_OK;
}
