#pragma once
// The main view's model pass with its line-ordering rule as a parameter, for tests that show
// that breaking the rule changes the picture. Everything else uses DrawModelPass.
#include <cstdint>

#include "model/model.h"
#include "model/vec4.h"

struct PassRules {
    // Draw the pending normal lines before a face that blends with what lies under it
    // (translucent, textured or smoothed), so that the face blends over them as it would when
    // every line followed its own face. False only in tests.
    bool linesBeforeBlendedFaces = true;
};

int32_t DrawModelPassWith(const Model* model, int32_t renderMode, int32_t shadeMode, int32_t showNormals,
                          const PassRules& rules);

// The front normal of a face with corners c: the negated TriangleNormal, bit for bit.
Vec4 FrontNormal(const Vec4 c[3]);
