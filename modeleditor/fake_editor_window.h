#pragma once
// A recording EditorWindow for tests: it remembers every call, answers pointer, rectangle,
// dialog and box questions from fields the test sets, queues posted messages until pump() and
// runs sent ones at once.
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "modeleditor/editor_ids.h"
#include "modeleditor/editor_window.h"
#include "modeleditor/editor_window_proc.h"

namespace editor::testing {

struct Message {
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

struct ShownBox {
    std::string text;
    std::string caption;
    platform::BoxStyle style;
};

class FakeEditorWindow : public EditorWindow {
  public:
    void invalidate() override { ++invalidations; }
    ScreenRect window_rect() const override { return rect; }
    ScreenPoint pointer_position() const override { return pointer; }
    void set_pointer_position(ScreenPoint point) override {
        pointer = point;
        warps.push_back(point);
    }
    void show_pointer(bool show) override { pointerShown.push_back(show); }
    void post_message(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
        posted.push_back({message, wParam, lParam});
    }
    std::intptr_t send_message(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void set_timer(std::uint32_t id, std::uint32_t periodMs) override { timers[id] = periodMs; }
    void check_menu_item(int id, bool checked) override { ticks[id] = checked; }
    std::optional<FileDialogResult> file_dialog(const FileDialogRequest& request) override;
    platform::BoxAnswer message_box(const std::string& text, const std::string& caption,
                                    platform::BoxStyle style) override {
        boxes.push_back({text, caption, style});
        return platform::BoxAnswer::ok;
    }
    std::intptr_t dialog_box(int templateId, std::intptr_t parameter) override;
    void destroy_window() override;
    void post_quit(int exitCode) override { quitCode = exitCode; }
    platform::GlSurface* gl_surface() override { return nullptr; }
    SaveChoice ask_save_changes(const std::string& text, const std::string&) override {
        questions.push_back(text);
        return saveChoice;
    }

    // Runs the posted messages in order (including those posted while running), returns how many.
    int pump();

    EditorWindowProc* proc = nullptr;
    ScreenRect rect{100, 50, 900, 650}; // centre (500, 350)
    ScreenPoint pointer{500, 350};
    int invalidations = 0;
    std::vector<ScreenPoint> warps;
    std::vector<bool> pointerShown;
    std::deque<Message> posted;
    std::vector<Message> sent;
    std::map<std::uint32_t, std::uint32_t> timers;
    std::map<int, bool> ticks;
    std::vector<ShownBox> boxes;
    std::vector<FileDialogRequest> dialogs;
    std::optional<FileDialogResult> dialogAnswer;           // what every file dialog answers
    std::vector<std::pair<int, std::intptr_t>> dialogBoxes; // template and parameter of each dialog run
    std::map<int, std::intptr_t> dialogResults;             // what each template's dialog ends with (else 2)
    bool destroyed = false;
    int quitCode = -1;
    std::vector<std::string> questions; // each unsaved-changes question asked
    SaveChoice saveChoice = SaveChoice::Discard;
    // Runs inside dialog_box before it answers, standing in for what the dialog changes.
    std::function<void(int templateId, std::intptr_t parameter)> dialogAction;
};

// A window procedure on a fake window, created as the platform would create it.
struct EditorFixture {
    EditorFixture();
    // Destroys the window as the platform would, unless the test already did.
    ~EditorFixture();
    FakeEditorWindow window;
    EditorWindowProc proc{window};

    EditorState& state() { return proc.state(); }
    Model* model() { return proc.model(); }
    void key(std::uint32_t vk) { proc.handle(WM_KEYDOWN, vk, 0); }
    void chars(const std::string& text);
    // Moves the pointer by (dx, dy) from the centre and runs one timer-2 step.
    void mouse(int dx, int dy);
};

} // namespace editor::testing
