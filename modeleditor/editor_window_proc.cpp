#include "modeleditor/editor_window_proc.h"

#include "glview/font.h"
#include "glview/view_context.h"
#include "model/asc_import.h"
#include "model/korvex_file.h"
#include "model/model_transform.h"
#include "modeleditor/dialogs/material_commands.h"
#include "modeleditor/document_edits.h"
#include "modeleditor/editor_frame.h"
#include "modeleditor/editor_ids.h"
#include "modeleditor/element_edits.h"
#include "modeleditor/file_failure.h"
#include "modeleditor/model_file_jobs.h"
#include "modeleditor/pick.h"
#include "platform/file_name.h"

#include <algorithm>
#include <cctype>
#include <utility>

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
        RecordedDeletePick(history_, state_, &model_);
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
            RecordedFlipFace(history_, &model_, state_.pickIndex);
            window_.invalidate();
        }
        break;
    case 'm': {
        const bool recorded = BeginDialogStep(history_, &model_, state_, kFacePropertiesStep);
        FacePropertiesKey(window_, state_);
        if (recorded) history_.commit(&model_);
        break;
    }
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
        if (state_.pickKind != PICK_NOTHING) RecordedMovePick(history_, state_, &model_, dx, moveY, moveZ);
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
    EndDrag(history_, &model_);
}

