#pragma once
// The mapping from the interchange reader's scene to a Korvex model, apart from file reading so
// that the fuzz target and the benchmark reach it directly.

#include <cstdint>
#include <string>

#include "model/model.h"

struct aiScene;

// The reader's post-processing that the mapping expects (triangulation).
unsigned InterchangeReadFlags();

// Fills model from scene: triangles with node transforms applied, meshes merged, one vertex per
// distinct position, per-corner texture coordinates, the used materials, empty nodes named
// "dummy <id>" as dummies. Counts are checked before anything is allocated. Returns 0, -9 or -10
// (with reason); on failure the model is unchanged.
int32_t ModelFromScene(Model* model, const aiScene* scene, std::string* reason);
