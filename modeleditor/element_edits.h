#pragma once
// Edits of the model that the editor's keys and commands make: deleting the pick, flipping
// faces, mirrored copies and moving every vertex.
#include <cstdint>

#include "model/model.h"
#include "modeleditor/editor_state.h"

namespace editor {

// Deletes the picked vertex, dummy or face and resets the pick to nothing. Nothing happens for a
// light or empty pick, for an index that is not below its list's count, or for a vertex that a
// face uses. Deleting a vertex lowers by one every face corner index above it, so every face
// keeps its corners. Returns true when something was deleted.
bool DeletePick(EditorState& state, Model* model);

// Reverses face i's winding: (a, b, c) becomes (a, c, b) and the texture coordinates of its
// second and third corners change places. An index out of range changes nothing.
void FlipFace(Model* model, int32_t i);

// Flips every face.
void FlipAllFaces(Model* model);

// Axis whose coordinate a mirrored copy negates.
enum class MirrorAxis { X, Y, Z };

// Appends a copy of every vertex with one coordinate negated and a copy of every face on the
// copied vertices with reversed winding and texture coordinates 0. Dummies and materials are not
// copied. When memory runs out the model is left as it was. Returns 0 or -9.
int32_t CopyMirrored(Model* model, MirrorAxis negated);

// Adds (dx, dy, dz) to every vertex, each coordinate rounded to single precision; w becomes 0.
// A coordinate whose step is 0 is left exactly as it was.
void MoveAllVertices(Model* model, double dx, double dy, double dz);

} // namespace editor
