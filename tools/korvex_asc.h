#pragma once
// The ASC side of `korvex convert`: reads a 3D Studio ASCII export into a model.

#include <cstdint>

#include "model/model.h"

// Reads path with the advanced importer, or with the simple one when simple is set.
// Returns the importer's status (0, -1, -9, -10); on failure the model is unchanged.
int32_t KorvexImportAsc(Model* model, const char* path, bool simple);
