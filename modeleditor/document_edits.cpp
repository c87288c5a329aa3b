#include "modeleditor/document_edits.h"

#include "model/model_transform.h"
#include "modeleditor/editor_ids.h"
#include "modeleditor/pick.h"

#include <utility>

namespace editor {
namespace {

void FlipEveryFace(Model* model) {
    FlipAllFaces(model);
}

void SwapYZ(Model* model) {
    ModelSwapYZ(model);
}

} // namespace

bool RecordedDeletePick(DocumentHistory& history, EditorState& state, Model* model) {
    const std::int32_t index = state.pickIndex;
    history.begin(model);
    switch (state.pickKind) {
    case PICK_VERTEX:
        history.note_range(model, ModelList::Vertices, index, VertexCount(model) - index - 1);
        history.note_corner_shift(index);
        break;
    case PICK_DUMMY:
        history.note_range(model, ModelList::Dummies, index, DummyCount(model) - index - 1);
        break;
    case PICK_FACE:
        history.note_range(model, ModelList::Faces, index, FaceCount(model) - index - 1);
        break;
    default:
        break;
    }
    const bool deleted = DeletePick(state, model);
    if (deleted)
        history.commit(model);
    else
        history.discard();
    return deleted;
}

void RecordedFlipFace(DocumentHistory& history, Model* model, std::int32_t i) {
    history.begin(model);
    history.note_records(model, ModelList::Faces, {i});
    FlipFace(model, i);
    history.commit(model);
}

void RecordedFlipAllFaces(DocumentHistory& history, Model* model) {
    history.begin(model);
    if (FaceCount(model) > 0) history.note_involution(FlipEveryFace);
    FlipAllFaces(model);
    history.commit(model);
}

void RecordedSwapYZ(DocumentHistory& history, Model* model) {
    history.begin(model);
    if (VertexCount(model) > 0) history.note_involution(SwapYZ);
    ModelSwapYZ(model);
    history.commit(model);
}

void RecordedCopyMirrored(DocumentHistory& history, Model* model, MirrorAxis negated) {
    history.begin(model);
    history.note_range(model, ModelList::Vertices, VertexCount(model), 0);
    history.note_range(model, ModelList::Faces, FaceCount(model), 0);
    CopyMirrored(model, negated);
    history.commit(model);
}

void RecordedMoveAll(DocumentHistory& history, Model* model, double dx, double dy, double dz) {
    history.begin(model);
    history.note_range(model, ModelList::Vertices, 0, 0);
    MoveAllVertices(model, dx, dy, dz);
    history.commit(model);
}

void RecordedAddVertex(DocumentHistory& history, Model* model, const float at[3]) {
    history.begin(model);
    history.note_range(model, ModelList::Vertices, VertexCount(model), 0);
    AddVertex(model, at[0], at[1], at[2], 0);
    history.commit(model);
}

void RecordedMovePick(DocumentHistory& history, EditorState& state, Model* model, double dx, double dy,
                      double dz) {
    if (!history.open()) {
        switch (state.pickKind) {
        case PICK_VERTEX:
            history.begin(model);
            history.note_records(model, ModelList::Vertices, {state.pickIndex});
            break;
        case PICK_DUMMY:
            history.begin(model);
            history.note_records(model, ModelList::Dummies, {state.pickIndex});
            break;
        case PICK_FACE: {
            std::int32_t a, b, c, material;
            if (GetFace(model, state.pickIndex, &a, &b, &c, &material) == MODEL_OK) {
                history.begin(model);
                history.note_records(model, ModelList::Vertices, {a, b, c});
            }
            break;
        }
        default:
            break;
        }
    }
    MovePick(state, model, dx, dy, dz);
}

void EndDrag(DocumentHistory& history, const Model* model) {
    history.commit(model);
}

bool BeginDialogStep(DocumentHistory& history, const Model* model, const EditorState& state, int command) {
    switch (command) {
    case IDM_ADD_VERTEX:
        history.begin(model);
        history.note_range(model, ModelList::Vertices, VertexCount(model), 0);
        return true;
    case IDM_ADD_FACE:
        history.begin(model);
        history.note_range(model, ModelList::Faces, FaceCount(model), 0);
        return true;
    case IDM_ADD_DUMMY:
        history.begin(model);
        history.note_range(model, ModelList::Dummies, DummyCount(model), 0);
        return true;
    case IDM_ADD_MATERIAL:
    case IDM_MODIFY_MATERIAL:
    case IDM_ASSIGN_TEXTURE:
        // The material list is small: the whole of it is kept.
        history.begin(model);
        history.note_range(model, ModelList::Materials, 0, 0);
        return true;
    case kFacePropertiesStep:
        if (state.pickKind != PICK_FACE || state.pickIndex < 0 || state.pickIndex >= FaceCount(model))
            return false;
        history.begin(model);
        history.note_range(model, ModelList::Faces, state.pickIndex, FaceCount(model) - state.pickIndex - 1);
        return true;
    default:
        return false;
    }
}

void RecordedReplace(DocumentHistory& history, Model* model, Model& fresh, bool newFile,
                     const DocumentFile& file) {
    history.begin(model);
    std::swap(*model, fresh);
    history.note_replaced(fresh);
    if (newFile) history.note_file_swap();
    history.commit(model);
    if (newFile) history.saved_as(file);
}

void ValidatePick(EditorState& state, const Model* model) {
    std::int32_t count = 1;
    switch (state.pickKind) {
    case PICK_VERTEX:
        count = VertexCount(model);
        break;
    case PICK_DUMMY:
        count = DummyCount(model);
        break;
    case PICK_FACE:
        count = FaceCount(model);
        break;
    default:
        return;
    }
    if (state.pickIndex < 0 || state.pickIndex >= count) {
        state.pickKind = PICK_NOTHING;
        state.pickIndex = 0;
    }
}

} // namespace editor
