#pragma once
// The 3D cursor's pick: which light, vertex, dummy or face lies under the cursor, and moving the
// picked element along with the cursor while it is dragged.
#include "model/model.h"
#include "modeleditor/editor_state.h"

namespace editor {

// Half the side of the box around the cursor in which a point counts as under it.
inline constexpr double kPickReach = 0.1;

// True when p - 0.1 < cursor < p + 0.1 holds strictly on each of the three axes.
bool IsNearCursor(const float cursor[3], float px, float py, float pz);

// Picks the candidate number pickCycle among those near the cursor, visiting the light, every
// vertex, every dummy, then every face by the centroid of its corners (faces with a corner
// outside the vertex list are passed over). When fewer candidates are near than pickCycle asks
// for, the last near one stays picked, pickCycle goes back to 0 and true is returned: the
// caller then runs one more step so that the first candidate is picked.
bool RunPick(EditorState& state, const Model* model);

// Moves the picked light, vertex, dummy or face (its three corners) by (dx, dy, dz). A pick
// whose index is outside its list moves nothing.
void MovePick(EditorState& state, Model* model, double dx, double dy, double dz);

} // namespace editor
