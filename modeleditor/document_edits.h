#pragma once
// The editor's changes of the model, each recorded as one step of the history around the edit
// that makes it (element_edits.h, pick.h): what each change touches is noted before it.
#include <cstdint>

#include "model/model.h"
#include "modeleditor/document_history.h"
#include "modeleditor/editor_state.h"
#include "modeleditor/element_edits.h"

namespace editor {

// Commands without a menu item: the shell sends them for Ctrl+Z, Ctrl+Shift+Z or Ctrl+Y, Ctrl+S.
enum : int {
    IDM_UNDO = 170,
    IDM_REDO = 171,
    IDM_QUICK_SAVE = 172,
};

// Delete, 'f', the Specials and the moves of the Transformations menu, and the vertex a left
// double click adds, each as one step.
bool RecordedDeletePick(DocumentHistory& history, EditorState& state, Model* model);
void RecordedFlipFace(DocumentHistory& history, Model* model, std::int32_t i);
void RecordedFlipAllFaces(DocumentHistory& history, Model* model);
void RecordedCopyMirrored(DocumentHistory& history, Model* model, MirrorAxis negated);
void RecordedSwapYZ(DocumentHistory& history, Model* model);
void RecordedMoveAll(DocumentHistory& history, Model* model, double dx, double dy, double dz);
void RecordedAddVertex(DocumentHistory& history, Model* model, const float at[3]);

// Moves the pick as a drag does. The first move of a vertex, dummy or face opens a step that
// stays open until EndDrag (button up) or until another change or an undo closes it, so a whole
// drag is one step. The light is not part of the document.
void RecordedMovePick(DocumentHistory& history, EditorState& state, Model* model, double dx, double dy,
                      double dz);
void EndDrag(DocumentHistory& history, const Model* model);

// Before a command that opens a dialog changing the model (Add, material commands, texture
// assignment, the 'm' key's Face properties): begins a step noting what the dialog may change.
// False for commands whose dialogs change nothing. Commit the step after the dialog closes.
bool BeginDialogStep(DocumentHistory& history, const Model* model, const EditorState& state, int command);
// The pseudo-command BeginDialogStep takes for the Face properties of the 'm' key.
inline constexpr int kFacePropertiesStep = -108;

// Replaces the model by `fresh` as one step that brings the previous model back whole when it
// is undone; `fresh` is left empty. With `newFile`, the document becomes `file`'s, unchanged.
void RecordedReplace(DocumentHistory& history, Model* model, Model& fresh, bool newFile,
                     const DocumentFile& file = {});

// After undo or redo: a pick that names an element no longer there is reset to nothing.
void ValidatePick(EditorState& state, const Model* model);

} // namespace editor
