#pragma once
// Models in other formats: anything the interchange reader knows (OBJ with MTL, glTF and GLB,
// FBX, PLY, STL, 3DS, Collada and more) is read into a Korvex model; a Korvex model is written
// as OBJ + MTL, glTF, GLB, PLY or STL. Formats are chosen by the file name's extension, in any
// case. Imports are transactional: a failed import leaves the model exactly as it was.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/model.h"

// Status codes of the interchange operations, besides MODEL_OK, MODEL_ERR_OPEN (the file cannot
// be opened, read or written), MODEL_ERR_MEMORY and MODEL_ERR_RANGE (counts a Korvex model cannot
// hold, or a face that names a vertex the model lacks).
enum : int32_t {
    MODEL_ERR_FORMAT = -11,    // the reader or writer refused the file; the reason says why
    MODEL_ERR_EXTENSION = -12, // no reader or writer for this file name's extension
};

// One format of the common list: what the editor's Open dialog offers and `korvex formats` shows.
struct InterchangeFormat {
    const char* description; // "Wavefront OBJ"
    const char* patterns;    // "*.obj", ';'-separated
    bool writes;             // ExportModel writes it too
};

// The common formats, in the order the Open dialog lists them.
const std::vector<InterchangeFormat>& InterchangeCommonFormats();

// Every extension the reader knows, lower case without the dot, sorted ("3ds", "obj", ...).
std::vector<std::string> InterchangeReadExtensions();

// True when path's extension (any case) has a reader / a writer here. Korvex and ASC names are
// not interchange formats.
bool InterchangeCanRead(const std::string& path);
bool InterchangeCanWrite(const std::string& path);

// Reads the model file at path (its side files, such as an OBJ's MTL or a glTF's buffers, beside
// it) into model, replacing its header fields, vertices, faces, dummies and materials.
// Returns 0; -1 cannot open (errno tells why); -11 refused (reason); -12 unknown extension;
// -9 out of memory; -10 more elements than a Korvex model holds. reason (may be null) gets a
// phrase in words on failure. On failure the model is unchanged.
int32_t ImportModel(Model* model, const char* path, std::string* reason);

// Writes model to path in the format its extension names (.obj also writes the .mtl beside it;
// .gltf also writes its .bin). Each file is replaced atomically. Returns 0; -1 cannot write (errno
// tells why); -10 a face names a vertex the model lacks; -11 the writer failed (reason);
// -12 unknown extension; -9 out of memory. The model is never changed.
int32_t ExportModel(const Model* model, const char* path, std::string* reason);
