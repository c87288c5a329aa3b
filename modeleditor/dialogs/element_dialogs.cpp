#include "modeleditor/dialogs/element_dialogs.h"

#include "modeleditor/dialogs/dialog_controls.h"
#include "modeleditor/dialogs/dialog_numbers.h"
#include "modeleditor/editor_ids.h"

#include <cstdio>

namespace editor {
namespace {

using platform::BN_CLICKED;
using platform::DialogWindow;
using platform::IDCANCEL;
using platform::IDOK;

// Texture fields in the order sA, tA, sB, tB, sC, tC.
constexpr int kTexFields[6] = {IDC_TEX_S_A, IDC_TEX_T_A, IDC_TEX_S_B, IDC_TEX_T_B, IDC_TEX_S_C, IDC_TEX_T_C};

void ShowBox(DialogContext& context, DialogWindow& dialog, const std::string& text,
             platform::BoxStyle style) {
    context.services->message_box(dialog, text, kEditorTitle, style);
}

void ShowCursor(DialogContext& context, DialogWindow& dialog) {
    const float* cursor = context.state->cursorPos;
    dialog.set_item_text(IDC_X, FormatCoordinate(cursor[0]));
    dialog.set_item_text(IDC_Y, FormatCoordinate(cursor[1]));
    dialog.set_item_text(IDC_Z, FormatCoordinate(cursor[2]));
}

void ReadTexCoords(const DialogWindow& dialog, float coords[6]) {
    for (int i = 0; i < 6; ++i)
        coords[i] = ScanFieldFloat(dialog.item_text(kTexFields[i]));
}

// Repeated corners are refused before corners that do not exist; a refusal is shown in a box.
bool CornersValid(DialogContext& context, DialogWindow& dialog, std::int32_t a, std::int32_t b,
                  std::int32_t c) {
    if (a == b || b == c || c == a) {
        ShowBox(context, dialog, kSameVertexError, platform::BoxStyle::icon_stop);
        return false;
    }
    const std::uint32_t count = std::uint32_t(VertexCount(context.model));
    if (std::uint32_t(a) < count && std::uint32_t(b) < count && std::uint32_t(c) < count) return true;
    ShowBox(context, dialog, kMissingVertexError, platform::BoxStyle::icon_stop);
    return false;
}

// OK ends the dialog with 1 when `accept` agrees (a refusal keeps it open); Cancel ends it with 2.
template <typename Accept> bool OkOrCancel(DialogWindow& dialog, int id, int notification, Accept accept) {
    if (notification != BN_CLICKED) return false;
    if (id == IDOK) {
        if (accept()) dialog.end_dialog(1);
        return true;
    }
    if (id == IDCANCEL) {
        dialog.end_dialog(2);
        return true;
    }
    return false;
}

} // namespace

// --- Vertex ---

bool VertexDialogProc::init_dialog(DialogWindow& dialog, std::intptr_t) {
    ShowCursor(context_, dialog);
    return true;
}

bool VertexDialogProc::command(DialogWindow& dialog, int id, int notification) {
    return OkOrCancel(dialog, id, notification, [&] {
        AddVertex(context_.model, ScanFieldFloat(dialog.item_text(IDC_X)),
                  ScanFieldFloat(dialog.item_text(IDC_Y)), ScanFieldFloat(dialog.item_text(IDC_Z)), 0);
        return true;
    });
}

// --- Face ---

bool FaceDialogProc::init_dialog(DialogWindow& dialog, std::intptr_t) {
    for (int id : {IDC_VERTEX_A, IDC_VERTEX_B, IDC_VERTEX_C, IDC_FACE_MATERIAL})
        dialog.set_item_text(id, "0");
    // Corner 1 (0, 0), corner 2 (0, 1), corner 3 (1, 0).
    dialog.set_item_text(IDC_TEX_S_A, "0.0");
    dialog.set_item_text(IDC_TEX_S_B, "0.0");
    dialog.set_item_text(IDC_TEX_S_C, "1.0");
    dialog.set_item_text(IDC_TEX_T_A, "0.0");
    dialog.set_item_text(IDC_TEX_T_B, "1.0");
    dialog.set_item_text(IDC_TEX_T_C, "0.0");
    return true;
}

bool FaceDialogProc::command(DialogWindow& dialog, int id, int notification) {
    return OkOrCancel(dialog, id, notification, [&] {
        const std::int32_t a = AtoiField(dialog.item_text(IDC_VERTEX_A));
        const std::int32_t b = AtoiField(dialog.item_text(IDC_VERTEX_B));
        const std::int32_t c = AtoiField(dialog.item_text(IDC_VERTEX_C));
        const std::int32_t material = AtoiField(dialog.item_text(IDC_FACE_MATERIAL));
        if (!CornersValid(context_, dialog, a, b, c)) return false;
        if (AddFace(context_.model, a, b, c, material) == MODEL_OK) {
            float coords[6];
            ReadTexCoords(dialog, coords);
            SetFaceTexCoords(context_.model, FaceCount(context_.model) - 1, coords);
        }
        return true;
    });
}

// --- Dummy ---

bool DummyDialogProc::init_dialog(DialogWindow& dialog, std::intptr_t) {
    ShowCursor(context_, dialog);
    dialog.set_item_text(IDC_DUMMY_ID, std::to_string(context_.values->nextDummyId));
    context_.values->nextDummyId += 1;
    return true;
}

bool DummyDialogProc::command(DialogWindow& dialog, int id, int notification) {
    return OkOrCancel(dialog, id, notification, [&] {
        const float x = ScanFieldFloat(dialog.item_text(IDC_X));
        const float y = ScanFieldFloat(dialog.item_text(IDC_Y));
        const float z = ScanFieldFloat(dialog.item_text(IDC_Z));
        const std::int32_t dummyId = ScanFieldInt(dialog.item_text(IDC_DUMMY_ID));
        if (DummyIdExists(context_.model, dummyId)) {
            char text[64];
            std::snprintf(text, sizeof text, "Warning: Dummy with ID %d do exist.", dummyId);
            ShowBox(context_, dialog, text, platform::BoxStyle::icon_warning);
        }
        AddDummy(context_.model, dummyId, x, y, z);
        return true;
    });
}

// --- Face properties ---

bool FacePropertiesProc::init_dialog(DialogWindow& dialog, std::intptr_t parameter) {
    if (context_.state->pickKind != PICK_FACE) {
        dialog.end_dialog(2);
        return true;
    }
    face_ = std::int32_t(parameter);
    std::int32_t a = 0, b = 0, c = 0, material = 0;
    float coords[6] = {};
    GetFace(context_.model, face_, &a, &b, &c, &material);
    GetFaceTexCoords(context_.model, face_, coords);
    dialog.set_item_int(IDC_VERTEX_A, std::uint32_t(a), false);
    dialog.set_item_int(IDC_VERTEX_B, std::uint32_t(b), false);
    dialog.set_item_int(IDC_VERTEX_C, std::uint32_t(c), false);
    dialog.set_item_int(IDC_FACE_MATERIAL, std::uint32_t(material), false);
    for (int i = 0; i < 6; ++i)
        dialog.set_item_text(kTexFields[i], FormatCoordinate(coords[i]));
    return true;
}

bool FacePropertiesProc::apply(DialogWindow& dialog) {
    // A vertex field that is not an unsigned number names no vertex.
    auto corner = [&dialog](int id) {
        bool translated = false;
        const std::uint32_t value = dialog.get_item_int(id, &translated, false);
        return translated ? std::int32_t(value) : std::int32_t(-1);
    };
    const std::int32_t a = corner(IDC_VERTEX_A), b = corner(IDC_VERTEX_B), c = corner(IDC_VERTEX_C);
    if (!CornersValid(context_, dialog, a, b, c)) return false;
    const std::int32_t material = std::int32_t(dialog.get_item_int(IDC_FACE_MATERIAL, nullptr, false));
    float coords[6];
    ReadTexCoords(dialog, coords);
    SetFace(context_.model, face_, a, b, c, material);
    SetFaceTexCoords(context_.model, face_, coords);
    context_.mainWindow->invalidate();
    return true;
}

bool FacePropertiesProc::command(DialogWindow& dialog, int id, int notification) {
    if (notification == BN_CLICKED && id == IDC_APPLY) {
        apply(dialog);
        return true;
    }
    return OkOrCancel(dialog, id, notification, [&] { return apply(dialog); });
}

} // namespace editor
