#pragma once
// The commands that open the dialogs of the editor: adding elements, modifying a material,
// assigning a temporary texture, the model preview, and the face properties of the 'm' key.
// They reach the dialogs through EditorWindow::dialog_box.
#include <cstdint>
#include <string>

#include "bitmap/status_text.h"
#include "model/model.h"
#include "modeleditor/editor_state.h"
#include "modeleditor/editor_window.h"

namespace editor {

// Opens the dialog of an Add command (111 to 114) or the model preview (137), then repaints.
void RunDialogCommand(EditorWindow& window, int command);

// 117: the browser, then the Material dialog on the material chosen; repaints.
void ModifyMaterialCommand(EditorWindow& window, const Model* model);

// 118: the browser, the open dialog with the Taviron, BMP and PNG filters, the picture read as the
// chosen filter says, a mipmapped texture made in the main view and set on the material. A
// picture that cannot be read is reported naming the file and the reason, and the material
// keeps its texture. Repaints.
void AssignTextureCommand(EditorWindow& window, EditorState& state, Model* model);

// The 'm' key with a face picked: leaves mouse-look as a right double-click would, then opens
// Face properties on the picked face; repaints after it closes.
void FacePropertiesKey(EditorWindow& window, EditorState& state);

// The box text for a texture picture that could not be read (`access` Load or Import, as the
// filter chose).
std::string TextureFailureText(const std::string& path, std::int32_t status, TavironAccess access);

} // namespace editor
