#include "modeleditor/sample_model.h"

#include <cmath>
#include <vector>

namespace editor {
namespace {

struct P {
    float x, y, z;
};

class Builder {
  public:
    explicit Builder(Model* model) : model_(model) {}

    // Starts an object: its faces are turned to face away from `centre`.
    void object(P centre, int32_t material) {
        centre_ = centre;
        material_ = material;
        first_ = VertexCount(model_);
    }
    int32_t vertex(P p) {
        ok_ = ok_ && AddVertex(model_, p.x, p.y, p.z, 0) == MODEL_OK;
        return VertexCount(model_) - 1;
    }
    void triangle(int32_t a, int32_t b, int32_t c, const float tex[6]) {
        const P pa = at(a), pb = at(b), pc = at(c);
        const P u{pb.x - pa.x, pb.y - pa.y, pb.z - pa.z};
        const P v{pc.x - pa.x, pc.y - pa.y, pc.z - pa.z};
        const P n{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
        const P out{(pa.x + pb.x + pc.x) / 3 - centre_.x, (pa.y + pb.y + pc.y) / 3 - centre_.y,
                    (pa.z + pb.z + pc.z) / 3 - centre_.z};
        float coords[6] = {tex[0], tex[1], tex[2], tex[3], tex[4], tex[5]};
        if (n.x * out.x + n.y * out.y + n.z * out.z < 0) {
            std::swap(b, c);
            std::swap(coords[2], coords[4]);
            std::swap(coords[3], coords[5]);
        }
        ok_ = ok_ && AddFace(model_, a, b, c, material_) == MODEL_OK;
        if (ok_) SetFaceTexCoords(model_, FaceCount(model_) - 1, coords);
    }
    void quad(int32_t a, int32_t b, int32_t c, int32_t d) {
        static constexpr float kFirst[6] = {0, 0, 1, 0, 1, 1};
        static constexpr float kSecond[6] = {0, 0, 1, 1, 0, 1};
        triangle(a, b, c, kFirst);
        triangle(a, c, d, kSecond);
    }
    bool ok() const { return ok_; }

  private:
    P at(int32_t i) const {
        float x, y, z;
        GetVertex(model_, i, &x, &y, &z);
        return {x, y, z};
    }

    Model* model_;
    P centre_{};
    int32_t material_ = 0;
    int32_t first_ = 0;
    bool ok_ = true;
};

int32_t AddMaterialRgb(Model* model, const char* name, float r, float g, float b, float alpha,
                       float shininess) {
    const float ambient[4] = {r * 0.3f, g * 0.3f, b * 0.3f, 1.0f};
    const float diffuse[4] = {r, g, b, alpha};
    const float specular[4] = {0.6f, 0.6f, 0.6f, 1.0f};
    const float emission[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    return AddMaterial(model, name, ambient, diffuse, specular, emission, shininess);
}

} // namespace

int32_t BuildSampleModel(Model* model) {
    if (AddMaterialRgb(model, "Brick", 0.75f, 0.35f, 0.25f, 1.0f, 10.0f) != MODEL_OK ||
        AddMaterialRgb(model, "Roof", 0.35f, 0.30f, 0.55f, 1.0f, 40.0f) != MODEL_OK ||
        AddMaterialRgb(model, "Glass", 0.30f, 0.80f, 0.95f, 0.6f, 100.0f) != MODEL_OK ||
        AddMaterialRgb(model, "Brass", 0.85f, 0.70f, 0.25f, 1.0f, 80.0f) != MODEL_OK)
        return MODEL_ERR_MEMORY;
    Builder b(model);

    // House: a box 2 wide, 1.2 high, 2 deep.
    b.object({-1.5f, 0.6f, 0.0f}, 0);
    int32_t box[8];
    for (int i = 0; i < 8; ++i)
        box[i] = b.vertex({i & 1 ? -0.5f : -2.5f, i & 2 ? 1.2f : 0.0f, i & 4 ? 1.0f : -1.0f});
    b.quad(box[0], box[1], box[3], box[2]); // back
    b.quad(box[4], box[5], box[7], box[6]); // front
    b.quad(box[0], box[4], box[6], box[2]); // left
    b.quad(box[1], box[5], box[7], box[3]); // right
    b.quad(box[0], box[1], box[5], box[4]); // floor
    b.quad(box[2], box[3], box[7], box[6]); // ceiling

    // Roof: a pyramid over the box.
    b.object({-1.5f, 1.6f, 0.0f}, 1);
    int32_t eaves[4];
    for (int i = 0; i < 4; ++i)
        eaves[i] = b.vertex({i & 1 ? -0.3f : -2.7f, 1.2f, i & 2 ? 1.2f : -1.2f});
    const int32_t apex = b.vertex({-1.5f, 2.2f, 0.0f});
    static constexpr float kRoofTex[6] = {0.0f, 0.0f, 1.0f, 0.0f, 0.5f, 1.0f};
    b.triangle(eaves[0], eaves[1], apex, kRoofTex);
    b.triangle(eaves[1], eaves[3], apex, kRoofTex);
    b.triangle(eaves[3], eaves[2], apex, kRoofTex);
    b.triangle(eaves[2], eaves[0], apex, kRoofTex);
    b.quad(eaves[0], eaves[1], eaves[3], eaves[2]);

    // Gem: an octahedron floating at (1.5, 1.2, -0.5).
    const P gem{1.5f, 1.2f, -0.5f};
    b.object(gem, 2);
    const int32_t top = b.vertex({gem.x, gem.y + 0.7f, gem.z});
    const int32_t bottom = b.vertex({gem.x, gem.y - 0.7f, gem.z});
    int32_t ring[4];
    for (int i = 0; i < 4; ++i) {
        const float angle = float(i) * 3.14159265f / 2.0f;
        ring[i] = b.vertex({gem.x + 0.5f * std::cos(angle), gem.y, gem.z + 0.5f * std::sin(angle)});
    }
    static constexpr float kGemTex[6] = {0.0f, 0.0f, 1.0f, 0.0f, 0.5f, 1.0f};
    for (int i = 0; i < 4; ++i) {
        b.triangle(ring[i], ring[(i + 1) % 4], top, kGemTex);
        b.triangle(ring[i], ring[(i + 1) % 4], bottom, kGemTex);
    }

    // Column: an eight-sided prism standing at (1.5, 0, 2).
    const P base{1.5f, 0.0f, 2.0f};
    constexpr int kSides = 8;
    constexpr float kHeight = 1.6f;
    b.object({base.x, kHeight / 2, base.z}, 3);
    int32_t low[kSides], high[kSides];
    for (int i = 0; i < kSides; ++i) {
        const float angle = float(i) * 2.0f * 3.14159265f / kSides;
        const float x = base.x + 0.35f * std::cos(angle), z = base.z + 0.35f * std::sin(angle);
        low[i] = b.vertex({x, 0.0f, z});
        high[i] = b.vertex({x, kHeight, z});
    }
    const int32_t lowCentre = b.vertex({base.x, 0.0f, base.z});
    const int32_t highCentre = b.vertex({base.x, kHeight, base.z});
    static constexpr float kCapTex[6] = {0.5f, 0.5f, 1.0f, 0.5f, 0.5f, 1.0f};
    for (int i = 0; i < kSides; ++i) {
        const int j = (i + 1) % kSides;
        b.quad(low[i], low[j], high[j], high[i]);
        b.triangle(lowCentre, low[i], low[j], kCapTex);
        b.triangle(highCentre, high[i], high[j], kCapTex);
    }
    if (!b.ok()) return MODEL_ERR_MEMORY;

    // Marker points: the door, the chimney and the gem's centre.
    if (AddDummy(model, 1, -1.5f, 0.0f, 1.05f) != MODEL_OK ||
        AddDummy(model, 2, -1.0f, 2.0f, 0.3f) != MODEL_OK ||
        AddDummy(model, 3, gem.x, gem.y, gem.z) != MODEL_OK)
        return MODEL_ERR_MEMORY;
    return MODEL_OK;
}

} // namespace editor
