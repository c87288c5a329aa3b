#pragma once
// Test oracle: the model drawing paths as they were before batching, one glBegin/glEnd pair,
// one material application and (with normals) one state block per face. The batched paths of
// model_draw.h must leave the same pictures and GL state.
#include <cstdint>

#include "model/model.h"

int32_t DrawModelPerFace(const Model* model);
int32_t DrawModelPassPerFace(const Model* model, int32_t renderMode, int32_t shadeMode, int32_t showNormals);

// The normal line of every face DrawModelPassPerFace draws, as plain GL_LINES in the current
// state, for finding the pixels the lines cover.
void DrawNormalSegmentsPerFace(const Model* model);
