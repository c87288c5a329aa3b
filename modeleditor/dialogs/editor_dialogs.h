#pragma once
// Opens the editor's dialogs by template, as the commands and the 'm' key ask for them.
#include <cstdint>

#include "modeleditor/dialogs/dialog_context.h"

class QWidget;

namespace editor {

// Runs the dialog of template `templateId` modally over `owner` with `parameter` and returns the
// value it ended with; -1 for a template the editor does not have.
std::intptr_t RunEditorDialog(int templateId, std::intptr_t parameter, DialogContext& context,
                              QWidget* owner);

} // namespace editor
