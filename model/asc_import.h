#pragma once
// Import of 3D Studio ASCII export files (".asc") into a Model. Both importers read the file
// line by line, find keywords at the start of lines and pick numbers out of the lines with
// fixed scan patterns (model/asc_scan.h). An import is all or nothing: the new lists are built
// aside and replace the model's only when the import succeeds.

#include <cstddef>
#include <cstdint>

#include "model/model.h"

// Reads the first object of the file into the vertex and face lists, replacing them; dummies
// and materials stay, and a model without materials gets the "Default" material. Returns 0,
// -1 (file cannot be read), -9 (out of memory) or -10 (the object's counts are negative or
// more than the content lines left in the file can hold). On failure the model is unchanged.
int32_t ImportAsc(Model* model, const char* path);

// Reads every object of the file into one mesh and builds the material list ("Default" first)
// from the material names of the faces; dummies stay. An object's face section ends at the
// "Material" line after its last face, or, once its faces are in, at the next object or the
// end of the file. An object that the file cuts short, or whose counts the rest of the file
// cannot hold, ends the import: the objects before it stay. Returns 0, -1 or -9; on failure
// the model is unchanged.
int32_t ImportAscAdvanced(Model* model, const char* path);

// ImportAsc on the bytes of a file held in memory.
int32_t ImportAscFromMemory(Model* model, const char* data, size_t size);

// ImportAscAdvanced on the bytes of a file held in memory.
int32_t ImportAscAdvancedFromMemory(Model* model, const char* data, size_t size);
