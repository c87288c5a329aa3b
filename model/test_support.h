#pragma once
// Helpers shared by the model library's tests.

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <string>
#include <vector>

#include "model/model.h"

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

// A fresh directory under /tmp, removed with its files when the object goes.
struct TempDir {
    std::string path;
    TempDir() {
        char name[] = "/tmp/kx_model_test.XXXXXX";
        path = mkdtemp(name);
    }
    ~TempDir() {
        for (const std::string& f : Files())
            unlink((path + "/" + f).c_str());
        rmdir(path.c_str());
    }
    std::string File(const char* name) const { return path + "/" + name; }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        if (DIR* d = opendir(path.c_str())) {
            while (dirent* e = readdir(d)) {
                if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) {
                    names.push_back(e->d_name);
                }
            }
            closedir(d);
        }
        return names;
    }
};

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        uint8_t buf[65536];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            bytes.insert(bytes.end(), buf, buf + n);
        std::fclose(f);
    }
    return bytes;
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}
