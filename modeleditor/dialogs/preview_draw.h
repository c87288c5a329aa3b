#pragma once
// What the preview windows draw, into the view's context (already current) without presenting.
#include <cstdint>

#include "glview/view_context.h"
#include "model/model.h"
#include "modeleditor/dialogs/dialog_values.h"

namespace editor {

// The material preview: when the diffuse alpha is below 255, red, green and blue vertical
// stripes far behind; then a lit sphere of radius 0.9 three units away in the material's colours.
void DrawMaterialPreview(glview::ViewContext* view, const MaterialEdit& edit);

// The model preview: `model` ten units away, lit by light 0 at `lightPos`.
void DrawModelPreview(glview::ViewContext* view, const Model* model, const float lightPos[3]);

} // namespace editor
