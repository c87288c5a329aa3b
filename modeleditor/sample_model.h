#pragma once
// The sample model that `make run` opens: a small scene of convex objects (a house with a
// roof, a gem and a column) with several materials and a few dummies.
#include "model/model.h"

namespace editor {

// Fills an initialised, empty model with the sample scene. Every face is wound counter-clockwise
// seen from outside its object. Returns 0, or -9 when memory runs out.
int32_t BuildSampleModel(Model* model);

} // namespace editor
