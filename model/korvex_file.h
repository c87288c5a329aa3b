#pragma once
// Korvex model files: a 32-byte header (the first seven fields of Model) followed by the
// vertex, face, dummy and material records as raw blocks, either plain or as one zlib stream.
// Loads are transactional (a failed load leaves the model exactly as it was); saves are atomic
// (a temporary file beside the target is written, synced and renamed over it).

#include <cstddef>
#include <cstdint>

#include "model/model.h"

// Reads the Korvex file at path into model, replacing its header and lists.
// Returns 0; -1 cannot open or read; -2 no magic; -3 compression word other than 0 or 1;
// -4 the stream inflates to more bytes than the header says; -5 corrupt stream; -9 out of memory;
// -10 counts that the file is too short for (plain) or that the stream cannot hold (compressed).
// On any failure the model is unchanged.
int32_t ModelLoad(Model* model, const char* path);

// Same as ModelLoad on the bytes of a whole file held in memory.
int32_t ModelLoadMemory(Model* model, const void* data, size_t size);

// Writes the plain form; sets compression to 0 once the temporary file exists.
// Returns 0 or -1 (cannot create, write, sync or rename; the old file stays, no temporary remains).
int32_t ModelSave(Model* model, const char* path);

// Writes the compressed form (zlib, level 9); sets compression to 1 once the temporary file exists.
// Returns 0, -1 as ModelSave, or -9/-4/-7 when compression fails; the old file stays on failure.
int32_t ModelSaveCompressed(Model* model, const char* path);

// Body size of a model with these counts: 16 * (v + 3 f + d + 8 m) bytes, in 64-bit arithmetic.
uint64_t KorvexBodySize(uint32_t vertexCount, uint32_t faceCount, uint32_t dummyCount,
                        uint32_t materialCount);
