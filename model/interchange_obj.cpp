#include "model/interchange_obj.h"

#include <bit>
#include <cstdint>
#include <unordered_map>

#include "model/interchange_float.h"

namespace {

void AppendColour(std::string& out, const char* key, const float c[4]) {
    out += key;
    for (int i = 0; i < 3; ++i) {
        out += ' ';
        AppendExactFloat(out, c[i]);
    }
    out += '\n';
}

} // namespace

ObjText WriteObjText(const Model& model, const std::vector<std::string>& materialNames,
                     const std::string& mtlName) {
    ObjText text;
    std::string& o = text.obj;
    o.reserve(size_t(model.vertexCount) * 40 + size_t(model.faceCount) * 80);
    o += "# Korvex model\nmtllib " + mtlName + "\n";
    for (int32_t i = 0; i < model.vertexCount; ++i) {
        const Vertex& v = model.vertices[i];
        o += "v ";
        AppendExactFloat(o, v.x);
        o += ' ';
        AppendExactFloat(o, v.y);
        o += ' ';
        AppendExactFloat(o, v.z);
        o += '\n';
    }
    // One "vt" line per distinct (s, t) pair, in order of first use.
    std::unordered_map<uint64_t, int64_t> coordIndex;
    std::vector<int64_t> faceCoords(size_t(model.faceCount) * 3);
    for (int32_t f = 0; f < model.faceCount; ++f) {
        const float* tc = model.faces[f].texCoords;
        for (int k = 0; k < 3; ++k) {
            const uint64_t key =
                uint64_t(std::bit_cast<uint32_t>(tc[2 * k])) << 32 | std::bit_cast<uint32_t>(tc[2 * k + 1]);
            auto [it, added] = coordIndex.emplace(key, int64_t(coordIndex.size()) + 1);
            if (added) {
                o += "vt ";
                AppendExactFloat(o, tc[2 * k]);
                o += ' ';
                AppendExactFloat(o, tc[2 * k + 1]);
                o += '\n';
            }
            faceCoords[size_t(f) * 3 + size_t(k)] = it->second;
        }
    }
    const int32_t fallback = int32_t(materialNames.size()) - 1;
    int32_t current = -2;
    bool fallbackUsed = false;
    for (int32_t f = 0; f < model.faceCount; ++f) {
        const Face& face = model.faces[f];
        const int32_t material = face.material >= 0 && face.material < fallback ? face.material : fallback;
        fallbackUsed = fallbackUsed || material == fallback;
        if (material != current) {
            // Each run is an object of its own: the reader gathers the faces of one material
            // within an object, which would change the face order.
            o += "o run" + std::to_string(f) + "\nusemtl " + materialNames[size_t(material)] + "\n";
            current = material;
        }
        o += 'f';
        const int32_t corners[3] = {face.a, face.b, face.c};
        for (int k = 0; k < 3; ++k) {
            o += ' ';
            o += std::to_string(int64_t(corners[k]) + 1);
            o += '/';
            o += std::to_string(faceCoords[size_t(f) * 3 + size_t(k)]);
        }
        o += '\n';
    }

    std::string& m = text.mtl;
    m += "# Korvex materials\n";
    for (int32_t i = 0; i < model.materialCount; ++i) {
        const Material& mat = model.materials[i];
        m += "\nnewmtl " + materialNames[size_t(i)] + "\n";
        AppendColour(m, "Ka", mat.ambient);
        AppendColour(m, "Kd", mat.diffuse);
        AppendColour(m, "Ks", mat.specular);
        AppendColour(m, "Ke", mat.emission);
        m += "d ";
        AppendExactFloat(m, mat.diffuse[3]);
        m += "\nNs ";
        AppendExactFloat(m, mat.shininess);
        m += "\nillum 2\n";
    }
    if (fallbackUsed) {
        const float ambient[4] = {kDefaultAmbient[0], kDefaultAmbient[1], kDefaultAmbient[2], 1};
        m += "\nnewmtl " + materialNames.back() + "\n";
        AppendColour(m, "Ka", ambient);
        AppendColour(m, "Kd", kDefaultDiffuse);
        AppendColour(m, "Ks", kDefaultSpecular);
        AppendColour(m, "Ke", kDefaultEmission);
        m += "d 1\nNs ";
        AppendExactFloat(m, kDefaultShininess);
        m += "\nillum 2\n";
    }
    return text;
}
