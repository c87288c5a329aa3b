#include "modeleditor/editor_window_proc.h"

#include "glview/font.h"
#include "glview/view_context.h"
#include "model/asc_import.h"
#include "model/korvex_file.h"
#include "model/model_transform.h"
#include "modeleditor/dialogs/material_commands.h"
#include "modeleditor/editor_frame.h"
#include "modeleditor/editor_ids.h"
#include "modeleditor/element_edits.h"
#include "modeleditor/file_failure.h"
#include "modeleditor/pick.h"

#include <algorithm>
#include <cctype>

namespace editor {
namespace {

// One step of a held camera key, and of the cursor per pixel of mouse motion.
constexpr double kCameraDistanceStep = 0.05;
constexpr double kCameraAngleStep = 0.5;
constexpr double kCursorStepPerPixel = 0.01;
constexpr double kMoveStep = 0.01;

float Stepped(float value, double by) {
    return float(double(value) + by);
}

FileDialogRequest AscOpenRequest() {
    return {false, {{"3D studio ASC (*.asc)", "*.asc"}}, "asc", true};
}

FileDialogRequest KorvexSaveRequest() {
    return {true, {{"Korvex soubor (*.Korvex;*.Kor)", "*.Korvex;*.Kor"}}, "Korvex", false};
}

bool HasAscExtension(const std::string& path) {
    if (path.size() < 4) return false;
    std::string tail = path.substr(path.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return tail == ".asc";
}

} // namespace

EditorWindowProc::EditorWindowProc(EditorWindow& window) : window_(window) {
    ModelInit(&model_);
}

EditorWindowProc::~EditorWindowProc() {
    ModelRelease(&model_);
}

std::intptr_t EditorWindowProc::handle(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
    case WM_CREATE:
        on_create();
        return 0;
    case WM_DESTROY:
        on_destroy();
        return 0;
    case WM_SIZE:
        on_size(std::uint32_t(lParam) & 0xFFFF, (std::uint32_t(lParam) >> 16) & 0xFFFF);
        return 0;
    case WM_PAINT:
        on_paint();
        return 0;
    case WM_ERASEBKGND:
        on_erase_background();
        return 1;
    case WM_KEYDOWN:
        on_key_down(std::uint32_t(wParam));
        return 0;
    case WM_KEYUP:
        on_key_up(std::uint32_t(wParam));
        return 0;
    case WM_CHAR:
        on_char(std::uint32_t(wParam));
        return 0;
    case WM_COMMAND:
        on_command(int(wParam & 0xFFFF));
        return 0;
    case WM_TIMER:
        on_timer(std::uint32_t(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        on_left_button_down();
        return 0;
    case WM_LBUTTONUP:
        on_left_button_up();
        return 0;
    case WM_LBUTTONDBLCLK:
        on_left_double_click();
        return 0;
    case WM_RBUTTONDOWN:
        on_right_button_down();
        return 0;
    case WM_RBUTTONUP:
        on_right_button_up();
        return 0;
    case WM_RBUTTONDBLCLK:
        on_right_double_click();
        return 0;
    default:
        return 0;
    }
}

void EditorWindowProc::on_create() {
    state_.view = glview::view_create(window_.gl_surface());
    state_.view->zNear = 0.01f;
    state_.view->zFar = 64.0f;
    state_.outlineFont = glview::font_create_outline(state_.view, 14, 0, 0.0f, 0.0f, 0, 0, 0, "Verdana");
    state_.bitmapFont = glview::font_create_bitmap(state_.view, 14, 0, 0, 0, 0, "Verdana");
    window_.set_timer(kTimerCameraKeys, kCameraKeysPeriodMs);
    window_.set_timer(kTimerMouseLook, kMouseLookPeriodMs);
    glview::view_set_clear_color(state_.view, 0x000000, 0.1f);
}

void EditorWindowProc::on_destroy() {
    if (glview::view_has_context(state_.view)) {
        // The fonts' lists go with the context; their records are freed while it is current.
        glview::view_make_current(state_.view);
        if (state_.outlineFont) glview::font_free(state_.view, state_.outlineFont);
        if (state_.bitmapFont) glview::font_free(state_.view, state_.bitmapFont);
    }
    state_.outlineFont = nullptr;
    state_.bitmapFont = nullptr;
    glview::view_release(window_.gl_surface(), state_.view);
    state_.view = nullptr;
    window_.post_quit(0);
}

void EditorWindowProc::on_size(std::uint32_t width, std::uint32_t height) {
    glview::view_resize(state_.view, width, height);
    window_.invalidate();
}

void EditorWindowProc::on_paint() {
    if (glview::view_has_context(state_.view)) DrawEditorFrame(state_, &model_, window_.gl_surface());
}

void EditorWindowProc::on_erase_background() {
    glview::view_current_clear(state_.view);
}

void EditorWindowProc::on_key_down(std::uint32_t virtualKey) {
    if (virtualKey < 256) state_.keyDown[virtualKey] = 1;
    if (virtualKey == VK_DELETE) {
        DeletePick(state_, &model_);
        window_.invalidate();
    }
}

void EditorWindowProc::on_key_up(std::uint32_t virtualKey) {
    if (virtualKey < 256) state_.keyDown[virtualKey] = 0;
}

void EditorWindowProc::on_char(std::uint32_t character) {
    switch (character) {
    case ' ':
        state_.pickCycle += 1;
        window_.send_message(WM_TIMER, kTimerMouseLookNow, 0);
        break;
    case 'f':
        if (state_.pickKind == PICK_FACE) {
            FlipFace(&model_, state_.pickIndex);
            window_.invalidate();
        }
        break;
    case 'm':
        FacePropertiesKey(window_, state_);
        break;
    case 'u':
        window_.post_message(WM_COMMAND, IDM_MOVE_UP, 0);
        break;
    case 'j':
        window_.post_message(WM_COMMAND, IDM_MOVE_DOWN, 0);
        break;
    case 'h':
        window_.post_message(WM_COMMAND, IDM_MOVE_LEFT, 0);
        break;
    case 'k':
        window_.post_message(WM_COMMAND, IDM_MOVE_RIGHT, 0);
        break;
    case 'o':
        window_.post_message(WM_COMMAND, IDM_MOVE_FAR, 0);
        break;
    case 'i':
        window_.post_message(WM_COMMAND, IDM_MOVE_NEAR, 0);
        break;
    default:
        break;
    }
}

void EditorWindowProc::on_timer(std::uint32_t id) {
    if (id == kTimerCameraKeys)
        camera_keys_step();
    else if (id == kTimerMouseLook)
        mouse_look_step(false);
    else if (id == kTimerMouseLookNow)
        mouse_look_step(true);
}

void EditorWindowProc::camera_keys_step() {
    struct Binding {
        std::uint32_t key;
        float* value;
        double step;
    };
    const Binding bindings[] = {
        {VK_ADD, &state_.cameraDistance, kCameraDistanceStep},
        {VK_SUBTRACT, &state_.cameraDistance, -kCameraDistanceStep},
        {VK_LEFT, &state_.cameraYaw, kCameraAngleStep},
        {VK_RIGHT, &state_.cameraYaw, -kCameraAngleStep},
        {VK_UP, &state_.cameraPitch, kCameraAngleStep},
        {VK_DOWN, &state_.cameraPitch, -kCameraAngleStep},
    };
    for (const Binding& binding : bindings) {
        if (state_.keyDown[binding.key]) {
            *binding.value = Stepped(*binding.value, binding.step);
            window_.invalidate();
        }
    }
}

ScreenPoint EditorWindowProc::window_centre() const {
    const ScreenRect rect = window_.window_rect();
    return {rect.left + (rect.right - rect.left) / 2, rect.top + (rect.bottom - rect.top) / 2};
}

void EditorWindowProc::mouse_look_step(bool evenWithoutMotion) {
    if (!state_.mouseLook) return;
    const ScreenPoint centre = window_centre();
    const ScreenPoint pointer = window_.pointer_position();
    if (!evenWithoutMotion && pointer == centre) return;
    window_.set_pointer_position(centre);
    const double dx = double(pointer.x - centre.x) * kCursorStepPerPixel;
    const double dy = double(pointer.y - centre.y) * kCursorStepPerPixel;
    // Moving the mouse away from the user moves the cursor towards -Z, or up while the right
    // button is held. The axis the mouse does not drive gets -0.0, which leaves every value as
    // it is (0.0 would turn a -0.0 coordinate of a dragged element into 0.0).
    const double moveY = state_.verticalIsY ? -dy : -0.0;
    const double moveZ = state_.verticalIsY ? -0.0 : dy;
    state_.cursorPos[0] = Stepped(state_.cursorPos[0], dx);
    state_.cursorPos[1] = Stepped(state_.cursorPos[1], moveY);
    state_.cursorPos[2] = Stepped(state_.cursorPos[2], moveZ);
    if (state_.dragging) {
        if (state_.pickKind != PICK_NOTHING) MovePick(state_, &model_, dx, moveY, moveZ);
    } else if (RunPick(state_, &model_)) {
        window_.post_message(WM_TIMER, kTimerMouseLookNow, 0);
    }
    window_.invalidate();
}

void EditorWindowProc::on_left_button_down() {
    state_.dragging = true;
}

void EditorWindowProc::on_left_button_up() {
    state_.dragging = false;
}

void EditorWindowProc::on_left_double_click() {
    AddVertex(&model_, state_.cursorPos[0], state_.cursorPos[1], state_.cursorPos[2], 0);
    window_.invalidate();
}

void EditorWindowProc::on_right_button_down() {
    state_.verticalIsY = true;
}

void EditorWindowProc::on_right_button_up() {
    state_.verticalIsY = false;
}

void EditorWindowProc::on_right_double_click() {
    state_.mouseLook = !state_.mouseLook;
    window_.show_pointer(!state_.mouseLook);
    window_.set_pointer_position(window_centre());
}

// --- Commands ---

void EditorWindowProc::on_command(int id) {
    switch (id) {
    case IDM_NEW:
        new_model();
        window_.invalidate();
        break;
    case IDM_OPEN:
    case IDM_IMPORT_ASC:
    case IDM_IMPORT_ASC_ADVANCED:
        load_command(id);
        window_.invalidate();
        break;
    case IDM_SAVE_PURE:
    case IDM_SAVE_COMPRESSED:
        save_command(id);
        break;
    case IDM_EXIT:
        window_.destroy_window();
        break;
    case IDM_ADD_VERTEX:
    case IDM_ADD_FACE:
    case IDM_ADD_DUMMY:
    case IDM_ADD_MATERIAL:
    case IDM_MODEL_PREVIEW:
        RunDialogCommand(window_, id);
        break;
    case IDM_MODIFY_MATERIAL:
        ModifyMaterialCommand(window_, &model_);
        break;
    case IDM_ASSIGN_TEXTURE:
        AssignTextureCommand(window_, state_, &model_);
        break;
    case IDM_RENDER_FILL:
        set_render_mode(0);
        break;
    case IDM_RENDER_LINES:
        set_render_mode(1);
        break;
    case IDM_RENDER_POINTS:
        set_render_mode(2);
        break;
    case IDM_VIEW_AXES:
        toggle_view_switch(state_.showAxes, id);
        break;
    case IDM_VIEW_POINT_GRID:
        toggle_view_switch(state_.showPointGrid, id);
        break;
    case IDM_VIEW_SURFACE:
        toggle_view_switch(state_.showSurface, id);
        break;
    case IDM_VIEW_LIGHT:
        toggle_view_switch(state_.showLight, id);
        break;
    case IDM_VIEW_NORMALS:
        toggle_view_switch(state_.showNormals, id);
        break;
    case IDM_VIEW_VERTICES:
        toggle_view_switch(state_.showVertices, id);
        break;
    case IDM_SHADE_FLAT:
        set_shade_mode(0);
        break;
    case IDM_SHADE_SMOOTH:
        set_shade_mode(1);
        break;
    case IDM_SHADE_SMOOTH_NO_NORMALS:
        set_shade_mode(2);
        break;
    case IDM_COPY_AROUND_X:
        CopyMirrored(&model_, MirrorAxis::Z);
        window_.invalidate();
        break;
    case IDM_COPY_AROUND_Y:
        CopyMirrored(&model_, MirrorAxis::X);
        window_.invalidate();
        break;
    case IDM_COPY_AROUND_Y2:
        CopyMirrored(&model_, MirrorAxis::Y);
        window_.invalidate();
        break;
    case IDM_SWAP_YZ:
        ModelSwapYZ(&model_);
        window_.invalidate();
        break;
    case IDM_SWAP_NORMALS:
        FlipAllFaces(&model_);
        window_.invalidate();
        break;
    case IDM_MOVE_UP:
        MoveAllVertices(&model_, 0.0, kMoveStep, 0.0);
        window_.invalidate();
        break;
    case IDM_MOVE_DOWN:
        MoveAllVertices(&model_, 0.0, -kMoveStep, 0.0);
        window_.invalidate();
        break;
    case IDM_MOVE_LEFT:
        MoveAllVertices(&model_, -kMoveStep, 0.0, 0.0);
        window_.invalidate();
        break;
    case IDM_MOVE_RIGHT:
        MoveAllVertices(&model_, kMoveStep, 0.0, 0.0);
        window_.invalidate();
        break;
    case IDM_MOVE_FAR:
        MoveAllVertices(&model_, 0.0, 0.0, -kMoveStep);
        window_.invalidate();
        break;
    case IDM_MOVE_NEAR:
        MoveAllVertices(&model_, 0.0, 0.0, kMoveStep);
        window_.invalidate();
        break;
    default:
        window_.message_box("TODO", "TODO", MB_OK);
        break;
    }
}

void EditorWindowProc::set_render_mode(std::int32_t mode) {
    state_.renderMode = mode;
    window_.check_menu_item(IDM_RENDER_FILL, mode == 0);
    window_.check_menu_item(IDM_RENDER_LINES, mode == 1);
    window_.check_menu_item(IDM_RENDER_POINTS, mode == 2);
    window_.invalidate();
}

void EditorWindowProc::set_shade_mode(std::int32_t mode) {
    state_.shadeMode = mode;
    window_.check_menu_item(IDM_SHADE_FLAT, mode == 0);
    window_.check_menu_item(IDM_SHADE_SMOOTH, mode == 1);
    window_.check_menu_item(IDM_SHADE_SMOOTH_NO_NORMALS, mode == 2);
    window_.invalidate();
}

void EditorWindowProc::toggle_view_switch(bool& value, int id) {
    value = !value;
    window_.check_menu_item(id, value);
    window_.invalidate();
}

void EditorWindowProc::model_replaced() {
    // A pick names an element of the old model; it must not act on the new one.
    state_.pickKind = PICK_NOTHING;
    state_.pickIndex = 0;
}

void EditorWindowProc::new_model() {
    ModelRelease(&model_);
    ModelInit(&model_);
    model_replaced();
}

void EditorWindowProc::show_file_failure(FileOperation operation, const std::string& path,
                                         std::int32_t status) {
    window_.message_box(FileFailureText(operation, path, status), kEditorTitle, MB_OK | MB_ICONHAND);
}

void EditorWindowProc::load_command(int id) {
    const auto choice = window_.file_dialog(id == IDM_OPEN ? ModelOpenRequest() : AscOpenRequest());
    if (!choice) return;
    if (id == IDM_OPEN && (IsForeignModelPath(choice->path) || HasAscExtension(choice->path))) {
        open_file(choice->path);
        return;
    }
    std::int32_t status;
    if (id == IDM_OPEN)
        status = ModelLoad(&model_, choice->path.c_str());
    else if (id == IDM_IMPORT_ASC)
        status = ImportAsc(&model_, choice->path.c_str());
    else
        status = ImportAscAdvanced(&model_, choice->path.c_str());
    if (status != MODEL_OK) {
        show_file_failure(id == IDM_OPEN ? FileOperation::Open : FileOperation::Import, choice->path, status);
        return;
    }
    model_replaced();
}

void EditorWindowProc::save_command(int id) {
    const auto choice = window_.file_dialog(KorvexSaveRequest());
    if (!choice) return;
    const std::int32_t status = id == IDM_SAVE_PURE ? ModelSave(&model_, choice->path.c_str())
                                                    : ModelSaveCompressed(&model_, choice->path.c_str());
    if (status != MODEL_OK) show_file_failure(FileOperation::Save, choice->path, status);
}

std::int32_t EditorWindowProc::open_file(const std::string& path) {
    if (IsForeignModelPath(path)) {
        std::string reason;
        const std::int32_t status = ImportForeignModel(&model_, foreignImporter_, path, &reason);
        if (status != MODEL_OK)
            window_.message_box(ForeignFailureText(path, reason), kEditorTitle, MB_OK | MB_ICONHAND);
        else
            model_replaced();
        window_.invalidate();
        return status;
    }
    const bool asc = HasAscExtension(path);
    const std::int32_t status =
        asc ? ImportAscAdvanced(&model_, path.c_str()) : ModelLoad(&model_, path.c_str());
    if (status != MODEL_OK)
        show_file_failure(asc ? FileOperation::Import : FileOperation::Open, path, status);
    else
        model_replaced();
    window_.invalidate();
    return status;
}

} // namespace editor