void EditorWindowProc::on_left_double_click() {
    RecordedAddVertex(history_, &model_, state_.cursorPos);
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

ModelReading ReadingFor(const std::string& path) {
    if (IsForeignModelPath(path)) return ModelReading::Foreign;
    if (platform::has_extension(path, ".asc")) return ModelReading::AscAdvanced;
    return ModelReading::Korvex;
}

void EditorWindowProc::on_command(int id) {
    switch (id) {
    case IDM_NEW:
        if (!confirm_discard()) break;
        new_model();
        window_.invalidate();
        break;
    case IDM_OPEN:
    case IDM_IMPORT_ASC:
    case IDM_IMPORT_ASC_ADVANCED:
        if (confirm_discard()) load_command(id);
        window_.invalidate();
        break;
    case IDM_SAVE_PURE:
    case IDM_SAVE_COMPRESSED:
        save_command(id);
        break;
    case IDM_EXIT:
        if (confirm_discard()) window_.destroy_window();
        break;
    case IDM_UNDO:
    case IDM_REDO:
        undo_command(id == IDM_REDO);
        break;
    case IDM_QUICK_SAVE:
        quick_save();
        break;
    case IDM_ADD_VERTEX:
    case IDM_ADD_FACE:
    case IDM_ADD_DUMMY:
    case IDM_ADD_MATERIAL:
    case IDM_MODEL_PREVIEW:
    case IDM_MODIFY_MATERIAL:
    case IDM_ASSIGN_TEXTURE:
        dialog_command(id);
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
        RecordedCopyMirrored(history_, &model_, MirrorAxis::Z);
        window_.invalidate();
        break;
    case IDM_COPY_AROUND_Y:
        RecordedCopyMirrored(history_, &model_, MirrorAxis::X);
        window_.invalidate();
        break;
    case IDM_COPY_AROUND_Y2:
        RecordedCopyMirrored(history_, &model_, MirrorAxis::Y);
        window_.invalidate();
        break;
    case IDM_SWAP_YZ:
        RecordedSwapYZ(history_, &model_);
        window_.invalidate();
        break;
    case IDM_SWAP_NORMALS:
        RecordedFlipAllFaces(history_, &model_);
        window_.invalidate();
        break;
    case IDM_MOVE_UP:
        RecordedMoveAll(history_, &model_, 0.0, kMoveStep, 0.0);
        window_.invalidate();
        break;
    case IDM_MOVE_DOWN:
        RecordedMoveAll(history_, &model_, 0.0, -kMoveStep, 0.0);
        window_.invalidate();
        break;
    case IDM_MOVE_LEFT:
        RecordedMoveAll(history_, &model_, -kMoveStep, 0.0, 0.0);
        window_.invalidate();
        break;
    case IDM_MOVE_RIGHT:
        RecordedMoveAll(history_, &model_, kMoveStep, 0.0, 0.0);
        window_.invalidate();
        break;
    case IDM_MOVE_FAR:
        RecordedMoveAll(history_, &model_, 0.0, 0.0, -kMoveStep);
        window_.invalidate();
        break;
    case IDM_MOVE_NEAR:
        RecordedMoveAll(history_, &model_, 0.0, 0.0, kMoveStep);
        window_.invalidate();
        break;
    default:
        window_.message_box("TODO", "TODO", platform::BoxStyle::ok);
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
    // The old model goes into the history whole, so that undo brings it back.
    Model fresh;
    ModelInit(&fresh);
    RecordedReplace(history_, &model_, fresh, true);
    model_replaced();
}

void EditorWindowProc::show_file_failure(FileOperation operation, const std::string& path,
                                         std::int32_t status) {
    window_.message_box(FileFailureText(operation, path, status), kEditorTitle,
                        platform::BoxStyle::icon_stop);
}

void EditorWindowProc::load_command(int id) {
    const auto choice = window_.file_dialog(id == IDM_OPEN ? ModelOpenRequest() : AscOpenRequest());
    if (!choice) return;
    // Open reads any model format by its name; the import commands use their own ASC importer.
    const ModelReading reading = id == IDM_OPEN         ? ReadingFor(choice->path)
                                 : id == IDM_IMPORT_ASC ? ModelReading::AscSimple
                                                        : ModelReading::AscAdvanced;
    read_model(choice->path, reading);
}

std::int32_t EditorWindowProc::read_model(const std::string& path, ModelReading reading) {
    // The file is read into a model of its own (an import into a copy of the present one), which
    // then replaces the present model as one step; a failure leaves everything as it was.
    const bool asc = reading == ModelReading::AscSimple || reading == ModelReading::AscAdvanced;
    Model fresh;
    ModelInit(&fresh);
    platform::FileProgress progress;
    std::string foreignReason;
    const std::int32_t status = window_.run_file_job((asc ? "Importing " : "Opening ") + path, progress, [&] {
        if (reading == ModelReading::Korvex) return LoadKorvexFile(&fresh, path, progress);
        if (reading == ModelReading::Foreign)
            return ImportForeignModel(&fresh, foreignImporter_, path, &foreignReason);
        if (!ModelCopy(model_, fresh)) return std::int32_t(MODEL_ERR_MEMORY);
        return ImportAscFile(&fresh, path, reading == ModelReading::AscAdvanced, progress);
    });
    if (status != MODEL_OK) {
        ModelRelease(&fresh);
        if (reading == ModelReading::Foreign)
            window_.message_box(ForeignFailureText(path, foreignReason), kEditorTitle,
                                platform::BoxStyle::icon_stop);
        else
            show_file_failure(asc ? FileOperation::Import : FileOperation::Open, path, status);
        window_.invalidate();
        return status;
    }
    // A Korvex file becomes the document's file; a foreign model starts untitled, so that Ctrl+S
    // never writes Korvex bytes under another format's name; an import keeps the document's file.
    const bool korvex = reading == ModelReading::Korvex;
    RecordedReplace(history_, &model_, fresh, !asc,
                    korvex ? DocumentFile{path, fresh.compression == 1} : DocumentFile{});
    ModelRelease(&fresh);
    model_replaced();
    window_.invalidate();
    return status;
}

bool EditorWindowProc::save_command(int id) {
    const auto choice = window_.file_dialog(KorvexSaveRequest());
    if (!choice) return false;
    return save_file(choice->path, id == IDM_SAVE_COMPRESSED);
}

bool EditorWindowProc::save_file(const std::string& path, bool compressed) {
    // A drag under way ends its step here, so that the saved state is a step of its own.
    history_.commit(&model_);
    platform::FileProgress progress;
    const std::int32_t status = window_.run_file_job(
        "Saving " + path, progress, [&] { return SaveKorvexFile(&model_, path, compressed, progress); });
    if (status != MODEL_OK) {
        show_file_failure(FileOperation::Save, path, status);
        return false;
    }
    history_.saved_as({path, compressed});
    return true;
}

std::int32_t EditorWindowProc::open_file(const std::string& path) {
    const ModelReading reading = ReadingFor(path);
    const std::int32_t status = read_model(path, reading);
    // The file given at start is where the session begins: nothing to undo, nothing unsaved.
    if (status == MODEL_OK)
        history_.reset(reading == ModelReading::Korvex ? DocumentFile{path, model_.compression == 1}
                                                       : DocumentFile{});
    return status;
}

void EditorWindowProc::open_dropped_file(const std::string& path) {
    if (confirm_discard()) read_model(path, ReadingFor(path));
}

} // namespace editor

namespace editor {

bool EditorWindowProc::dialog_command(int id) {
    const bool recorded = BeginDialogStep(history_, &model_, state_, id);
    if (id == IDM_MODIFY_MATERIAL)
        ModifyMaterialCommand(window_, &model_);
    else if (id == IDM_ASSIGN_TEXTURE)
        AssignTextureCommand(window_, state_, &model_);
    else
        RunDialogCommand(window_, id);
    return recorded && history_.commit(&model_);
}

void EditorWindowProc::undo_command(bool redo) {
    if (!(redo ? history_.redo(&model_) : history_.undo(&model_))) return;
    ValidatePick(state_, &model_);
    window_.invalidate();
}

bool EditorWindowProc::quick_save() {
    const DocumentFile& file = history_.file();
    if (file.path.empty()) return save_command(IDM_SAVE_PURE);
    const DocumentFile target = file;
    return save_file(target.path, target.compressed);
}

bool EditorWindowProc::confirm_discard() {
    history_.commit(&model_); // a drag under way counts as a change
    if (!history_.changed()) return true;
    const SaveChoice answer =
        window_.ask_save_changes(platform::unsaved_changes_text(history_.file().path), kEditorTitle);
    return platform::may_discard_after(answer, [this] { return quick_save(); });
}

} // namespace editor
