#pragma once
// The ASC side of `korvex convert`: reads a 3D Studio ASCII export into a model.

#include <cstdint>

#include "model/model.h"

// True when this build can read .asc files.
bool KorvexCanImportAsc();
// Reads path with the advanced importer, or the simple one when simple is set.
// Returns the importer's status; -1 when this build has no ASC import.
int32_t KorvexImportAsc(Model* model, const char* path, bool simple);
