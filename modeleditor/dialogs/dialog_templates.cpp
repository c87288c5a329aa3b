#include "modeleditor/dialogs/dialog_templates.h"

#include <vector>

#include "modeleditor/dialogs/dialog_controls.h"

namespace editor {
namespace {

using namespace platform;
using C = ControlClass;

constexpr std::uint32_t kDialogStyle =
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
constexpr std::uint32_t kResizableStyle =
    WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME | DS_SETFONT;
constexpr std::uint32_t kDefButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr std::uint32_t kSwatch = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
constexpr std::uint32_t kEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
constexpr std::uint32_t kLeft = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT;
constexpr std::uint32_t kRight = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_RIGHT;
constexpr std::uint32_t kSunken = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT | SS_SUNKEN;
constexpr std::uint32_t kTrackbar = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_AUTOTICKS;
constexpr std::uint32_t kListBox = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY;

DialogTemplate Dialog(int id, const char* caption, std::uint32_t style, int x, int y, int width, int height,
                      std::vector<DialogControl> controls) {
    return {id, caption, style, x, y, width, height, "Helv", 8, std::move(controls)};
}

DialogTemplate VertexTemplate() {
    return Dialog(
        IDD_VERTEX, "Vertex", kDialogStyle, 120, 33, 180, 122,
        {
            {IDOK, C::Button, "Insert", kDefButton, 115, 99, 59, 14},
            {102, C::Static, "Zadejte koordinaty pro novy vrchol. Pripraveny jsou koordinaty kurzoru.", kLeft,
             6, 6, 168, 19},
            {IDC_X, C::Edit, "", kEdit, 69, 38, 65, 12},
            {IDC_Y, C::Edit, "", kEdit, 69, 53, 65, 12},
            {IDC_Z, C::Edit, "", kEdit, 69, 68, 65, 12},
            {106, C::Static, "X", kRight, 28, 40, 36, 12},
            {107, C::Static, "Y", kRight, 25, 55, 39, 12},
            {108, C::Static, "Z", kRight, 27, 70, 37, 12},
            {IDCANCEL, C::Button, "Cancel", kButton, 53, 99, 59, 14},
        });
}

// The controls that the Face and Face properties dialogs share, after their first button and text.
std::vector<DialogControl> FaceFields() {
    return {
        {IDC_VERTEX_A, C::Edit, "", kEdit, 69, 38, 65, 12},
        {IDC_VERTEX_B, C::Edit, "", kEdit, 69, 53, 65, 12},
        {IDC_VERTEX_C, C::Edit, "", kEdit, 69, 68, 65, 12},
        {IDC_FACE_MATERIAL, C::Edit, "", kEdit, 69, 83, 65, 12},
        {106, C::Static, "vertex 1", kRight, 28, 40, 36, 12},
        {107, C::Static, "vertex 2", kRight, 25, 55, 39, 12},
        {108, C::Static, "vertex 3", kRight, 27, 70, 37, 12},
        {109, C::Static, "material", kRight, 27, 85, 37, 12},
        {IDC_STATIC, C::Static, "tex coord 1", kRight, 178, 40, 36, 12},
        {IDC_STATIC, C::Static, "tex coord 2", kRight, 175, 55, 39, 12},
        {IDC_STATIC, C::Static, "tex coord 3", kRight, 177, 70, 37, 12},
        {IDC_TEX_S_A, C::Edit, "", kEdit, 219, 38, 35, 12},
        {IDC_TEX_S_B, C::Edit, "", kEdit, 219, 53, 35, 12},
        {IDC_TEX_S_C, C::Edit, "", kEdit, 219, 68, 35, 12},
        {IDC_TEX_T_A, C::Edit, "", kEdit, 259, 38, 35, 12},
        {IDC_TEX_T_B, C::Edit, "", kEdit, 259, 53, 35, 12},
        {IDC_TEX_T_C, C::Edit, "", kEdit, 259, 68, 35, 12},
        {IDCANCEL, C::Button, "Cancel", kButton, 253, 119, 59, 14},
    };
}

DialogTemplate FaceTemplate() {
    std::vector<DialogControl> controls = {
        {IDOK, C::Button, "Insert", kDefButton, 315, 119, 59, 14},
        {102, C::Static, "Zadejte cisla vertexu, ze kterych chcete vytvorit face. Normala je CCW.", kLeft, 6,
         6, 168, 19},
    };
    for (DialogControl& control : FaceFields())
        controls.push_back(std::move(control));
    return Dialog(IDD_FACE, "Face", kDialogStyle, 120, 33, 380, 142, std::move(controls));
}

DialogTemplate FacePropertiesTemplate() {
    std::vector<DialogControl> controls = {
        {IDOK, C::Button, "Set", kDefButton, 315, 119, 59, 14},
        {102, C::Static, "Zmena koordinatu, nastaveni materialu.", kLeft, 6, 6, 168, 19},
    };
    for (DialogControl& control : FaceFields())
        controls.push_back(std::move(control));
    controls.push_back({IDC_APPLY, C::Button, "Pouzit = test", kButton, 153, 119, 80, 14});
    return Dialog(IDD_FACE_PROPERTIES, "Face properties", kDialogStyle, 120, 33, 380, 142,
                  std::move(controls));
}

DialogTemplate DummyTemplate() {
    return Dialog(IDD_DUMMY, "Dummy", kDialogStyle, 120, 33, 180, 142,
                  {
                      {IDOK, C::Button, "Insert", kDefButton, 115, 119, 59, 14},
                      {102, C::Static, "Zadejte koordinaty pro dummyho. Pripraveny jsou koordinaty kurzotu.",
                       kLeft, 6, 6, 168, 19},
                      {IDC_X, C::Edit, "", kEdit, 69, 38, 65, 12},
                      {IDC_Y, C::Edit, "", kEdit, 69, 53, 65, 12},
                      {IDC_Z, C::Edit, "", kEdit, 69, 68, 65, 12},
                      {IDC_DUMMY_ID, C::Edit, "", kEdit, 69, 83, 65, 12},
                      {109, C::Static, "ID", kRight, 28, 85, 36, 12},
                      {106, C::Static, "X", kRight, 28, 40, 36, 12},
                      {107, C::Static, "Y", kRight, 25, 55, 39, 12},
                      {108, C::Static, "Z", kRight, 27, 70, 37, 12},
                      {IDCANCEL, C::Button, "Cancel", kButton, 53, 119, 59, 14},
                  });
}

DialogTemplate MaterialTemplate() {
    return Dialog(
        IDD_MATERIAL, "Material", kDialogStyle, 88, 101, 423, 157,
        {
            {IDOK, C::Button, "Set", kDefButton, 355, 134, 59, 14},
            {IDC_STATIC, C::Static, "Navolte si barvu a pak ji muzete pouzit. Tady se neda nastavit.", kLeft,
             6, 6, 168, 19},
            {IDC_STATIC, C::Static, "Nazev materialu:\n(engine podle nazvu voli textury)", kRight, 180, 6,
             120, 19},
            {IDC_MATERIAL_NAME, C::Edit, "", kEdit, 310, 6, 110, 11},
            {IDCANCEL, C::Button, "Cancel", kButton, 293, 134, 59, 14},
            {IDC_REMOVE_TEXTURE, C::Button, "Odstranit prirazenou texturu", kButton, 190, 134, 100, 14},
            {IDC_MATERIAL_NUMBER, C::Static, "", kLeft, 164, 117, 89, 12},
            {105, C::Static, "Ambient color", kSunken, 6, 28, 76, 84},
            {103, C::Static, "Diffuse color", kSunken, 84, 28, 76, 84},
            {106, C::Static, "Specular color", kSunken, 162, 28, 76, 84},
            {IDC_STATIC, C::Static, "Emission color", kSunken, 248, 28, 76, 84},
            {107, C::Static, "Example", kSunken, 332, 28, 83, 10},
            {108, C::Static, "Specular intensity", kSunken, 6, 117, 154, 30},
            {IDC_SHININESS, C::Trackbar, "", kTrackbar, 7, 127, 151, 18},
            {IDC_AMBIENT_SWATCH, C::Button, "", kSwatch, 8, 95, 72, 15},
            {IDC_DIFFUSE_SWATCH, C::Button, "", kSwatch, 86, 95, 72, 15},
            {IDC_SPECULAR_SWATCH, C::Button, "", kSwatch, 163, 95, 72, 15},
            {IDC_EMISSION_SWATCH, C::Button, "", kSwatch, 249, 95, 72, 15},
            {115, C::Static, "Red", kLeft, 16, 43, 20, 12},
            {116, C::Static, "Green", kLeft, 16, 56, 20, 12},
            {117, C::Static, "Blue", kLeft, 16, 68, 20, 12},
            {IDC_AMBIENT_RED, C::Edit, "", kEdit, 41, 43, 32, 11},
            {IDC_AMBIENT_GREEN, C::Edit, "", kEdit, 41, 55, 32, 11},
            {IDC_AMBIENT_BLUE, C::Edit, "", kEdit, 41, 67, 32, 11},
            {121, C::Static, "Red", kLeft, 97, 42, 20, 12},
            {122, C::Static, "Green", kLeft, 97, 55, 20, 12},
            {123, C::Static, "Blue", kLeft, 97, 67, 20, 12},
            {IDC_STATIC, C::Static, "Alpha", kLeft, 97, 79, 20, 12},
            {IDC_DIFFUSE_RED, C::Edit, "", kEdit, 122, 42, 32, 11},
            {IDC_DIFFUSE_GREEN, C::Edit, "", kEdit, 122, 54, 32, 11},
            {IDC_DIFFUSE_BLUE, C::Edit, "", kEdit, 122, 66, 32, 11},
            {IDC_DIFFUSE_ALPHA, C::Edit, "", kEdit, 122, 78, 32, 11},
            {127, C::Static, "Red", kLeft, 169, 41, 20, 12},
            {128, C::Static, "Green", kLeft, 169, 54, 20, 12},
            {129, C::Static, "Blue", kLeft, 169, 66, 20, 12},
            {IDC_SPECULAR_RED, C::Edit, "", kEdit, 194, 41, 32, 11},
            {IDC_SPECULAR_GREEN, C::Edit, "", kEdit, 194, 53, 32, 11},
            {IDC_SPECULAR_BLUE, C::Edit, "", kEdit, 194, 65, 32, 11},
            {IDC_STATIC, C::Static, "Red", kLeft, 255, 41, 20, 12},
            {IDC_STATIC, C::Static, "Green", kLeft, 255, 54, 20, 12},
            {IDC_STATIC, C::Static, "Blue", kLeft, 255, 66, 20, 12},
            {IDC_EMISSION_RED, C::Edit, "", kEdit, 280, 41, 32, 11},
            {IDC_EMISSION_GREEN, C::Edit, "", kEdit, 280, 53, 32, 11},
            {IDC_EMISSION_BLUE, C::Edit, "", kEdit, 280, 65, 32, 11},
        });
}

DialogTemplate MaterialBrowserTemplate() {
    return Dialog(IDD_MATERIAL_BROWSER, "Material browser", kDialogStyle, 88, 90, 311, 168,
                  {
                      {IDOK, C::Button, "Cont...", kDefButton, 245, 148, 59, 14},
                      {102, C::Static, "Nahled ukazuje posledni data, proto nejprve vyber nejaky material.",
                       kLeft, 6, 6, 168, 19},
                      {IDCANCEL, C::Button, "Cancel", kButton, 183, 148, 59, 14},
                      {107, C::Static, "Example", kSunken, 164, 27, 139, 10},
                      {IDC_MATERIAL_LIST, C::ListBox, "", kListBox, 6, 27, 154, 112},
                  });
}

DialogTemplate ModelPreviewTemplate() {
    return Dialog(IDD_MODEL_PREVIEW, "Vertex", kResizableStyle, 120, 33, 280, 222,
                  {
                      {IDOK, C::Button, "OK", kDefButton, 1, 1, 59, 14},
                  });
}

} // namespace

const DialogTemplate* EditorDialogTemplate(int id) {
    static const DialogTemplate templates[] = {
        VertexTemplate(),          FaceTemplate(),           DummyTemplate(),       MaterialTemplate(),
        MaterialBrowserTemplate(), FacePropertiesTemplate(), ModelPreviewTemplate()};
    for (const DialogTemplate& dialogTemplate : templates)
        if (dialogTemplate.id == id) return &dialogTemplate;
    return nullptr;
}

} // namespace editor
