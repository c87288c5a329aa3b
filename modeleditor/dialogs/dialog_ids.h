#pragma once
// Identifiers of the editor's dialog templates.

namespace editor {

enum : int {
    IDD_VERTEX = 101,
    IDD_FACE = 102,
    IDD_DUMMY = 103,
    IDD_MATERIAL = 104,
    IDD_MATERIAL_BROWSER = 107,
    IDD_FACE_PROPERTIES = 108,
    IDD_MODEL_PREVIEW = 109,
};

} // namespace editor
