#pragma once
// The main window's frame: reference geometry, cursor and light markers, vertex crosses,
// dummies, the model and the text overlay, drawn in immediate mode and presented.
#include "model/model.h"
#include "modeleditor/editor_state.h"

namespace platform {
class GlSurface;
}

namespace editor {

// Makes the state's view current, draws the whole frame from `state` and `model` (changing
// neither) and presents it on `window`. Does nothing when the view has no GL context.
void DrawEditorFrame(const EditorState& state, const Model* model, platform::GlSurface* window);

} // namespace editor
