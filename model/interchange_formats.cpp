// Which file names the interchange reader and writers take.
#include <assimp/Importer.hpp>

#include <algorithm>
#include <cctype>

#include "model/interchange.h"
#include "model/interchange_formats.h"

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

bool IsKorvexOrAsc(const std::string& extension) {
    return extension == "korvex" || extension == "kor" || extension == "asc";
}

} // namespace

std::string InterchangeExtension(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return Lower(path.substr(dot + 1));
}

const std::vector<InterchangeFormat>& InterchangeCommonFormats() {
    static const std::vector<InterchangeFormat> formats = {
        {"Wavefront OBJ (*.obj)", "*.obj", true}, {"glTF 2.0 (*.gltf;*.glb)", "*.gltf;*.glb", true},
        {"FBX (*.fbx)", "*.fbx", false},          {"PLY (*.ply)", "*.ply", true},
        {"STL (*.stl)", "*.stl", true},           {"3D Studio (*.3ds)", "*.3ds", false},
        {"Collada (*.dae)", "*.dae", false},
    };
    return formats;
}

std::vector<std::string> InterchangeReadExtensions() {
    Assimp::Importer importer;
    std::string list; // "*.3d;*.3ds;..."
    importer.GetExtensionList(list);
    std::vector<std::string> out;
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find(';', start);
        if (end == std::string::npos) end = list.size();
        std::string item = list.substr(start, end - start);
        if (item.rfind("*.", 0) == 0) item = item.substr(2);
        item = Lower(item);
        if (!item.empty() && !IsKorvexOrAsc(item)) out.push_back(item);
        start = end + 1;
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

bool InterchangeCanRead(const std::string& path) {
    const std::string extension = InterchangeExtension(path);
    if (extension.empty() || IsKorvexOrAsc(extension)) return false;
    static const std::vector<std::string> known = InterchangeReadExtensions();
    return std::binary_search(known.begin(), known.end(), extension);
}

bool InterchangeCanWrite(const std::string& path) {
    return InterchangeWriterFor(InterchangeExtension(path)) != nullptr;
}

const char* InterchangeWriterFor(const std::string& extension) {
    if (extension == "obj") return "obj";
    if (extension == "gltf") return "gltf2";
    if (extension == "glb") return "glb2";
    if (extension == "ply") return "plyb";
    if (extension == "stl") return "stlb";
    return nullptr;
}
