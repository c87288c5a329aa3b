#pragma once
// The main window's procedure: one handler per window message it handles, keeping each
// message's meaning. It owns the editor state and the current model and reaches its window only
// through EditorWindow.
#include <cstdint>
#include <string>
#include <utility>

#include "model/model.h"
#include "modeleditor/document_history.h"
#include "modeleditor/editor_state.h"
#include "modeleditor/editor_window.h"
#include "modeleditor/file_failure.h"
#include "modeleditor/foreign_import.h"

namespace editor {

// How a model file is read: as a Korvex file, by one of the ASC importers, or by the foreign
// importer (a name of another model format).
enum class ModelReading { Korvex, AscSimple, AscAdvanced, Foreign };

// The reading Open uses for a name: other model formats out of process, ".asc" with the advanced
// importer, anything else as a Korvex file.
ModelReading ReadingFor(const std::string& path);

class EditorWindowProc {
  public:
    // Starts with the initial editor state and an empty model. Nothing is asked of the window
    // before WM_CREATE.
    explicit EditorWindowProc(EditorWindow& window);
    ~EditorWindowProc();
    EditorWindowProc(const EditorWindowProc&) = delete;
    EditorWindowProc& operator=(const EditorWindowProc&) = delete;

    // Dispatches a message to its handler and returns the handler's result; messages the editor
    // does not handle return 0.
    std::intptr_t handle(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

    void on_create();
    void on_destroy();
    void on_size(std::uint32_t width, std::uint32_t height);
    void on_paint();
    void on_erase_background();
    void on_key_down(std::uint32_t virtualKey);
    void on_key_up(std::uint32_t virtualKey);
    void on_char(std::uint32_t character);
    void on_command(int id);
    void on_timer(std::uint32_t id);
    void on_left_button_down();
    void on_left_button_up();
    void on_left_double_click();
    void on_right_button_down();
    void on_right_button_up();
    void on_right_double_click();

    // Opens `path` as Open does; a name ending in ".asc" is imported with the advanced importer,
    // other model formats by the foreign importer in a child process. A failure is shown in a box
    // and leaves the model as it was. Returns the model status.
    std::int32_t open_file(const std::string& path);
    // A file dropped on the window: asks first about unsaved changes, then opens it as Open does,
    // as one step that can be undone.
    void open_dropped_file(const std::string& path);

    // The program that reads other model formats for Open (none: they cannot be opened).
    void set_foreign_importer(ForeignImporter importer) { foreignImporter_ = std::move(importer); }

    EditorState& state() { return state_; }
    Model* model() { return &model_; }
    DocumentHistory& history() { return history_; }

    // Before the document would be discarded: true at once when it has no unsaved changes, else
    // the Save / Discard / Cancel question; Save goes on only when the save succeeded.
    bool confirm_discard();

  private:
    void camera_keys_step();
    void mouse_look_step(bool evenWithoutMotion);
    ScreenPoint window_centre() const;
    void toggle_view_switch(bool& value, int id);
    void set_render_mode(std::int32_t mode);
    void set_shade_mode(std::int32_t mode);
    void new_model();
    void load_command(int id);
    std::int32_t read_model(const std::string& path, ModelReading reading);
    bool save_command(int id);
    void show_file_failure(FileOperation operation, const std::string& path, std::int32_t status);
    void model_replaced();
    void undo_command(bool redo);
    bool quick_save();
    bool save_file(const std::string& path, bool compressed);
    bool dialog_command(int id);

    EditorWindow& window_;
    EditorState state_;
    Model model_;
    DocumentHistory history_;
    ForeignImporter foreignImporter_;
};

} // namespace editor
