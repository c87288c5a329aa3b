// Writing a Korvex model in other formats: OBJ + MTL by our own writer, the rest through the
// interchange writer from a scene built here.
#include <assimp/Exporter.hpp>
#include <assimp/material.h>
#include <assimp/scene.h>
#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <set>
#include <span>
#include <unordered_map>
#include <vector>

#include "model/interchange.h"
#include "model/interchange_common.h"
#include "model/interchange_formats.h"
#include "model/interchange_obj.h"
#include "platform/atomic_file.h"

namespace {

// Names for the materials and, last, for the fallback material of faces whose material is out
// of range: distinct, never empty, and for OBJ on one line.
std::vector<std::string> MaterialNames(const Model& model, bool oneLine) {
    std::vector<std::string> names;
    std::set<std::string> taken;
    auto add = [&](std::string name) {
        if (oneLine) {
            for (char& c : name)
                if (c == '\r' || c == '\n') c = '_';
        }
        names.push_back(UniqueMaterialName(std::move(name), taken));
    };
    for (int32_t i = 0; i < model.materialCount; ++i)
        add(std::string(model.materials[i].name, strnlen(model.materials[i].name, 12)));
    add(kDefaultMaterialName);
    return names;
}

aiMaterial* SceneMaterial(const std::string& name, const float ambient[4], const float diffuse[4],
                          const float specular[4], const float emission[4], float shininess) {
    auto* m = new aiMaterial;
    const aiString n(name);
    m->AddProperty(&n, AI_MATKEY_NAME);
    const aiColor4D a(ambient[0], ambient[1], ambient[2], ambient[3]);
    const aiColor4D d(diffuse[0], diffuse[1], diffuse[2], diffuse[3]);
    const aiColor4D s(specular[0], specular[1], specular[2], specular[3]);
    const aiColor4D e(emission[0], emission[1], emission[2], emission[3]);
    m->AddProperty(&a, 1, AI_MATKEY_COLOR_AMBIENT);
    m->AddProperty(&d, 1, AI_MATKEY_COLOR_DIFFUSE);
    m->AddProperty(&s, 1, AI_MATKEY_COLOR_SPECULAR);
    m->AddProperty(&e, 1, AI_MATKEY_COLOR_EMISSIVE);
    m->AddProperty(&shininess, 1, AI_MATKEY_SHININESS);
    return m;
}

// One mesh per run of consecutive faces with the same material, so that reading the file back
// gives the faces in their order. A mesh vertex is a (vertex, s, t) triple.
aiMesh* RunMesh(const Model& model, int32_t first, int32_t end, unsigned material) {
    std::unordered_map<uint64_t, unsigned> byCorner;
    struct Corner {
        int32_t vertex;
        float s, t;
    };
    std::vector<Corner> corners;
    std::vector<unsigned> indices;
    indices.reserve(size_t(end - first) * 3);
    for (int32_t f = first; f < end; ++f) {
        const Face& face = model.faces[f];
        const int32_t v[3] = {face.a, face.b, face.c};
        for (int k = 0; k < 3; ++k) {
            const float s = face.texCoords[2 * k], t = face.texCoords[2 * k + 1];
            // Corners of one vertex rarely differ in more than a few pairs: hash the triple.
            const uint64_t key = uint64_t(uint32_t(v[k])) * 0x9E3779B97F4A7C15ull ^
                                 uint64_t(std::bit_cast<uint32_t>(s)) << 32 ^ std::bit_cast<uint32_t>(t);
            auto it = byCorner.find(key);
            unsigned index;
            if (it != byCorner.end() && corners[it->second].vertex == v[k] &&
                std::bit_cast<uint32_t>(corners[it->second].s) == std::bit_cast<uint32_t>(s) &&
                std::bit_cast<uint32_t>(corners[it->second].t) == std::bit_cast<uint32_t>(t)) {
                index = it->second;
            } else {
                index = unsigned(corners.size());
                corners.push_back({v[k], s, t});
                if (it == byCorner.end()) byCorner.emplace(key, index);
            }
            indices.push_back(index);
        }
    }
    auto* mesh = new aiMesh;
    mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    mesh->mMaterialIndex = material;
    mesh->mNumVertices = unsigned(corners.size());
    mesh->mVertices = new aiVector3D[corners.size()];
    mesh->mTextureCoords[0] = new aiVector3D[corners.size()];
    mesh->mNumUVComponents[0] = 2;
    for (size_t i = 0; i < corners.size(); ++i) {
        const Vertex& p = model.vertices[corners[i].vertex];
        mesh->mVertices[i] = aiVector3D(p.x, p.y, p.z);
        mesh->mTextureCoords[0][i] = aiVector3D(corners[i].s, corners[i].t, 0);
    }
    mesh->mNumFaces = unsigned(end - first);
    mesh->mFaces = new aiFace[mesh->mNumFaces];
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        mesh->mFaces[f].mNumIndices = 3;
        mesh->mFaces[f].mIndices = new unsigned[3]{indices[3 * f], indices[3 * f + 1], indices[3 * f + 2]};
    }
    return mesh;
}

