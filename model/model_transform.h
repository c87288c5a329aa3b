#pragma once
// Operations on the whole vertex list of a model. Faces, dummies and materials are not touched.

#include <cstdint>

#include "model/model.h"

// Exchanges y and z of every vertex (a mirror: seen in the new geometry every face's winding
// reverses). Returns 0.
int32_t ModelSwapYZ(Model* model);
// Adds dx, dy, dz to every vertex. Returns 0.
int32_t ModelTranslate(Model* model, float dx, float dy, float dz);
// The bounding box of the vertices; starts from minimums 1000000 and maximums -1000000, so an
// empty model gives those. Returns 0.
int32_t ModelBounds(const Model* model, float* minX, float* maxX, float* minY, float* maxY, float* minZ,
                    float* maxZ);
