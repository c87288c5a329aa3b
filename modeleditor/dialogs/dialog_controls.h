#pragma once
// Identifiers of the dialog controls that the dialog procedures read or write, shared by the
// templates that place them and the procedures that use them. Labels keep plain numbers.

namespace editor {

// Vertex and Dummy: the coordinates. Face and Face properties: the three vertex numbers.
enum : int {
    IDC_X = 103,
    IDC_Y = 104,
    IDC_Z = 105,
    IDC_VERTEX_A = 103,
    IDC_VERTEX_B = 104,
    IDC_VERTEX_C = 105,
    IDC_FACE_MATERIAL = 110, // Face, Face properties
    IDC_DUMMY_ID = 110,      // Dummy
    // Texture coordinates of the three corners: s then t.
    IDC_TEX_S_A = 121,
    IDC_TEX_S_B = 122,
    IDC_TEX_S_C = 123,
    IDC_TEX_T_A = 124,
    IDC_TEX_T_B = 125,
    IDC_TEX_T_C = 126,
    IDC_APPLY = 191, // Face properties: "Pouzit = test"
};

// Material dialog and Material browser.
enum : int {
    IDC_MATERIAL_LIST = 103, // browser
    IDC_MATERIAL_NUMBER = 104,
    IDC_SHININESS = 110,
    IDC_MATERIAL_NAME = 191,
    IDC_REMOVE_TEXTURE = 192,
    IDC_AMBIENT_SWATCH = 112,
    IDC_DIFFUSE_SWATCH = 113,
    IDC_SPECULAR_SWATCH = 114,
    IDC_EMISSION_SWATCH = 136,
    IDC_AMBIENT_RED = 118,
    IDC_AMBIENT_GREEN = 119,
    IDC_AMBIENT_BLUE = 120,
    IDC_DIFFUSE_RED = 124,
    IDC_DIFFUSE_GREEN = 125,
    IDC_DIFFUSE_BLUE = 126,
    IDC_DIFFUSE_ALPHA = 142,
    IDC_SPECULAR_RED = 130,
    IDC_SPECULAR_GREEN = 131,
    IDC_SPECULAR_BLUE = 132,
    IDC_EMISSION_RED = 133,
    IDC_EMISSION_GREEN = 134,
    IDC_EMISSION_BLUE = 135,
    // The alphas of ambient, specular and emission have identifiers but no control.
    IDC_AMBIENT_ALPHA = 141,
    IDC_SPECULAR_ALPHA = 143,
    IDC_EMISSION_ALPHA = 144,
};

} // namespace editor