// oneMesh: for formats without materials, whose writers may reorder meshes.
std::unique_ptr<aiScene> BuildScene(const Model& model, bool oneMesh) {
    auto scene = std::make_unique<aiScene>();
    scene->mRootNode = new aiNode("korvex");
    const std::vector<std::string> names = MaterialNames(model, false);
    const int32_t fallback = model.materialCount;
    bool fallbackUsed = false;
    for (int32_t f = 0; f < model.faceCount; ++f) {
        const int32_t m = model.faces[f].material;
        fallbackUsed = fallbackUsed || m < 0 || m >= model.materialCount;
    }
    // Every material, used or not, and the fallback when a face needs it (writers need one at least).
    const unsigned materialCount = unsigned(model.materialCount) + (fallbackUsed || model.materialCount == 0);
    scene->mNumMaterials = materialCount;
    scene->mMaterials = new aiMaterial*[materialCount]();
    for (int32_t i = 0; i < model.materialCount; ++i) {
        const Material& m = model.materials[i];
        scene->mMaterials[i] =
            SceneMaterial(names[size_t(i)], m.ambient, m.diffuse, m.specular, m.emission, m.shininess);
    }
    if (materialCount > unsigned(model.materialCount)) {
        scene->mMaterials[fallback] = SceneMaterial(names.back(), kDefaultAmbient, kDefaultDiffuse,
                                                    kDefaultSpecular, kDefaultEmission, kDefaultShininess);
    }

    std::vector<aiMesh*> meshes;
    for (int32_t first = 0; first < model.faceCount;) {
        const auto materialOf = [&](int32_t f) {
            const int32_t m = model.faces[f].material;
            return m >= 0 && m < model.materialCount ? m : fallback;
        };
        int32_t end = first + 1;
        while (end < model.faceCount && (oneMesh || materialOf(end) == materialOf(first)))
            ++end;
        meshes.push_back(RunMesh(model, first, end, oneMesh ? 0u : unsigned(materialOf(first))));
        first = end;
    }
    scene->mNumMeshes = unsigned(meshes.size());
    scene->mMeshes = new aiMesh*[meshes.size()];
    std::copy(meshes.begin(), meshes.end(), scene->mMeshes);
    scene->mRootNode->mNumMeshes = unsigned(meshes.size());
    scene->mRootNode->mMeshes = new unsigned[meshes.size()];
    for (unsigned i = 0; i < meshes.size(); ++i)
        scene->mRootNode->mMeshes[i] = i;

    if (model.dummyCount > 0) {
        scene->mRootNode->mNumChildren = unsigned(model.dummyCount);
        scene->mRootNode->mChildren = new aiNode*[size_t(model.dummyCount)];
        for (int32_t i = 0; i < model.dummyCount; ++i) {
            const Dummy& d = model.dummies[i];
            auto* node = new aiNode("dummy " + std::to_string(d.id));
            aiMatrix4x4::Translation(aiVector3D(d.x, d.y, d.z), node->mTransformation);
            node->mParent = scene->mRootNode;
            scene->mRootNode->mChildren[i] = node;
        }
    }
    return scene;
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A directory beside the target for the writer's files, moved into place only when all of them
// are complete and synced.
class StagingDir {
  public:
    explicit StagingDir(const std::string& target) : directory_(DirectoryOf(target)) {
        std::string pattern = directory_ + "/.korvex-export-XXXXXX";
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~StagingDir() {
        if (path_.empty()) return;
        for (const std::string& name : Files())
            unlink((path_ + "/" + name).c_str());
        rmdir(path_.c_str());
    }
    bool ok() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    // Syncs every file and renames it into the target's directory; errno on failure.
    bool Publish() {
        const std::vector<std::string> names = Files();
        for (const std::string& name : names) {
            const int fd = open((path_ + "/" + name).c_str(), O_RDONLY);
            if (fd < 0) return false;
            const bool synced = fsync(fd) == 0;
            const int error = errno;
            close(fd);
            if (!synced) {
                errno = error;
                return false;
            }
        }
        for (const std::string& name : names) {
            if (rename((path_ + "/" + name).c_str(), (directory_ + "/" + name).c_str()) != 0) return false;
        }
        return true;
    }

  private:
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        if (DIR* d = opendir(path_.c_str())) {
            while (dirent* e = readdir(d)) {
                if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                    names.push_back(e->d_name);
            }
            closedir(d);
        }
        return names;
    }
    std::string directory_;
    std::string path_;
};

int32_t ExportObj(const Model& model, const std::string& path, std::string* reason) {
    const size_t dot = path.find_last_of('.');
    const std::string stem = path.substr(0, dot);
    const std::string mtlPath = stem + ".mtl";
    const ObjText text = WriteObjText(model, MaterialNames(model, true), BaseNameOf(mtlPath));
    const auto bytes = [](const std::string& s) {
        return std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(s.data()), s.size());
    };
    if (!platform::write_file_atomically(mtlPath.c_str(), {bytes(text.mtl)}))
        return InterchangeErrnoFailure(reason, errno);
    if (!platform::write_file_atomically(path.c_str(), {bytes(text.obj)}))
        return InterchangeErrnoFailure(reason, errno);
    return MODEL_OK;
}

