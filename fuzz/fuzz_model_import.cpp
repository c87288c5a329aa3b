// Feeds arbitrary bytes through the interchange import as the programs use it: the rest of the
// input is written to a file whose extension the first byte picks, and ImportModel reads it through
// the file system, as it reads a user's file. An import that succeeds must give a model whose
// faces name existing vertices and materials and whose names are terminated; one that fails must
// leave the model as it was.

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <sanitizer/lsan_interface.h>

#include "model/interchange.h"
#include "model/model.h"

namespace {

constexpr const char* kExtensions[] = {"obj", "gltf", "glb", "ply", "stl", "fbx", "3ds", "dae", "off", "x"};

// The input file: in memory where the system has that, named after the process so that fuzzing
// jobs side by side keep apart, and removed after each import.
const std::string& Folder() {
    static const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return folder;
}

std::string InputPath(const char* extension) {
    return Folder() + "/kx_fuzz_" + std::to_string(getpid()) + "." + extension;
}

// A run that ends in the middle of a slow input (at its time limit) leaves that input's file;
// files of processes that are gone are removed at the start of the next run.
void RemoveFilesOfEndedRuns() {
    DIR* dir = opendir(Folder().c_str());
    if (!dir) return;
    while (const dirent* entry = readdir(dir)) {
        int pid = 0;
        if (std::sscanf(entry->d_name, "kx_fuzz_%d.", &pid) != 1 || pid <= 0) continue;
        if (kill(pid, 0) != 0 && errno == ESRCH) unlink((Folder() + "/" + entry->d_name).c_str());
    }
    closedir(dir);
}

bool WriteInput(const std::string& path, const uint8_t* data, size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    RemoveFilesOfEndedRuns();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const char* extension = kExtensions[data[0] % (sizeof kExtensions / sizeof kExtensions[0])];
    const std::string path = InputPath(extension);
    if (!WriteInput(path, data + 1, size - 1)) std::abort();
    Model model;
    ModelInit(&model);
    AddVertex(&model, 1, 2, 3, 4);
    const Model before = model;
    const Vertex kept = model.vertices[0];
    std::string reason;
    int32_t status;
    {
        // Some of Assimp's own readers leak on broken input (its STL reader among them); those
        // leaks are not ours to mend, and the mapping's unit tests run under LeakSanitizer.
        __lsan::ScopedDisabler libraryLeaks;
        status = ImportModel(&model, path.c_str(), &reason);
    }
    unlink(path.c_str());
    if (status != MODEL_OK) {
        if (std::memcmp(&before, &model, sizeof model) != 0) std::abort();
        if (std::memcmp(&kept, model.vertices, sizeof kept) != 0) std::abort();
        if (reason.empty()) std::abort();
    } else {
        for (int32_t f = 0; f < model.faceCount; ++f) {
            const Face& face = model.faces[f];
            for (int32_t v : {face.a, face.b, face.c})
                if (v < 0 || v >= model.vertexCount) std::abort();
            if (face.material < 0 || face.material >= model.materialCount) std::abort();
        }
        for (int32_t m = 0; m < model.materialCount; ++m) {
            const Material& mat = model.materials[m];
            if (mat.name[11] != '\0') std::abort();
            if (!(mat.shininess >= 0 && mat.shininess <= 128)) std::abort();
        }
        if (model.dummyCount < 0 || (model.dummyCount > 0 && !model.dummies)) std::abort();
    }
    ModelRelease(&model);
    return 0;
}
