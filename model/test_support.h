#pragma once
// Helpers shared by the model library's tests.

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "model/model.h"
#include "platform/test_files.h"

// A model that releases its lists when it goes out of scope.
struct ScopedModel {
    Model m;
    ScopedModel() { ModelInit(&m); }
    ~ScopedModel() { ModelRelease(&m); }
    ScopedModel(const ScopedModel&) = delete;
    ScopedModel& operator=(const ScopedModel&) = delete;
    Model* operator->() { return &m; }
    Model* get() { return &m; }
};

// Everything that makes up a model's state: the record itself (header and list pointers)
// and the bytes of every list.
inline std::vector<uint8_t> ModelState(const Model& m) {
    std::vector<uint8_t> out(sizeof(Model));
    std::memcpy(out.data(), &m, sizeof(Model));
    auto add = [&out](const void* p, size_t n) {
        const auto* b = static_cast<const uint8_t*>(p);
        if (n) out.insert(out.end(), b, b + n);
    };
    add(m.vertices, static_cast<size_t>(m.vertexCount) * sizeof(Vertex));
    add(m.faces, static_cast<size_t>(m.faceCount) * sizeof(Face));
    add(m.dummies, static_cast<size_t>(m.dummyCount) * sizeof(Dummy));
    add(m.materials, static_cast<size_t>(m.materialCount) * sizeof(Material));
    return out;
}

// The name of material `i` as text (at most 11 characters).
inline std::string MaterialNameOf(const Model* m, int32_t i) {
    char name[12] = {};
    GetMaterialName(m, i, name);
    return std::string(name, strnlen(name, sizeof name));
}

// Adds a material with a grey diffuse colour of the given alpha, ambient (0.1, 0.2, 0.3), white
// specular and no emission.
inline int32_t AddGreyMaterial(Model* m, const char* name, float grey, float alpha = 1.0f,
                               float shininess = 20.0f) {
    const float ambient[4] = {0.1f, 0.2f, 0.3f, 1.0f};
    const float diffuse[4] = {grey, grey, grey, alpha};
    const float specular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const float emission[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    return AddMaterial(m, name, ambient, diffuse, specular, emission, shininess);
}

// A fresh folder with the model tests' own names for what the shared one offers.
struct TempDir {
    test_support::TempFolder folder{"kx_model_test"};
    const std::string path = folder.dir().string();
    std::string File(const char* name) const { return folder.path(name); }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.dir()))
            names.push_back(entry.path().filename().string());
        return names;
    }
};

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    return test_support::read_file(path);
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    test_support::write_file(path, bytes);
}
