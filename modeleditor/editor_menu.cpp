#include "modeleditor/editor_menu.h"

#include "modeleditor/editor_ids.h"

namespace editor {
namespace {

constexpr const char* kTitles[] = {"File", "Add",     "Materials", "Show",
                                   "View", "Shading", "Specials",  "Transformations"};

enum {
    FILE_MENU,
    ADD_MENU,
    MATERIALS_MENU,
    SHOW_MENU,
    VIEW_MENU,
    SHADING_MENU,
    SPECIALS_MENU,
    TRANSFORM_MENU
};

constexpr EditorMenuItem kItems[] = {
    {FILE_MENU, "New", IDM_NEW, MF_STRING},
    {FILE_MENU, "Open...", IDM_OPEN, MF_STRING},
    {FILE_MENU, "Import ASC...", IDM_IMPORT_ASC, MF_STRING},
    {FILE_MENU, "Import ASC advanced...", IDM_IMPORT_ASC_ADVANCED, MF_STRING},
    {FILE_MENU, "Save as pure Korvex...", IDM_SAVE_PURE, MF_STRING},
    {FILE_MENU, "Save as compressed Korvex...", IDM_SAVE_COMPRESSED, MF_STRING},
    {FILE_MENU, "", -1, MF_SEPARATOR},
    {FILE_MENU, "Exit", IDM_EXIT, MF_STRING},

    {ADD_MENU, "Vertex", IDM_ADD_VERTEX, MF_STRING},
    {ADD_MENU, "Face", IDM_ADD_FACE, MF_STRING},
    {ADD_MENU, "Dummy", IDM_ADD_DUMMY, MF_STRING},
    {ADD_MENU, "Material", IDM_ADD_MATERIAL, MF_STRING},

    {MATERIALS_MENU, "Modify material", IDM_MODIFY_MATERIAL, MF_STRING},
    {MATERIALS_MENU, "Assign temporary texture to material", IDM_ASSIGN_TEXTURE, MF_STRING},
    {MATERIALS_MENU, "", -1, MF_SEPARATOR},

    {SHOW_MENU, "Full graphics", IDM_RENDER_FILL, MF_CHECKED},
    {SHOW_MENU, "Lines", IDM_RENDER_LINES, MF_STRING},
    {SHOW_MENU, "Points", IDM_RENDER_POINTS, MF_STRING},

    {VIEW_MENU, "Axes", IDM_VIEW_AXES, MF_CHECKED},
    {VIEW_MENU, "Points every 1 unit", IDM_VIEW_POINT_GRID, MF_CHECKED},
    {VIEW_MENU, "Surface at 0 level", IDM_VIEW_SURFACE, MF_CHECKED},
    {VIEW_MENU, "Light", IDM_VIEW_LIGHT, MF_CHECKED},
    {VIEW_MENU, "Normals", IDM_VIEW_NORMALS, MF_CHECKED},
    {VIEW_MENU, "Vertices", IDM_VIEW_VERTICES, MF_CHECKED},
    {VIEW_MENU, "", -1, MF_SEPARATOR},

    {SHADING_MENU, "Flat", IDM_SHADE_FLAT, MF_STRING},
    {SHADING_MENU, "Smooth", IDM_SHADE_SMOOTH, MF_CHECKED},

    // A warning caption heading the menu; greyed, it never sends its identifier.
    {SPECIALS_MENU, "Pozor na to!", 0xFFFF, MF_GRAYED},
    {SPECIALS_MENU, "", -1, MF_SEPARATOR},
    {SPECIALS_MENU, "Copy around X axis", IDM_COPY_AROUND_X, MF_STRING},
    {SPECIALS_MENU, "Copy around Y axis", IDM_COPY_AROUND_Y, MF_STRING},
    {SPECIALS_MENU, "Copy around Y axis", IDM_COPY_AROUND_Y2, MF_STRING},
    {SPECIALS_MENU, "Swap Y and Z axis", IDM_SWAP_YZ, MF_STRING},
    {SPECIALS_MENU, "", -1, MF_SEPARATOR},
    {SPECIALS_MENU, "Swap all normals", IDM_SWAP_NORMALS, MF_STRING},

    {TRANSFORM_MENU, "Up 0.01\tU", IDM_MOVE_UP, MF_STRING},
    {TRANSFORM_MENU, "Down 0.01\tJ", IDM_MOVE_DOWN, MF_STRING},
    {TRANSFORM_MENU, "Left 0.01\tH", IDM_MOVE_LEFT, MF_STRING},
    {TRANSFORM_MENU, "Right 0.01\tL", IDM_MOVE_RIGHT, MF_STRING},
    {TRANSFORM_MENU, "Far 0.01\tO", IDM_MOVE_FAR, MF_STRING},
    {TRANSFORM_MENU, "Near 0.01\tI", IDM_MOVE_NEAR, MF_STRING},
};

} // namespace

std::span<const char* const> editor_menu_titles() {
    return kTitles;
}

std::span<const EditorMenuItem> editor_menu_items() {
    return kItems;
}

} // namespace editor
