#pragma once
// Drawing a model with OpenGL 1.1: lit triangles in model coordinates, in index order, into
// whatever context, projection, modelview matrix and lights the caller has set up. Consecutive
// faces that need no state change between them are drawn together (DrawModel in one
// glBegin/glEnd pair, DrawModelPass in one glDrawArrays from client arrays of its own); the
// pictures and the GL state left behind are those of drawing every face on its own. A face with
// a corner index that is not below vertexCount is skipped by every path here.
#include <cstdint>

#include "model/model.h"

// Draws every face with its front normal and material (front and back), applying a material
// only when its index is below materialCount and differs from the last applied one; no
// textures. Returns 0.
int32_t DrawModel(const Model* model);

// Loads the identity into the current matrix, then records DrawModel into a new display list
// and returns its name (0 when no list could be made). The caller owns the list.
uint32_t CompileModelList(const Model* model);

// The main view's pass: polygon mode by renderMode (0 fill, 1 lines, 2 points), flat shading
// for shadeMode 0 and smooth otherwise (2: no per-face normal), blending on, every face's
// material applied and its texture bound when it has one, and with showNormals a white line
// of one third unit along each front normal. Leaves point size and line width 1, polygon mode
// fill, and texturing off when it drew a face; the caller's client array state is restored.
// Returns 0.
int32_t DrawModelPass(const Model* model, int32_t renderMode, int32_t shadeMode, int32_t showNormals);