int32_t ExportScene(const Model& model, const std::string& path, const char* format, std::string* reason) {
    if (!platform::replaceable_file(path.c_str())) return InterchangeErrnoFailure(reason, errno);
    const bool keepsMaterials = std::strncmp(format, "gltf", 4) == 0 || std::strncmp(format, "glb", 3) == 0;
    std::unique_ptr<aiScene> scene = BuildScene(model, !keepsMaterials);
    StagingDir staging(path);
    if (!staging.ok()) return InterchangeErrnoFailure(reason, errno);
    Assimp::Exporter exporter;
    const std::string staged = staging.path() + "/" + BaseNameOf(path);
    if (exporter.Export(scene.get(), format, staged) != AI_SUCCESS) {
        std::string text = exporter.GetErrorString();
        return InterchangeFailure(reason, MODEL_ERR_FORMAT,
                                  text.empty() ? "the model cannot be written in this format" : text);
    }
    if (!staging.Publish()) return InterchangeErrnoFailure(reason, errno);
    return MODEL_OK;
}

} // namespace

int32_t ExportModel(const Model* model, const char* path, std::string* reason) {
    const char* format = InterchangeWriterFor(InterchangeExtension(path));
    if (!format) return InterchangeFailure(reason, MODEL_ERR_EXTENSION, "no model writer for this file name");
    for (int32_t f = 0; f < model->faceCount; ++f) {
        const Face& face = model->faces[f];
        for (int32_t v : {face.a, face.b, face.c}) {
            if (v < 0 || v >= model->vertexCount)
                return InterchangeFailure(reason, MODEL_ERR_RANGE,
                                          "face " + std::to_string(f) + " names a missing vertex");
        }
    }
    try {
        if (std::strcmp(format, "obj") == 0) return ExportObj(*model, path, reason);
        return ExportScene(*model, path, format, reason);
    } catch (const std::bad_alloc&) {
        return InterchangeFailure(reason, MODEL_ERR_MEMORY, "out of memory");
    }
}
