#pragma once
// The editor's dialog templates: Vertex, Face, Dummy, Face properties, Material, Material
// browser and the model preview, with every control's identifier, text and place.
#include "modeleditor/dialogs/dialog_ids.h"
#include "platform/qt/dialog_template.h"

namespace editor {

// The template with this identifier; null for any other.
const platform::DialogTemplate* EditorDialogTemplate(int id);

} // namespace editor
