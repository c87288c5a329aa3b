#include "modeleditor/dialogs/material_commands.h"

#include "bitmap/taviron.h"
#include "glview/view_context.h"
#include "modeleditor/dialogs/dialog_ids.h"
#include "modeleditor/editor_ids.h"

namespace editor {
namespace {

FileDialogRequest TextureOpenRequest() {
    return {false,
            {{"Taviron file (*.Taviron;*Tav)", "*.Taviron;*.Tav"},
             {"BMP file (*.bmp)", "*.bmp"},
             {"PNG (*.png)", "*.png"}},
            "Taviron",
            true};
}

// The material the browser chose, or -1 when it was cancelled or names no material.
std::int32_t BrowseMaterial(EditorWindow& window, const Model* model) {
    const std::intptr_t chosen = window.dialog_box(IDD_MATERIAL_BROWSER, 0);
    if (chosen < 0 || chosen >= MaterialCount(model)) return -1;
    return std::int32_t(chosen);
}

// Reads the picture as filter 1 (Taviron), 2 (BMP) or 3 (PNG) says; any other index reads Taviron.
TavironAccess PictureAccess(int filter) {
    if (filter == 2) return TavironAccess::Import;
    if (filter == 3) return TavironAccess::ImportPng;
    return TavironAccess::Load;
}

std::int32_t ReadPicture(Taviron& picture, const std::string& path, TavironAccess access) {
    if (access == TavironAccess::Import) return picture.import_bmp(path.c_str());
    if (access == TavironAccess::ImportPng) return picture.import_png(path.c_str());
    return picture.load(path.c_str());
}

} // namespace

std::string TextureFailureText(const std::string& path, std::int32_t status, TavironAccess access) {
    return "Cannot read texture " + path + ":\n" + taviron_status_text(status, access) + ".";
}

void RunDialogCommand(EditorWindow& window, int command) {
    switch (command) {
    case IDM_ADD_VERTEX:
        window.dialog_box(IDD_VERTEX, 0);
        break;
    case IDM_ADD_FACE:
        window.dialog_box(IDD_FACE, 0);
        break;
    case IDM_ADD_DUMMY:
        window.dialog_box(IDD_DUMMY, 0);
        break;
    case IDM_ADD_MATERIAL:
        window.dialog_box(IDD_MATERIAL, -1);
        break;
    case IDM_MODEL_PREVIEW:
        window.dialog_box(IDD_MODEL_PREVIEW, -1);
        break;
    default:
        return;
    }
    window.invalidate();
}

void ModifyMaterialCommand(EditorWindow& window, const Model* model) {
    const std::int32_t material = BrowseMaterial(window, model);
    if (material >= 0) window.dialog_box(IDD_MATERIAL, material);
    window.invalidate();
}

void AssignTextureCommand(EditorWindow& window, EditorState& state, Model* model) {
    const std::int32_t material = BrowseMaterial(window, model);
    if (material < 0) {
        window.invalidate();
        return;
    }
    const auto choice = window.file_dialog(TextureOpenRequest());
    if (!choice) {
        window.invalidate();
        return;
    }
    // The filter left selected decides how the file is read, whatever its name.
    Taviron picture;
    const TavironAccess access = PictureAccess(choice->filter_index);
    const std::int32_t status = ReadPicture(picture, choice->path, access);
    if (status != TAV_OK) {
        window.message_box(TextureFailureText(choice->path, status, access), kEditorTitle,
                           platform::BoxStyle::icon_stop);
        window.invalidate();
        return;
    }
    std::uint32_t texture = 0;
    if (glview::view_make_current(state.view) == glview::VIEW_OK) texture = picture.make_texture_mipmapped();
    if (texture == 0) {
        window.message_box("Cannot make a texture of " + choice->path +
                               ":\nthe picture is empty or larger than 1024 pixels, or no view is open.",
                           kEditorTitle, platform::BoxStyle::icon_stop);
    } else {
        SetMaterialTexture(model, material, std::int32_t(texture));
    }
    window.invalidate();
}

void FacePropertiesKey(EditorWindow& window, EditorState& state) {
    if (state.pickKind != PICK_FACE) return;
    if (state.mouseLook) window.send_message(WM_RBUTTONDBLCLK, 0, 0);
    window.dialog_box(IDD_FACE_PROPERTIES, state.pickIndex);
    window.invalidate();
}

} // namespace editor
